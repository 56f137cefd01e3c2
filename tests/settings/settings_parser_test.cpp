// The settings getters: the readiness answers of a load, scalars, declared types,
// arrays, variable names, matrices, and the parameter each role getter reads.
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

TEST(SettingsGetters, OneParameterEachGetter) {
  const std::string p = "<Parameter name='p' ", names = p + "isList='true'><ListValue>";
  const auto list = [](Str values, Str attrs = "") {
    return "<Parameter name='p'" + attrs + "><ListValue>" + values + "</ListValue></Parameter>";
  };
  const std::string a = "<Value value='a'/>";
  const struct {
    std::string params;  // the Parameters body; the getter asks for "p"
    Kind kind;
    long code;
    bool warning;
    const char* out;
  } cases[] = {
      // Scalars: the value, a ListValue, or neither.
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
      // Arrays: 123 carries the warning flag but is not OK, so it ends the walk too.
      {list("<Value value='3'/><Value value='1'/><Value value='2'/>"), kInts, 0, false, "3,1,2"},
      {list("<Value value='3'/><Value value='-5'/><Value value='2'/>"), kInts, 109, false, "3"},
      {list("<Value value='3'/><Value/><Value value='2'/>"), kInts, 123, true, "3"},
      {list("", " value='7'"), kInts, 123, true, ""},  // the list wins, even when empty
      {list("<Skip value='4'/><!-- c --> <Value value='a b'/><ListValue><Value value='6'/>"
            "</ListValue>"),
       kTexts, 0, false, "a b"},
      {list("<Value value='NaN'/><Value value='1e1'/><Value value='INF'/>"), kDoubles, 109, false,
       "-max,10"},
      {p + "value='7'/>", kInts, 0, false, "7"},
      {p + "value='-7'/>", kInts, 109, false, ""},
      {p + "/>", kDoubles, 123, true, ""},
      {"<Parameter name='q' value='1'/>", kInts, 120, true, "7"},
      // Variable names.
      {names + a + "<Value value='b c'/>" + a + "</ListValue></Parameter>", kNames, 0, false,
       "a,b c,a"},
      {names + a + "<Value/><Value value='c'/></ListValue></Parameter>", kNames, 108, false, "a"},
      {names + "</ListValue></Parameter>", kNames, 0, false, ""},
      {p + "value='x' isList='true'/>", kNames, 122, false, ""},
      {p + "value='x' isList='true'/>", kName, 0, false, "x"},
      {list(a, " isList='true'"), kName, 121, false, "="},
      {list(a, " isList='false'"), kName, 108, false, "="},
      {list(a), kNames, 108, false, ""},
      {"<Parameter name='q' value='x'/>", kNames, 120, true, "="},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.params);
    MCSettingsParser parser;
    ASSERT_THAT(Load(parser, SettingsDoc(c.params)), IsOk());
    const Answer answer = Ask(parser, c.kind, "p");
    EXPECT_THAT(answer.status, HasCode(c.code, c.warning));
    EXPECT_EQ(answer.out, c.out);
  }
}

// Matrices pass over what they cannot use.
TEST(SettingsGetters, Matrices) {
  MCSettingsParser parser;
  ASSERT_THAT(Load(parser, SettingsDoc(R"(
      <MatrixParameter name='m'><ArrayParameter><Value value='0'/></ArrayParameter></MatrixParameter>
      <MatrixParmeter name='m'>
        <ArrayParameter name='ignored'><Value value='1'/><Value value='-1'/><Value value='x'/>
          <Value/><Value value=''/><!-- c --><Other value='3'/><Value value='2'/></ArrayParameter>
        text <ArrayParameter/><ListValue><Value value='4'/></ListValue>
        <ArrayParameter><Value value='5'/><ArrayParameter><Value value='6'/></ArrayParameter>
          <Value value='1e1'/></ArrayParameter>
      </MatrixParmeter>
      <MatrixParmeter name='none'/>
      <ComplexParameter name='g'><MatrixParmeter name='in'>
        <ArrayParameter><Value value='a b'/><Value value='NaN'/></ArrayParameter>
      </MatrixParmeter></ComplexParameter>)")),
              IsOk());
  const std::tuple<Kind, const char*, void*, long, const char*> cases[] = {
      {kIntRows, "m", nullptr, 0, "[1,2][][5]"},
      {kDoubleRows, "m", nullptr, 0, "[1,-1,2][][5,10]"},
      {kInts, "m", nullptr, 120, "7"},  // a matrix is no Parameter
      {kDoubleRows, "none", nullptr, 0, ""},
      {kTextRows, "in", nullptr, 120, "[=]"},
      {kTextRows, "in", parser.GetComplexParameter("g", nullptr), 0, "[a b,NaN]"},
  };
  for (const auto& [kind, name, context, code, out] : cases) {
    const Answer answer = Ask(parser, kind, name, context);
    EXPECT_THAT(answer.status, HasCode(code, code == 120)) << name;
    EXPECT_EQ(answer.out, out) << name;
  }
}

TEST(SettingsGetters, EachRoleReadsItsOwnTopLevelParameter) {
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
