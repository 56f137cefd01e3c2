// The XML parser behind every parse of the library: a XercesDOMParser with the
// platform's defaults that, on request, processes documents securely and records
// where each element starts, and that always keeps the first error it reports.
#ifndef MCXML_XML_DOCUMENT_PARSER_INTERNAL_H
#define MCXML_XML_DOCUMENT_PARSER_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/framework/MemoryManager.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>

#include "mcxml/common/diagnostics.h"

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::DOMElement;
using XERCES_CPP_NAMESPACE::DOMNode;

/// Attributes one element may carry in a secured parse. The DOM files each one
/// with a scan of those already there, so the cost grows with the square of the
/// count: a million attributes on one element would take hours.
inline constexpr XMLSize_t kMaxAttributesPerElement = 256;

/// Distinct element and attribute names a secured document may use. The DOM
/// pools names in a table of fixed size, so the cost grows with the square of the
/// number of distinct names (200,000 took 15 s); PMML and settings documents use a
/// few hundred.
inline constexpr std::size_t kMaxDistinctNames = 10000;

/// Bytes of memory a secured parse may hold, above all the DOM it builds (the
/// document keeps its nodes and texts in blocks it asks this parser's memory for).
/// A flat run of empty elements costs about 53 bytes of DOM per byte of input, so
/// without a bound a document of 40 MB would need 2 GB; PMML documents cost 15 to
/// 18, and a lean reading builds only a small part of a large one.
inline constexpr std::size_t kMaxSecuredBytes = std::size_t{160} << 20;
/// What the scanner may take from one event to the next (it reads a start tag
/// whole, every attribute and value, before the DOM sees any of it).
inline constexpr std::size_t kMaxSecuredStepBytes = std::size_t{64} << 20;

/// The platform's memory, counted: what is held now, in bytes asked for.
class CountedMemory : public XERCES_CPP_NAMESPACE::MemoryManager {
 public:
  void* allocate(XMLSize_t size) override;
  void deallocate(void* p) override;
  XERCES_CPP_NAMESPACE::MemoryManager* getExceptionMemoryManager() override;
  std::size_t Held() const { return m_held; }

 protected:
  /// An allocation that would hold more than `limit` calls OverLimit first.
  void SetLimit(std::size_t limit) { m_limit = limit; }
  /// Given what would be held; may throw, to end what asked, or else the
  /// allocation goes ahead.
  virtual void OverLimit(std::size_t wouldHold) = 0;

 private:
  std::size_t m_held = 0;
  std::size_t m_limit = SIZE_MAX;
};

/// A set of the DOM's pooled name strings, which are unique per document, so that
/// identity is equality. Small and flat: nearly every lookup hits a name seen just
/// before.
class PooledNameSet {
 public:
  /// Adds `name`; the number of distinct names afterwards.
  std::size_t Insert(const XMLCh* name);
  std::size_t Size() const { return m_size; }
  void Clear();

 private:
  void Grow();

  std::vector<const XMLCh*> m_slots;
  std::size_t m_size = 0;
};

/// Element places in the order the parser made the elements.
class ElementPlaces {
 public:
  void Add(const DOMElement* elmt, const MCPlace& place) { m_places.emplace_back(elmt, place); }
  /// Where `elmt` starts; unknown for an element that was not recorded.
  MCPlace Find(const DOMElement& elmt) const;
  void Clear();

 private:
  mutable std::vector<std::pair<const DOMElement*, MCPlace>> m_places;
  mutable bool m_sorted = true;
};

/// What a lean parse builds: the root and each of its children with their
/// attributes always; below a child of the root that `isModel` takes for a model,
/// only the children that `keptOfModel` takes, each with all it holds; below any
/// other child of the root, everything. Both are asked about tags as the document
/// spells them.
struct LeanRule {
  bool (*isModel)(const XMLCh* tag);
  bool (*keptOfModel)(const XMLCh* tag);
};

/// The elements open inside a part of a model that a lean parse leaves out, each
/// numbered among the same-named children of its parent as far as the parse has
/// come, so that an error found there has the path the whole document gives it
/// (an error ends the parse, so no later sibling can change the numbers).
class SkippedSteps {
 public:
  /// A model element starts: nothing below it is open or counted yet.
  void Restart();
  /// An element `name` (owned by the parser) starts below the innermost open one
  /// (the model when none is); it stays open unless `isEmpty`.
  void Start(const XMLCh* name, bool isEmpty);
  /// The innermost open element ends.
  void End() { --m_open; }
  /// The open elements as the rest of a path below the model: "/Node/Node[2]".
  std::string Path() const;

