// MCXMLReadWrite: a parser per parse, owning the document; writing through the
// platform's serializer to a local file.
#include "mcxml/xml/read_write.h"

#include <fstream>

#include <xercesc/dom/DOMConfiguration.hpp>
#include <xercesc/dom/DOMException.hpp>
#include <xercesc/dom/DOMImplementation.hpp>
#include <xercesc/dom/DOMImplementationRegistry.hpp>
#include <xercesc/dom/DOMLSOutput.hpp>
#include <xercesc/dom/DOMLSSerializer.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/framework/LocalFileFormatTarget.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/IOException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "mcxml/xml/document_parser_internal.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/input_source.h"

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

constexpr char kLoadSaveFeature[] = "LS";

struct Releaser {
  template <class T>
  void operator()(T* resource) const noexcept {
    if (resource != nullptr) resource->release();
  }
};

// The platform's serializer recurses once per level of nesting (about 128 bytes
// of stack each, so 8 MB end near 65,000 levels): deeper, a write would crash a
// small thread's stack instead of failing.
constexpr int kMaxWriteDepth = 10000;

// Walks siblings and parents rather than recursing, for the same reason.
bool DeeperThan(const xc::DOMNode& top, int limit) {
  int depth = 0;
  const xc::DOMNode* node = &top;
  for (;;) {
    if (const xc::DOMNode* child = node->getFirstChild()) {
      if (++depth > limit) return true;
      node = child;
      continue;
    }
    while (node != &top && node->getNextSibling() == nullptr) {
      node = node->getParentNode();
      --depth;
    }
    if (node == &top) return false;
    node = node->getNextSibling();
  }
}

bool Utf8Mark(const char* fileName, std::istream* in) {
  if (in != nullptr) return StartsWithUtf8Mark(*in);
  std::ifstream file(fileName, std::ios::binary);
  return file && StartsWithUtf8Mark(file);
}

}  // namespace

void MCXMLReadWrite::ParserDeleter::operator()(xc::XercesDOMParser* parser) const noexcept {
  delete parser;
}

MCXMLReadWrite::MCXMLReadWrite() {
  try {
    xc::XMLPlatformUtils::Initialize(xc::XMLUni::fgXercescDefaultLocale, nullptr, nullptr, nullptr);
  } catch (const xc::XMLException&) {
    m_initStatus = MCStatus(103, false);
  }
}

MCXMLReadWrite::~MCXMLReadWrite() {
  if (!m_initStatus.IsOK()) return;
  // The parser and its document must go while the platform still exists.
  m_parser.reset();
  m_document = nullptr;
  xc::XMLPlatformUtils::Terminate();
}

MCStatus MCXMLReadWrite::GetInitStatus() const {
  return m_initStatus;
}

std::string MCXMLReadWrite::GetXercesMessage() const {
  return m_xercesMessage;
}

DOMDocument* MCXMLReadWrite::GetDocument() {
  return m_document;
}

const DOMDocument* MCXMLReadWrite::GetDocument() const {
  return m_document;
}

unsigned MCXMLReadWrite::GetErrorCount() const {
  return m_parser ? static_cast<unsigned>(m_parser->getErrorCount()) : 0U;
}

void MCXMLReadWrite::SetSecureProcessing(bool on) {
  m_secure = on;
}

void MCXMLReadWrite::SetElementPlaces(bool on) {
  m_places = on;
}

std::optional<MCXMLError> MCXMLReadWrite::GetFirstXMLError() const {
  if (!m_parser) return std::nullopt;
  return static_cast<const DocumentParser&>(*m_parser).FirstError();
}

MCPlace MCXMLReadWrite::GetElementPlace(const DOMElement& elmt) const {
  if (!m_parser) return MCPlace();
  return static_cast<const DocumentParser&>(*m_parser).PlaceOf(elmt);
}

MCStatus MCXMLReadWrite::ParseToDOM(const std::string& fileName) {
  return ParseToDOM(fileName.c_str(), nullptr);
}

