// Secure processing of an XML parser: nothing outside the document is read (no
// external entity or DTD, from files or the network), and entity expansion stops
// past a fixed limit. Shared by the parsers of the library.
#ifndef MCXML_XML_SECURE_PARSER_INTERNAL_H
#define MCXML_XML_SECURE_PARSER_INTERNAL_H

#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>

namespace MCXML_1_3 {

/// Entity expansions a secured parse allows; past it the parse stops with a fatal
/// error (counted, not thrown). Documents of this library use no entities of their
/// own, and the predefined ones (&amp; and the like) are not counted.
inline constexpr XMLSize_t kEntityExpansionLimit = 10000;

/// Answers every request for an external entity, DTD or grammar with an empty
/// input, so the parser never opens a file or a connection.
class EmptyEntityResolver final : public XERCES_CPP_NAMESPACE::XMLEntityResolver {
 public:
  EmptyEntityResolver() = default;
  XERCES_CPP_NAMESPACE::InputSource* resolveEntity(
      XERCES_CPP_NAMESPACE::XMLResourceIdentifier* resource) override;
};

/// The objects a secured parser points to. It must outlive every parse of that
/// parser (declare it before the parser, or make it a base constructed first).
class SecurityHolder {
 public:
  SecurityHolder();
  SecurityHolder(const SecurityHolder&) = delete;
  SecurityHolder& operator=(const SecurityHolder&) = delete;

 private:
  friend void ApplySecureProcessing(XERCES_CPP_NAMESPACE::XercesDOMParser& parser,
                                    SecurityHolder& holder);

  XERCES_CPP_NAMESPACE::SecurityManager m_manager;
  EmptyEntityResolver m_resolver;
};

/// Switches `parser` to secure processing; `holder` is what it then points to.
void ApplySecureProcessing(XERCES_CPP_NAMESPACE::XercesDOMParser& parser, SecurityHolder& holder);

/// Puts back the parser's defaults for every option ApplySecureProcessing sets, for
/// a parser that is kept across parses while secure processing is switched off.
void RemoveSecureProcessing(XERCES_CPP_NAMESPACE::XercesDOMParser& parser);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_SECURE_PARSER_INTERNAL_H
