// Discretization bins: reading cut points and labels, and attaching them to a
// continuous variable of the PMML variable list.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/common/format.h"
#include "mcxml/common/missing_value.h"
#include "pmml_test_support.h"

namespace {

using MCCommon_1_3::MCMV::gMissingValue;
using MCXML_1_3::MCVariableInfo;
using MCXML_1_3::MCVarList;
using mcxml_test::HasCode;
using mcxml_test::IsOk;
using mcxml_test::kMax;
using mcxml_test::Pmml;
using mcxml_test::ProbeParser;
using Doubles = std::vector<double>;
using Strings = std::vector<std::string>;

// A bin with one Interval; an empty label or margin is left out.
std::string Bin(const std::string& label, const std::string& left, const std::string& right) {
  return "<DiscretizeBin" + (label.empty() ? "" : " binValue='" + label + "'") +
         "><Interval closure='closedOpen'" + (left.empty() ? "" : " leftMargin='" + left + "'") +
         (right.empty() ? "" : " rightMargin='" + right + "'") + "/></DiscretizeBin>";
}
std::string Derived(const std::string& field, const std::string& bins) {
  return "<DerivedField name='d'><Discretize field='" + field + "'>" + bins +
         "</Discretize></DerivedField>";
}
const std::string kLowMidHigh =
    Bin("low", "", "10") + Bin("mid", "10", "20") + Bin("high", "20", "");
const std::string kX =
    "<DataField name='x' dataType='double' optype='continuous'>"
    "<Value value='-1' property='invalid'/></DataField>";

TEST(SetBinsFrTransDictTest, CutPointsAndLabels) {
  const struct {
    std::string trans;
    bool found;
    Doubles cuts;
    Strings labels;
  } cases[] = {
      {Derived("y", kLowMidHigh), false, {}, {}},
      {Derived("X", kLowMidHigh), false, {}, {}},
      {"<DerivedField><Apply><Discretize field='x'/></Apply></DerivedField>", false, {}, {}},
      {"<Discretize field='x'/>", false, {}, {}},
      {Derived("x", ""), true, {0.0}, {}},
      {Derived("x", kLowMidHigh), true, {-kMax, 10, 20, kMax}, {"low", "mid", "high"}},
      {Derived("x", Bin("a", "x", "INF") + Bin("b", "-INF", "NaN")),
       true,
       {-kMax, kMax, gMissingValue},
       {"a", "b"}},
      // The first Interval anywhere gives the left end; every Interval a right end.
      {Derived("x", "<DiscretizeBin binValue='a'/>" + Bin("", "5", "6") +
                        "<DiscretizeBin binValue='c'><Interval rightMargin='7'/>"
                        "<Interval leftMargin='99' rightMargin='8'/></DiscretizeBin>"),
       true,
       {5, 6, 7, 8},
       {"a", "c"}},
      {Derived("x", Bin("a", "1", "2")) + Derived("x", Bin("b", "3", "4")), true, {1, 2}, {"a"}},
      {"<DerivedField><Discretize field='y'/><Discretize field='x'>" + Bin("z", "1", "2") +
           "</Discretize></DerivedField>",
       true,
       {1, 2},
       {"z"}},
  };
  for (const auto& c : cases) {
    ProbeParser parser;
    ASSERT_THAT(parser.Load(Pmml(kX, c.trans.c_str())), IsOk());
    Doubles cuts{42};
    Strings labels{"old"};
    EXPECT_EQ(parser.SetBinsFrTransDict("x", cuts, labels), c.found) << c.trans;
    EXPECT_EQ(cuts, c.cuts) << c.trans;
    EXPECT_EQ(labels, c.labels) << c.trans;
  }
}

std::string Num(double v) {
  return v == kMax ? "max" : v == -kMax ? "-max" : MCXML_1_3::Format(v, false, nullptr);
}

TEST(BinAttachmentTest, ContinuousFieldsTakeTheirBins) {
  const struct {
    bool dict;  // whether there is a TransformationDictionary
    std::string trans;
    long code;
    std::string x;  // "min,max|cut,|label,|#invalid values", or "-|#n" without range
  } cases[] = {
      {false, "", 110, ""},
      {true, "", 110, ""},
      {true, "<DerivedField><Discretize field='y'/></DerivedField>", 110, ""},
      {true, Derived("x", kLowMidHigh), 0, "-max,max|10,20,|low,mid,high,|#1"},
      {true, Derived("x", Bin("0", "", "10") + Bin("1", "10", "")), 0, "-max,max|10,|#1"},
      {true, Derived("x", Bin("low", "", "10") + Bin("", "10", "")), 0, "-max,max|10,|#1"},
      {true, Derived("x", Bin("one", "1", "2")), 0, "-|#1"},
      {true, Derived("x", ""), 0, "-|#1"},
      {true, Derived("x", Bin("a", "", "10") + Bin("b", "10", "10") + Bin("c", "10", "")), 111, ""},
      // The not-a-number margin is the missing value, the lowest double: no inner cut.
      {true, Derived("x", Bin("a", "", "NaN") + Bin("b", "NaN", "")), 111, ""},
  };
  const std::string dict = "<DataField name='a' dataType='string' optype='categorical'/>" + kX +
                           "<DataField name='z' dataType='string' optype='categorical'/>";
  for (const auto& c : cases) {
    ProbeParser parser;
    ASSERT_THAT(parser.Load(Pmml(dict, c.dict ? c.trans.c_str() : nullptr)), IsOk());
    MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, {}, true), HasCode(c.code, false)) << c.trans;
    ASSERT_EQ(list.GetCount(), c.code == 0 ? 3 : 1) << c.trans;
    if (c.code != 0) continue;
    const MCVariableInfo& info = list.GetVarAt(1)->GetInfo();
    std::string got = info.range ? Num(info.range->first) + "," + Num(info.range->second) : "-";
    if (info.cutPoints) got += "|";
    for (double cut : info.cutPoints.value_or(Doubles())) got += Num(cut) + ",";
    const auto& labels = list.GetEncoderAt(1)->GetBinLabels();
    if (labels) got += "|";
    for (const auto& label : labels.value_or(Strings())) got += label + ",";
    got += "|#" + std::to_string(list.GetEncoderAt(1)->GetInvalidValues().size());
    EXPECT_EQ(got, c.x);
  }
}

}  // namespace
