// Paths of elements from the root, as a check of a document reports them:
// /PMML/DataDictionary/DataField[3]. A step carries [n] (from 1) when its parent
// holds more than one child element of that name.
#ifndef MCXML_XML_ELEMENT_PATH_INTERNAL_H
#define MCXML_XML_ELEMENT_PATH_INTERNAL_H

#include <string>
#include <unordered_map>

#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::DOMElement;
using XERCES_CPP_NAMESPACE::DOMNode;

class ElementPaths {
 public:
  /// The path of `elmt`; empty for null. Each parent's children are numbered once,
  /// on the first path through it, so that paths cost the same in a parent of
  /// 20,000 children as in one of two.
  std::string Of(const DOMNode* node);

 private:
  struct Step {
    unsigned ordinal;    // among the parent's child elements of the same name
    bool onlyOfItsName;  // the parent holds no other child element of that name
  };
  const Step& StepOf(const DOMElement& elmt);

  std::unordered_map<const DOMNode*, std::unordered_map<const DOMElement*, Step>> m_numbered;
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_ELEMENT_PATH_INTERNAL_H
