// Secure processing of an XML parser: nothing outside the document is read (no
// external entity or DTD, from files or the network), and entity expansion stops
// past fixed limits. Shared by the parsers of the library.
#ifndef MCXML_XML_SECURE_PARSER_INTERNAL_H
#define MCXML_XML_SECURE_PARSER_INTERNAL_H

#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/validators/DTD/DTDEntityDecl.hpp>

namespace MCXML_1_3 {

/// Entity expansions a secured parse allows; past it the parse stops with a fatal
/// error (counted, not thrown). PMML and settings documents define few entities or
/// none, and the predefined ones (&amp; and the like) are not counted.
inline constexpr XMLSize_t kEntityExpansionLimit = 10000;

/// Characters in the value of an entity a secured document may declare; a longer
/// one ends the parse the same way. Each expansion adds at most one entity's value
/// (references inside it count as expansions of their own), so expanded text stays
/// below kEntityExpansionLimit x kEntityValueLimit characters, in content and in
/// attribute values alike. The count limit alone lets one large entity be repeated
/// thousands of times: a document of 80 KB grew past 3.5 GB.
inline constexpr XMLSize_t kEntityValueLimit = 1000;

/// What a secured parser points to. It must outlive every parse of that parser
/// (declare it before the parser, or make it a base constructed first).
class SecurityHolder {
 public:
  SecurityHolder();
  SecurityHolder(const SecurityHolder&) = delete;
  SecurityHolder& operator=(const SecurityHolder&) = delete;

 private:
  friend class SecurableDOMParser;

  XERCES_CPP_NAMESPACE::SecurityManager m_manager;
};

/// A XercesDOMParser made with no validator, the platform's memory manager and no
/// grammar pool, which behaves exactly as one until secure processing is applied.
class SecurableDOMParser : public XERCES_CPP_NAMESPACE::XercesDOMParser {
 public:
  SecurableDOMParser();

  /// Switches to secure processing; `holder` is what the parser then points to.
  /// An external entity or DTD is neither opened nor fetched: the DTD is skipped,
  /// and a reference to an external entity ends the parse with a counted error.
  void ApplySecureProcessing(SecurityHolder& holder);
  /// Puts back the defaults of every option ApplySecureProcessing sets, for a
  /// parser that is kept across parses while secure processing is switched off.
  void RemoveSecureProcessing();
  /// Releases the documents of earlier parses, which the parser otherwise keeps
  /// until it is destroyed; does nothing while a parse is in progress.
  void ReleaseDocuments();

  /// Secured, a declaration naming an XML version that the DOM refuses (such as
  /// "1.5", which the scanner accepts) ends the parse with a counted error, as an
  /// unsupported version does, instead of throwing a DOMException out of parse().
  void XMLDecl(const XMLCh* const version, const XMLCh* const encoding,
               const XMLCh* const standalone, const XMLCh* const actualEncoding) override;

  /// Secured, an entity whose value is longer than kEntityValueLimit ends the
  /// parse with a counted error.
  void entityDecl(const XERCES_CPP_NAMESPACE::DTDEntityDecl& entity, const bool isPEDecl,
                  const bool isIgnored) override;

 private:
  bool m_secured = false;
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_SECURE_PARSER_INTERNAL_H
