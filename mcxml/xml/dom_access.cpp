// DOM access: UTF-8 conversion, attributes with number parsing, child and sibling
// search, the library's own Extension elements and number lists.
#include "mcxml/xml/dom_access.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/extender_internal.h"
#include "mcxml/xml/plain_text_internal.h"
#include "mcxml/xml/transcoder_internal.h"

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

const XMLCh* AttributeOf(const DOMElement& elmt, const XMLCh* name) {
  return AttributeValue(elmt.getAttributeNode(name));
}

// The attribute that the element's lookup by the UTF-16 form of `name` finds: the
// first one so named. An ASCII name is compared as it stands rather than converted.
const xc::DOMAttr* AttributeNamed(const DOMElement& elmt, const char* name) {
  if (!IsAscii(name)) return elmt.getAttributeNode(ToUTF16(name).data());
  const xc::DOMNamedNodeMap* attributes = elmt.getAttributes();
  const XMLSize_t count = attributes != nullptr ? attributes->getLength() : 0;
  for (XMLSize_t i = 0; i < count; ++i) {
    const DOMNode* attr = attributes->item(i);
    if (EqualsAscii(attr->getNodeName(), name)) return static_cast<const xc::DOMAttr*>(attr);
  }
  return nullptr;
}

// The first element from `node` on, `node` included.
const DOMElement* FirstElementFrom(const DOMNode* node) {
  while (node != nullptr && node->getNodeType() != DOMNode::ELEMENT_NODE) {
    node = node->getNextSibling();
  }
  return static_cast<const DOMElement*>(node);
}

// The names an Extension search compares, converted once per search rather than
// once per element.
struct ExtensionNames {
  explicit ExtensionNames(const char* wanted)
      : hasName(wanted != nullptr), name(hasName ? wanted : "") {}

  const Utf16Name tagName{kExtensionTag};
  PooledName tag{tagName.get()};
  const Utf16Name extenderAttr{kExtenderAttr};
  const Utf16Name extender{kExtenderId};
  const Utf16Name nameAttr{kExtensionNameAttr};
  const bool hasName;
  const Utf16Name name;
};

bool MatchesExtension(const DOMElement& elmt, const ExtensionNames& names) {
  const XMLCh* extender = AttributeOf(elmt, names.extenderAttr.get());
  if (extender == nullptr || !xc::XMLString::equals(extender, names.extender.get())) {
    return false;
  }
  if (!names.hasName) return true;
  const XMLCh* extensionName = AttributeOf(elmt, names.nameAttr.get());
  return extensionName != nullptr && xc::XMLString::equals(extensionName, names.name.get());
}

// The first matching Extension from `elmt` (an Extension or null) on.
const DOMElement* ExtensionFrom(const DOMElement* elmt, ExtensionNames& names) {
  while (elmt != nullptr && !MatchesExtension(*elmt, names)) {
    elmt = GetNextSiblingElmt(*elmt, names.tag);
  }
  return elmt;
}

}  // namespace

Utf16Name::Utf16Name(const char* utf8) {
  std::size_t i = 0;
  for (; i + 1 < kInline; ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == 0 || c >= 0x80) break;
    m_inline[i] = c;
  }
  if (utf8[i] == 0) {
    m_inline[i] = 0;
    m_data = m_inline;
  } else {
    m_converted = ToUTF16(utf8);
    m_data = m_converted.data();
  }
}

// An empty value counts as absent (the DOM gives "" for both). A parsed attribute
// holds its value in one text child, which is read here just as the attribute's
// getValue reads it; getValue reaches that child through casts that cost more than
// the whole lookup, and still reads any other content.
const XMLCh* AttributeValue(const xc::DOMAttr* attr) {
  if (attr == nullptr) return nullptr;
  const DOMNode* child = attr->getFirstChild();
  if (child == nullptr) return nullptr;
  const XMLCh* value =
      child->getNextSibling() == nullptr && child->getNodeType() == DOMNode::TEXT_NODE
          ? child->getNodeValue()
          : attr->getValue();
  return value == nullptr || *value == 0 ? nullptr : value;
}

