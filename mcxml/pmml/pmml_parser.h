// MCPMMLParser: loads a PMML document from a stream, checks its outline, and
// answers the queries that fill variable lists, bins and univariate statistics.
#ifndef MCXML_PMML_PMML_PARSER_H
#define MCXML_PMML_PMML_PARSER_H

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>

#include "mcxml/common/diagnostics.h"
#include "mcxml/common/export.h"
#include "mcxml/common/status.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/common/var_list.h"
#include "mcxml/xml/parser_owner.h"

namespace MCXML_1_3 {

using MCCommon_1_3::MCStatus;
using XERCES_CPP_NAMESPACE::DOMDocument;
using XERCES_CPP_NAMESPACE::DOMElement;

/// Loads one PMML document at a time and reads variables, bins and univariate
/// statistics from it. Each object holds one initialisation of the XML platform and
/// one XML parser for its whole life; the parser owns the document, and every
/// element pointer handed out stays valid until the next ParseToDOM or the object's
/// destruction. Queries start from the stored status: when it is not OK they return
/// it unchanged, and they never change it.
class MCXML_EXPORT MCPMMLParser {
 public:
  /// Initialises the XML platform and creates the parser; a failure is kept as 103.
  MCPMMLParser();
  virtual ~MCPMMLParser();
  MCPMMLParser(const MCPMMLParser&) = delete;
  MCPMMLParser& operator=(const MCPMMLParser&) = delete;

  /// Loads a document from `in`, starting where the stream stands, and checks its
  /// outline. Returns and keeps: OK; 103 no parser; 104 the parse threw (message
  /// kept) or gave no document; 105 no root or the root is not "PMML"; 106 no
  /// "DataDictionary" child. Element pointers from an earlier load become invalid.
  virtual MCStatus ParseToDOM(std::istream& in);

  /// The stored status.
  MCStatus GetStatus() const;
  /// The message of the last parse exception; empty otherwise.
  std::string GetXercesMessage() const;
  /// The "PMML" root after a successful load, else null.
  const DOMElement* GetRootElement() const;
  /// Chooses the model element for FillUniStats; false (nothing changed) before a
  /// successful load.
  bool SetModelElmt(const DOMElement& model);
  /// Errors the XML parser counted during the last ParseToDOM; 0 before any parse and
  /// when there is no parser. A document that is not well-formed (truncated, bad
  /// bytes, mismatched tags) does not make the parse fail: the document holds what
  /// was read before the first fatal error. Callers who want to refuse such a
  /// document test this after a successful load.
  unsigned GetErrorCount() const;
  /// When on, later parses read nothing from outside the document and build
  /// nothing a document could inflate: a document type declaration, an element
  /// with more than 256 attributes, more than 10,000 distinct element and
  /// attribute names, an XML version the DOM refuses, or more than 160 MB of
  /// memory held by the parse (the DOM it builds above all; a flat run of empty
  /// elements costs about 53 bytes a byte, PMML 15 to 18) end the parse with a
  /// counted error (see GetErrorCount). It does not limit document size or depth
  /// otherwise.
  /// Off by default.
  void SetSecureProcessing(bool on);
  /// When on, later parses record where each element starts, for GetElementPlace.
  /// Off by default; it changes nothing else.
  void SetElementPlaces(bool on);
  /// When on, later parses build only what the operations of this class and of
  /// MCSettingsParser read: the root and each of its children with their attributes,
  /// everything below the children that are not models (IsModelElmt), and of each
  /// model element only its ModelStats, MiningSchema, Output, Targets,
  /// LocalTransformations and Extension children, whole. The body of a model (its
  /// trees, segments, nodes), mostly the bulk of a large document, is read and
  /// dropped, which makes the cost of a load follow what is read rather than the
  /// document's size. Every status and every result of every operation (and of
  /// CheckDocument) is what it is with the whole document, and the parser still
  /// reads every byte: GetErrorCount, GetFirstXMLError and the limits of secure
  /// processing are unchanged. What differs: the DOM under GetRootElement lacks the
  /// parts dropped, so a model nested in one (a Segment's own TreeModel) cannot be
  /// handed to SetModelElmt; and the element that was open when the first XML error
  /// was found, which CheckDocument names, is the nearest element built. Off by
  /// default.
  void SetLeanReading(bool on);
  /// The first error the XML parser reported during the last ParseToDOM, with the
  /// line and column where it stood; none before any parse and after a clean one.
  std::optional<MCXMLError> GetFirstXMLError() const;
  /// Where `elmt` starts in the text of the last document loaded with element
  /// places on; unknown (line 0) otherwise, and for elements made after the load.
  MCPlace GetElementPlace(const DOMElement& elmt) const;

  /// Appends one variable per DataField (only those named in `names`, when it is
  /// not empty) in document order, with bins when `useBins`. Stops at the first
  /// failure: 107 no document, 108 missing attribute, 109 unknown data type, 110 no
  /// bins for a continuous field, 111 refused by the list; earlier variables stay.
  MCStatus FillVarList(MCVarList& varList, const std::vector<std::string>& names,
                       bool useBins) const;

