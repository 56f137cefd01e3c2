// The settings variable list: date and time types as numbers, Interval ranges and
// their errors, data type codes after every add, and the weight path.
#include <limits>
#include <tuple>

#include <gtest/gtest.h>

#include "mcxml/common/var_list.h"
#include "settings_test_support.h"

namespace mcxml_test {
namespace {

using MCXML_1_3::MCVariableInfo;
using MCXML_1_3::MCVarList;

std::string Bound(double v) {
  const double max = std::numeric_limits<double>::max();
  return v == max ? "max" : v == -max ? "-max" : Render(v);
}

// Per variable: its data type code (or "w" and the rounding of a weight variable),
// then "[min,max]" of the range overload, "|" and the inner cut points, or the
// numbers of a categorical variable in braces.
std::string Describe(const MCVarList& list) {
  std::string text;
  for (int i = 0; i < list.GetCount(); ++i) {
    const MCVariableInfo& info = list.GetVarAt(i)->GetInfo();
    text += i ? " " : "";
    text += info.rounding ? "w" + Render(*info.rounding) : Render(info.dataType.value_or(0));
    if (info.cutPoints) {
      text += "|" + Render(*info.cutPoints);
    } else if (info.range) {
      text += "[" + Bound(info.range->first) + "," + Bound(info.range->second) + "]";
      EXPECT_EQ(info.isDiscrete, false);
      EXPECT_EQ(info.precision, -1);
    } else if (!info.numbers.empty()) {
      text += "{" + Render(info.numbers) + "}";
    }
  }
  return text;
}

// Only "b" and "c" have bins: "b" two, "c" a single one.
MCStatus Fill(const std::string& fields, MCVarList& list, bool useBins = false) {
  MCSettingsParser parser;
  EXPECT_THAT(LoadXml(parser, SettingsDoc("", fields, R"(<TransformationDictionary>
      <DerivedField><Discretize field='b'>
        <DiscretizeBin binValue='low'><Interval rightMargin='10'/></DiscretizeBin>
        <DiscretizeBin binValue='high'><Interval leftMargin='10'/></DiscretizeBin>
      </Discretize></DerivedField>
      <DerivedField><Discretize field='c'>
        <DiscretizeBin binValue='all'><Interval leftMargin='0' rightMargin='9'/></DiscretizeBin>
      </Discretize></DerivedField></TransformationDictionary>)")),
              IsOk());
  return parser.FillVarList(list, useBins);
}

TEST(SettingsVarList, DataTypesAndIntervals) {
  const std::string v = "<DataField name='v' dataType=";
  const std::tuple<std::string, long, const char*> cases[] = {
      {v + "'date' optype='continuous'><Interval closure='openOpen' leftMargin='0' "
           "rightMargin='100'/></DataField>",
       0, "4[0,100]"},
      {v + "'double' optype='continuous'/>", 0, "2[-max,max]"},
      {v + "'float' optype='continuous'><Interval rightMargin='-5'/></DataField>", 0, "2[-max,-5]"},
      {v + "'time' optype='continuous'><Interval leftMargin='5' rightMargin='5'/></DataField>", 0,
       "5[5,5]"},
      {v + "'dateTime' optype='continuous'><Interval leftMargin='0' rightMargin='1'/>"
           "<Interval leftMargin='2' rightMargin='3'/></DataField>",
       0, "6[2,3]"},
      {v + "'double' optype='continuous'><Interval leftMargin='10' rightMargin='5'/></DataField>",
       109, ""},
      {v + "'double' optype='continuous'><Interval rightMargin='INF'/></DataField>", 109, ""},
      {v + "'integer' optype='categorical'><Interval leftMargin='x'/></DataField>", 109, ""},
      {v + "'string' optype='categorical'><Interval leftMargin='x'/></DataField>", 0, "3"},
      {v + "'integer' optype='ordinal'/>", 0, "1"},
      {v + "'boolean' optype='categorical'/>", 109, ""},
      {v + "'date'/>", 108, ""},
      {"<DataField dataType='date' optype='continuous'/>", 108, ""},
  };
  for (const auto& [field, code, out] : cases) {
    SCOPED_TRACE(field);
    MCVarList list;
    EXPECT_THAT(Fill(field, list), HasCode(code, false));
    EXPECT_EQ(Describe(list), out);
  }
}

TEST(SettingsVarList, EveryAddIsToldItsDataTypeUntilTheFirstFailure) {
  MCVarList list;
  EXPECT_THAT(Fill(R"(
      <DataField name='a' dataType='string' optype='categorical'><Value value='x'/></DataField>
      <DataField name='b' dataType='double' optype='continuous'/>
      <DataField name='c' dataType='date' optype='continuous'>
        <Interval leftMargin='1' rightMargin='8'/></DataField>
      <DataField name='e' dataType='date' optype='categorical'>
        <Value value='2020-01-01'/><Value value='3'/><Value value='NaN'/></DataField>
      <DataField name='g' dataType='double' optype='continuous'/>
      <DataField name='h' dataType='string' optype='categorical'/>)",
                   list, true),
              HasCode(110, false));  // g has no bins; h is never reached
  // A single bin is no binning: c keeps its Interval range.
  EXPECT_EQ(Describe(list), "3 2|10 4[1,8] 4{3,NaN}");
}

// Reaches the table of field codes that the public FillVarList leaves empty.
class WeightSeam : public MCSettingsParser {
 public:
  using MCSettingsParser::FieldCodes;
  using MCSettingsParser::FillVarList;
  using MCSettingsParser::kWeightFieldCode;
};

TEST(SettingsVarList, AContinuousFieldWithTheWeightCodeBecomesTheWeightVariable) {
  WeightSeam parser;
  ASSERT_THAT(LoadXml(parser, SettingsDoc("", R"(
      <DataField name='w' displayName='Weight' dataType='double' optype='continuous'/>
      <DataField name='k' dataType='integer' optype='categorical'/>
      <DataField name='v' dataType='double' optype='continuous'/>
      <DataField name='x' dataType='double' optype='continuous'/>)")),
              IsOk());
  const int weight = WeightSeam::kWeightFieldCode;
  MCVarList list;
  // Bins are asked for, yet no 110: the weight variable takes none. A second one
  // is refused.
  EXPECT_THAT(parser.FillVarList(list, true, {{"w", weight}, {"k", weight}, {"v", weight}}),
              HasCode(111, false));
  EXPECT_EQ(Describe(list), "w2 1");
  EXPECT_EQ(list.GetVarAt(0)->GetInfo().label, "Weight");

  MCVarList plain;
  EXPECT_THAT(parser.FillVarList(plain, false, {{"x", 1}}), IsOk());
  EXPECT_EQ(Describe(plain), "2[-max,max] 1 2[-max,max] 2[-max,max]");
}

}  // namespace
}  // namespace mcxml_test
