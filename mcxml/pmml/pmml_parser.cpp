// MCPMMLParser: the parser's life cycle, loading a document and checking its
// outline, and the state later queries start from.
#include "mcxml/pmml/pmml_parser.h"

#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>

#include "mcxml/pmml/document_parts_internal.h"
#include "mcxml/xml/document_parser_internal.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/input_source.h"
#include "mcxml/xml/platform_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

namespace xc = XERCES_CPP_NAMESPACE;

MCPMMLParser::MCPMMLParser() {
  try {
    InitializePlatform();
    m_parser.reset(new (xc::XMLPlatformUtils::fgMemoryManager) DocumentParser());
  } catch (const xc::XMLException&) {
    m_status = kSetupFailed;
  }
}

MCPMMLParser::~MCPMMLParser() {
  // Without a parser the initialisation may not have happened, so there is
  // nothing to give back.
  if (m_parser) {
    m_parser.reset();
    TerminatePlatform();
  }
}

MCStatus MCPMMLParser::ParseToDOM(std::istream& in) {
  // Cleared first, so that an unexpected exception leaving the parse leaves no
  // pointer into a document the parser may already have dropped.
  const auto clearElements = [this] {
    m_document = nullptr;
    m_rootElmt = nullptr;
    m_dataDictElmt = nullptr;
    m_transDictElmt = nullptr;
    m_modelElmt = nullptr;
  };
  m_xercesMessage.clear();
  clearElements();
  if (!m_parser) return m_status;

  m_status = MCStatus();
  // The constructor made the parser a DocumentParser.
  auto& parser = static_cast<DocumentParser&>(*m_parser);
  try {
    // A long-lived parser reading many documents would otherwise keep them all.
    parser.ReleaseDocuments();
    // Inside the guard: a parse of this object already running (from the stream)
    // refuses new options as it refuses a new parse.
    parser.Configure(m_secure, m_places, m_secure && StartsWithUtf8Mark(in),
                     m_lean ? &kPmmlLeanRule : nullptr);
    MCXInputSource source(in);
    m_parser->parse(source);
  } catch (const xc::XMLException& e) {
    m_xercesMessage = ToUTF8(e.getMessage());
    m_status = kParseFailed;
  }

  // m_status is read again rather than trusted: the stream may have run another
  // ParseToDOM of this object while it was being read.
  const DOMElement* root = nullptr;
  if (m_status.IsOK()) {
    m_document = m_parser->getDocument();
    root = m_document != nullptr ? m_document->getDocumentElement() : nullptr;
    if (m_document == nullptr) {
      m_status = kParseFailed;
    } else if (root != nullptr && TagNameEquals(*root, "PMML")) {
      m_rootElmt = root;
    } else {
      m_status = kNotPmml;
    }
  }
  if (m_status.IsOK()) {
    m_dataDictElmt = GetFirstChildElmt(*root, "DataDictionary");
    if (m_dataDictElmt != nullptr) {
      m_transDictElmt = GetFirstChildElmt(*root, "TransformationDictionary");
    } else {
      m_status = kNoDataDictionary;
    }
  }
  // A document that failed the outline stays out of reach.
  if (!m_status.IsOK()) clearElements();
  return m_status;
}

MCStatus MCPMMLParser::GetStatus() const {
  return m_status;
}

std::string MCPMMLParser::GetXercesMessage() const {
  return m_xercesMessage;
}

const DOMElement* MCPMMLParser::GetRootElement() const {
  return m_rootElmt;
}

bool MCPMMLParser::SetModelElmt(const DOMElement& model) {
  if (!m_status.IsOK() || m_document == nullptr) return false;
  m_modelElmt = &model;
  return true;
}

unsigned MCPMMLParser::GetErrorCount() const {
  return m_parser ? static_cast<unsigned>(m_parser->getErrorCount()) : 0;
}

void MCPMMLParser::SetSecureProcessing(bool on) {
  m_secure = on;
}

void MCPMMLParser::SetElementPlaces(bool on) {
  m_places = on;
}

void MCPMMLParser::SetLeanReading(bool on) {
  m_lean = on;
}

std::optional<MCXMLError> MCPMMLParser::GetFirstXMLError() const {
  return FirstErrorOf(m_parser.get());
}

MCPlace MCPMMLParser::GetElementPlace(const DOMElement& elmt) const {
  return PlaceIn(m_parser.get(), elmt);
}

}  // namespace MCXML_1_3
