// DOM access: UTF-8 conversion, attributes with number parsing, child and sibling
// search, the library's own Extension elements and number lists.
#include "mcxml/xml/dom_access.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/util/NumberFormatException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLBigInteger.hpp>
#include <xercesc/util/XMLDouble.hpp>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/common/missing_value.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/extender_internal.h"
#include "mcxml/xml/transcoder_internal.h"

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;
using XName = std::vector<XMLCh>;

constexpr char kExtensionTag[] = "Extension";
constexpr char kExtenderAttr[] = "extender";
constexpr char kNameAttr[] = "name";

// int's bounds; a number of fewer digits always fits.
constexpr XMLCh kIntMax[] = u"2147483647";
constexpr XMLCh kIntMin[] = u"-2147483648";
constexpr unsigned kIntDigits = 10;

// The conversions and comparisons below take plain ASCII as it stands: it is the
// same sequence of units in UTF-8 and UTF-16, and the UTF-8 transcoder converts it
// unit for unit. Anything else, bytes that are not UTF-8 included (whose results
// are the transcoder's to decide), goes through the transcoder.
bool IsAscii(const char* text) {
  for (; *text != 0; ++text) {
    if (static_cast<unsigned char>(*text) >= 0x80) return false;
  }
  return true;
}

// `text` equals the ASCII text `ascii` unit for unit.
bool EqualsAscii(const XMLCh* text, const char* ascii) {
  const unsigned char* byte = reinterpret_cast<const unsigned char*>(ascii);
  for (; *byte != 0 && *text == *byte; ++byte, ++text) {
  }
  return *byte == 0 && *text == 0;
}

// A UTF-8 name in UTF-16, equal to what ToUTF16 gives; a short ASCII name needs
// no heap, so that lookups by name cost no allocation.
class Utf16Name {
 public:
  explicit Utf16Name(const char* utf8) {
    size_t i = 0;
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
  Utf16Name(const Utf16Name&) = delete;
  Utf16Name& operator=(const Utf16Name&) = delete;

  const XMLCh* get() const { return m_data; }

 private:
  static constexpr size_t kInline = 64;
  XMLCh m_inline[kInline];
  XName m_converted;
  const XMLCh* m_data;
};

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

bool HasTag(const DOMNode& node, const XMLCh* name) {
  return node.getNodeType() == DOMNode::ELEMENT_NODE &&
         (name == nullptr || xc::XMLString::equals(node.getNodeName(), name));
}

// The first element named `name` (any when null) from `node` on, `node` included.
const DOMElement* ElementFrom(const DOMNode* node, const XMLCh* name) {
  for (; node != nullptr; node = node->getNextSibling()) {
    if (HasTag(*node, name)) return static_cast<const DOMElement*>(node);
  }
  return nullptr;
}

bool XStrToInt(const XMLCh* text, int& value) {
  try {
    const xc::XMLBigInteger number(text, xc::XMLPlatformUtils::fgMemoryManager);
    // intValue() wraps silently outside the range of int, so the range is ours.
    const unsigned digits = number.getTotalDigit();
    if (digits > kIntDigits) return false;
    if (digits == kIntDigits) {
      const bool negative = number.getSign() < 0;
      const xc::XMLBigInteger bound(negative ? kIntMin : kIntMax,
                                    xc::XMLPlatformUtils::fgMemoryManager);
      const int order =
          xc::XMLBigInteger::compareValues(&number, &bound, xc::XMLPlatformUtils::fgMemoryManager);
      if (negative ? order < 0 : order > 0) return false;
    }
    value = number.intValue();
    return true;
  } catch (const xc::NumberFormatException&) {
    return false;
  }
}

// The longest text that ReadPlainDecimal takes: far from the ends of double's
// range and from its subnormal numbers, in either direction.
constexpr size_t kPlainDecimalMax = 40;

// Powers of ten that a double holds exactly, and the most digits that an integer
// can have and still be held exactly (every 15-digit integer lies below 2^53).
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kExactDigits = 15;

// Reads [begin, end) when it is a plain decimal (an optional minus, digits, and
// optionally a point and more digits), the form nearly every number in a document
// has; false for anything else. Such a number is neither special, nor out of
// range, nor subnormal, so XMLDouble reads it as Normal with the correctly rounded
// value (a minus zero included), which is what this gives too.
bool ReadPlainDecimal(const XMLCh* begin, const XMLCh* end, double& value) {
  const size_t length = static_cast<size_t>(end - begin);
  if (length == 0 || length > kPlainDecimalMax) return false;
  char text[kPlainDecimalMax];
  size_t used = 0;
  std::uint64_t mantissa = 0;
  int digitCount = 0;
  const XMLCh* unit = begin;
  const auto digits = [&] {
    const XMLCh* first = unit;
    for (; unit != end && *unit >= u'0' && *unit <= u'9'; ++unit) {
      text[used++] = static_cast<char>(*unit);
      mantissa = mantissa * 10 + (*unit - u'0');
      ++digitCount;
    }
    return static_cast<int>(unit - first);
  };
  const bool negative = *unit == u'-';
  if (negative) text[used++] = static_cast<char>(*unit++);
  if (digits() == 0) return false;
  int fractionDigits = 0;
  if (unit != end && *unit == u'.') {
    text[used++] = static_cast<char>(*unit++);
    fractionDigits = digits();
    if (fractionDigits == 0) return false;
  }
  if (unit != end) return false;
  if (digitCount <= kExactDigits) {
    // Both operands are exact, so the division's one rounding is the correct one.
    const double magnitude = static_cast<double>(mantissa) / kExactPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
  }
  const std::from_chars_result read = std::from_chars(text, text + used, value);
  return read.ec == std::errc() && read.ptr == text + used;
}

bool XStrToDouble(const XMLCh* text, double& value) {
  if (ReadPlainDecimal(text, text + xc::XMLString::stringLen(text), value)) return true;
  try {
    const xc::XMLDouble number(text, xc::XMLPlatformUtils::fgMemoryManager);
    switch (number.getType()) {
      case xc::XMLAbstractDoubleFloat::Normal:
        value = number.getValue();
        return true;
      case xc::XMLAbstractDoubleFloat::NaN:
        value = MCCommon_1_3::MCMV::gMissingValue;
        return true;
      default:
        return false;
    }
  } catch (const xc::NumberFormatException&) {
    return false;
  }
}

// The delimiters of a default XMLStringTokenizer, which splits number lists.
bool IsListDelimiter(XMLCh unit) {
  return unit == u' ' || unit == u'\t' || unit == u'\n' || unit == u'\r';
}

// Splits as a default XMLStringTokenizer does, without its copy of every token.
bool XStrToDoublesList(const XMLCh* text, std::vector<double>& values) {
  const XMLCh* unit = text;
  XName token;
  for (;;) {
    while (*unit != 0 && IsListDelimiter(*unit)) ++unit;
    if (*unit == 0) return true;
    const XMLCh* begin = unit;
    while (*unit != 0 && !IsListDelimiter(*unit)) ++unit;
    double value = 0.0;
    if (!ReadPlainDecimal(begin, unit, value)) {
      token.assign(begin, unit);
      token.push_back(0);
      if (!XStrToDouble(token.data(), value)) {
        values.clear();
        return false;
      }
    }
    values.push_back(value);
  }
}

// The names an Extension search compares, converted once per search rather than
// once per element.
struct ExtensionNames {
  explicit ExtensionNames(const char* wanted)
      : hasName(wanted != nullptr), name(hasName ? ToUTF16(wanted) : XName{0}) {}

