// Secure processing of an XML parser: nothing outside the document is read (no
// external entity or DTD, from files or the network), and entity expansion stops
// past a fixed limit. Shared by the parsers of the library.
#ifndef MCXML_XML_SECURE_PARSER_INTERNAL_H
#define MCXML_XML_SECURE_PARSER_INTERNAL_H

#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/SecurityManager.hpp>

namespace MCXML_1_3 {

/// Entity expansions a secured parse allows; past it the parse stops with a fatal
/// error (counted, not thrown). PMML and settings documents define few entities or
/// none, and the predefined ones (&amp; and the like) are not counted.
inline constexpr XMLSize_t kEntityExpansionLimit = 10000;

/// What a secured parser points to. It must outlive every parse of that parser
/// (declare it before the parser, or make it a base constructed first).
class SecurityHolder {
 public:
  SecurityHolder();
  SecurityHolder(const SecurityHolder&) = delete;
  SecurityHolder& operator=(const SecurityHolder&) = delete;

 private:
  friend void ApplySecureProcessing(XERCES_CPP_NAMESPACE::XercesDOMParser& parser,
                                    SecurityHolder& holder);

  XERCES_CPP_NAMESPACE::SecurityManager m_manager;
};

/// Switches `parser` to secure processing; `holder` is what it then points to. An
/// external entity or DTD is then neither opened nor fetched: the parse goes on
/// without it and counts an error where the document needed it.
void ApplySecureProcessing(XERCES_CPP_NAMESPACE::XercesDOMParser& parser, SecurityHolder& holder);

/// Puts back the parser's defaults for every option ApplySecureProcessing sets, for
/// a parser that is kept across parses while secure processing is switched off.
void RemoveSecureProcessing(XERCES_CPP_NAMESPACE::XercesDOMParser& parser);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_SECURE_PARSER_INTERNAL_H
