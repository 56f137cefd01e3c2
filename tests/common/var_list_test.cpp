// MCVarList: every refusal rule, each beside an accepted neighbour, that a refused
// variable leaves the list as it was, and that indexes outside it give null.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/common/var_list.h"

namespace {

using MCXML_1_3::IMCVariable;
using MCXML_1_3::MCVarList;
using Add = std::function<int(MCVarList&)>;
using Doubles = std::vector<double>;

constexpr auto kIn = IMCVariable::kInput;
constexpr auto kRound = IMCVariable::kRoundNearest;
const std::vector<std::string> kTwo = {"a", "b"};

TEST(VarListTest, RefusalRules) {
  // clang-format off
  const struct { const char* what; bool accepted; Add add; } cases[] = {
      {"empty name", false, [](MCVarList& l) { return l.AddContVar("", "", kIn); }},
      {"name taken", false, [](MCVarList& l) { return l.AddCatVar("taken", "", kTwo, kIn); }},
      {"name in other case", true, [](MCVarList& l) { return l.AddContVar("Taken", "", kIn); }},
      {"min > max", false, [](MCVarList& l) { return l.AddContVar("v", "", 2, 1, kIn, 0, -1); }},
      {"min == max", true, [](MCVarList& l) { return l.AddContVar("v", "", 1, 1, kIn, 0, -1); }},
      {"bins min > max", false,
       [](MCVarList& l) { return l.AddContVar("v", "", 9, 0, Doubles{}, true, kIn); }},
      {"cuts inside", true,
       [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {1, 2}, 1, kIn); }},
      {"equal cuts", false,
       [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {2, 2}, 1, kIn); }},
      {"cut on min", false, [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {0}, 1, kIn); }},
      {"cut on max", false, [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {9}, 1, kIn); }},
      {"labels short", false, [](MCVarList& l) { return l.AddCatVar("v", "", kTwo, {"A"}, kIn); }},
      {"labels match", true,
       [](MCVarList& l) { return l.AddCatVar("v", "", kTwo, {"A", "B"}, kIn); }},
      {"number labels long", false,
       [](MCVarList& l) { return l.AddCatVar("v", "", Doubles{1}, {"A", "B"}, kIn); }},
      {"second weight", false, [](MCVarList& l) { return l.SetWeightVar("w2", "", kRound); }}};
  // clang-format on
  for (const auto& c : cases) {
    MCVarList list;
    ASSERT_EQ(list.AddCatVar("taken", "", kTwo, kIn), 0);
    ASSERT_EQ(list.SetWeightVar("w", "", kRound), 1);
    const int index = c.add(list);
    EXPECT_EQ(index, c.accepted ? 2 : -1) << c.what;
    EXPECT_EQ(list.GetCount(), c.accepted ? 3 : 2) << c.what;
    EXPECT_EQ(list.GetWeightVarIndex(), 1) << c.what;
    EXPECT_TRUE(list.GetVarAt(-1) == nullptr && list.GetVarAt(list.GetCount()) == nullptr);
  }
}

}  // namespace
