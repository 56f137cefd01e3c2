// Paths of elements from the root, as a check of a document reports them:
// /PMML/DataDictionary/DataField[3]. A step carries [n] (from 1) when its parent
// holds more than one child element of that name. A path of more than
// kWholeSteps steps keeps its first and last kEndSteps with "/..." between them.
#ifndef MCXML_XML_ELEMENT_PATH_INTERNAL_H
#define MCXML_XML_ELEMENT_PATH_INTERNAL_H

#include <string>
#include <unordered_map>
#include <unordered_set>

#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::DOMElement;
using XERCES_CPP_NAMESPACE::DOMNode;

class ElementPaths {
 public:
  /// The most steps a path keeps whole; PMML paths seldom pass 8.
  static constexpr unsigned kWholeSteps = 16;
  /// The steps a longer path keeps at each end.
  static constexpr unsigned kEndSteps = 8;

  /// The path of `node`; empty for null or a node that is not an element. Each
  /// element's step is made once, and each parent's children are numbered once,
  /// so that a path costs what it prints, however deep the element or wide its
  /// parent.
  std::string Of(const DOMNode* node);
  /// The path of `node` as Of gives it, worked out alone and remembering nothing:
  /// for one path through a deep document, which Of would cost a step kept for
  /// every element on the way.
  static std::string Once(const DOMNode* node);
  /// `path` + `rest` (both paths of steps, as Of gives them, `path` of kEndSteps
  /// steps at most), shortened as Of shortens a path of that many steps.
  static std::string Joined(const std::string& path, const std::string& rest);
  /// The path of `elmt` below its ancestor `unit`, without the leading '/'
  /// (`ContStats/Interval[2]`); when `unit` is not an ancestor, as Of gives it.
  std::string Below(const DOMElement& elmt, const DOMElement& unit);

 private:
  struct Step {
    unsigned ordinal;    // among the parent's child elements of the same name
    bool onlyOfItsName;  // the parent holds no other child element of that name
  };
  // What an element adds to the paths through it, shared by all of them.
  struct Link {
    const Link* parent;  // null for the outermost element
    const Link* head;    // the ancestor-or-self kEndSteps deep; null above that
    unsigned depth;      // 1 for the outermost element
    std::string step;    // "/DataField[3]"
  };
  const Step& StepOf(const DOMElement& elmt);
  const Link& LinkOf(const DOMElement& elmt);
  // The steps of `last` and its ancestors deeper than `top`.
  static std::string Join(const Link& last, unsigned top);

  std::unordered_set<const DOMNode*> m_numbered;
  std::unordered_map<const DOMElement*, Step> m_steps;
  std::unordered_map<const DOMElement*, Link> m_links;
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_ELEMENT_PATH_INTERNAL_H
