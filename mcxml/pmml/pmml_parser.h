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

XERCES_CPP_NAMESPACE_BEGIN
class XercesDOMParser;
XERCES_CPP_NAMESPACE_END

namespace MCXML_1_3 {

using MCCommon_1_3::MCStatus;
using XERCES_CPP_NAMESPACE::DOMDocument;
using XERCES_CPP_NAMESPACE::DOMElement;

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
  /// attribute names, or an XML version the DOM refuses end the parse with a
  /// counted error (see GetErrorCount). It does not limit document size or depth.
  /// Off by default.
  void SetSecureProcessing(bool on);
  /// When on, later parses record where each element starts, for GetElementPlace.
  /// Off by default; it changes nothing else.
  void SetElementPlaces(bool on);
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
  /// names that field, and otherwise the status of the first that does. Element
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

  MCStatus FillUniStatsCat(MCUniStats& stats, const std::string& name, double totalFreq,
                           const DOMElement& univariateStats) const;
  MCStatus FillUniStatsCont(MCUniStats& stats, const std::string& name, double totalFreq,
                            const DOMElement& univariateStats) const;
  MCStatus FillCutPointsFreqs(std::vector<double>& cutPoints, std::vector<double>& freqs,
                              bool& leftOpen, const DOMElement& contStats) const;
  MCStatus ExtractInterval(double& left, double& right, bool& leftOpen,
                           const DOMElement& interval) const;

  struct ParserDeleter {
    void operator()(XERCES_CPP_NAMESPACE::XercesDOMParser* parser) const noexcept;
  };

  MCStatus m_status;
  std::unique_ptr<XERCES_CPP_NAMESPACE::XercesDOMParser, ParserDeleter> m_parser;
  std::string m_xercesMessage;
  DOMDocument* m_document = nullptr;
  const DOMElement* m_rootElmt = nullptr;
  const DOMElement* m_dataDictElmt = nullptr;
  const DOMElement* m_transDictElmt = nullptr;
  const DOMElement* m_modelElmt = nullptr;

 private:
  bool m_secure = false;
  bool m_places = false;
};

}  // namespace MCXML_1_3

#endif  // MCXML_PMML_PMML_PARSER_H
