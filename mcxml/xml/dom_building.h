// Building a DOM tree with UTF-8 names and values; failures come back as results.
#ifndef MCXML_XML_DOM_BUILDING_H
#define MCXML_XML_DOM_BUILDING_H

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>

#include "mcxml/common/export.h"

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::DOMDocument;
using XERCES_CPP_NAMESPACE::DOMElement;

/// A new, unattached element of `doc`; null when the DOM refuses the name.
MCXML_EXPORT DOMElement* CreateElement(DOMDocument& doc, const char* name);
/// Sets attribute `name` to `value`; false (element unchanged) when the DOM refuses.
MCXML_EXPORT bool SetAttribute(DOMElement& elmt, const char* name, const char* value);
/// Sets attribute `name` to Format(value, false, nullptr).
MCXML_EXPORT bool SetAttribute(DOMElement& elmt, const char* name, double value);
/// A new, unattached Extension of the library's own named `name`; null on failure.
MCXML_EXPORT DOMElement* CreateExtension(DOMDocument& doc, const char* name);
/// Puts `newElmt` in place of the child `oldElmt`; false when the DOM refuses.
MCXML_EXPORT bool ReplaceElement(DOMElement& parent, DOMElement* newElmt, DOMElement* oldElmt);
/// Inserts `newElmt` before the child `refElmt` (appends when null); false when the
/// DOM refuses.
MCXML_EXPORT bool InsertElement(DOMElement& parent, DOMElement* newElmt, DOMElement* refElmt);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_DOM_BUILDING_H