  /// Every problem the operations of this class would meet in the loaded document,
  /// not only the first: the first XML error (code 0) and the load's own failure;
  /// then every DataField on its own, read and added as FillVarList reads and adds
  /// it with `useBins` (a field with several problems lists them in the order the
  /// reading meets them, the one FillVarList returns first), and the Discretize the
  /// bins step reads for it; then every UnivariateStats of every model element (a
  /// child of the root other than Header, MiningBuildTask, DataDictionary,
  /// TransformationDictionary and Extension) as the FillUniStats walk reads it
  /// into a fresh record. Each problem carries the status of that operation, so
  /// that FillVarList with one field's name returns OK exactly when no problem
  /// names that field, and otherwise the status of the first that does (a nameless
  /// DataField, listed without a name, fails FillVarList for every name). Element
  /// places are given when they were recorded (SetElementPlaces). Linear in the
  /// document; changes nothing.
  virtual std::vector<MCProblem> CheckDocument(bool useBins) const;

  /// Reads the UnivariateStats after `cursor` (the first when null) of the model
  /// element into `stats`. `cursor` is set to the element read, null at the end
  /// (OK, `stats` untouched). `stats` is written only by a successful read; on 107
  /// and 112 `cursor` is left alone.
  MCStatus FillUniStats(MCUniStats& stats, const DOMElement*& cursor) const;

 protected:
  /// Reads the cut points and bin labels of `fieldName` from the transformation
  /// dictionary (which must not be null); false, both emptied, when none is found.
  bool SetBinsFrTransDict(const std::string& fieldName, std::vector<double>& cutPoints,
                          std::vector<std::string>& binLabels) const;

  /// Reads the first Array of the first DiscrStats of `univariateStats` as counts
  /// and, on success, replaces `stats` with a categorical record. 113 no DiscrStats
  /// or Array; 108, 109 or 114 a bad Array; `stats` untouched on failure.
  MCStatus FillUniStatsCat(MCUniStats& stats, const std::string& name, double totalFreq,
                           const DOMElement& univariateStats) const;
  /// Reads the NumericInfo summary and the ContStats histogram of `univariateStats`
  /// and, on success, replaces `stats` with a continuous record. 113 no NumericInfo;
  /// 109 a summary value that is not a number; 116 a negative standard deviation;
  /// the codes of FillCutPointsFreqs. Without ContStats: OK and `stats` untouched;
  /// `stats` is untouched on every failure too.
  MCStatus FillUniStatsCont(MCUniStats& stats, const std::string& name, double totalFreq,
                            const DOMElement& univariateStats) const;
  /// Reads the Interval children of `contStats` into cut points (ends included,
  /// the missing value for an open end) and its Array into one frequency per bucket.
  /// `leftOpen` tells whether the intervals are open on the left. All three are
  /// reset first and keep what was read before a failure: 115 intervals that do not
  /// fit together or a frequency count that does not match, 113 cut points but no
  /// Array, and the codes of ExtractInterval and of reading an Array (108, 109, 114).
  MCStatus FillCutPointsFreqs(std::vector<double>& cutPoints, std::vector<double>& freqs,
                              bool& leftOpen, const DOMElement& contStats) const;
  /// Reads one Interval: its margins (the missing value when absent) into `left` and
  /// `right`, which are written as far as they were read, and whether its closure is
  /// open on the left. 109 a margin that is not a number or left not below right;
  /// 108 neither margin, or no closure.
  MCStatus ExtractInterval(double& left, double& right, bool& leftOpen,
                           const DOMElement& interval) const;

  /// CheckDocument as this class gives it for a load whose outcome was `load`.
  std::vector<MCProblem> CheckModel(const MCStatus& load, bool useBins) const;

  /// The stored status: the construction outcome (OK or 103), then the outcome of
  /// the last ParseToDOM; queries start from it.
  MCStatus m_status;
  /// The XML parser, which owns the document; null when construction failed.
  MCParserOwner m_parser;
  /// The message of the last parse exception; empty otherwise.
  std::string m_xercesMessage;
  /// The parsed document; null unless the last load succeeded.
  DOMDocument* m_document = nullptr;
  /// The "PMML" root; null unless the last load succeeded.
  const DOMElement* m_rootElmt = nullptr;
  /// The root's first DataDictionary; null unless the last load succeeded.
  const DOMElement* m_dataDictElmt = nullptr;
  /// The root's first TransformationDictionary; may be null after a successful load.
  const DOMElement* m_transDictElmt = nullptr;
  /// The model element chosen with SetModelElmt; reset by every load.
  const DOMElement* m_modelElmt = nullptr;

 private:
  bool m_secure = false;
  bool m_places = false;
  bool m_lean = false;
};

}  // namespace MCXML_1_3

#endif  // MCXML_PMML_PMML_PARSER_H
