// The check of a build-settings document: each parameter with the getter its
// kind calls for, agreeing with that getter, at every depth; the settings path.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace {

using MCXML_1_3::MCProblem;
using namespace mcxml_test;

std::vector<MCProblem> Check(MCSettingsParser& parser, const std::string& xml) {
  parser.SetElementPlaces(true);
  static_cast<void>(Load(parser, xml));
  return parser.CheckDocument(false);
}

// One parameter at a time: the check lists a problem for it exactly when its
// getter fails, with the getter's status; a parameter that no lookup reaches (a
// second of the same name) is not read.
TEST(SettingsCheckTest, ParametersAgreeWithTheirGetters) {
  struct Case {
    std::string params;
    const char* name;
    bool inGroup;
    Kind getter;
    long code;
    bool warning;
  };
  const auto group = [](const std::string& body) {
    return "<ComplexParameter name='g'>" + body + "</ComplexParameter>";
  };
  const std::string list = "<ListValue><Value value='1'/><Value value='x'/></ListValue>";
  const std::vector<Case> cases = {
      {"<Parameter name='p' type='integer' value='x'/>", "p", false, kInt, 109, false},
      {"<Parameter name='p' type='integer' value='-1'/>", "p", false, kInt, 109, false},
      {"<Parameter name='p' type='double' value='INF'/>", "p", false, kDouble, 109, false},
      {"<Parameter name='p' type='boolean' value='yes'/>", "p", false, kBool, 109, false},
      {"<Parameter name='p' type='string'/>", "p", false, kText, 123, true},
      {"<Parameter name='p' type='fieldName' value='age'/>", "p", false, kText, 0, false},
      {"<Parameter name='p' type='enum'>" + list + "</Parameter>", "p", false, kTexts, 0, false},
      {"<Parameter name='p' type='integer'>" + list + "</Parameter>", "p", false, kInts, 109,
       false},
      {"<Parameter name='p' type='double'><ListValue/></Parameter>", "p", false, kDoubles, 123,
       true},
      {group("<Parameter name='p' type='integer' value='z'/>"), "p", true, kInt, 109, false},
      {"<Parameter name='p' type='integer' value='1'/><Parameter name='p' type='integer' "
       "value='z'/>",
       "p", false, kInt, 0, false},
      {"<Parameter name='CatPredictors' isList='true'/>", "CatPredictors", false, kNames, 122,
       false},
      {"<Parameter name='FrequencyWeightVar' isList='true'/>", "FrequencyWeightVar", false, kName,
       121, false},
      {"<Parameter name='target'><ListValue><Value/></ListValue></Parameter>", "target", false,
       kTexts, 123, true},
      {group("<Parameter name='CatPredictors' isList='true'/>"), "CatPredictors", true, kText, 123,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.params);
    MCSettingsParser parser;
    const std::vector<MCProblem> problems = Check(parser, SettingsDoc(c.params));
    void* context = c.inGroup ? parser.GetComplexParameter("g", nullptr) : nullptr;
    const Answer answer = Ask(parser, c.getter, c.name, context);
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
// read by the settings rules (dates, Intervals).
TEST(SettingsCheckTest, PathAndDataDictionary) {
  const std::string field =
      "<DataField name='d' optype='continuous' dataType='date'><Interval leftMargin='9' "
      "rightMargin='1'/></DataField>";
  struct Case {
    std::string xml;
    std::string expected;  // code path, per problem
  };
  const std::vector<Case> cases = {
      {Pmml(""), "119 /PMML\n"},
      {"<PMML><DataDictionary/><MiningBuildTask/></PMML>", "119 /PMML/MiningBuildTask\n"},
      {"<PMML><DataDictionary/><MiningBuildTask><Extension/></MiningBuildTask></PMML>",
       "119 /PMML/MiningBuildTask/Extension\n"},
      {SettingsDoc("", field), "109 /PMML/DataDictionary/DataField\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    MCSettingsParser parser;
    std::string seen;
    for (const MCProblem& p : Check(parser, c.xml)) {
      seen += std::to_string(p.status.GetCode()) + " " + p.path + "\n";
    }
    EXPECT_EQ(seen, c.expected);
  }
}

}  // namespace
