// Reading a DOM tree: string conversion, attributes with number parsing, child
// and sibling search, the library's own Extension elements and number lists.
#ifndef MCXML_XML_DOM_ACCESS_H
#define MCXML_XML_DOM_ACCESS_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>

#include "mcxml/common/export.h"

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::DOMElement;
using XERCES_CPP_NAMESPACE::DOMNode;

/// The UTF-8 form of `text`; empty for null, empty text or a failed conversion,
/// which includes one that stops before the end (an unpaired high surrogate last).
MCXML_EXPORT std::string ToUTF8(const XMLCh* text);
/// The UTF-16 form of `text` (not null), ending with one zero unit; that unit
/// alone when the conversion fails or stops before the end (a sequence cut short).
MCXML_EXPORT std::vector<XMLCh> ToUTF16(const char* text);
/// True when `xstr` (null counts as empty) equals `utf8` (not null) unit by unit.
MCXML_EXPORT bool XStrEqualsUTF8Str(const XMLCh* xstr, const char* utf8);

/// The value of attribute `name`, or null when it is absent or empty.
MCXML_EXPORT const XMLCh* GetAttribute(const DOMElement& elmt, const char* name);
/// As above; null when `node` is not an element.
MCXML_EXPORT const XMLCh* GetAttribute(const DOMNode& node, const char* name);
/// Reads attribute `name` as an integer: -1 absent, 1 not an integer (`value`
/// untouched) or breaking `signRule` (`value` written), 0 success (`value` written).
/// signRule < 0 accepts any integer, 0 requires >= 0, > 0 requires > 0.
MCXML_EXPORT int GetIntAttribute(const DOMElement& elmt, const char* name, int signRule,
                                 int& value);
/// Reads attribute `name` as a double: -1 absent, 1 not a finite number or NaN
/// (`value` untouched), 0 success; the NaN literal gives the missing value.
MCXML_EXPORT int GetDoubleAttribute(const DOMElement& elmt, const char* name, double& value);
/// True when the element's tag name, prefix included, is exactly `name`.
MCXML_EXPORT bool TagNameEquals(const DOMElement& elmt, const char* name);

/// Position of the first entry of the null-terminated `table` equal to `xstr`, or -1.
MCXML_EXPORT int FindXStrInList(const XMLCh* xstr,
                                const std::pair<unsigned int, const char*>* const table);
/// Index of the first string of `list` equal to `xstr`, or -1.
MCXML_EXPORT int FindXStrInList(const XMLCh* xstr, const std::vector<std::string>& list);

/// `node` as an element, when it is one named `name` (any name when null).
MCXML_EXPORT const DOMElement* AsElement(const DOMNode& node, const char* name);
/// The first child element named `name` (any when null), or null.
MCXML_EXPORT const DOMElement* GetFirstChildElmt(const DOMNode& parent, const char* name);
/// The first child element named by the table's entries, tried in table order;
/// `index` is the position of the entry that found it (0 when nothing is found).
MCXML_EXPORT const DOMElement* GetFirstChildElmt(
    const DOMNode& parent, const std::pair<unsigned int, const char*>* const table, size_t& index);
/// The next following sibling element named `name` (any when null); never `node`.
MCXML_EXPORT const DOMElement* GetNextSiblingElmt(const DOMNode& node, const char* name);
/// The first child Extension of the library's own carrying `name` (any when null).
MCXML_EXPORT const DOMElement* GetFirstChildExtension(const DOMNode& parent, const char* name);
/// The next following sibling Extension of the library's own carrying `name`.
MCXML_EXPORT const DOMElement* GetNextSiblingExtension(const DOMNode& node, const char* name);
/// Reads the element's single text child as whitespace-separated doubles. True on
/// success (no child gives an empty list); false, `values` untouched, when the
/// content is not one text node; false, `values` emptied, on a bad token.
MCXML_EXPORT bool AssembleDoublesList(const DOMElement& elmt, std::vector<double>& values);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_DOM_ACCESS_H
