// Fuzz target: a PMML document through loading, the variable list (with and
// without bins, and with a names filter), the document check (whose codes must
// agree with the variable list's) and the whole statistics walk of every model
// element, under secure processing with element places; loaded whole and lean,
// and every read of the two must be the same.
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "transcript.h"

namespace {

using namespace MCXML_1_3;
using MCCommon_1_3::MCStatus;

bool IsOneOf(const MCStatus& status, std::initializer_list<long> codes) {
  if (status.IsWarning()) return false;
  for (long code : codes) {
    if (status.GetCode() == code) return true;
  }
  return false;
}

bool IsFinite(double value) {
  return std::isfinite(value);
}

void CheckVariables(const MCVarList& list, const std::vector<std::string>* names) {
  for (int i = 0; i < list.GetCount(); ++i) {
    const MCVariableInfo& info = list.GetVarAt(i)->GetInfo();
    MCXML_FUZZ_CHECK(!info.name.empty());
    if (names != nullptr)
      MCXML_FUZZ_CHECK(FindXStrInList(ToUTF16(info.name.c_str()).data(), *names) >= 0);
    if (info.range) {
      MCXML_FUZZ_CHECK(IsFinite(info.range->first) && IsFinite(info.range->second));
    }
    if (info.cutPoints) {
      for (double cut : *info.cutPoints) MCXML_FUZZ_CHECK(IsFinite(cut));
    }
  }
}

// Every other DataField name, and one that no field has.
std::vector<std::string> SomeFieldNames(const DOMElement* root) {
  std::vector<std::string> names{"no such field"};
  const DOMElement* dictionary = root ? GetFirstChildElmt(*root, "DataDictionary") : nullptr;
  if (dictionary == nullptr) return names;
  bool take = true;
  for (const DOMElement* field = GetFirstChildElmt(*dictionary, "DataField"); field != nullptr;
       field = GetNextSiblingElmt(*field, "DataField")) {
    if (take) names.push_back(ToUTF8(GetAttribute(*field, "name")));
    take = !take;
  }
  return names;
}

// The walk's failures, in order; with the document's only model, they are the
// statuses of the check's statistics problems, in the same order.
void WalkStats(MCPMMLParser& parser, const DOMElement* model, const MCStatus& load,
               const std::vector<MCProblem>& problems, mcxml_fuzz::Transcript& transcript) {
  if (model == nullptr) return;
  MCXML_FUZZ_CHECK(parser.SetModelElmt(*model) == load.IsOK());
  std::vector<MCStatus> failures;
  const DOMElement* cursor = nullptr;
  for (long calls = 0;; ++calls) {
    // The cursor moves forward over a finite document, so the walk must end.
    MCXML_FUZZ_CHECK(calls < 1000000);
    MCUniStats stats;
    const DOMElement* const before = cursor;
    const MCStatus status = parser.FillUniStats(stats, cursor);
    transcript << status << stats << (cursor == nullptr) << (cursor == before);
    if (!load.IsOK()) {
      MCXML_FUZZ_CHECK(status == load && cursor == before);
      return;
    }
    MCXML_FUZZ_CHECK(IsOneOf(status, {0, 108, 109, 113, 114, 115, 116}));
    if (!status.IsOK()) failures.push_back(status);
    if (status.IsOK() && cursor != nullptr) MCXML_FUZZ_CHECK(stats.IsValid());
    if (cursor == nullptr || cursor == before) break;
  }
  const DOMElement& root = *parser.GetRootElement();
  if (GetModelElmt(root, 0) == nullptr || GetModelElmt(root, 1) != nullptr) return;
  std::vector<MCStatus> listed;
  for (const MCProblem& problem : problems) {
    if (problem.status.GetCode() != 0 && problem.path.find("/ModelStats/") != std::string::npos) {
      listed.push_back(problem.status);
    }
  }
  MCXML_FUZZ_CHECK(listed == failures);
}

// The check agrees with the operations: FillVarList with one field's name gives the
// status of the first problem the check names for that field (when every field has
// a name: a nameless one stops FillVarList for every name), and the statistics
// walk of the only model fails on exactly the statistics the check lists. Gives the
// problems.
std::vector<MCProblem> CheckAgrees(MCPMMLParser& parser, const std::vector<std::string>& names,
                                   bool bins, mcxml_fuzz::Transcript& transcript) {
  const std::vector<MCProblem> problems = parser.CheckDocument(bins);
  transcript << problems;
  bool nameless = false;
  for (const MCProblem& problem : problems) {
    MCXML_FUZZ_CHECK(!problem.reason.empty());
    nameless = nameless || (problem.path.find("/DataField") != std::string::npos &&
                            problem.path.find("/ModelStats/") == std::string::npos &&
                            !problem.name && problem.status.GetCode() == 108);
  }
  if (parser.GetRootElement() == nullptr || nameless) return problems;
  for (const std::string& name : names) {
    MCVarList list;
    const MCStatus status = parser.FillVarList(list, {name}, bins);
    transcript << status << list;
    MCStatus listed;
    for (const MCProblem& problem : problems) {
      if (problem.name == name && problem.status.GetCode() != 0 &&
          problem.path.find("/ModelStats/") == std::string::npos) {
        listed = problem.status;
        break;
      }
    }
    MCXML_FUZZ_CHECK(status == listed);
  }
  return problems;
}

// Every read of the document, loaded whole or lean, into `transcript`; whether
// the load outgrew the memory budget.
bool ReadAll(const std::string& text, bool lean, bool trusted, mcxml_fuzz::Transcript& transcript) {
  std::istringstream in(text);
  MCPMMLParser parser;
  parser.SetSecureProcessing(!trusted);
  parser.SetElementPlaces(true);
  parser.SetLeanReading(lean);
  const MCStatus load = parser.ParseToDOM(in);
  MCXML_FUZZ_CHECK(IsOneOf(load, {0, 104, 105, 106}));
  MCXML_FUZZ_CHECK((parser.GetRootElement() != nullptr) == load.IsOK());
  const std::optional<MCXMLError> error = parser.GetFirstXMLError();
  transcript << load << parser.GetXercesMessage() << parser.GetErrorCount()
             << (error ? error->message : "-") << (error ? error->place : MCPlace());

  for (bool bins : {false, true}) {
    MCVarList list;
    const MCStatus status = parser.FillVarList(list, {}, bins);
    transcript << status << list;
    if (!load.IsOK()) {
      MCXML_FUZZ_CHECK(status == load && list.GetCount() == 0);
    } else {
      MCXML_FUZZ_CHECK(IsOneOf(status, {0, 108, 109, 110, 111}));
      MCXML_FUZZ_CHECK(bins || status.GetCode() != 110);
    }
    CheckVariables(list, nullptr);
  }
  const std::vector<std::string> names = SomeFieldNames(parser.GetRootElement());
  MCVarList filtered;
  transcript << parser.FillVarList(filtered, names, true) << filtered;
  CheckVariables(filtered, &names);

  static_cast<void>(CheckAgrees(parser, names, true, transcript));
  const std::vector<MCProblem> problems = CheckAgrees(parser, names, false, transcript);
  const DOMElement* root = parser.GetRootElement();
  // Every model element's walk; the first is also held to the check.
  for (std::size_t i = 0; root != nullptr; ++i) {
    const DOMElement* model = GetModelElmt(*root, i);
    if (model == nullptr) break;
    WalkStats(parser, model, load, problems, transcript);
  }
  return mcxml_fuzz::OutgrewBudget(error);
}

}  // namespace

extern "C" int MCXML_FUZZ_ENTRY(const uint8_t* data, size_t size) {
  mcxml_fuzz::KeepPlatform();
  mcxml_fuzz::ReadBothWays(mcxml_fuzz::AsText(data, size), ReadAll);
  return 0;
}
