// Paths of elements from the root, each element's step made once and shared by
// every path through it.
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

const DOMElement* ParentElement(const DOMElement& elmt) {
  const DOMNode* parent = elmt.getParentNode();
  return parent != nullptr && parent->getNodeType() == DOMNode::ELEMENT_NODE
             ? static_cast<const DOMElement*>(parent)
             : nullptr;
}

// "/name[n]" of `elmt`, numbered among its parent's children of that name.
std::string StepText(const DOMElement& elmt) {
  std::string step = '/' + ToUTF8(elmt.getNodeName());
  if (ParentElement(elmt) == nullptr) return step;
  unsigned ordinal = 0;
  unsigned count = 0;
  for (const DOMNode* node = elmt.getParentNode()->getFirstChild(); node != nullptr;
       node = node->getNextSibling()) {
    if (node->getNodeType() != DOMNode::ELEMENT_NODE ||
        !XERCES_CPP_NAMESPACE::XMLString::equals(node->getNodeName(), elmt.getNodeName())) {
      continue;
    }
    ++count;
    if (node == &elmt) ordinal = count;
  }
  return count > 1 ? step + '[' + std::to_string(ordinal) + ']' : step;
}

}  // namespace

std::string ElementPaths::Once(const DOMNode* node) {
  if (node == nullptr || node->getNodeType() != DOMNode::ELEMENT_NODE) return std::string();
  std::vector<const DOMElement*> chain;
  for (const auto* up = static_cast<const DOMElement*>(node); up != nullptr;
       up = ParentElement(*up)) {
    chain.push_back(up);
  }
  std::string path;
  const std::size_t depth = chain.size();
  for (std::size_t i = depth; i > 0; --i) {
    // Only the steps a shortened path shows are made.
    if (depth > kWholeSteps && i == depth - kEndSteps) {
      path += "/...";
      i = kEndSteps + 1;
      continue;
    }
    path += StepText(*chain[i - 1]);
  }
  return path;
}

const ElementPaths::Step& ElementPaths::StepOf(const DOMElement& elmt) {
  const DOMNode* parent = elmt.getParentNode();
  if (m_numbered.insert(parent).second) {
    std::unordered_map<const XMLCh*, unsigned, NameHash, NameEqual> counts;
    std::vector<const DOMElement*> children;
    for (const DOMNode* node = parent->getFirstChild(); node != nullptr;
         node = node->getNextSibling()) {
      if (node->getNodeType() != DOMNode::ELEMENT_NODE) continue;
      const auto* child = static_cast<const DOMElement*>(node);
      m_steps[child] = Step{++counts[child->getNodeName()], false};
      children.push_back(child);
    }
    for (const DOMElement* child : children) {
      m_steps[child].onlyOfItsName = counts[child->getNodeName()] == 1;
    }
  }
  return m_steps.at(&elmt);
}

const ElementPaths::Link& ElementPaths::LinkOf(const DOMElement& elmt) {
  // The elements without a link yet, from `elmt` up to the first that has one.
  std::vector<const DOMElement*> missing;
  const Link* above = nullptr;
  for (const DOMElement* up = &elmt; up != nullptr; up = ParentElement(*up)) {
    const auto found = m_links.find(up);
    if (found != m_links.end()) {
      above = &found->second;
      break;
    }
    missing.push_back(up);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    const DOMElement& added = **it;
    Link& link = m_links[&added];
    link.parent = above;
    link.depth = above != nullptr ? above->depth + 1 : 1;
    link.step = '/' + ToUTF8(added.getNodeName());
    // The outermost element (the root, or one outside any document) has no
    // siblings to tell apart.
    if (above != nullptr) {
      const Step& step = StepOf(added);
      if (!step.onlyOfItsName) link.step += '[' + std::to_string(step.ordinal) + ']';
    }
    link.head = link.depth == kEndSteps ? &link : above != nullptr ? above->head : nullptr;
    above = &link;
  }
  return *above;
}

std::string ElementPaths::Join(const Link& last, unsigned top) {
  const std::string* steps[kWholeSteps];
  std::string path;
  const auto append = [&](const Link* from, unsigned count) {
    for (unsigned i = 0; i < count; ++i, from = from->parent) steps[i] = &from->step;
    for (unsigned i = count; i > 0; --i) path += *steps[i - 1];
  };
  const unsigned count = last.depth - top;
  if (count <= kWholeSteps) {
    append(&last, count);
    return path;
  }
  const Link* head = top == 0 ? last.head : &last;
  while (head->depth > top + kEndSteps) head = head->parent;
  append(head, kEndSteps);
  path += "/...";
  append(&last, kEndSteps);
  return path;
}

std::string ElementPaths::Of(const DOMNode* node) {
  if (node == nullptr || node->getNodeType() != DOMNode::ELEMENT_NODE) return std::string();
  return Join(LinkOf(static_cast<const DOMElement&>(*node)), 0);
}

std::string ElementPaths::Joined(const std::string& path, const std::string& rest) {
  std::string whole = path + rest;
  // Element names hold no '/'.
  std::vector<std::size_t> starts;
  for (std::size_t at = whole.find('/'); at != std::string::npos; at = whole.find('/', at + 1)) {
    starts.push_back(at);
  }
  if (starts.size() <= kWholeSteps) return whole;
  return whole.substr(0, starts[kEndSteps]) + "/..." +
         whole.substr(starts[starts.size() - kEndSteps]);
}

std::string ElementPaths::Below(const DOMElement& elmt, const DOMElement& unit) {
  const Link& link = LinkOf(elmt);
  const Link& top = LinkOf(unit);
  // A reading step meets elements a level or two below its unit, so this walk
  // stays short.
  const Link* up = &link;
  while (up != nullptr && up->depth > top.depth) up = up->parent;
  if (up != &top || &link == &top) return Join(link, 0);
  return Join(link, top.depth).substr(1);
}

}  // namespace MCXML_1_3
