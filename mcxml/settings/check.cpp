// MCSettingsParser::CheckDocument: the PMML check with the settings rules, then
// the Parameters path and every parameter with the getter that reads it.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/pmml/problems_internal.h"
#include "mcxml/settings/settings_internal.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {
namespace {

// The getter the check reads a parameter with: a role's own getter for the role
// parameters of the top level; the array getter of the declared type for a
// parameter that holds a ListValue; else the scalar getter of the declared type.
MCStatus ReadAsDeclared(const DOMElement& param, const XMLCh* name, bool topLevel,
                        MCFaults& faults) {
  if (topLevel) {
    std::vector<std::string> names;
    if (XStrEqualsUTF8Str(name, kTargetParam) || XStrEqualsUTF8Str(name, kInputsParam)) {
      return ReadArrayParameter(param, names, &faults);
    }
    for (const char* role :
         {kCatResponsesParam, kContResponsesParam, kCatPredictorsParam, kContPredictorsParam}) {
      if (XStrEqualsUTF8Str(name, role)) return ReadVariables(param, names, &faults);
    }
    std::string single;
    if (XStrEqualsUTF8Str(name, kFrequencyWeightParam))
      return ReadVariables(param, single, &faults);
  }
  const XMLCh* type = GetAttribute(param, "type");
  const bool integer = XStrEqualsUTF8Str(type, kIntegerType);
  const bool number = XStrEqualsUTF8Str(type, kDoubleType);
  if (ListValueOf(param) != nullptr) {
    std::vector<int> integers;
    std::vector<double> numbers;
    std::vector<std::string> texts;
    return integer  ? ReadArrayParameter(param, integers, &faults)
           : number ? ReadArrayParameter(param, numbers, &faults)
                    : ReadArrayParameter(param, texts, &faults);
  }
  int integerValue = 0;
  double numberValue = 0.0;
  bool flag = false;
  std::string text;
  if (integer) return ReadParameter(param, integerValue, &faults);
  if (number) return ReadParameter(param, numberValue, &faults);
  if (XStrEqualsUTF8Str(type, kBooleanType)) return ReadParameter(param, flag, &faults);
  return ReadParameter(param, text, &faults);
}

// A parameter scope and how far its children have been read. A lookup finds the
// first element of a name, so later ones of the same tag and name are never read.
// The names seen are views of the document's own texts, which the check leaves as
// they are.
struct Scope {
  const DOMElement* elmt;
  const DOMNode* next;
  bool topLevel;
  std::unordered_set<std::u16string_view> parameters;
  std::unordered_set<std::u16string_view> groups;
};

// Every scope at every depth, in document order; a stack of its own rather than
// recursion, as groups may nest as deep as a document does.
void CheckParameters(const DOMElement& parameters, ProblemList& problems) {
  std::vector<Scope> stack;
  stack.push_back(Scope{&parameters, parameters.getFirstChild(), true, {}, {}});
  while (!stack.empty()) {
    Scope& scope = stack.back();
    if (scope.next == nullptr) {
      stack.pop_back();
      continue;
    }
    const DOMNode* node = scope.next;
    scope.next = node->getNextSibling();
    const DOMElement* elmt = AsElement(*node, nullptr);
    const XMLCh* name = elmt != nullptr ? GetAttribute(*elmt, "name") : nullptr;
    if (name == nullptr) continue;
    if (TextIs(elmt->getTagName(), kComplexParameterTag)) {
      if (scope.groups.insert(name).second) {
        stack.push_back(Scope{elmt, elmt->getFirstChild(), false, {}, {}});
      }
    } else if (TextIs(elmt->getTagName(), kParameterTag) && scope.parameters.insert(name).second) {
      MCFaults faults;
      if (!ReadAsDeclared(*elmt, name, scope.topLevel, faults).IsOK()) {
        problems.Add(faults, *elmt, "Parameter " + Quoted(name) + ": ", NameFor(name));
      }
    }
  }
}

// Why the load found no Parameters: the first step of the path that is missing.
void AddNoParameters(const DOMElement& root, ProblemList& problems) {
  const DOMElement* task = GetFirstChildElmt(root, "MiningBuildTask");
  if (task == nullptr) {
    problems.Add(kNoParameters, &root, "PMML has no MiningBuildTask child", std::nullopt);
    return;
  }
  const DOMElement* extension = GetFirstChildElmt(*task, "Extension");
  if (extension == nullptr) {
    problems.Add(kNoParameters, task, "the first MiningBuildTask has no Extension child",
                 std::nullopt);
    return;
  }
  problems.Add(kNoParameters, extension,
               "the first Extension of the MiningBuildTask has no Parameters child", std::nullopt);
}

}  // namespace

std::vector<MCProblem> MCSettingsParser::CheckDocument(bool useBins) const {
  ProblemList problems(*this, m_parser.get());
  if (m_status == kNoParameters && m_rootElmt != nullptr) {
    AddNoParameters(*m_rootElmt, problems);
    return problems.Take();
  }
  if (!problems.AddLoad(m_status, m_xercesMessage) || m_document == nullptr) {
    return problems.Take();
  }
  CheckDataFields(*m_dataDictElmt, m_transDictElmt, useBins, kSettingsFieldRules, AddRangedContVar,
                  problems);
  problems.AddStatistics(*m_rootElmt);
  CheckParameters(*m_parametersElmt, problems);
  return problems.Take();
}

MCStatus MCSettingsParser::GetStatus(MCDocumentKind kind) const {
  // 119 is found only after the base load succeeded.
  if (kind == MCDocumentKind::PMML && m_status == kNoParameters) return MCStatus();
  return m_status;
}

std::vector<MCProblem> MCSettingsParser::CheckDocument(bool useBins, MCDocumentKind kind) const {
  if (kind == MCDocumentKind::Settings) return CheckDocument(useBins);
  return CheckModel(GetStatus(kind), useBins);
}

}  // namespace MCXML_1_3
