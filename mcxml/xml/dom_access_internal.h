// Pieces of the DOM access functions that lookups elsewhere in the library build
// on: an attribute's value as GetAttribute reads it, and names that the document
// pools, compared by address once one equal to them has been seen.
#ifndef MCXML_XML_DOM_ACCESS_INTERNAL_H
#define MCXML_XML_DOM_ACCESS_INTERNAL_H

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/util/XMLString.hpp>

namespace MCXML_1_3 {

/// The value of `attr` as GetAttribute gives it: null when `attr` is null or its
/// value is empty. Owned by the document.
const XMLCh* AttributeValue(const XERCES_CPP_NAMESPACE::DOMAttr* attr);

/// Matches the names of nodes against one name. The document keeps one copy of
/// each element and attribute name, so after a first match by content the same
/// address matches at once; any other address is still compared unit by unit, so
/// the answer is always that of a comparison of the texts.
class PooledName {
 public:
  /// `name` (zero-terminated, not null) must outlive this object.
  explicit PooledName(const XMLCh* name) : m_name(name), m_seen(name) {}
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

}  // namespace MCXML_1_3

#endif  // MCXML_XML_DOM_ACCESS_INTERNAL_H
