// Loading a settings document, the readiness answers, the named lookup, scalar
// getters and declared types.
#include "mcxml/settings/settings_parser.h"

#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace mcxml_test {
namespace {

constexpr char kPath[] = "<MiningBuildTask><Extension><Parameters/></Extension></MiningBuildTask>";

TEST(SettingsLoad, EveryGetterRepeatsAFailedLoad) {
  const std::pair<std::string, long> cases[] = {
      {std::string("<pmml><DataDictionary/>") + kPath + "</pmml>", 105},
      {std::string("<PMML>") + kPath + "</PMML>", 106},
      {"<PMML><DataDictionary/></PMML>", 119},
      {"<PMML><DataDictionary/><MiningBuildTask/></PMML>", 119},
      {"<PMML><DataDictionary/><MiningBuildTask><Extension/></MiningBuildTask></PMML>", 119},
      {"<PMML><DataDictionary/><MiningBuildTask><Parameters/></MiningBuildTask></PMML>", 119},
      {"<PMML><DataDictionary/><MiningBuildTask><Extension/><Extension><Parameters/></Extension>"
       "</MiningBuildTask></PMML>",
       119},
      {std::string("<PMML><DataDictionary/><MiningBuildTask/>") + kPath + "</PMML>", 119},
  };
  for (const auto& [xml, code] : cases) {
    SCOPED_TRACE(xml);
    MCSettingsParser parser;
    EXPECT_THAT(LoadXml(parser, xml), HasCode(code, false));
    const std::pair<Kind, const char*> untouched[] = {{kInt, "7"}, {kDoubleRows, "[7]"}};
    for (const auto& [kind, out] : untouched) {
      const Answer answer = Ask(parser, kind, "p");
      EXPECT_THAT(answer.status, HasCode(code, false));
      EXPECT_EQ(answer.out, out);
    }
    EXPECT_EQ(parser.GetParameterType("p", nullptr), MCSettingsParser::ParamUnknown);
    EXPECT_EQ(parser.GetComplexParameter("g", nullptr), nullptr);
    MCXML_1_3::MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, false), HasCode(code, false));
  }
}

TEST(SettingsLoad, BeforeAnyLoad107AndAfterABadLoadTheNewStatus) {
  MCSettingsParser parser;
  EXPECT_THAT(Ask(parser, kInts, "p").status, HasCode(107, false));
  std::vector<std::string> names;
  EXPECT_THAT(parser.GetTargetVars(names), HasCode(107, false));
  EXPECT_EQ(parser.GetParameterType("p", nullptr), MCSettingsParser::ParamUnknown);
  EXPECT_EQ(parser.GetComplexParameter("g", nullptr), nullptr);

  ASSERT_THAT(LoadXml(parser, SettingsDoc("<Parameter name='p' value='1'/>")), IsOk());
  EXPECT_THAT(Ask(parser, kInt, "p").status, IsOk());
  EXPECT_THAT(LoadXml(parser, "<PMML><DataDictionary/></PMML>"), HasCode(119, false));
  EXPECT_THAT(Ask(parser, kInt, "p").status, HasCode(119, false));
}

TEST(SettingsLookup, FirstNamedDirectChildOfTheScope) {
  MCSettingsParser parser;
  ASSERT_THAT(LoadXml(parser, SettingsDoc(R"(
      <Parameter value='nameless'/><Parameter name='' value='empty'/>
      <ComplexParameter name='p'><Parameter name='p' value='inner'/>
        <ComplexParameter name='deep'><Parameter name='d' value='deepest'/></ComplexParameter>
      </ComplexParameter>
      <Parameter name='p' value='first'/><Parameter name='p' value='second'/>)")),
              IsOk());
  EXPECT_EQ(Ask(parser, kText, "p").out, "first");
  EXPECT_THAT(Ask(parser, kText, "").status, HasCode(120, true));
  EXPECT_THAT(Ask(parser, kText, "d").status, HasCode(120, true));

  void* outer = parser.GetComplexParameter("p", nullptr);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(Ask(parser, kText, "p", outer).out, "inner");
  EXPECT_THAT(Ask(parser, kText, "d", outer).status, HasCode(120, true));
  EXPECT_EQ(parser.GetComplexParameter("deep", nullptr), nullptr);
  void* deep = parser.GetComplexParameter("deep", outer);
  EXPECT_EQ(Ask(parser, kText, "d", deep).out, "deepest");
  EXPECT_EQ(parser.GetComplexParameter("d", deep), nullptr);  // only a Parameter has it
}

TEST(SettingsScalars, ValueListValueOrNeitherAndDeclaredTypes) {
  RunCases({
      {"<Parameter name='p' value=' a b '/>", kText, 0, false, " a b "},
      {"<Parameter name='p' value='v'><ListValue/></Parameter>", kText, 0, false, "v"},
      {"<Parameter name='p' value=''><ListValue/></Parameter>", kText, 121, false, "="},
      {"<Parameter name='p'><Value value='v'/></Parameter>", kText, 123, true, "="},
      {"<Parameter name='p' value='0'/>", kInt, 0, false, "0"},
      {"<Parameter name='p' value='42'/>", kInt, 0, false, "42"},
      {"<Parameter name='p' value='-1'/>", kInt, 109, false, "-1"},
      {"<Parameter name='p' value='4.5'/>", kInt, 109, false, "7"},
      {"<Parameter name='p'><ListValue/></Parameter>", kInt, 121, false, "7"},
      {"<Parameter name='p'/>", kInt, 123, true, "7"},
      {"<Parameter name='p' value='-2.5e1'/>", kDouble, 0, false, "-25"},
      {"<Parameter name='p' value='NaN'/>", kDouble, 0, false, "NaN"},
      {"<Parameter name='p' value='INF'/>", kDouble, 109, false, "7"},
      {"<Parameter name='p' value=''><ListValue/></Parameter>", kDouble, 121, false, "7"},
      {"<Parameter name='p' value='false'/>", kBool, 0, false, "false"},
      {"<Parameter name='p' value='TRUE'/>", kBool, 109, false, "true"},
      {"<Parameter name='p' value='0'/>", kBool, 109, false, "true"},
      {"<Parameter name='p'/>", kBool, 123, true, "true"},
      // Declared types by exact text; 6 is ParamUnknown.
      {"<Parameter name='p' type='string'/>", kType, 0, false, "0"},
      {"<Parameter name='p' type='fieldName'/>", kType, 0, false, "5"},
      {"<Parameter name='p' type='Integer'/>", kType, 0, false, "6"},
      {"<Parameter name='p'/>", kType, 0, false, "6"},
      {"<ComplexParameter name='p' type='double'/>", kType, 0, false, "6"},
      {"<Parameter name='p'/>", kGroup, 0, false, "null"},
  });
}

}  // namespace
}  // namespace mcxml_test
