// The common stand-in: Format's texts, MCUniStats::IsValid rule by rule, and every
// refusal rule of MCVarList.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/common/format.h"
#include "mcxml/common/missing_value.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/common/var_list.h"

namespace {

using namespace MCXML_1_3;
using Limits = std::numeric_limits<double>;
using Doubles = std::vector<double>;
constexpr auto kIn = IMCVariable::kInput;
const double kM = MCCommon_1_3::MCMV::gMissingValue;

// The shortest text that reads back to the same double (the DOM access test reads
// such texts as the XML number parser does); the missing value and NaN as "NaN".
TEST(FormatTest, ShortestTextsThatReadBack) {
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"}, {1e300, "1e+300"}, {-2.5, "-2.5"}, {10, "10"}, {1.0 / 3, "0.3333333333333333"},
      {Limits::max(), "1.7976931348623157e+308"}, {Limits::min(), "2.2250738585072014e-308"},
      {5e-324, "5e-324"}, {kM, "NaN"}, {Limits::quiet_NaN(), "NaN"},
      {Limits::infinity(), "INF"}, {-Limits::infinity(), "-INF"}};
  // clang-format on
  for (const auto& [value, text] : cases) {
    char buffer[kFormatBufferSize];
    EXPECT_EQ(Format(value, false, buffer), text);
    EXPECT_STREQ(buffer, text);
  }
}

TEST(UniStatsTest, ValidityRules) {
  EXPECT_FALSE(MCUniStats().IsValid()) << "an empty record";
  const double nan = std::nan(""), inf = Limits::infinity();
  // clang-format off
  const std::tuple<std::string, double, Doubles, bool> categorical[] = {  // name, total, counts
      {"c", 10, {4, 6}, true}, {"c", 0, {}, true}, {"", 10, {4, 6}, false}, {"c", -1, {}, false},
      {"c", inf, {}, false}, {"c", nan, {}, false}, {"c", 10, {4, -1}, false},
      {"c", 10, {nan}, false}};
  // clang-format on
  for (const auto& [name, total, counts, valid] : categorical) {
    EXPECT_EQ(MCUniStats(name, total, counts).IsValid(), valid) << name << " " << total;
  }
  // Summary values are minimum, maximum, mean, standard deviation.
  const std::tuple<const char*, MCUniStats::SummStats, Doubles, Doubles, bool> continuous[] = {
      {"no histogram", {}, {}, {}, true},
      {"histogram", {0, 9, 4, 1}, {0, 5, 9}, {3, 4}, true},
      {"open ends", {}, {kM, 5, kM}, {3, 4}, true},
      {"missing inside", {}, {0, kM, 9}, {3, 4}, false},
      {"as many freqs as cuts", {}, {0, 5}, {3, 4}, false},
      {"freqs without cuts", {}, {}, {3}, false},
      {"negative freq", {}, {0, 5, 9}, {3, -4}, false},
      {"equal cuts", {}, {0, 5, 5}, {3, 4}, false},
      {"decreasing cuts", {}, {0, 5, 2}, {3, 4}, false},
      {"negative deviation", {kM, kM, kM, -1}, {}, {}, false},
      {"min above max", {9, 0, kM, kM}, {}, {}, false},
      {"only min known", {9, kM, kM, kM}, {}, {}, true}};
  for (const auto& [what, summ, cuts, freqs, valid] : continuous) {
    EXPECT_EQ(MCUniStats("x", 7, summ, cuts, freqs).IsValid(), valid) << what;
  }
}

// Each refusal beside an accepted neighbour; a refused variable leaves the list as
// it was, and indexes outside it give null.
TEST(VarListTest, RefusalRules) {
  using Add = std::function<int(MCVarList&)>;
  const std::vector<std::string> two = {"a", "b"};
  // clang-format off
  const struct { const char* what; bool accepted; Add add; } cases[] = {
      {"empty name", false, [](MCVarList& l) { return l.AddContVar("", "", kIn); }},
      {"name taken", false, [&](MCVarList& l) { return l.AddCatVar("taken", "", two, kIn); }},
      {"name in other case", true, [](MCVarList& l) { return l.AddContVar("Taken", "", kIn); }},
      {"min > max", false, [](MCVarList& l) { return l.AddContVar("v", "", 2, 1, kIn, 0, -1); }},
      {"min == max", true, [](MCVarList& l) { return l.AddContVar("v", "", 1, 1, kIn, 0, -1); }},
      {"bins min > max", false,
       [](MCVarList& l) { return l.AddContVar("v", "", 9, 0, Doubles{}, true, kIn); }},
      {"cuts inside", true, [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {1, 2}, 1, kIn); }},
      {"equal cuts", false, [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {2, 2}, 1, kIn); }},
      {"cut on min", false, [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {0}, 1, kIn); }},
      {"cut on max", false, [](MCVarList& l) { return l.AddContVar("v", "", 0, 9, {9}, 1, kIn); }},
      {"labels short", false, [&](MCVarList& l) { return l.AddCatVar("v", "", two, {"A"}, kIn); }},
      {"labels match", true,
       [&](MCVarList& l) { return l.AddCatVar("v", "", two, {"A", "B"}, kIn); }},
      {"number labels long", false,
       [](MCVarList& l) { return l.AddCatVar("v", "", Doubles{1}, {"A", "B"}, kIn); }},
      {"second weight", false,
       [](MCVarList& l) { return l.SetWeightVar("w2", "", IMCVariable::kRoundNearest); }}};
  // clang-format on
  for (const auto& c : cases) {
    MCVarList list;
    ASSERT_EQ(list.AddCatVar("taken", "", two, kIn), 0);
    ASSERT_EQ(list.SetWeightVar("w", "", IMCVariable::kRoundNearest), 1);
    EXPECT_EQ(c.add(list), c.accepted ? 2 : -1) << c.what;
    EXPECT_EQ(list.GetCount(), c.accepted ? 3 : 2) << c.what;
    EXPECT_EQ(list.GetWeightVarIndex(), 1) << c.what;
    EXPECT_TRUE(list.GetVarAt(-1) == nullptr && list.GetVarAt(list.GetCount()) == nullptr);
  }
}

}  // namespace