namespace {

// The pending name of `names` that `name` matches, or `count`. Names seen before
// are tried by address first, so that an attribute or tag met again costs no
// comparison of texts with the names it is not.
std::size_t MatchingName(const XMLCh* name, PooledName* names, std::size_t count,
                         std::uint64_t pending) {
  for (std::size_t k = 0; k < count; ++k) {
    if ((pending >> k & 1) != 0 && names[k].Seen(name)) return k;
  }
  for (std::size_t k = 0; k < count; ++k) {
    if ((pending >> k & 1) != 0 && names[k].Matches(name)) return k;
  }
  return count;
}

}  // namespace

void ReadAttributes(const DOMElement& elmt, PooledName* names, const XMLCh** values,
                    std::size_t count) {
  std::fill(values, values + count, nullptr);
  const xc::DOMNamedNodeMap* attributes = elmt.getAttributes();
  if (attributes == nullptr) return;
  // Only the first attribute of a name counts, even when its value is empty and a
  // later one (the DOM allows two of one name in different namespaces) is not.
  std::uint64_t pending = (std::uint64_t{1} << count) - 1;
  // item() answers null past the end.
  for (XMLSize_t i = 0; pending != 0; ++i) {
    const DOMNode* attr = attributes->item(i);
    if (attr == nullptr) return;
    const std::size_t k = MatchingName(attr->getNodeName(), names, count, pending);
    if (k == count) continue;
    values[k] = AttributeValue(static_cast<const xc::DOMAttr*>(attr));
    pending &= ~(std::uint64_t{1} << k);
  }
}

void GetFirstChildElmt(const DOMNode& parent, PooledName* tags, const DOMElement** found,
                       std::size_t count) {
  std::fill(found, found + count, nullptr);
  std::uint64_t pending = (std::uint64_t{1} << count) - 1;
  for (const DOMNode* node = parent.getFirstChild(); node != nullptr && pending != 0;
       node = node->getNextSibling()) {
    if (node->getNodeType() != DOMNode::ELEMENT_NODE) continue;
    const std::size_t k = MatchingName(node->getNodeName(), tags, count, pending);
    if (k == count) continue;
    found[k] = static_cast<const DOMElement*>(node);
    pending &= ~(std::uint64_t{1} << k);
  }
}

namespace {

constexpr std::uintptr_t kLine = 64;
// A sibling farther than this from the one before is not taken as a guide.
constexpr std::uintptr_t kMaxSiblingSpan = 64 * 1024;

void Prefetch(std::uintptr_t begin, std::uintptr_t end) {
  for (std::uintptr_t line = begin & ~(kLine - 1); line < end; line += kLine) {
    __builtin_prefetch(reinterpret_cast<const void*>(line));
  }
}

}  // namespace

void ReadAhead::Advance(std::uintptr_t until) {
  if (m_next > until) {
    // A little behind what was asked for already: nothing new. Far behind: the
    // walk has gone to another part of the document, and starts afresh.
    if (m_next - until <= kDistance) return;
    m_next = until - kDistance;
  } else if (until - m_next > kDistance) {
    m_next = until - kDistance;  // a jump ahead starts afresh too
  }
  Prefetch(m_next, until);
  m_next = until;
}

void PrefetchNextLike(const DOMNode* previous, const DOMNode* current) {
  const std::uintptr_t from = reinterpret_cast<std::uintptr_t>(previous);
  const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(current);
  if (at <= from || at - from > kMaxSiblingSpan) return;
  // The current one was asked for by the step before.
  Prefetch(at + (at - from), at + 2 * (at - from));
}

std::string ToUTF8(const XMLCh* text) {
  if (text == nullptr) return std::string();
  // Plain ASCII converts unit for unit: a short text is narrowed on the stack as it
  // is checked, and copied once.
  constexpr std::size_t kShort = 64;
  char narrowed[kShort];
  std::size_t length = 0;
  for (; text[length] != 0; ++length) {
    if (text[length] >= 0x80) return WholeToUTF8(text);
    if (length < kShort) narrowed[length] = static_cast<char>(text[length]);
  }
  if (length <= kShort) return std::string(narrowed, length);
  return std::string(text, text + length);
}

std::vector<XMLCh> ToUTF16(const char* text) {
  if (!IsAscii(text)) return WholeFromUTF8(text);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  std::vector<XMLCh> result(bytes, bytes + std::strlen(text));
  result.push_back(0);
  return result;
}

