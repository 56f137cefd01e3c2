// Fuzz target: a settings document through loading, every getter kind on every
// parameter name found (through nested groups), the role getters, the variable
// list and the document check, under secure processing with element places;
// loaded whole and lean, and every read of the two must be the same.
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "mcxml/common/var_list.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "transcript.h"

namespace {

using namespace MCXML_1_3;
using MCCommon_1_3::MCStatus;

// Bounds that keep one input fast; deeper or wider documents add nothing new.
constexpr int kMaxDepth = 6;
constexpr int kMaxNamesPerGroup = 48;

bool IsOneOf(const MCStatus& status, std::initializer_list<long> codes) {
  for (long code : codes) {
    if (status.GetCode() == code) return status.IsWarning() == (code == 120 || code == 123);
  }
  return false;
}

void CheckQuery(const MCStatus& status, const MCStatus& load, mcxml_fuzz::Transcript& transcript) {
  transcript << status;
  if (!load.IsOK()) {
    MCXML_FUZZ_CHECK(status == load);
  } else {
    MCXML_FUZZ_CHECK(IsOneOf(status, {0, 108, 109, 119, 120, 121, 122, 123}));
  }
}

const DOMElement* ParametersOf(const DOMElement* root) {
  const DOMElement* task = root ? GetFirstChildElmt(*root, "MiningBuildTask") : nullptr;
  const DOMElement* extension = task ? GetFirstChildElmt(*task, "Extension") : nullptr;
  return extension ? GetFirstChildElmt(*extension, "Parameters") : nullptr;
}

// An empty or absent "name" never matches a lookup.
const DOMElement* FirstGroupNamed(const DOMElement& scope, const std::string& name) {
  if (name.empty()) return nullptr;
  for (const DOMElement* group = GetFirstChildElmt(scope, "ComplexParameter"); group != nullptr;
       group = GetNextSiblingElmt(*group, "ComplexParameter")) {
    if (ToUTF8(GetAttribute(*group, "name")) == name) return group;
  }
  return nullptr;
}

void QueryName(MCSettingsParser& parser, const char* name, void* context, const MCStatus& load,
               mcxml_fuzz::Transcript& transcript) {
  std::string text;
  int integer = 0;
  double number = 0;
  bool flag = false;
  CheckQuery(parser.GetParameter(name, text, context), load, transcript);
  CheckQuery(parser.GetParameter(name, integer, context), load, transcript);
  CheckQuery(parser.GetParameter(name, number, context), load, transcript);
  CheckQuery(parser.GetParameter(name, flag, context), load, transcript);
  const MCSettingsParser::ParamType type = parser.GetParameterType(name, context);
  transcript << name << text << integer << number << flag << static_cast<int>(type);
  MCXML_FUZZ_CHECK(type >= MCSettingsParser::ParamString && type <= MCSettingsParser::ParamUnknown);

  std::vector<std::string> texts;
  std::vector<int> integers;
  std::vector<double> numbers;
  CheckQuery(parser.GetArray(name, texts, context), load, transcript);
  CheckQuery(parser.GetArray(name, integers, context), load, transcript);
  CheckQuery(parser.GetArray(name, numbers, context), load, transcript);
  for (const std::string& entry : texts) MCXML_FUZZ_CHECK(!entry.empty());
  transcript << texts << integers << numbers;

  std::vector<std::vector<std::string>> textRows;
  std::vector<std::vector<int>> integerRows;
  std::vector<std::vector<double>> numberRows;
  CheckQuery(parser.GetMatrix(name, textRows, context), load, transcript);
  CheckQuery(parser.GetMatrix(name, integerRows, context), load, transcript);
  CheckQuery(parser.GetMatrix(name, numberRows, context), load, transcript);
  transcript << textRows << integerRows << numberRows;

  if (context == nullptr) {
    std::string one;
    std::vector<std::string> many;
    CheckQuery(parser.GetVariables(name, one), load, transcript);
    CheckQuery(parser.GetVariables(name, many), load, transcript);
    for (const std::string& entry : many) MCXML_FUZZ_CHECK(!entry.empty());
    transcript << one << many;
  }
}

void QueryScope(MCSettingsParser& parser, const DOMElement& scope, void* context, int depth,
                const MCStatus& load, mcxml_fuzz::Transcript& transcript) {
  int count = 0;
  for (const DOMElement* child = GetFirstChildElmt(scope, nullptr);
       child != nullptr && count < kMaxNamesPerGroup; child = GetNextSiblingElmt(*child, nullptr)) {
    const std::string name = ToUTF8(GetAttribute(*child, "name"));
    ++count;
    QueryName(parser, name.c_str(), context, load, transcript);
    if (depth >= kMaxDepth || !TagNameEquals(*child, "ComplexParameter")) continue;
    void* const group = parser.GetComplexParameter(name.c_str(), context);
    const DOMElement* const groupElmt = FirstGroupNamed(scope, name);
    MCXML_FUZZ_CHECK((group != nullptr) == (groupElmt != nullptr));
    if (group != nullptr) QueryScope(parser, *groupElmt, group, depth + 1, load, transcript);
  }
}

void QueryRoles(const MCSettingsParser& parser, const MCStatus& load,
                mcxml_fuzz::Transcript& transcript) {
  std::vector<std::string> names;
  std::string name;
  CheckQuery(parser.GetTargetVars(names), load, transcript);
  CheckQuery(parser.GetPredictors(names), load, transcript);
  CheckQuery(parser.GetCatResponseVars(names), load, transcript);
  CheckQuery(parser.GetContResponseVars(names), load, transcript);
  CheckQuery(parser.GetCatPredictors(names), load, transcript);
  CheckQuery(parser.GetContPredictors(names), load, transcript);
  CheckQuery(parser.GetFrequencyWeight(name), load, transcript);
  transcript << names << name;
}

// Every read of the document, loaded whole or lean, into `transcript`; whether
// the load outgrew the memory budget.
bool ReadAll(const std::string& text, bool lean, bool trusted, mcxml_fuzz::Transcript& transcript) {
  std::istringstream in(text);
  MCSettingsParser parser;
  parser.SetSecureProcessing(!trusted);
  parser.SetElementPlaces(true);
  parser.SetLeanReading(lean);
  const MCStatus load = parser.ParseToDOM(in);
  MCXML_FUZZ_CHECK(IsOneOf(load, {0, 104, 105, 106, 119}));
  transcript << load << parser.GetErrorCount();

  QueryName(parser, "", nullptr, load, transcript);
  const DOMElement* const parameters =
      load.IsOK() ? ParametersOf(parser.GetRootElement()) : nullptr;
  MCXML_FUZZ_CHECK(load.IsOK() == (parameters != nullptr));
  if (parameters != nullptr) QueryScope(parser, *parameters, nullptr, 0, load, transcript);
  QueryRoles(parser, load, transcript);

  for (bool bins : {false, true}) {
    MCVarList list;
    const MCStatus status = parser.FillVarList(list, bins);
    if (!load.IsOK()) {
      MCXML_FUZZ_CHECK(status == load && list.GetCount() == 0);
    } else {
      MCXML_FUZZ_CHECK(IsOneOf(status, {0, 108, 109, 110, 111}));
    }
    // The check meets FillVarList's first failure among its own problems.
    bool found = status.IsOK();
    const std::vector<MCProblem> problems = parser.CheckDocument(bins);
    for (const MCProblem& problem : problems) {
      MCXML_FUZZ_CHECK(!problem.reason.empty());
      found = found || problem.status == status;
    }
    MCXML_FUZZ_CHECK(found);
    transcript << status << list << problems;
  }
  return mcxml_fuzz::OutgrewBudget(parser.GetFirstXMLError());
}

}  // namespace

extern "C" int MCXML_FUZZ_ENTRY(const uint8_t* data, size_t size) {
  mcxml_fuzz::KeepPlatform();
  mcxml_fuzz::ReadBothWays(mcxml_fuzz::AsText(data, size), ReadAll);
  return 0;
}