 private:
  struct Level {
    const XMLCh* name = nullptr;
    unsigned ordinal = 0;
    std::vector<std::pair<const XMLCh*, unsigned>> children;
  };
  // [0] is the model; [1] to [m_open] the elements open below it.
  std::vector<Level> m_levels;
  std::size_t m_open = 0;
};

/// Whether the next byte of `in` is the first of a UTF-8 byte order mark (no XML
/// document starts otherwise with that byte); consumes nothing.
bool StartsWithUtf8Mark(std::istream& in);

// The memory comes first, so that it is there before the parser asks for any and
// until the parser and its documents have given all of it back.
class DocumentParser : private CountedMemory, public XERCES_CPP_NAMESPACE::XercesDOMParser {
 public:
  /// No validator, the platform's memory (counted), no grammar pool: the platform's
  /// own parser until Configure asks for more.
  DocumentParser();

  /// Sets up the next parse. Secured, nothing outside the document is read and a
  /// document type declaration, more than kMaxAttributesPerElement attributes on an
  /// element, more than kMaxDistinctNames names or more than kMaxSecuredBytes of
  /// memory held end the parse with a counted error; with `places`, the start of every element is
  /// recorded. `utf8Mark` tells a secured parse that the input starts with a UTF-8 byte order mark,
  /// which the parser does not say (see StartsWithUtf8Mark): a declaration of another encoding is
  /// then a counted error. With `lean`, only what it keeps is built; everything else is read and
  /// checked as before (errors, limits) and dropped. Throws the platform's IOException while a
  /// parse of this parser is in progress.
  void Configure(bool secure, bool places, bool utf8Mark, const LeanRule* lean = nullptr);
  /// Releases the documents of earlier parses, which the parser otherwise keeps
  /// until it is destroyed; does nothing while a parse is in progress. Before
  /// Configure, whose budget counts what the next parse adds.
  void ReleaseDocuments();
  /// Whether a parse of this parser is running (its stream may call back into us).
  bool ParseInProgress() const { return getParseInProgress(); }

  /// The document of the last parse, also when the library's outline check refused
  /// it; null when the parse made none.
  const XERCES_CPP_NAMESPACE::DOMDocument* Document() const {
    // getDocument only reads, but is not const.
    return const_cast<DocumentParser*>(this)->getDocument();
  }
  /// The first error (not warning) reported during the last parse.
  const std::optional<MCXMLError>& FirstError() const { return m_firstError; }
  /// The element that was open when the first error was reported, if any; in a lean
  /// parse the nearest one built.
  const DOMNode* FirstErrorNode() const { return m_firstErrorNode; }
  /// The rest of the path from FirstErrorNode to the element that was open, when
  /// that one was left out by a lean parse; empty otherwise.
  const std::string& FirstErrorTail() const { return m_firstErrorTail; }
  /// Where `elmt` starts, when places were recorded in the last parse.
  MCPlace PlaceOf(const DOMElement& elmt) const { return m_places.Find(elmt); }

  // Only records: the parse ends at the first fatal error whether or not anyone
  // listens, as it does with no listener at all.
  void error(const unsigned int errCode, const XMLCh* const msgDomain,
             const XERCES_CPP_NAMESPACE::XMLErrorReporter::ErrTypes errType,
             const XMLCh* const errorText, const XMLCh* const systemId, const XMLCh* const publicId,
             const XMLFileLoc lineNum, const XMLFileLoc colNum) override;
  void resetErrors() override;

  void XMLDecl(const XMLCh* const version, const XMLCh* const encoding,
               const XMLCh* const standalone, const XMLCh* const actualEncoding) override;
  void doctypeDecl(const XERCES_CPP_NAMESPACE::DTDElementDecl& elemDecl,
                   const XMLCh* const publicId, const XMLCh* const systemId,
                   const bool hasIntSubset, const bool hasExtSubset) override;
  void startElement(
      const XERCES_CPP_NAMESPACE::XMLElementDecl& elemDecl, const unsigned int urlId,
      const XMLCh* const elemPrefix,
      const XERCES_CPP_NAMESPACE::RefVectorOf<XERCES_CPP_NAMESPACE::XMLAttr>& attrList,
      const XMLSize_t attrCount, const bool isEmpty, const bool isRoot) override;
  void endElement(const XERCES_CPP_NAMESPACE::XMLElementDecl& elemDecl, const unsigned int urlId,
                  const bool isRoot, const XMLCh* const elemPrefix) override;
  void docCharacters(const XMLCh* const chars, const XMLSize_t length,
                     const bool cdataSection) override;
  void ignorableWhitespace(const XMLCh* const chars, const XMLSize_t length,
                           const bool cdataSection) override;
  void docComment(const XMLCh* const comment) override;
  void docPI(const XMLCh* const target, const XMLCh* const data) override;
  void startEntityReference(const XERCES_CPP_NAMESPACE::XMLEntityDecl& entDecl) override;
  void endEntityReference(const XERCES_CPP_NAMESPACE::XMLEntityDecl& entDecl) override;

