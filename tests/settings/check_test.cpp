// The settings variable list (dates as numbers, Interval ranges, data type codes,
// the weight path) and the check of a build-settings document: each parameter with
// the getter its kind calls for, agreeing with that getter, at every depth; the path.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace {

using MCXML_1_3::MCProblem;
using MCXML_1_3::MCVarList;
using namespace mcxml_test;

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

// One parameter at a time: the check lists a problem for it exactly when its
// getter fails, with the getter's status; a parameter that no lookup reaches (a
// second of the same name) is not read.
TEST(SettingsCheckTest, ParametersAgreeWithTheirGetters) {
  const auto group = [](const std::string& body) {
    return "<ComplexParameter name='g'>" + body + "</ComplexParameter>";
  };
  const auto param = [](const std::string& type, const std::string& rest) {
    return "<Parameter name='p' type='" + type + "'" + rest;
  };
  const std::string list =
      "><ListValue><Value value='1'/><Value value='x'/></ListValue></Parameter>";
  const struct {
    std::string params;
    const char* name;
    Kind getter;
    long code;
    bool warning;
  } cases[] = {
      {param("integer", " value='x'/>"), "p", kInt, 109, false},
      {param("double", " value='INF'/>"), "p", kDouble, 109, false},
      {param("boolean", " value='yes'/>"), "p", kBool, 109, false},
      {param("string", "/>"), "p", kText, 123, true},
      {param("fieldName", " value='age'/>"), "p", kText, 0, false},
      {param("enum", list), "p", kTexts, 0, false},
      {param("integer", list), "p", kInts, 109, false},
      {param("double", "><ListValue/></Parameter>"), "p", kDoubles, 123, true},
      {group(param("integer", " value='z'/>")), "p", kInt, 109, false},
      {param("integer", " value='1'/>") + param("integer", " value='z'/>"), "p", kInt, 0, false},
      {"<Parameter name='CatPredictors' isList='true'/>", "CatPredictors", kNames, 122, false},
      {"<Parameter name='FrequencyWeightVar' isList='true'/>", "FrequencyWeightVar", kName, 121,
       false},
      {"<Parameter name='target'><ListValue><Value/></ListValue></Parameter>", "target", kTexts,
       123, true},
      {group("<Parameter name='CatPredictors' isList='true'/>"), "CatPredictors", kText, 123, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.params);
    MCSettingsParser parser;
    const std::vector<MCProblem> problems = Checked(parser, SettingsDoc(c.params));
    const bool inGroup = c.params.rfind("<ComplexParameter", 0) == 0;
    const Answer answer =
        Ask(parser, c.getter, c.name, inGroup ? parser.GetComplexParameter("g", nullptr) : nullptr);
    EXPECT_THAT(answer.status, HasCode(c.code, c.warning));
    if (c.code == 0) {
      EXPECT_TRUE(problems.empty()) << problems[0].reason;
      continue;
    }
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].status, answer.status);
    EXPECT_EQ(problems[0].name, std::string(c.name));
    EXPECT_EQ(problems[0].path.find("/PMML/MiningBuildTask/Extension/Parameters/"), 0u)
        << problems[0].path;
    EXPECT_EQ(problems[0].place.line, 1u);
  }
}

// The settings path: the step that is missing, where the one before it stands;
// a plain PMML document read as settings has none at all. The data dictionary is
// read by the settings rules (dates, Intervals). A deep parameter's path.
TEST(SettingsCheckTest, PathAndDataDictionary) {
  const std::string task = "<PMML><DataDictionary/><MiningBuildTask";
  const std::string params = "/PMML/MiningBuildTask/Extension/Parameters";
  const auto Deep = [](int levels) {
    return Repeat("<ComplexParameter name='g'>", levels) +
           "<Parameter name='p' type='integer' value='z'/>" + Repeat("</ComplexParameter>", levels);
  };
  const std::pair<std::string, std::string> cases[] = {
      // document, code and path per problem
      {Pmml(""), "119 /PMML\n"},
      {task + "/></PMML>", "119 /PMML/MiningBuildTask\n"},
      {task + "><Extension/></MiningBuildTask></PMML>", "119 /PMML/MiningBuildTask/Extension\n"},
      {SettingsDoc("", Cont("d", "date", Iv("9", "1", ""))),
       "109 /PMML/DataDictionary/DataField\n"},
      // 16 steps are kept whole; past that, the first and last 8.
      {SettingsDoc(Deep(11)), "109 " + params + Repeat("/ComplexParameter", 11) + "/Parameter\n"},
      {SettingsDoc(Deep(12)), "109 " + params + Repeat("/ComplexParameter", 4) + "/..." +
                                  Repeat("/ComplexParameter", 7) + "/Parameter\n"},
  };
  for (const auto& [xml, expected] : cases) {
    SCOPED_TRACE(xml);
    MCSettingsParser parser;
    std::string seen;
    for (const MCProblem& p : Checked(parser, xml)) {
      seen += std::to_string(p.status.GetCode()) + " " + p.path + "\n";
    }
    EXPECT_EQ(seen, expected);
  }
}

}  // namespace
