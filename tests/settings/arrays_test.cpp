// Arrays (a list versus a single value, a bad element ending the walk) and
// matrices (passing over what they cannot use, ragged and empty rows).
#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace mcxml_test {
namespace {

// A Parameter "p" whose ListValue holds Value elements with these attributes.
std::string List(Str values, Str attrs = "") {
  return "<Parameter name='p'" + attrs + "><ListValue>" + values + "</ListValue></Parameter>";
}

TEST(SettingsArrays, ListOrSingleValueAndTheFirstBadElementEndsTheWalk) {
  RunCases({
      {List("<Value value='3'/><Value value='1'/><Value value='2'/>"), kInts, 0, false, "3,1,2"},
      {List("<Value value='3'/><Value value='-5'/><Value value='2'/>"), kInts, 109, false, "3"},
      // 123 carries the warning flag but is not OK: it ends the walk too.
      {List("<Value value='3'/><Value/><Value value='2'/>"), kInts, 123, true, "3"},
      // The list wins over a value, even when it is empty.
      {List("", " value='7'"), kInts, 123, true, ""},
      {List("<Skip value='4'/><!-- c --> <Value value='a b'/><ListValue><Value value='6'/>"
            "</ListValue>"),
       kTexts, 0, false, "a b"},
      {List("<Value value='NaN'/><Value value='1e1'/><Value value='INF'/>"), kDoubles, 109, false,
       "-max,10"},
      {"<Parameter name='p' value='7'/>", kInts, 0, false, "7"},
      {"<Parameter name='p' value='-7'/>", kInts, 109, false, ""},
      {"<Parameter name='p'/>", kDoubles, 123, true, ""},
      {"<Parameter name='q' value='1'/>", kInts, 120, true, "7"},
  });
}

TEST(SettingsMatrices, PassOverWhatTheyCannotUse) {
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

}  // namespace
}  // namespace mcxml_test
