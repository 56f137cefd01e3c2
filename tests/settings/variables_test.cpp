// Variable names: the list form (marked by "isList", unlike an array) and the
// single form, and which parameter and reading rules each role getter uses.
#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace mcxml_test {
namespace {

TEST(SettingsVariables, ListFormIsMarkedByIsListOnly) {
  const std::string p = "<Parameter name='p' ", list = "isList='true'><ListValue>";
  const std::string a = "><ListValue><Value value='a'/></ListValue></Parameter>";
  RunCases({
      {p + list +
           "<Value value='a'/><Value value='b c'/><Value value='a'/></ListValue></Parameter>",
       kNames, 0, false, "a,b c,a"},
      {p + list + "<Value value='a'/><Value/><Value value='c'/></ListValue></Parameter>", kNames,
       108, false, "a"},
      {p + list + "</ListValue></Parameter>", kNames, 0, false, ""},
      {p + "value='x' isList='true'/>", kNames, 122, false, ""},
      {p + "value='x' isList='true'/>", kName, 0, false, "x"},
      {p + "isList='true'" + a, kName, 121, false, "="},
      {p + "isList='false'" + a, kName, 108, false, "="},
      {p + a, kNames, 108, false, ""},
      {"<Parameter name='q' value='x'/>", kNames, 120, true, "="},
  });
}

TEST(SettingsVariables, EachRoleReadsItsOwnTopLevelParameter) {
  MCSettingsParser parser;
  ASSERT_THAT(Load(parser, SettingsDoc(R"(
      <ComplexParameter name='g'><Parameter name='inputs' value='nested'/></ComplexParameter>
      <Parameter name='target'><ListValue><Value value='t'/></ListValue></Parameter>
      <Parameter name='CatResponses' value='cr'/>
      <Parameter name='ContResponses' isList='true'><ListValue><Value value='xr'/></ListValue>
      </Parameter>
      <Parameter name='CatPredictors' value='cp'/><Parameter name='ContPredictors' value='xp'/>
      <Parameter name='FrequencyWeightVar' value='f'/>)")),
              IsOk());
  using Getter = MCStatus (MCSettingsParser::*)(std::vector<std::string>&) const;
  const std::tuple<Getter, long, const char*> roles[] = {
      {&MCSettingsParser::GetTargetVars, 0, "t"},
      {&MCSettingsParser::GetPredictors, 120, "="},
      {&MCSettingsParser::GetCatResponseVars, 0, "cr"},
      {&MCSettingsParser::GetContResponseVars, 0, "xr"},
      {&MCSettingsParser::GetCatPredictors, 0, "cp"},
      {&MCSettingsParser::GetContPredictors, 0, "xp"}};
  for (const auto& [getter, code, out] : roles) {
    std::vector<std::string> names{"="};
    EXPECT_THAT((parser.*getter)(names), HasCode(code, code == 120));
    EXPECT_EQ(Text(names), out);
  }
  std::string weight;
  EXPECT_THAT(parser.GetFrequencyWeight(weight), IsOk());
  EXPECT_EQ(weight, "f");
}

}  // namespace
}  // namespace mcxml_test
