// The library's XML parser: secure processing by refusing what a document type
// declaration or an outsized element could make the parser build, the first error
// it reports, and the places where elements start.
#include "mcxml/xml/document_parser_internal.h"

#include <algorithm>
#include <functional>
#include <string>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMException.hpp>
#include <xercesc/dom/impl/DOMDocumentImpl.hpp>
#include <xercesc/framework/XMLErrorCodes.hpp>
#include <xercesc/framework/XMLErrorReporter.hpp>
#include <xercesc/internal/XMLScanner.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/util/IOException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

namespace xc = XERCES_CPP_NAMESPACE;

namespace {

constexpr std::size_t kInitialSlots = 64;

std::size_t SlotOf(const XMLCh* name, std::size_t mask) {
  return std::hash<const XMLCh*>()(name) * 0x9E3779B97F4A7C15ULL >> 20 & mask;
}

bool IsUtf8(const XMLCh* encoding) {
  return xc::XMLString::compareIStringASCII(encoding, xc::XMLUni::fgUTF8EncodingString) == 0 ||
         xc::XMLString::compareIStringASCII(encoding, xc::XMLUni::fgUTF8EncodingString2) == 0;
}

std::u16string Decimal(std::size_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::size_t PooledNameSet::Insert(const XMLCh* name) {
  if (m_slots.empty()) m_slots.assign(kInitialSlots, nullptr);
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t slot = SlotOf(name, mask);; slot = (slot + 1) & mask) {
    if (m_slots[slot] == name) return m_size;
    if (m_slots[slot] == nullptr) {
      m_slots[slot] = name;
      ++m_size;
      break;
    }
  }
  // Half full at most, so that a probe ends soon.
  if (2 * m_size > m_slots.size()) Grow();
  return m_size;
}

void PooledNameSet::Grow() {
  std::vector<const XMLCh*> old(m_slots.size() * 2, nullptr);
  old.swap(m_slots);
  const std::size_t mask = m_slots.size() - 1;
  for (const XMLCh* name : old) {
    if (name == nullptr) continue;
    std::size_t slot = SlotOf(name, mask);
    while (m_slots[slot] != nullptr) slot = (slot + 1) & mask;
    m_slots[slot] = name;
  }
}

void PooledNameSet::Clear() {
  m_slots.clear();
  m_size = 0;
}

MCPlace ElementPlaces::Find(const DOMElement& elmt) const {
  // Elements come from the document's own heap, mostly in rising addresses, so
  // the list is usually sorted already.
  if (!m_sorted) {
    if (!std::is_sorted(m_places.begin(), m_places.end(),
                        [](const auto& a, const auto& b) { return a.first < b.first; })) {
      std::sort(m_places.begin(), m_places.end(),
                [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    m_sorted = true;
  }
  const auto found = std::lower_bound(m_places.begin(), m_places.end(), &elmt,
                                      [](const std::pair<const DOMElement*, MCPlace>& entry,
                                         const DOMElement* key) { return entry.first < key; });
  return found != m_places.end() && found->first == &elmt ? found->second : MCPlace();
}

void ElementPlaces::Clear() {
  m_places.clear();
  m_sorted = false;
}

void SkippedSteps::Restart() {
  if (m_levels.empty()) m_levels.emplace_back();
  m_levels[0].children.clear();
  m_open = 0;
}

void SkippedSteps::Start(const XMLCh* name, bool isEmpty) {
  auto& siblings = m_levels[m_open].children;
  // The parser keeps one copy of each element name, so the address nearly always
  // tells; the text decides.
  auto seen = std::find_if(siblings.begin(), siblings.end(), [name](const auto& entry) {
    return entry.first == name || xc::XMLString::equals(entry.first, name);
  });
  if (seen == siblings.end()) seen = siblings.insert(siblings.end(), {name, 0});
  const unsigned ordinal = ++seen->second;
  if (isEmpty) return;
  if (++m_open == m_levels.size()) m_levels.emplace_back();
  Level& level = m_levels[m_open];
  level.name = name;
  level.ordinal = ordinal;
  level.children.clear();
}

std::string SkippedSteps::Path() const {
  std::string path;
  for (std::size_t i = 1; i <= m_open; ++i) {
    path += '/' + ToUTF8(m_levels[i].name);
    // Numbered as the whole document numbers it so far: a later sibling of the
    // same name never comes.
    if (m_levels[i].ordinal > 1) path += '[' + std::to_string(m_levels[i].ordinal) + ']';
  }
  return path;
}

namespace {

// Ahead of every block, its size; as much as the platform aligns blocks to.
constexpr std::size_t kSizeHeader = alignof(std::max_align_t);

}  // namespace

void* CountedMemory::allocate(XMLSize_t size) {
  if (size > m_limit || m_held > m_limit - size) OverLimit(m_held + size);
  auto* block =
      static_cast<char*>(xc::XMLPlatformUtils::fgMemoryManager->allocate(size + kSizeHeader));
  *reinterpret_cast<XMLSize_t*>(block) = size;
  m_held += size;
  return block + kSizeHeader;
}

void CountedMemory::deallocate(void* p) {
  if (p == nullptr) return;
  char* block = static_cast<char*>(p) - kSizeHeader;
  m_held -= *reinterpret_cast<const XMLSize_t*>(block);
  xc::XMLPlatformUtils::fgMemoryManager->deallocate(block);
}

xc::MemoryManager* CountedMemory::getExceptionMemoryManager() {
  return xc::XMLPlatformUtils::fgMemoryManager->getExceptionMemoryManager();
}

DocumentParser::DocumentParser()
    : xc::XercesDOMParser(nullptr, static_cast<CountedMemory*>(this), nullptr) {
  // The scanner reports to the parser only when told to; the parser itself then
  // hears every error and keeps the first (see error()).
  getScanner()->setErrorReporter(this);
}

bool StartsWithUtf8Mark(std::istream& in) {
  const std::ios::iostate before = in.rdstate();
  const std::istream::int_type next = in.peek();
  // Only a look ahead: a stream found at its end keeps its flags for the parse.
  if (next == std::istream::traits_type::eof() && !in.bad()) in.clear(before);
  return next == 0xEF;
}

void DocumentParser::Configure(bool secure, bool places, bool utf8Mark, const LeanRule* lean) {
  // Options changed under a running parse would change that parse.
  if (getParseInProgress()) {
    ThrowXMLwithMemMgr(xc::IOException, xc::XMLExcepts::Gen_ParseInProgress,
                       xc::XMLPlatformUtils::fgMemoryManager);
  }
  if (secure != m_secured) {
    // Without an entity resolver of ours, nothing is left that opens a file or a URL.
    setLoadExternalDTD(!secure);
    setDisableDefaultEntityResolution(secure);
    m_secured = secure;
  }
  m_recordPlaces = places;
  m_utf8Mark = utf8Mark;
  m_lean = lean;
  m_watching = secure || places || lean != nullptr;
  // What the parser keeps from earlier parses (the scanner's buffers) is reused,
  // so only what this parse adds counts.
  m_heldBefore = Held();
  if (secure) {
    SetLimits();
  } else {
    SetLimit(SIZE_MAX);
  }
  m_depth = 0;
  m_skipFrom = 0;
  m_inModel = false;
  m_names.Clear();
  m_places.Clear();
  m_mark = MCPlace{1, 1};
  m_firstError.reset();
  m_firstErrorNode = nullptr;
  m_firstErrorTail.clear();
}

void DocumentParser::ReleaseDocuments() {
  if (!getParseInProgress()) resetDocumentPool();
}

void DocumentParser::error(const unsigned int, const XMLCh* const,
                           const xc::XMLErrorReporter::ErrTypes errType,
                           const XMLCh* const errorText, const XMLCh* const, const XMLCh* const,
                           const XMLFileLoc lineNum, const XMLFileLoc colNum) {
  if (errType == xc::XMLErrorReporter::ErrType_Warning || m_firstError) return;
  m_firstError = MCXMLError{ToUTF8(errorText), MCPlace{static_cast<unsigned long>(lineNum),
                                                       static_cast<unsigned long>(colNum)}};
  m_firstErrorNode = fCurrentParent;
  if (m_skipFrom != 0) m_firstErrorTail = m_skipped.Path();
}

void DocumentParser::resetErrors() {
  m_firstError.reset();
  m_firstErrorNode = nullptr;
  m_firstErrorTail.clear();
}

void DocumentParser::Refuse(const std::u16string& text) {
  getScanner()->emitError(xc::XMLErrs::XMLException_Fatal, text.c_str());
}

void DocumentParser::Mark() {
  const xc::Locator* locator = getScanner()->getLocator();
  m_mark = MCPlace{static_cast<unsigned long>(locator->getLineNumber()),
                   static_cast<unsigned long>(locator->getColumnNumber())};
}

void DocumentParser::XMLDecl(const XMLCh* const version, const XMLCh* const encoding,
                             const XMLCh* const standalone, const XMLCh* const actualEncoding) {
  // The parser lets a declared encoding override a UTF-8 byte order mark, which
  // garbles every character outside ASCII. Recoverable: the document reads as it
  // always has, with the error counted.
  if (m_secured && m_utf8Mark && !IsUtf8(actualEncoding)) {
    getScanner()->emitError(
        xc::XMLErrs::XMLException_Error,
        (u"the document starts with a UTF-8 byte order mark but declares the encoding '" +
         std::u16string(actualEncoding) + u"'")
            .c_str());
  }
  if (!m_secured) {
    xc::XercesDOMParser::XMLDecl(version, encoding, standalone, actualEncoding);
    if (m_recordPlaces) Mark();
    return;
  }
  try {
    xc::XercesDOMParser::XMLDecl(version, encoding, standalone, actualEncoding);
  } catch (const xc::DOMException&) {
    // The DOM refuses an XML version the scanner accepts ("1.5"); ended here as a
    // counted error, as an unsupported version is, instead of a DOMException.
    getScanner()->emitError(xc::XMLErrs::UnsupportedXMLVersion, version);
  }
  if (m_recordPlaces) Mark();
}

void DocumentParser::doctypeDecl(const xc::DTDElementDecl& elemDecl, const XMLCh* const publicId,
                                 const XMLCh* const systemId, const bool hasIntSubset,
                                 const bool hasExtSubset) {
  // Every way a document makes the parser expand text without bound (entities,
  // parameter entities, attribute defaults) and every way it reaches outside
  // itself starts here, before the internal subset is read. Neither document kind
  // of the library needs one.
  if (m_secured) Refuse(u"a document type declaration is not allowed under secure processing");
  xc::XercesDOMParser::doctypeDecl(elemDecl, publicId, systemId, hasIntSubset, hasExtSubset);
  if (m_recordPlaces) Mark();
}

void DocumentParser::startElement(const xc::XMLElementDecl& elemDecl, const unsigned int urlId,
                                  const XMLCh* const elemPrefix,
                                  const xc::RefVectorOf<xc::XMLAttr>& attrList,
                                  const XMLSize_t attrCount, const bool isEmpty,
                                  const bool isRoot) {
  if (!m_watching) {
    return xc::XercesDOMParser::startElement(elemDecl, urlId, elemPrefix, attrList, attrCount,
                                             isEmpty, isRoot);
  }
  return StartWatchedElement(elemDecl, urlId, elemPrefix, attrList, attrCount, isEmpty, isRoot);
}

void DocumentParser::StartWatchedElement(const xc::XMLElementDecl& elemDecl,
                                         const unsigned int urlId, const XMLCh* const elemPrefix,
                                         const xc::RefVectorOf<xc::XMLAttr>& attrList,
                                         const XMLSize_t attrCount, const bool isEmpty,
                                         const bool isRoot) {
  if (m_secured && attrCount > kMaxAttributesPerElement) {
    Refuse(u"element '" + std::u16string(elemDecl.getFullName()) + u"' has more than " +
           Decimal(kMaxAttributesPerElement) + u" attributes, the limit of secure processing");
    return;
  }
  if (m_lean != nullptr && SkipsElement(elemDecl.getFullName(), isEmpty)) {
    if (m_secured) CountSkippedNames(elemDecl, attrList, attrCount);
    if (m_secured && m_names.Size() > kMaxDistinctNames) RefuseNames();
    return;
  }
  const MCPlace start = m_mark;
  // Counted before the base, which ends an empty element itself (endElement).
  if (m_lean != nullptr) ++m_depth;
  xc::XercesDOMParser::startElement(elemDecl, urlId, elemPrefix, attrList, attrCount, isEmpty,
                                    isRoot);
  if (m_secured && m_names.Size() > kMaxDistinctNames) {
    RefuseNames();
    return;
  }
  if (m_secured && OverBudget()) return;
  if (m_recordPlaces) {
    // An empty element is closed again by now; the element made last is the one.
    const DOMNode* made = getCurrentNode();
    if (made != nullptr && made->getNodeType() == DOMNode::ELEMENT_NODE) {
      m_places.Add(static_cast<const DOMElement*>(made), start);
    }
    Mark();
  }
}

void DocumentParser::SetLimits() {
  SetLimit(std::min(m_heldBefore + kMaxSecuredBytes, Held() + kMaxSecuredStepBytes));
}

void DocumentParser::OverLimit(std::size_t wouldHold) {
  if (!getParseInProgress()) return SetLimit(SIZE_MAX);
  RefuseMemory(wouldHold - m_heldBefore <= kMaxSecuredBytes);
}

bool DocumentParser::OverBudget() {
  if (Held() - m_heldBefore <= kMaxSecuredBytes) {
    SetLimits();
    return false;
  }
  RefuseMemory(false);
  return true;
}

void DocumentParser::RefuseMemory(bool oneStep) {
  SetLimit(SIZE_MAX);
  Refuse(oneStep ? u"one start tag or text of the document needs more than " +
                       Decimal(kMaxSecuredStepBytes >> 20) +
                       u" MB of memory, the limit of secure processing"
                 : u"the document needs more than " + Decimal(kMaxSecuredBytes >> 20) +
                       u" MB of memory, the limit of secure processing");
}

void DocumentParser::AfterContent() {
  if (m_secured && OverBudget()) return;
  if (m_recordPlaces) Mark();
}

void DocumentParser::RefuseNames() {
  Refuse(u"the document uses more than " + Decimal(kMaxDistinctNames) +
         u" distinct element and attribute names, the limit of secure processing");
}

bool DocumentParser::SkipsElement(const XMLCh* name, bool isEmpty) {
  const unsigned long level = m_depth + 1;
  if (m_skipFrom == 0) {
    if (level == 2) {
      m_inModel = m_lean->isModel(name);
      m_skipped.Restart();
    }
    if (level != 3 || !m_inModel || m_lean->keptOfModel(name)) return false;
    m_skipFrom = level;
  }
  m_skipped.Start(name, isEmpty);
  // An empty element has no end of its own.
  if (!isEmpty) {
    m_depth = level;
  } else if (m_skipFrom == level) {
    m_skipFrom = 0;
    if (m_recordPlaces) Mark();
  }
  return true;
}

void DocumentParser::CountSkippedNames(const xc::XMLElementDecl& elemDecl,
                                       const xc::RefVectorOf<xc::XMLAttr>& attrList,
                                       const XMLSize_t attrCount) {
  // The same pooled copies the DOM's own element and attributes would have had.
  m_names.Insert(fDocument->getPooledString(elemDecl.getFullName()));
  for (XMLSize_t i = 0; i < attrCount; ++i) {
    m_names.Insert(fDocument->getPooledString(attrList.elementAt(i)->getName()));
  }
}

void DocumentParser::EndSkippedElement() {
  m_skipped.End();
  if (m_depth-- == m_skipFrom) {
    m_skipFrom = 0;
    // What follows starts where the part left out ends.
    if (m_recordPlaces) Mark();
  }
}

void DocumentParser::endElement(const xc::XMLElementDecl& elemDecl, const unsigned int urlId,
                                const bool isRoot, const XMLCh* const elemPrefix) {
  if (m_skipFrom != 0) return EndSkippedElement();
  // A document that is not well-formed may end more elements than it started.
  if (m_depth > 0) --m_depth;
  if (!m_recordPlaces) return xc::XercesDOMParser::endElement(elemDecl, urlId, isRoot, elemPrefix);
  xc::XercesDOMParser::endElement(elemDecl, urlId, isRoot, elemPrefix);
  Mark();
}

void DocumentParser::docCharacters(const XMLCh* const chars, const XMLSize_t length,
                                   const bool cdataSection) {
  if (!m_watching) return xc::XercesDOMParser::docCharacters(chars, length, cdataSection);
  if (m_skipFrom != 0) return;
  xc::XercesDOMParser::docCharacters(chars, length, cdataSection);
  AfterContent();
}

void DocumentParser::ignorableWhitespace(const XMLCh* const chars, const XMLSize_t length,
                                         const bool cdataSection) {
  if (!m_watching) return xc::XercesDOMParser::ignorableWhitespace(chars, length, cdataSection);
  if (m_skipFrom != 0) return;
  xc::XercesDOMParser::ignorableWhitespace(chars, length, cdataSection);
  AfterContent();
}

void DocumentParser::docComment(const XMLCh* const comment) {
  if (!m_watching) return xc::XercesDOMParser::docComment(comment);
  if (m_skipFrom != 0) return;
  xc::XercesDOMParser::docComment(comment);
  AfterContent();
}

void DocumentParser::docPI(const XMLCh* const target, const XMLCh* const data) {
  if (!m_watching) return xc::XercesDOMParser::docPI(target, data);
  if (m_skipFrom != 0) return;
  xc::XercesDOMParser::docPI(target, data);
  AfterContent();
}

void DocumentParser::startEntityReference(const xc::XMLEntityDecl& entDecl) {
  if (m_skipFrom != 0) return;
  if (!m_recordPlaces) return xc::XercesDOMParser::startEntityReference(entDecl);
  xc::XercesDOMParser::startEntityReference(entDecl);
  Mark();
}

void DocumentParser::endEntityReference(const xc::XMLEntityDecl& entDecl) {
  if (m_skipFrom != 0) return;
  if (!m_recordPlaces) return xc::XercesDOMParser::endEntityReference(entDecl);
  xc::XercesDOMParser::endEntityReference(entDecl);
  Mark();
}

std::optional<MCXMLError> FirstErrorOf(const xc::XercesDOMParser* parser) {
  if (parser == nullptr) return std::nullopt;
  return static_cast<const DocumentParser&>(*parser).FirstError();
}

MCPlace PlaceIn(const xc::XercesDOMParser* parser, const DOMElement& elmt) {
  if (parser == nullptr) return MCPlace();
  return static_cast<const DocumentParser&>(*parser).PlaceOf(elmt);
}

DOMElement* DocumentParser::createElement(const XMLCh* name) {
  if (!m_secured) return xc::XercesDOMParser::createElement(name);
  return CreateCountedElement(name);
}

xc::DOMAttr* DocumentParser::createAttr(const XMLCh* name) {
  if (!m_secured) return xc::XercesDOMParser::createAttr(name);
  return CreateCountedAttr(name);
}

DOMElement* DocumentParser::CreateCountedElement(const XMLCh* name) {
  DOMElement* elmt = xc::XercesDOMParser::createElement(name);
  m_names.Insert(elmt->getNodeName());
  return elmt;
}

xc::DOMAttr* DocumentParser::CreateCountedAttr(const XMLCh* name) {
  xc::DOMAttr* attr = xc::XercesDOMParser::createAttr(name);
  m_names.Insert(attr->getNodeName());
  return attr;
}

}  // namespace MCXML_1_3
