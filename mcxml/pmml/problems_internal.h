// What a check of a whole document collects: each failure of the library's own
// reading steps with the element at fault and a reason, and the problems made
// from them. The reading steps take an MCFaults pointer that the public
// operations leave null, so both meet every failure in the same code.
#ifndef MCXML_PMML_PROBLEMS_INTERNAL_H
#define MCXML_PMML_PROBLEMS_INTERNAL_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>

#include "mcxml/common/diagnostics.h"
#include "mcxml/common/status.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/element_path_internal.h"

namespace MCXML_1_3 {

using MCCommon_1_3::MCStatus;

/// One failure of a reading step: its status, the element at fault and why.
struct MCFault {
  MCStatus status;
  const DOMElement* element;
  std::string reason;
};

/// The failures a check collects; null wherever only the status is wanted.
using MCFaults = std::vector<MCFault>;

/// Returns `status`, recording it with the reason `reason()` (built only then) at
/// `at` when a check collects faults.
template <class Reason>
MCStatus Fault(MCFaults* faults, const MCStatus& status, const DOMElement& at, Reason&& reason) {
  if (faults != nullptr) faults->push_back(MCFault{status, &at, reason()});
  return status;
}

/// `text` in double quotes for a reason, cut after 60 characters; null reads as "".
std::string Quoted(const XMLCh* text);
std::string Quoted(const std::string& text);
/// A number for a reason; the open ends (and the missing value) as -INF and INF.
std::string NumberText(double value);
/// The name of a field, statistics or parameter for a problem: none for an absent
/// name, and none for one that does not convert to UTF-8 (no caller could ask for it).
std::optional<std::string> NameFor(const XMLCh* name);
/// The element's tag name in UTF-8.
std::string TagOf(const DOMElement& elmt);

/// The statistics of one UnivariateStats element as FillUniStats reads them once
/// its cursor stands on the element: `stats` is written only by a successful read
/// (116 leaves the record read in it).
MCStatus ReadUniStatsElement(MCUniStats& stats, const DOMElement& univariateStats,
                             MCFaults* faults);

/// The problems of a check, each with its path, its place and a name.
class ProblemList {
 public:
  /// Opens with the first XML error of the last load of `xml`, the parser behind
  /// `parser` (null when there is none), if there was one: code 0, at the element
  /// that was open when it was found.
  ProblemList(const MCPMMLParser& parser, const XERCES_CPP_NAMESPACE::XercesDOMParser* xml);

  /// A problem at `at` (may be null: no path, no place).
  void Add(const MCStatus& status, const DOMNode* at, std::string reason,
           std::optional<std::string> name);
  /// Each of `faults` as a problem of `unit`, the DataField, UnivariateStats or
  /// Parameter an operation reads (its path and place, so that a problem is found
  /// under the part that fails), under `name`; the reason follows `prefix` and
  /// ends with where the element at fault stands when it is another one.
  void Add(const MCFaults& faults, const DOMElement& unit, const std::string& prefix,
           const std::optional<std::string>& name);
  /// The load's own failure, judged on the document the XML parser built (which the
  /// parser class no longer hands out after a failure); true when the load
  /// succeeded and found a document to read further.
  bool AddLoad(const MCStatus& load, const std::string& message);
  /// The UnivariateStats of every model element of `root`, each read as
  /// FillUniStats reads it into a fresh record.
  void AddStatistics(const DOMElement& root);

  std::vector<MCProblem> Take() { return std::move(m_problems); }

 private:
  const MCPMMLParser& m_parser;
  const XERCES_CPP_NAMESPACE::DOMDocument* m_built;
  ElementPaths m_paths;
  std::vector<MCProblem> m_problems;
};

}  // namespace MCXML_1_3

#endif  // MCXML_PMML_PROBLEMS_INTERNAL_H