bool XStrEqualsUTF8Str(const XMLCh* xstr, const char* utf8) {
  const XMLCh* text = xstr != nullptr ? xstr : u"";
  if (!IsAscii(utf8)) return xc::XMLString::equals(text, ToUTF16(utf8).data());
  return EqualsAscii(text, utf8);
}

const XMLCh* GetAttribute(const DOMElement& elmt, const char* name) {
  return AttributeValue(AttributeNamed(elmt, name));
}

const XMLCh* GetAttribute(const DOMNode& node, const char* name) {
  if (node.getNodeType() != DOMNode::ELEMENT_NODE) return nullptr;
  return GetAttribute(static_cast<const DOMElement&>(node), name);
}

int GetIntAttribute(const DOMElement& elmt, const char* name, int signRule, int& value) {
  const XMLCh* text = GetAttribute(elmt, name);
  if (text == nullptr) return -1;
  int number = 0;
  if (!XStrToInt(text, number)) return 1;
  value = number;
  if (number > 0 || signRule < 0) return 0;
  return signRule == 0 && number == 0 ? 0 : 1;
}

int GetDoubleAttribute(const DOMElement& elmt, const char* name, double& value) {
  const XMLCh* text = GetAttribute(elmt, name);
  if (text == nullptr) return -1;
  return XStrToDouble(text, value) ? 0 : 1;
}

bool TagNameEquals(const DOMElement& elmt, const char* name) {
  return XStrEqualsUTF8Str(elmt.getTagName(), name);
}

int FindXStrInList(const XMLCh* xstr, const std::pair<unsigned int, const char*>* const table) {
  for (int i = 0; table[i].second != nullptr; ++i) {
    if (XStrEqualsUTF8Str(xstr, table[i].second)) return i;
  }
  return -1;
}

int FindXStrInList(const XMLCh* xstr, const std::vector<std::string>& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (XStrEqualsUTF8Str(xstr, list[i].c_str())) return static_cast<int>(i);
  }
  return -1;
}

const DOMElement* AsElement(const DOMNode& node, const char* name) {
  if (node.getNodeType() != DOMNode::ELEMENT_NODE) return nullptr;
  if (name != nullptr && !XStrEqualsUTF8Str(node.getNodeName(), name)) return nullptr;
  return static_cast<const DOMElement*>(&node);
}

const DOMElement* GetFirstChildElmt(const DOMNode& parent, const char* name) {
  if (name == nullptr) return FirstElementFrom(parent.getFirstChild());
  const Utf16Name tagName(name);
  PooledName tag(tagName.get());
  return GetFirstChildElmt(parent, tag);
}

const DOMElement* GetFirstChildElmt(const DOMNode& parent,
                                    const std::pair<unsigned int, const char*>* const table,
                                    size_t& index) {
  index = 0;
  // Table order decides first; document order only among elements of one name.
  for (size_t i = 0; table[i].second != nullptr; ++i) {
    if (const DOMElement* found = GetFirstChildElmt(parent, table[i].second)) {
      index = i;
      return found;
    }
  }
  return nullptr;
}

const DOMElement* GetNextSiblingElmt(const DOMNode& node, const char* name) {
  if (name == nullptr) return FirstElementFrom(node.getNextSibling());
  const Utf16Name tagName(name);
  PooledName tag(tagName.get());
  return GetNextSiblingElmt(node, tag);
}

const DOMElement* GetFirstChildExtension(const DOMNode& parent, const char* name) {
  ExtensionNames names(name);
  return ExtensionFrom(GetFirstChildElmt(parent, names.tag), names);
}

const DOMElement* GetNextSiblingExtension(const DOMNode& node, const char* name) {
  ExtensionNames names(name);
  return ExtensionFrom(GetNextSiblingElmt(node, names.tag), names);
}

bool AssembleDoublesList(const DOMElement& elmt, std::vector<double>& values) {
  const DOMNode* child = elmt.getFirstChild();
  if (child == nullptr) {
    values.clear();
    return true;
  }
  // Only a lone text node holds a list; CDATA, comments and mixed content do not.
  if (child->getNextSibling() != nullptr || child->getNodeType() != DOMNode::TEXT_NODE) {
    return false;
  }
  const XMLCh* text = child->getNodeValue();
  values.clear();
  return XStrToDoublesList(text, values);
}

}  // namespace MCXML_1_3
