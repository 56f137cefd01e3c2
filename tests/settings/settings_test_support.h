// Helpers for the settings tests: a settings document around a Parameters body,
// and one table shape for every getter, whose output is rendered as text.
#ifndef MCXML_TESTS_SETTINGS_SETTINGS_TEST_SUPPORT_H
#define MCXML_TESTS_SETTINGS_SETTINGS_TEST_SUPPORT_H

#include <sstream>
#include <string>
#include <vector>

#include "mcxml/common/format.h"
#include "mcxml/settings/settings_parser.h"
#include "test_support.h"

namespace mcxml_test {

using MCCommon_1_3::MCStatus;
using MCXML_1_3::MCSettingsParser;

/// A settings document: `params` in Parameters, `fields` in the DataDictionary and
/// `rootChildren` after it. Elements off the path stand before each step.
inline std::string SettingsDoc(const std::string& params, const std::string& fields = "",
                               const std::string& rootChildren = "") {
  return "<PMML><DataDictionary>" + fields + "</DataDictionary>" + rootChildren +
         "<MiningBuildTask><Parameters/><Extension><ListValue/><Parameters>" + params +
         "</Parameters></Extension></MiningBuildTask></PMML>";
}

inline MCStatus LoadXml(MCSettingsParser& parser, const std::string& xml) {
  std::istringstream in(xml);
  return parser.ParseToDOM(in);
}

// clang-format off
inline std::string Render(const std::string& v) { return v; }
inline std::string Render(int v) { return std::to_string(v); }
inline std::string Render(double v) { return MCXML_1_3::Format(v, false, nullptr); }
// clang-format on

/// Elements joined by ","; each row of a matrix in brackets.
template <class T>
std::string Render(const std::vector<T>& v) {
  std::string text;
  for (size_t i = 0; i < v.size(); ++i) text += (i ? "," : "") + Render(v[i]);
  return text;
}
template <class T>
std::string Render(const std::vector<std::vector<T>>& rows) {
  std::string text;
  for (const std::vector<T>& row : rows) text += "[" + Render(row) + "]";
  return text;
}

/// The getter a case calls, by the type it fills; kType and kGroup answer OK with
/// the ParamType value and whether a handle came back.
// clang-format off
enum Kind { kText, kInt, kDouble, kBool, kTexts, kInts, kDoubles, kTextRows, kIntRows,
            kDoubleRows, kName, kNames, kType, kGroup };
// clang-format on

struct Answer {
  MCStatus status;
  std::string out;
};

/// Calls the getter of `kind` on `name`; outputs start as "=" (texts), 7 (numbers)
/// or true, alone or as the single element of a list or matrix.
inline Answer Ask(MCSettingsParser& p, Kind kind, const char* name, void* context = nullptr) {
  std::string text = "=";
  int integer = 7;
  double real = 7;
  bool flag = true;
  std::vector<std::string> texts{"="};
  std::vector<int> ints{7};
  std::vector<double> reals{7};
  std::vector<std::vector<std::string>> textRows{{"="}};
  std::vector<std::vector<int>> intRows{{7}};
  std::vector<std::vector<double>> realRows{{7}};
  // clang-format off
  switch (kind) {
    case kText: return {p.GetParameter(name, text, context), text};
    case kInt: return {p.GetParameter(name, integer, context), Render(integer)};
    case kDouble: return {p.GetParameter(name, real, context), Render(real)};
    case kBool: return {p.GetParameter(name, flag, context), flag ? "true" : "false"};
    case kTexts: return {p.GetArray(name, texts, context), Render(texts)};
    case kInts: return {p.GetArray(name, ints, context), Render(ints)};
    case kDoubles: return {p.GetArray(name, reals, context), Render(reals)};
    case kTextRows: return {p.GetMatrix(name, textRows, context), Render(textRows)};
    case kIntRows: return {p.GetMatrix(name, intRows, context), Render(intRows)};
    case kDoubleRows: return {p.GetMatrix(name, realRows, context), Render(realRows)};
    case kName: return {p.GetVariables(name, text), text};
    case kNames: return {p.GetVariables(name, texts), Render(texts)};
    case kType: return {MCStatus(), Render(p.GetParameterType(name, context))};
    case kGroup: return {MCStatus(), p.GetComplexParameter(name, context) ? "handle" : "null"};
  }
  // clang-format on
  return {};
}

struct Case {
  std::string params;  // the Parameters body; the getter asks for "p"
  Kind kind;
  long code;
  bool warning;
  const char* out;
};

inline void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.params);
    MCSettingsParser parser;
    ASSERT_THAT(LoadXml(parser, SettingsDoc(c.params)), IsOk());
    const Answer answer = Ask(parser, c.kind, "p");
    EXPECT_THAT(answer.status, HasCode(c.code, c.warning));
    EXPECT_EQ(answer.out, c.out);
  }
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_SETTINGS_SETTINGS_TEST_SUPPORT_H