  XName tag = ToUTF16(kExtensionTag);
  XName extenderAttr = ToUTF16(kExtenderAttr);
  XName extender = ToUTF16(kExtenderId);
  XName nameAttr = ToUTF16(kNameAttr);
  bool hasName;
  XName name;
};

bool MatchesExtension(const DOMElement& elmt, const ExtensionNames& names) {
  const XMLCh* extender = AttributeOf(elmt, names.extenderAttr.data());
  if (extender == nullptr || !xc::XMLString::equals(extender, names.extender.data())) {
    return false;
  }
  if (!names.hasName) return true;
  const XMLCh* extensionName = AttributeOf(elmt, names.nameAttr.data());
  return extensionName != nullptr && xc::XMLString::equals(extensionName, names.name.data());
}

// The first matching Extension from `node` on, `node` included.
const DOMElement* ExtensionFrom(const DOMNode* node, const char* name) {
  const ExtensionNames names(name);
  for (const DOMElement* elmt = ElementFrom(node, names.tag.data()); elmt != nullptr;
       elmt = ElementFrom(elmt->getNextSibling(), names.tag.data())) {
    if (MatchesExtension(*elmt, names)) return elmt;
  }
  return nullptr;
}

}  // namespace

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

std::string ToUTF8(const XMLCh* text) {
  if (text == nullptr) return std::string();
  std::string result(xc::XMLString::stringLen(text), '\0');
  for (size_t i = 0; i < result.size(); ++i) {
    if (text[i] >= 0x80) return WholeToUTF8(text);
    result[i] = static_cast<char>(text[i]);
  }
  return result;
}

std::vector<XMLCh> ToUTF16(const char* text) {
  if (!IsAscii(text)) return WholeFromUTF8(text);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  XName result(bytes, bytes + std::strlen(text));
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
  if (name == nullptr) return ElementFrom(parent.getFirstChild(), nullptr);
  return ElementFrom(parent.getFirstChild(), Utf16Name(name).get());
}

const DOMElement* GetFirstChildElmt(const DOMNode& parent,
                                    const std::pair<unsigned int, const char*>* const table,
                                    size_t& index) {
  index = 0;
  // Table order decides first; document order only among elements of one name.
  for (size_t i = 0; table[i].second != nullptr; ++i) {
    const DOMElement* found = ElementFrom(parent.getFirstChild(), Utf16Name(table[i].second).get());
    if (found != nullptr) {
      index = i;
      return found;
    }
  }
  return nullptr;
}

const DOMElement* GetNextSiblingElmt(const DOMNode& node, const char* name) {
  if (name == nullptr) return ElementFrom(node.getNextSibling(), nullptr);
  return ElementFrom(node.getNextSibling(), Utf16Name(name).get());
}

const DOMElement* GetFirstChildExtension(const DOMNode& parent, const char* name) {
  return ExtensionFrom(parent.getFirstChild(), name);
}

const DOMElement* GetNextSiblingExtension(const DOMNode& node, const char* name) {
  return ExtensionFrom(node.getNextSibling(), name);
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
