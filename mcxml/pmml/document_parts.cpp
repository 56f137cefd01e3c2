// Which children of the root are models, the kind of a document, and what a lean
// parse keeps of each model: one table of tags for all three.
#include "mcxml/pmml/document_parts.h"

#include <xercesc/util/XMLString.hpp>

#include "mcxml/pmml/document_parts_internal.h"
#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

namespace {

using XERCES_CPP_NAMESPACE::XMLString;

// Children of the root that hold no model.
constexpr const XMLCh* kNotModels[] = {u"Header", u"MiningBuildTask", u"DataDictionary",
                                       u"TransformationDictionary", u"Extension"};

// What the library reads of a model element besides its statistics, and what a
// caller of a lean parse is likely to want of it; all of them small beside a body
// of trees or segments.
constexpr const XMLCh* kKeptOfModels[] = {u"ModelStats", u"MiningSchema",         u"Output",
                                          u"Targets",    u"LocalTransformations", u"Extension"};

template <std::size_t N>
bool IsOneOf(const XMLCh* tag, const XMLCh* const (&tags)[N]) {
  for (const XMLCh* candidate : tags) {
    if (XMLString::equals(tag, candidate)) return true;
  }
  return false;
}

bool IsModelTag(const XMLCh* tag) {
  return !IsOneOf(tag, kNotModels);
}

bool KeptOfModels(const XMLCh* tag) {
  return IsOneOf(tag, kKeptOfModels);
}

}  // namespace

const LeanRule kPmmlLeanRule{IsModelTag, KeptOfModels};

bool IsModelElmt(const DOMElement& elmt) {
  return IsModelTag(elmt.getTagName());
}

const DOMElement* GetModelElmt(const DOMElement& root, std::size_t index) {
  for (const DOMElement* child = GetFirstChildElmt(root, nullptr); child != nullptr;
       child = GetNextSiblingElmt(*child, nullptr)) {
    if (IsModelElmt(*child) && index-- == 0) return child;
  }
  return nullptr;
}

MCDocumentKind GetDocumentKind(const DOMElement& root) {
  bool hasTask = false;
  bool hasModel = false;
  for (const DOMElement* child = GetFirstChildElmt(root, nullptr); child != nullptr;
       child = GetNextSiblingElmt(*child, nullptr)) {
    if (IsModelElmt(*child)) {
      hasModel = true;
      continue;
    }
    if (!TagNameEquals(*child, "MiningBuildTask")) continue;
    hasTask = true;
    for (const DOMElement* extension = GetFirstChildElmt(*child, "Extension"); extension != nullptr;
         extension = GetNextSiblingElmt(*extension, "Extension")) {
      if (GetFirstChildElmt(*extension, "Parameters") != nullptr) return MCDocumentKind::Settings;
    }
  }
  return hasTask && !hasModel ? MCDocumentKind::Settings : MCDocumentKind::PMML;
}

}  // namespace MCXML_1_3
