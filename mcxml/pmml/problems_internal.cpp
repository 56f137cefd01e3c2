// The problems of a document check: quoting, paths and places, the load's own
// problems and those of the model statistics.
#include "mcxml/pmml/problems_internal.h"

#include <cfloat>

#include <xercesc/dom/DOMDocument.hpp>

#include "mcxml/common/format.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/xml/document_parser_internal.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::XercesDOMParser;

namespace {

constexpr std::size_t kQuotedMax = 60;

}  // namespace

std::string Quoted(const std::string& text) {
  if (text.size() <= kQuotedMax) return '"' + text + '"';
  // Cut before a UTF-8 continuation byte, never inside a character.
  std::size_t cut = kQuotedMax;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return '"' + text.substr(0, cut) + "...\"";
}

std::string Quoted(const XMLCh* text) {
  return Quoted(ToUTF8(text));
}

std::string NumberText(double value) {
  if (value == DBL_MAX) return "INF";
  if (value == -DBL_MAX) return "-INF";
  return Format(value, false, nullptr);
}

std::optional<std::string> NameFor(const XMLCh* name) {
  std::string text = ToUTF8(name);
  if (text.empty()) return std::nullopt;
  return text;
}

std::string TagOf(const DOMElement& elmt) {
  return ToUTF8(elmt.getTagName());
}

void ProblemList::Add(const MCStatus& status, const DOMNode* at, std::string reason,
                      std::optional<std::string> name) {
  MCProblem problem;
  problem.status = status;
  problem.reason = std::move(reason);
  problem.path = m_paths.Of(at);
  problem.name = std::move(name);
  if (at != nullptr && at->getNodeType() == DOMNode::ELEMENT_NODE) {
    problem.place = m_parser.GetElementPlace(static_cast<const DOMElement&>(*at));
  }
  m_problems.push_back(std::move(problem));
}

void ProblemList::Add(const MCFaults& faults, const DOMElement& unit, const std::string& prefix,
                      const std::optional<std::string>& name) {
  for (const MCFault& fault : faults) {
    std::string reason = prefix + fault.reason;
    if (fault.element != nullptr && fault.element != &unit) {
      // Inside the unit, the rest of the path; elsewhere (a Discretize), all of it.
      std::string where = m_paths.Below(*fault.element, unit);
      const MCPlace place = m_parser.GetElementPlace(*fault.element);
      if (place.IsKnown()) where += ", line " + std::to_string(place.line);
      reason += " (at " + where + ")";
    }
    Add(fault.status, &unit, std::move(reason), name);
  }
}

ProblemList::ProblemList(const MCPMMLParser& parser, const XercesDOMParser* xml)
    : m_parser(parser) {
  const auto* documentParser = static_cast<const DocumentParser*>(xml);
  m_built = documentParser != nullptr ? documentParser->Document() : nullptr;
  const std::optional<MCXMLError> error = FirstErrorOf(xml);
  if (!error) return;
  MCProblem problem;
  problem.reason = "XML: " + error->message;
  // The part a lean reading left out goes on below the element it names.
  problem.path = ElementPaths::Joined(ElementPaths::Once(documentParser->FirstErrorNode()),
                                      documentParser->FirstErrorTail());
  problem.place = error->place;
  m_problems.push_back(std::move(problem));
}

bool ProblemList::AddLoad(const MCStatus& load, const std::string& message) {
  if (load.IsOK()) return m_built != nullptr;
  const DOMElement* root = m_built != nullptr ? m_built->getDocumentElement() : nullptr;
  switch (load.GetCode()) {
    case kSetupFailed.GetCode():
      Add(load, nullptr, "the XML platform or its parser could not be set up", std::nullopt);
      break;
    case kParseFailed.GetCode():
      Add(load, nullptr,
          message.empty() ? "the parse gave no document" : "the parse failed: " + message,
          std::nullopt);
      break;
    case kNotPmml.GetCode():
      Add(load, root,
          root == nullptr ? "the document has no root element"
                          : "the root element is " + Quoted(root->getTagName()) + ", not \"PMML\"",
          std::nullopt);
      break;
    case kNoDataDictionary.GetCode():
      Add(load, root, "PMML has no DataDictionary child", std::nullopt);
      break;
    default:
      Add(load, nullptr, "the load failed", std::nullopt);
      break;
  }
  return false;
}

void ProblemList::AddStatistics(const DOMElement& root) {
  PooledName modelStatsTag(u"ModelStats");
  PooledName statsTag(u"UnivariateStats");
  for (const DOMElement* model = GetFirstChildElmt(root, nullptr); model != nullptr;
       model = GetNextSiblingElmt(*model, nullptr)) {
    if (!IsModelElmt(*model)) continue;
    const DOMElement* modelStats = GetFirstChildElmt(*model, modelStatsTag);
    if (modelStats == nullptr) continue;
    // Each element as the walk reads it, into a fresh record of its own.
    const DOMElement* previous = nullptr;
    for (const DOMElement* stats = GetFirstChildElmt(*modelStats, statsTag); stats != nullptr;
         previous = stats, stats = GetNextSiblingElmt(*stats, statsTag)) {
      if (previous != nullptr) PrefetchNextLike(previous, stats);
      MCUniStats record;
      MCFaults faults;
      if (ReadUniStatsElement(record, *stats, &faults).IsOK()) continue;
      const XMLCh* field = GetAttribute(*stats, "field");
      Add(faults, *stats,
          "UnivariateStats" + (field != nullptr ? " " + Quoted(field) : std::string()) + ": ",
          NameFor(field));
    }
  }
}

}  // namespace MCXML_1_3