MCStatus MCXMLReadWrite::ParseToDOM(std::istream& in) {
  return ParseToDOM(nullptr, &in);
}

MCStatus MCXMLReadWrite::ParseToDOM(const char* fileName, std::istream* in) {
  MCStatus status = m_initStatus;
  // Called from the stream of a running parse: that parse's parser must live on,
  // so this one fails as the platform fails a second parse on one parser.
  if (status.IsOK() && m_parser &&
      static_cast<const DocumentParser&>(*m_parser).ParseInProgress()) {
    const xc::IOException busy(__FILE__, __LINE__, xc::XMLExcepts::Gen_ParseInProgress,
                               xc::XMLPlatformUtils::fgMemoryManager);
    m_xercesMessage = ToUTF8(busy.getMessage());
    return MCStatus(104, false);
  }
  if (status.IsOK()) {
    m_parser.reset();
    m_document = nullptr;
    m_xercesMessage.clear();
    try {
      m_parser.reset(new DocumentParser());
      static_cast<DocumentParser&>(*m_parser).Configure(m_secure, m_places,
                                                        m_secure && Utf8Mark(fileName, in));
    } catch (const xc::XMLException&) {
      status = MCStatus(103, false);
    }
  }
  if (status.IsOK()) {
    try {
      if (fileName != nullptr) {
        m_parser->parse(fileName);
      } else {
        const MCXInputSource source(*in);
        m_parser->parse(source);
      }
    } catch (const xc::XMLException& e) {
      m_xercesMessage = ToUTF8(e.getMessage());
      status = MCStatus(104, false);
    }
  }
  if (status.IsOK()) {
    m_document = m_parser->getDocument();
    if (m_document == nullptr) status = MCStatus(104, false);
  }
  if (!status.IsOK()) {
    // A failed parse never leaves an earlier or partial document reachable.
    m_parser.reset();
    m_document = nullptr;
  }
  return status;
}

MCStatus MCXMLReadWrite::WriteFromDOM(const std::string& fileName, const DOMDocument* doc) const {
  MCStatus status = m_initStatus;
  const DOMDocument* toWrite = doc != nullptr ? doc : m_document;
  if (!status.IsOK() || toWrite == nullptr) return status;
  m_xercesMessage.clear();
  if (DeeperThan(*toWrite, kMaxWriteDepth)) return MCStatus(118, false);

  xc::DOMImplementation* implementation =
      xc::DOMImplementationRegistry::getDOMImplementation(ToUTF16(kLoadSaveFeature).data());
  const std::unique_ptr<xc::DOMLSSerializer, Releaser> serializer(
      implementation->createLSSerializer(xc::XMLPlatformUtils::fgMemoryManager));
  xc::DOMConfiguration* config = serializer->getDomConfig();
  if (config->canSetParameter(xc::XMLUni::fgDOMWRTFormatPrettyPrint, false)) {
    config->setParameter(xc::XMLUni::fgDOMWRTFormatPrettyPrint, false);
  }
  const std::unique_ptr<xc::DOMLSOutput, Releaser> output(
      implementation->createLSOutput(xc::XMLPlatformUtils::fgMemoryManager));
  // Created outside the guard: a file that cannot be opened throws to the caller.
  xc::LocalFileFormatTarget target(fileName.c_str(), xc::XMLPlatformUtils::fgMemoryManager);
  output->setByteStream(&target);

  try {
    serializer->write(toWrite, output.get());
    // Flushed here so that a failing disk is reported, not lost in the destructor.
    target.flush();
  } catch (const xc::XMLException& e) {
    m_xercesMessage = ToUTF8(e.getMessage());
    status = MCStatus(118, false);
  } catch (const xc::DOMException&) {
    status = MCStatus(118, false);
  } catch (...) {
    status = MCStatus(118, false);
  }
  return status;
}

}  // namespace MCXML_1_3
