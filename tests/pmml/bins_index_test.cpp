// The bins that FillVarList attaches, found through its index and the guess that
// fields come in the order of their bins, against SetBinsFrTransDict's walk of
// the whole transformation dictionary: fields out of that order, a field binned
// twice, a Discretize without "field", and a name that is not ASCII.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pmml_test_support.h"

namespace mcxml_test {
namespace {

// A Discretize of `field` with bins at `left`, `left` + 10 and `left` + 20.
std::string Discretize(Str field, int left) {
  std::string bins;
  for (int k = left; k < left + 30; k += 10) {
    bins += Bin("b" + std::to_string(k), std::to_string(k), std::to_string(k + 10));
  }
  return Derived(field, bins);
}

TEST(BinsIndex, SameBinsAsTheWalk) {
  std::string fields, transforms;
  for (const char* name : {"a", "b", "c", "d", "caf\xC3\xA9", "f", "g", "h"})
    fields += Cont(name, "double");
  int left = 0;
  for (const char* field : {"b", "a", "a", "c", "", "d", "caf\xC3\xA9", "d", "f", "h", "g", "h"}) {
    transforms += Discretize(field, left);
    left += 100;
  }
  ProbeParser parser;
  ASSERT_THAT(Load(parser, Pmml(fields, Trans(transforms))), IsOk());
  MCXML_1_3::MCVarList list;
  ASSERT_THAT(parser.FillVarList(list, {}, true), IsOk());
  ASSERT_EQ(list.GetCount(), 8);
  for (int i = 0; i < list.GetCount(); ++i) {
    const auto& info = list.GetVarAt(i)->GetInfo();
    SCOPED_TRACE(info.name);
    std::vector<double> cuts;
    std::vector<std::string> labels;
    ASSERT_TRUE(parser.SetBinsFrTransDict(info.name, cuts, labels) && info.cutPoints);
    EXPECT_EQ(*info.cutPoints, std::vector<double>(cuts.begin() + 1, cuts.end() - 1));
    EXPECT_EQ(info.range->first, cuts.front());
  }
  EXPECT_EQ(list.GetVarAt(0)->GetInfo().range->first, 100) << "the first of a's two";
  EXPECT_EQ(list.GetVarAt(3)->GetInfo().range->first, 500) << "the first of d's two";
  EXPECT_EQ(list.GetVarAt(7)->GetInfo().range->first, 900) << "not h's second, next after g";
}

}  // namespace
}  // namespace mcxml_test
