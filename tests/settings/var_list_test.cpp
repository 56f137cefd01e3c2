// The settings variable list: date and time types as numbers, Interval ranges and
// their errors, data type codes after every add, and the weight path.
#include <gtest/gtest.h>

#include "pmml/pmml_test_support.h"
#include "settings_test_support.h"

namespace mcxml_test {
namespace {

using MCXML_1_3::MCVarList;

std::string F(const std::string& name, const std::string& type, const std::string& optype,
              const std::string& kids = "") {
  return "<DataField name='" + name + "' dataType='" + type + "' optype='" + optype + "'>" + kids +
         "</DataField>";
}
std::string Iv(const std::string& attrs) {
  return "<Interval " + attrs + "/>";
}

TEST(SettingsVarList, DataTypesAndIntervals) {
  const std::string both = "leftMargin='0' rightMargin='100'";
  const std::tuple<std::string, long, const char*> cases[] = {
      {F("v", "date", "continuous", Iv("closure='openOpen' " + both)), 0, "v#4[0,100]"},
      {F("v", "double", "continuous"), 0, "v#2[-max,max]"},
      {F("v", "float", "continuous", Iv("rightMargin='-5'")), 0, "v#2[-max,-5]"},
      {F("v", "time", "continuous", Iv("leftMargin='5' rightMargin='5'")), 0, "v#5[5,5]"},
      {F("v", "dateTime", "continuous", Iv(both) + Iv("leftMargin='2' rightMargin='3'")), 0,
       "v#6[2,3]"},
      {F("v", "double", "continuous", Iv("leftMargin='10' rightMargin='5'")), 109, ""},
      {F("v", "double", "continuous", Iv("rightMargin='INF'")), 109, ""},
      {F("v", "integer", "categorical", Iv("leftMargin='x'")), 109, ""},
      {F("v", "string", "categorical", Iv("leftMargin='x'")), 0, "v#3{}"},
      {F("v", "boolean", "categorical"), 109, ""},
  };
  for (const auto& [field, code, out] : cases) {
    MCSettingsParser parser;
    ASSERT_THAT(LoadXml(parser, SettingsDoc("", field)), IsOk());
    MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, false), HasCode(code, false)) << field;
    EXPECT_EQ(VarListText(list), out) << field;
  }
}

TEST(SettingsVarList, BinsAndADataTypeForEveryAddUntilTheFirstFailure) {
  MCSettingsParser parser;
  const std::string fields =
      F("a", "string", "categorical", "<Value value='x'/>") +
      F("b", "double", "continuous", "<Value value='1' property='invalid'/>") +
      F("c", "date", "continuous", Iv("leftMargin='1' rightMargin='8'")) +
      F("e", "date", "categorical",
        "<Value value='2020-01-01'/><Value value='3'/><Value value='NaN'/>") +
      F("g", "double", "continuous") + F("h", "string", "categorical");
  const std::string bins = R"(<TransformationDictionary><DerivedField><Discretize field='b'>
      <DiscretizeBin binValue='low'><Interval rightMargin='10'/></DiscretizeBin>
      <DiscretizeBin binValue='high'><Interval leftMargin='10'/></DiscretizeBin></Discretize>
      </DerivedField><DerivedField><Discretize field='c'><DiscretizeBin binValue='all'>
      <Interval leftMargin='0' rightMargin='9'/></DiscretizeBin></Discretize></DerivedField>
      </TransformationDictionary>)";
  ASSERT_THAT(LoadXml(parser, SettingsDoc("", fields, bins)), IsOk());
  MCVarList list;
  // g has no bins, so h is never reached. A single bin is no binning: c keeps its Interval.
  EXPECT_THAT(parser.FillVarList(list, true), HasCode(110, false));
  EXPECT_EQ(VarListText(list), "a#3{x};b#2[-max,max]|10|(low,high) !1=;c#4[1,8];e#4{3,-max}");
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
  const std::string fields =
      "<DataField name='w' displayName='Weight' dataType='double' "
      "optype='continuous'/>" +
      F("k", "integer", "categorical") + F("v", "double", "continuous") +
      F("x", "double", "continuous");
  ASSERT_THAT(LoadXml(parser, SettingsDoc("", fields)), IsOk());
  const int weight = WeightSeam::kWeightFieldCode;
  MCVarList list;
  // Bins are asked for, yet no 110: the weight variable takes none. A second one
  // is refused.
  EXPECT_THAT(parser.FillVarList(list, true, {{"w", weight}, {"k", weight}, {"v", weight}}),
              HasCode(111, false));
  EXPECT_EQ(VarListText(list), "w'Weight'w2@2;k#1{}");
  MCVarList plain;
  EXPECT_THAT(parser.FillVarList(plain, false, {{"x", 1}}), IsOk());
  EXPECT_EQ(VarListText(plain), "w'Weight'#2[-max,max];k#1{};v#2[-max,max];x#2[-max,max]");
}

}  // namespace
}  // namespace mcxml_test
