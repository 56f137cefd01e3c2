// Pieces of the DOM access functions that lookups elsewhere in the library build
// on: an attribute's value as GetAttribute reads it, names that the document
// pools, compared by address once one equal to them has been seen, and reads of
// several attributes or children of an element in one pass.
#ifndef MCXML_XML_DOM_ACCESS_INTERNAL_H
#define MCXML_XML_DOM_ACCESS_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/util/XMLString.hpp>

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::DOMElement;
using XERCES_CPP_NAMESPACE::DOMNode;

/// The value of `attr` as GetAttribute gives it: null when `attr` is null or its
/// value is empty. Owned by the document.
const XMLCh* AttributeValue(const XERCES_CPP_NAMESPACE::DOMAttr* attr);

/// Matches the names of nodes against one name. The document keeps one copy of
/// each element and attribute name, so after a first match by content the same
/// address matches at once; any other address is still compared unit by unit, so
/// the answer is always that of a comparison of the texts. Use one object with
/// one document only: a freed name's address may come back with other text.
class PooledName {
 public:
  /// `name` (zero-terminated, not null) must outlive this object.
  explicit PooledName(const XMLCh* name) : m_name(name), m_seen(name) {}
  /// True when `name` is the copy of the name that matched last.
  bool Seen(const XMLCh* name) const { return name == m_seen; }
  /// True when `name` (not null) has the same text.
  bool Matches(const XMLCh* name) {
    if (name == m_seen) return true;
    if (!XERCES_CPP_NAMESPACE::XMLString::equals(name, m_name)) return false;
    m_seen = name;
    return true;
  }

 private:
  const XMLCh* m_name;
  const XMLCh* m_seen;
};

/// True when `text` (null counts as empty) is the text `constant` (not null), as
/// XStrEqualsUTF8Str finds it equal to the same text in UTF-8.
inline bool TextIs(const XMLCh* text, const XMLCh* constant) {
  return XERCES_CPP_NAMESPACE::XMLString::equals(text != nullptr ? text : u"", constant);
}

/// Reads the attributes `names` of `elmt` in one pass over its attributes, where
/// GetAttribute makes one per name: `values[i]` is what GetAttribute gives for
/// `names[i]`, the value of the first attribute so named, or null when there is
/// none or its value is empty. At most 32 names.
void ReadAttributes(const DOMElement& elmt, PooledName* names, const XMLCh** values,
                    std::size_t count);
template <std::size_t N>
void ReadAttributes(const DOMElement& elmt, PooledName (&names)[N], const XMLCh* (&values)[N]) {
  static_assert(N <= 32, "one bit per name");
  ReadAttributes(elmt, names, values, N);
}

/// The next following sibling element of `node` whose tag is `tag`, as the public
/// GetNextSiblingElmt finds it for the same name: the overload for walks that meet
/// one tag many times, each time after the first at the cost of comparing addresses.
inline const DOMElement* GetNextSiblingElmt(const DOMNode& node, PooledName& tag) {
  for (const DOMNode* next = node.getNextSibling(); next != nullptr;
       next = next->getNextSibling()) {
    if (next->getNodeType() == DOMNode::ELEMENT_NODE && tag.Matches(next->getNodeName())) {
      return static_cast<const DOMElement*>(next);
    }
  }
  return nullptr;
}
/// The first child element of `parent` whose tag is `tag`, likewise.
inline const DOMElement* GetFirstChildElmt(const DOMNode& parent, PooledName& tag) {
  const DOMNode* child = parent.getFirstChild();
  if (child == nullptr) return nullptr;
  if (child->getNodeType() == DOMNode::ELEMENT_NODE && tag.Matches(child->getNodeName())) {
    return static_cast<const DOMElement*>(child);
  }
  return GetNextSiblingElmt(*child, tag);
}

/// The first child element of `parent` of each of the tags `tags`, found in one
/// pass over the children: `found[i]` is what GetFirstChildElmt gives for
/// `tags[i]`. At most 32 tags.
void GetFirstChildElmt(const DOMNode& parent, PooledName* tags, const DOMElement** found,
                       std::size_t count);
template <std::size_t N>
void GetFirstChildElmt(const DOMNode& parent, PooledName (&tags)[N],
                       const DOMElement* (&found)[N]) {
  static_assert(N <= 32, "one bit per tag");
  GetFirstChildElmt(parent, tags, found, N);
}

/// A UTF-8 name in UTF-16, equal to what ToUTF16 gives; a short ASCII name needs
/// no heap, so that lookups by name cost no allocation.
class Utf16Name {
 public:
  /// `utf8` must not be null.
  explicit Utf16Name(const char* utf8);
  Utf16Name(const Utf16Name&) = delete;
  Utf16Name& operator=(const Utf16Name&) = delete;

  const XMLCh* get() const { return m_data; }

 private:
  static constexpr std::size_t kInline = 64;
  XMLCh m_inline[kInline];
  std::vector<XMLCh> m_converted;
  const XMLCh* m_data;
};

/// Asks the processor ahead of time for the memory that follows the nodes a walk
/// in document order stands on. The document allocates its nodes, attributes and
/// texts one after another from large blocks, so what such a walk meets next lies
/// just past what it reads now; without the hint it waits for each node in turn.
/// Only a hint: nothing is read, and a wrong guess costs memory bandwidth only.
class ReadAhead {
 public:
  /// The walk has come to `node`.
  void At(const void* node) {
    const std::uintptr_t until = (reinterpret_cast<std::uintptr_t>(node) & ~kMask) + kDistance;
    if (until != m_next) Advance(until);
  }

 private:
  /// How far ahead memory is asked for: a page, which a walk of parsed elements
  /// crosses in about the time one request takes.
  static constexpr std::uintptr_t kDistance = 4096;
  static constexpr std::uintptr_t kMask = 63;  // a cache line

  void Advance(std::uintptr_t until);

  /// Everything below it has been asked for.
  std::uintptr_t m_next = 0;
};

/// For a walk that steps from sibling to sibling one call at a time: asks ahead
/// of time for the memory of the sibling after `current`, guessing that it spans
/// as much as `current` did from `previous`, its sibling before.
void PrefetchNextLike(const DOMNode* previous, const DOMNode* current);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_DOM_ACCESS_INTERNAL_H