 protected:
  DOMElement* createElement(const XMLCh* name) override;
  XERCES_CPP_NAMESPACE::DOMAttr* createAttr(const XMLCh* name) override;

 private:
  // A parse that neither records places, processes securely nor reads lean goes
  // from each callback above straight on to the base, as a jump; the work of
  // listening lives in functions of its own, kept out of line so that those jumps
  // stay jumps, and costs such a parse nothing.
  [[gnu::noinline]] void StartWatchedElement(
      const XERCES_CPP_NAMESPACE::XMLElementDecl& elemDecl, const unsigned int urlId,
      const XMLCh* const elemPrefix,
      const XERCES_CPP_NAMESPACE::RefVectorOf<XERCES_CPP_NAMESPACE::XMLAttr>& attrList,
      const XMLSize_t attrCount, const bool isEmpty, const bool isRoot);
  // Whether the element starting now is left out by the lean rule; follows the
  // depth either way.
  [[gnu::noinline]] bool SkipsElement(const XMLCh* name, bool isEmpty);
  // Counts the names of an element left out, as the DOM would have pooled them.
  [[gnu::noinline]] void CountSkippedNames(
      const XERCES_CPP_NAMESPACE::XMLElementDecl& elemDecl,
      const XERCES_CPP_NAMESPACE::RefVectorOf<XERCES_CPP_NAMESPACE::XMLAttr>& attrList,
      const XMLSize_t attrCount);
  [[gnu::noinline]] void EndSkippedElement();
  [[gnu::noinline]] DOMElement* CreateCountedElement(const XMLCh* name);
  [[gnu::noinline]] XERCES_CPP_NAMESPACE::DOMAttr* CreateCountedAttr(const XMLCh* name);
  // Where the scanner stands now; an element starts where the event before its
  // start tag left the scanner.
  [[gnu::noinline]] void Mark();
  // Ends the parse with a fatal error of our own text, counted and reported like
  // the parser's own.
  void Refuse(const std::u16string& text);
  void RefuseNames();
  // Ends a secured parse that holds more than kMaxSecuredBytes; true when it did.
  bool OverBudget();
  // Ends the parse from inside the allocation that would pass the budget and its
  // slack: the scanner ends on the error as it does on its own fatal ones.
  void OverLimit(std::size_t wouldHold) override;
  // Once per parse, then no limit: what the parse asks for to end is given.
  void RefuseMemory(bool oneStep);
  // Where the next allocation may go, from what is held now.
  void SetLimits();
  // After a node of content is built: the budget, the place.
  [[gnu::noinline]] void AfterContent();

  bool m_secured = false;
  bool m_recordPlaces = false;
  // Any of the three: secured, places or lean.
  bool m_watching = false;
  const LeanRule* m_lean = nullptr;
  // Elements open in a lean parse; while m_skipFrom is not 0, the depth of the
  // element being left out with all it holds.
  unsigned long m_depth = 0;
  unsigned long m_skipFrom = 0;
  // The open child of the root is a model, whose children the rule picks.
  bool m_inModel = false;
  SkippedSteps m_skipped;
  std::size_t m_heldBefore = 0;
  bool m_utf8Mark = false;
  PooledNameSet m_names;
  MCPlace m_mark;
  ElementPlaces m_places;
  std::optional<MCXMLError> m_firstError;
  const DOMNode* m_firstErrorNode = nullptr;
  std::string m_firstErrorTail;
};

/// The first error of `parser`, a DocumentParser or null (no parse yet, or none
/// kept after a failed one).
std::optional<MCXMLError> FirstErrorOf(const XERCES_CPP_NAMESPACE::XercesDOMParser* parser);
/// Where `elmt` starts by `parser`'s record, a DocumentParser or null.
MCPlace PlaceIn(const XERCES_CPP_NAMESPACE::XercesDOMParser* parser, const DOMElement& elmt);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_DOCUMENT_PARSER_INTERNAL_H
