// MCPMMLParser: the parser's life cycle, loading a document and checking its
// outline, and the state later queries start from.
#include "mcxml/pmml/pmml_parser.h"

#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/input_source.h"

namespace MCXML_1_3 {

namespace xc = XERCES_CPP_NAMESPACE;

void MCPMMLParser::ParserDeleter::operator()(xc::XercesDOMParser* parser) const noexcept {
  // Allocated through the platform's memory operators, which this delete pairs with.
  delete parser;
}

MCPMMLParser::MCPMMLParser() {
  try {
    xc::XMLPlatformUtils::Initialize(xc::XMLUni::fgXercescDefaultLocale, nullptr, nullptr, nullptr);
    m_parser.reset(new (xc::XMLPlatformUtils::fgMemoryManager) xc::XercesDOMParser(
        nullptr, xc::XMLPlatformUtils::fgMemoryManager, nullptr));
  } catch (const xc::XMLException&) {
    m_status = MCStatus(103, false);
  }
}

MCPMMLParser::~MCPMMLParser() {
  // Without a parser the initialisation may not have happened, so there is
  // nothing to give back.
  if (m_parser) {
    m_parser.reset();
    xc::XMLPlatformUtils::Terminate();
  }
}

MCStatus MCPMMLParser::ParseToDOM(std::istream& in) {
  // Cleared first, so that an unexpected exception leaving the parse leaves no
  // pointer into a document the parser may already have dropped.
  m_xercesMessage.clear();
  m_document = nullptr;
  m_rootElmt = nullptr;
  m_dataDictElmt = nullptr;
  m_transDictElmt = nullptr;
  m_modelElmt = nullptr;
  if (!m_parser) return m_status;

  m_status = MCStatus();
  try {
    MCXInputSource source(in);
    m_parser->parse(source);
  } catch (const xc::XMLException& e) {
    m_xercesMessage = ToUTF8(e.getMessage());
    m_status = MCStatus(104, false);
    return m_status;
  }

  DOMDocument* document = m_parser->getDocument();
  if (document == nullptr) {
    m_status = MCStatus(104, false);
    return m_status;
  }
  const DOMElement* root = document->getDocumentElement();
  if (root == nullptr || !TagNameEquals(*root, "PMML")) {
    m_status = MCStatus(105, false);
    return m_status;
  }
  const DOMElement* dataDict = GetFirstChildElmt(*root, "DataDictionary");
  if (dataDict == nullptr) {
    m_status = MCStatus(106, false);
    return m_status;
  }
  m_document = document;
  m_rootElmt = root;
  m_dataDictElmt = dataDict;
  m_transDictElmt = GetFirstChildElmt(*root, "TransformationDictionary");
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

}  // namespace MCXML_1_3
