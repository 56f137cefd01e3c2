// MCXMLReadWrite: a parser per parse, owning the document; writing through the
// platform's serializer to a local file whose every write is checked.
#include "mcxml/xml/read_write.h"

#include <pthread.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <system_error>
#include <vector>

#include <xercesc/dom/DOMConfiguration.hpp>
#include <xercesc/dom/DOMImplementation.hpp>
#include <xercesc/dom/DOMImplementationRegistry.hpp>
#include <xercesc/dom/DOMLSOutput.hpp>
#include <xercesc/dom/DOMLSSerializer.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/framework/XMLFormatter.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/IOException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/RuntimeException.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "mcxml/xml/document_parser_internal.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/input_source.h"
#include "mcxml/xml/local_file_internal.h"
#include "mcxml/xml/platform_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

constexpr char kLoadSaveFeature[] = "LS";

// The platform's serializer recurses once per level of nesting, so a document
// deeper than the calling thread's stack can take is refused rather than written.
// Measured with Debian's Xerces-C 3.2.4, which every build of ours (Release,
// Debug, the sanitizer builds) links uninstrumented: 128 bytes of stack per level
// in each, found from the lowest stack address a format target sees while
// documents of 1,000 and 5,000 levels are written, and threads of 256 KB, 512 KB
// and 1 MB that crash past about 1,980, 4,030 and 8,130 levels (under 10 KB for
// everything else). Half as much again per level and a fixed margin keep a write
// well inside the stack.
constexpr std::size_t kStackPerLevel = 192;
constexpr std::size_t kStackMargin = 64 * 1024;
// What is assumed left where the platform cannot tell: a small thread's stack.
constexpr std::size_t kAssumedStackLeft = 512 * 1024;

// Bytes of the calling thread's stack below the current frame.
std::size_t StackLeft() {
#if defined(__linux__)
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
    void* lowest = nullptr;
    std::size_t size = 0;
    const bool known = pthread_attr_getstack(&attributes, &lowest, &size) == 0;
    pthread_attr_destroy(&attributes);
    // The frame address, not a local's: a sanitizer may keep locals off the stack.
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const auto bottom = reinterpret_cast<std::uintptr_t>(lowest);
    if (known && here > bottom && here - bottom <= size) return here - bottom;
  }
#endif
  return kAssumedStackLeft;
}

int MaxWriteDepth() {
  const std::size_t left = StackLeft();
  if (left <= kStackMargin) return 0;
  return static_cast<int>(std::min<std::size_t>((left - kStackMargin) / kStackPerLevel, INT_MAX));
}

// The platform's writer looks, for each comment below an element, along its
// siblings to the nearest element after it or, failing one, to the last sibling
// and back to the nearest element before: a run of comments costs it the square of
// its length (a million take hours). Steps beyond this are refused.
constexpr std::uint64_t kMaxCommentSteps = 100000000;

// The writer's steps over the siblings of one parent, counted as they come.
struct Siblings {
  bool counted;  // the document's own children are written without looking
  std::uint64_t seen = 0;
  std::uint64_t lastElement = 0;
  std::uint64_t comments = 0;  // since the last element, and their positions
  std::uint64_t positions = 0;

  std::uint64_t Visit(const xc::DOMNode& node) {
    ++seen;
    if (!counted) return 0;
    if (node.getNodeType() == xc::DOMNode::COMMENT_NODE) {
      ++comments;
      positions += seen;
    } else if (node.getNodeType() == xc::DOMNode::ELEMENT_NODE) {
      const std::uint64_t steps = comments * seen - positions;
      comments = positions = 0;
      lastElement = seen;
      return steps;
    }
    return 0;
  }
  std::uint64_t Close() const { return comments * (seen - lastElement); }
};

