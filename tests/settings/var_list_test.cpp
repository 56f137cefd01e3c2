// The settings variable list: date and time types as numbers, Interval ranges and
// their errors, data type codes after every add, and the weight path.
#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace mcxml_test {
namespace {

using MCXML_1_3::MCVarList;

TEST(SettingsVarList, DataTypesAndIntervals) {
  const std::tuple<std::string, long, const char*> cases[] = {
      {Cont("v", "date", Iv("0", "100", "openOpen")), 0, "v#4[0,100]"},
      {Cont("v", "double"), 0, "v#2[-max,max]"},
      {Cont("v", "float", Iv("", "-5", "")), 0, "v#2[-max,-5]"},
      {Cont("v", "time", Iv("5", "5", "")), 0, "v#5[5,5]"},
      {Cont("v", "dateTime", Iv("0", "100", "") + Iv("2", "3", "")), 0, "v#6[2,3]"},
      {Cont("v", "double", Iv("10", "5", "")), 109, ""},
      {Cont("v", "double", Iv("", "INF", "")), 109, ""},
      {Cat("v", "integer", Iv("x", "", "")), 109, ""},
      {Cat("v", "string", Iv("x", "", "")), 0, "v#3{}"},
      {Cat("v", "boolean"), 109, ""},
  };
  for (const auto& [field, code, out] : cases) {
    MCSettingsParser parser;
    ASSERT_THAT(Load(parser, SettingsDoc("", field)), IsOk());
    MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, false), HasCode(code, false)) << field;
    EXPECT_EQ(VarListText(list), out) << field;
  }
}

// g has no bins, so h is never reached. A single bin is no binning: c keeps its Interval.
TEST(SettingsVarList, BinsAndADataTypeForEveryAddUntilTheFirstFailure) {
  MCSettingsParser parser;
  const std::string fields =
      Cat("a", "string", "<Value value='x'/>") +
      Cont("b", "double", "<Value value='1' property='invalid'/>") +
      Cont("c", "date", Iv("1", "8", "")) +
      Cat("e", "date", "<Value value='2020-01-01'/><Value value='3'/><Value value='NaN'/>") +
      Cont("g", "double") + Cat("h", "string");
  const std::string bins = Trans(Derived("b", Bin("low", "", "10") + Bin("high", "10", "")) +
                                 Derived("c", Bin("all", "0", "9")));
  ASSERT_THAT(Load(parser, SettingsDoc("", fields, bins)), IsOk());
  MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, true), HasCode(110, false));
  EXPECT_EQ(VarListText(list), "a#3{x};b#2[-max,max]|10|(low,high) !1=;c#4[1,8];e#4{3,-max}");
}

// Reaches the table of field codes that the public FillVarList leaves empty.
struct WeightSeam : MCSettingsParser {
  using MCSettingsParser::FillVarList;
  using MCSettingsParser::kWeightFieldCode;
};

// Bins are asked for, yet no 110: the weight variable takes none. A second one is
// refused.
TEST(SettingsVarList, AContinuousFieldWithTheWeightCodeBecomesTheWeightVariable) {
  WeightSeam parser;
  const std::string fields =
      Field("w", "displayName='Weight' dataType='double' optype='continuous'") +
      Cat("k", "integer") + Cont("v", "double") + Cont("x", "double");
  ASSERT_THAT(Load(parser, SettingsDoc("", fields)), IsOk());
  const int weight = WeightSeam::kWeightFieldCode;
  MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, true, {{"w", weight}, {"k", weight}, {"v", weight}}),
              HasCode(111, false));
  EXPECT_EQ(VarListText(list), "w'Weight'w2@2;k#1{}");
  MCVarList plain;
  EXPECT_THAT(parser.FillVarList(plain, false, {{"x", 1}}), IsOk());
  EXPECT_EQ(VarListText(plain), "w'Weight'#2[-max,max];k#1{};v#2[-max,max];x#2[-max,max]");
}

}  // namespace
}  // namespace mcxml_test
