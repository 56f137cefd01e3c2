// Paths of elements from the root, numbering each parent's children once.
#include "mcxml/xml/element_path_internal.h"

#include <string>
#include <vector>

#include <xercesc/util/XMLString.hpp>

#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

namespace {

struct NameHash {
  std::size_t operator()(const XMLCh* name) const {
    return XERCES_CPP_NAMESPACE::XMLString::hash(name, 1u << 30);
  }
};
struct NameEqual {
  bool operator()(const XMLCh* a, const XMLCh* b) const {
    return XERCES_CPP_NAMESPACE::XMLString::equals(a, b);
  }
};

}  // namespace

const ElementPaths::Step& ElementPaths::StepOf(const DOMElement& elmt) {
  const DOMNode* parent = elmt.getParentNode();
  auto [entry, added] = m_numbered.try_emplace(parent);
  auto& steps = entry->second;
  if (added) {
    std::unordered_map<const XMLCh*, unsigned, NameHash, NameEqual> counts;
    std::vector<const DOMElement*> children;
    for (const DOMNode* node = parent->getFirstChild(); node != nullptr;
         node = node->getNextSibling()) {
      if (node->getNodeType() != DOMNode::ELEMENT_NODE) continue;
      const auto* child = static_cast<const DOMElement*>(node);
      steps[child] = Step{++counts[child->getNodeName()], false};
      children.push_back(child);
    }
    for (const DOMElement* child : children) {
      steps[child].onlyOfItsName = counts[child->getNodeName()] == 1;
    }
  }
  return steps.at(&elmt);
}

std::string ElementPaths::Of(const DOMNode* node) {
  std::vector<const DOMElement*> chain;
  for (; node != nullptr && node->getNodeType() == DOMNode::ELEMENT_NODE;
       node = node->getParentNode()) {
    chain.push_back(static_cast<const DOMElement*>(node));
  }
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    path += '/';
    path += ToUTF8((*it)->getNodeName());
    // The root and an element outside any document have no siblings to tell apart.
    if ((*it)->getParentNode() == nullptr ||
        (*it)->getParentNode()->getNodeType() != DOMNode::ELEMENT_NODE) {
      continue;
    }
    const Step& step = StepOf(**it);
    if (!step.onlyOfItsName) path += '[' + std::to_string(step.ordinal) + ']';
  }
  return path;
}

}  // namespace MCXML_1_3
