// Helpers for the settings tests: a settings document around a Parameters body,
// and one call shape for every getter, whose output is rendered as text.
#ifndef MCXML_TESTS_SETTINGS_SETTINGS_TEST_SUPPORT_H
#define MCXML_TESTS_SETTINGS_SETTINGS_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "mcxml/settings/settings_parser.h"
#include "pmml/pmml_test_support.h"

namespace mcxml_test {

using MCCommon_1_3::MCStatus;
using MCXML_1_3::MCSettingsParser;

/// A settings document: `params` in Parameters, `fields` in the DataDictionary and
/// `rootChildren` after it. Elements off the path stand before each step.
inline std::string SettingsDoc(Str params, Str fields = "", Str rootChildren = "") {
  return "<PMML><DataDictionary>" + fields + "</DataDictionary>" + rootChildren +
         "<MiningBuildTask><Parameters/><Extension><ListValue/><Parameters>" + params +
         "</Parameters></Extension></MiningBuildTask></PMML>";
}

/// The getter a case calls, by the type it fills; kType answers OK with the
/// ParamType value.
// clang-format off
enum Kind { kText, kInt, kDouble, kBool, kTexts, kInts, kDoubles, kTextRows, kIntRows,
            kDoubleRows, kName, kNames, kType };
// clang-format on

struct Answer {
  MCStatus status;
  std::string out;
};

/// Calls the getter of `kind` on `name`; outputs start as "=" (texts), 7 (numbers)
/// or true, alone or as the single element of a list or matrix.
inline Answer Ask(MCSettingsParser& p, Kind kind, const char* name, void* context = nullptr) {
  using Texts = std::vector<std::string>;
  const auto fill = [](auto out, auto get) {
    const MCStatus status = get(out);
    return Answer{status, Text(out)};
  };
  const auto param = [&](auto& out) { return p.GetParameter(name, out, context); };
  const auto array = [&](auto& out) { return p.GetArray(name, out, context); };
  const auto matrix = [&](auto& out) { return p.GetMatrix(name, out, context); };
  const auto vars = [&](auto& out) { return p.GetVariables(name, out); };
  // clang-format off
  switch (kind) {
    case kText: return fill(std::string("="), param);
    case kInt: return fill(7, param);
    case kDouble: return fill(7.0, param);
    case kBool: return fill(true, param);
    case kTexts: return fill(Texts{"="}, array);
    case kInts: return fill(std::vector<int>{7}, array);
    case kDoubles: return fill(std::vector<double>{7}, array);
    case kTextRows: return fill(std::vector<Texts>{{"="}}, matrix);
    case kIntRows: return fill(std::vector<std::vector<int>>{{7}}, matrix);
    case kDoubleRows: return fill(std::vector<std::vector<double>>{{7}}, matrix);
    case kName: return fill(std::string("="), vars);
    case kNames: return fill(Texts{"="}, vars);
    case kType: return {MCStatus(), Text(p.GetParameterType(name, context))};
  }
  // clang-format on
  return {};
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_SETTINGS_SETTINGS_TEST_SUPPORT_H
