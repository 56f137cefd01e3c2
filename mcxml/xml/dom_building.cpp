// DOM building: each DOM call is guarded so that a refusal becomes a result.
#include "mcxml/xml/dom_building.h"

#include <memory>
#include <vector>

#include <xercesc/dom/DOMException.hpp>

#include "mcxml/common/format.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/extender_internal.h"
#include "mcxml/xml/platform_internal.h"

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

// A new element released again unless the caller takes it.
using ElementHolder = std::unique_ptr<DOMElement, Releaser>;

}  // namespace

DOMElement* CreateElement(DOMDocument& doc, const char* name) {
  const std::vector<XMLCh> xname = ToUTF16(name);
  try {
    return doc.createElement(xname.data());
  } catch (const xc::DOMException&) {
    return nullptr;
  }
}

bool SetAttribute(DOMElement& elmt, const char* name, const char* value) {
  const std::vector<XMLCh> xname = ToUTF16(name);
  const std::vector<XMLCh> xvalue = ToUTF16(value);
  try {
    elmt.setAttribute(xname.data(), xvalue.data());
    return true;
  } catch (const xc::DOMException&) {
    return false;
  }
}

bool SetAttribute(DOMElement& elmt, const char* name, double value) {
  return SetAttribute(elmt, name, Format(value, false, nullptr).c_str());
}

DOMElement* CreateExtension(DOMDocument& doc, const char* name) {
  ElementHolder extension(CreateElement(doc, kExtensionTag));
  if (!extension) return nullptr;
  if (!SetAttribute(*extension, kExtenderAttr, kExtenderId) ||
      !SetAttribute(*extension, kExtensionNameAttr, name)) {
    return nullptr;
  }
  return extension.release();
}

bool ReplaceElement(DOMElement& parent, DOMElement* newElmt, DOMElement* oldElmt) {
  try {
    parent.replaceChild(newElmt, oldElmt);
    return true;
  } catch (const xc::DOMException&) {
    return false;
  }
}

bool InsertElement(DOMElement& parent, DOMElement* newElmt, DOMElement* refElmt) {
  try {
    parent.insertBefore(newElmt, refElmt);
    return true;
  } catch (const xc::DOMException&) {
    return false;
  }
}

}  // namespace MCXML_1_3