// Whether the writer would go deeper than `limit` levels, or take more than
// kMaxCommentSteps over comments. Walks siblings and parents rather than
// recursing, for the depth's sake.
bool Unwritable(const xc::DOMNode& top, int limit) {
  std::vector<Siblings> levels;
  std::uint64_t steps = 0;
  const xc::DOMNode* node = &top;
  for (;;) {
    if (const xc::DOMNode* child = node->getFirstChild()) {
      if (levels.size() >= static_cast<std::size_t>(limit)) return true;
      levels.push_back(Siblings{node->getNodeType() != xc::DOMNode::DOCUMENT_NODE});
      node = child;
    } else {
      while (node != &top && node->getNextSibling() == nullptr) {
        steps += levels.back().Close();
        levels.pop_back();
        node = node->getParentNode();
      }
      if (node == &top) return steps > kMaxCommentSteps;
      node = node->getNextSibling();
    }
    steps += levels.back().Visit(*node);
    if (steps > kMaxCommentSteps) return true;
  }
}

std::string Reason(int error) {
  return std::error_code(error, std::generic_category()).message();
}

// The parser's own words for a document it cannot open, then the system's reason.
std::string CannotOpen(const char* fileName, int error) {
  const xc::RuntimeException cannot(__FILE__, __LINE__, xc::XMLExcepts::Scan_CouldNotOpenSource,
                                    fileName);
  return ToUTF8(cannot.getMessage()) + ": " + Reason(error);
}

}  // namespace

MCXMLReadWrite::MCXMLReadWrite() {
  try {
    InitializePlatform();
  } catch (const xc::XMLException&) {
    m_initStatus = kSetupFailed;
  }
}

MCXMLReadWrite::~MCXMLReadWrite() {
  if (!m_initStatus.IsOK()) return;
  // The parser and its document must go while the platform still exists.
  m_parser.reset();
  m_document = nullptr;
  TerminatePlatform();
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
  return FirstErrorOf(m_parser.get());
}

MCPlace MCXMLReadWrite::GetElementPlace(const DOMElement& elmt) const {
  return PlaceIn(m_parser.get(), elmt);
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
    return kParseFailed;
  }
  // Secured, a name is the local path it spells and nothing else: the parser
  // would take a name that starts "file:" or "http:" for an address, and would
  // drop "dir/.." from one without following a link.
  std::optional<LocalFileSource> local;
  if (status.IsOK()) {
    m_parser.reset();
    m_document = nullptr;
    m_xercesMessage.clear();
    try {
      if (m_secure && fileName != nullptr) local.emplace(fileName);
      if (local && local->Error() != 0) {
        m_xercesMessage = CannotOpen(fileName, local->Error());
        status = kParseFailed;
      } else {
        const bool utf8Mark = m_secure && (local ? local->StartsWithUtf8Mark()
                                                 : in != nullptr && StartsWithUtf8Mark(*in));
        m_parser.reset(new DocumentParser());
        static_cast<DocumentParser&>(*m_parser).Configure(m_secure, m_places, utf8Mark);
      }
    } catch (const xc::XMLException&) {
      status = kSetupFailed;
    }
  }
  if (status.IsOK()) {
    try {
      if (local) {
        m_parser->parse(*local);
      } else if (fileName != nullptr) {
        m_parser->parse(fileName);
      } else {
        const MCXInputSource source(*in);
        m_parser->parse(source);
      }
    } catch (const xc::XMLException& e) {
      m_xercesMessage = ToUTF8(e.getMessage());
      status = kParseFailed;
    }
  }
  if (status.IsOK()) {
    m_document = m_parser->getDocument();
    if (m_document == nullptr) status = kParseFailed;
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
  // Created outside the guard and before any refusal: a file that cannot be opened
  // throws to the caller whatever the document.
  FileTarget target(fileName.c_str());
  output->setByteStream(&target);
  if (Unwritable(*toWrite, MaxWriteDepth())) return kWriteFailed;

  try {
    serializer->write(toWrite, output.get());
    // Closed here, not in the destructor: a file system may refuse the last
    // write only when the file is closed.
    target.Close();
  } catch (const xc::XMLException& e) {
    m_xercesMessage = ToUTF8(e.getMessage());
    if (target.Error() != 0) {
      m_xercesMessage += ": " + Reason(target.Error());
    }
    status = kWriteFailed;
  } catch (...) {
    status = kWriteFailed;
  }
  return status;
}

}  // namespace MCXML_1_3
