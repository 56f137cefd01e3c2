// Loading a settings document, the readiness answers, scalar getters and declared
// types.
#include "mcxml/settings/settings_parser.h"

#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace mcxml_test {
namespace {

TEST(SettingsLoad, EveryGetterRepeatsTheLastFailedLoadOr107WithoutOne) {
  const std::string head = "<PMML><DataDictionary/><MiningBuildTask>";
  // Only the first MiningBuildTask and its first Extension are looked into.
  const std::pair<std::string, long> cases[] = {
      {"", 107},
      {"<PMML><MiningBuildTask><Extension><Parameters/></Extension></MiningBuildTask></PMML>", 106},
      {"<PMML><DataDictionary/></PMML>", 119},
      {head + "<Parameters/></MiningBuildTask></PMML>", 119},
      {head + "<Extension/><Extension><Parameters/></Extension></MiningBuildTask></PMML>", 119},
      {head + "</MiningBuildTask><MiningBuildTask><Extension><Parameters/></Extension>"
              "</MiningBuildTask></PMML>",
       119},
  };
  for (const auto& [xml, code] : cases) {
    SCOPED_TRACE(xml);
    MCSettingsParser parser;
    if (!xml.empty()) {  // a failed load replaces a good one
      ASSERT_THAT(Load(parser, SettingsDoc("<Parameter name='p' value='1'/>")), IsOk());
      EXPECT_THAT(Load(parser, xml), HasCode(code, false));
    }
    for (const auto& [kind, out] : {std::pair(kInt, "7"), std::pair(kDoubleRows, "[7]")}) {
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

TEST(SettingsScalars, ValueListValueOrNeitherAndDeclaredTypes) {
  const std::string p = "<Parameter name='p' ";
  RunCases({
      {p + "value='v'><ListValue/></Parameter>", kText, 0, false, "v"},
      {p + "value=''><ListValue/></Parameter>", kText, 121, false, "="},
      {p + "><Value value='v'/></Parameter>", kText, 123, true, "="},
      {p + "value='0'/>", kInt, 0, false, "0"},
      {p + "value='-1'/>", kInt, 109, false, "-1"},
      {p + "value='4.5'/>", kInt, 109, false, "7"},
      {p + "><ListValue/></Parameter>", kInt, 121, false, "7"},
      {p + "value='-2.5e1'/>", kDouble, 0, false, "-25"},
      {p + "value='INF'/>", kDouble, 109, false, "7"},
      {p + "value=''><ListValue/></Parameter>", kDouble, 121, false, "7"},
      {p + "value='false'/>", kBool, 0, false, "false"},
      {p + "value='TRUE'/>", kBool, 109, false, "true"},
      {p + "/>", kBool, 123, true, "true"},
      // Declared types by exact text; 6 is ParamUnknown.
      {p + "type='string'/>", kType, 0, false, "0"},
      {p + "type='fieldName'/>", kType, 0, false, "5"},
      {p + "/>", kType, 0, false, "6"},
      {"<ComplexParameter name='p' type='double'/>", kType, 0, false, "6"},
  });
}

}  // namespace
}  // namespace mcxml_test
