// DOM access: UTF-8 conversion, attributes with number parsing, child and sibling
// search, the library's own Extension elements and number lists.
#include "mcxml/xml/dom_access.h"

#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/util/NumberFormatException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLBigInteger.hpp>
#include <xercesc/util/XMLDouble.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLStringTokenizer.hpp>

#include "mcxml/common/missing_value.h"
#include "mcxml/xml/extender_internal.h"
#include "mcxml/xml/transcoder.h"

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

// An element's attribute, null when it is missing or empty (the DOM gives "" for both).
const XMLCh* AttributeOf(const DOMElement& elmt, const XMLCh* name) {
  const XMLCh* value = elmt.getAttribute(name);
  return value == nullptr || *value == 0 ? nullptr : value;
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

bool XStrToDouble(const XMLCh* text, double& value) {
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

bool XStrToDoublesList(const XMLCh* text, std::vector<double>& values) {
  xc::XMLStringTokenizer tokens(text, xc::XMLPlatformUtils::fgMemoryManager);
  while (tokens.hasMoreTokens()) {
    double value = 0.0;
    if (!XStrToDouble(tokens.nextToken(), value)) {
      values.clear();
      return false;
    }
    values.push_back(value);
  }
  return true;
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

std::string ToUTF8(const XMLCh* text) {
  return MCXTranscoder().TranscodeTo(text);
}

std::vector<XMLCh> ToUTF16(const char* text) {
  return MCXTranscoder().TranscodeFrom(text);
}

bool XStrEqualsUTF8Str(const XMLCh* xstr, const char* utf8) {
  const XName converted = ToUTF16(utf8);
  return xc::XMLString::equals(xstr != nullptr ? xstr : u"", converted.data());
}

const XMLCh* GetAttribute(const DOMElement& elmt, const char* name) {
  return AttributeOf(elmt, ToUTF16(name).data());
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
  return xc::XMLString::equals(elmt.getTagName(), ToUTF16(name).data());
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
  if (name == nullptr)
    return HasTag(node, nullptr) ? static_cast<const DOMElement*>(&node) : nullptr;
  return HasTag(node, ToUTF16(name).data()) ? static_cast<const DOMElement*>(&node) : nullptr;
}

const DOMElement* GetFirstChildElmt(const DOMNode& parent, const char* name) {
  if (name == nullptr) return ElementFrom(parent.getFirstChild(), nullptr);
  return ElementFrom(parent.getFirstChild(), ToUTF16(name).data());
}

const DOMElement* GetFirstChildElmt(const DOMNode& parent,
                                    const std::pair<unsigned int, const char*>* const table,
                                    size_t& index) {
  index = 0;
  // Table order decides first; document order only among elements of one name.
  for (size_t i = 0; table[i].second != nullptr; ++i) {
    const DOMElement* found = ElementFrom(parent.getFirstChild(), ToUTF16(table[i].second).data());
    if (found != nullptr) {
      index = i;
      return found;
    }
  }
  return nullptr;
}

const DOMElement* GetNextSiblingElmt(const DOMNode& node, const char* name) {
  if (name == nullptr) return ElementFrom(node.getNextSibling(), nullptr);
  return ElementFrom(node.getNextSibling(), ToUTF16(name).data());
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
