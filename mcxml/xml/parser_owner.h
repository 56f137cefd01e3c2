// The owner of an XML parser, as both of the library's parser classes hold one.
#ifndef MCXML_XML_PARSER_OWNER_H
#define MCXML_XML_PARSER_OWNER_H

#include <memory>

#include <xercesc/util/XercesDefs.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class XercesDOMParser;
XERCES_CPP_NAMESPACE_END

namespace MCXML_1_3 {

/// Deletes an XML parser through the platform's memory operators, with which
/// the library allocates every parser. Called inside the library only.
struct MCParserDeleter {
  /// Deletes `parser`.
  void operator()(XERCES_CPP_NAMESPACE::XercesDOMParser* parser) const noexcept;
};

/// What MCPMMLParser and MCXMLReadWrite keep their XML parser in.
using MCParserOwner = std::unique_ptr<XERCES_CPP_NAMESPACE::XercesDOMParser, MCParserDeleter>;

}  // namespace MCXML_1_3

#endif  // MCXML_XML_PARSER_OWNER_H
