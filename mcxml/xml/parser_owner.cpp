#include "mcxml/xml/parser_owner.h"

#include <xercesc/parsers/XercesDOMParser.hpp>

namespace MCXML_1_3 {

void MCParserDeleter::operator()(XERCES_CPP_NAMESPACE::XercesDOMParser* parser) const noexcept {
  // The parser's own operator delete gives the memory back to the manager it came from.
  delete parser;
}

}  // namespace MCXML_1_3
