// Secure processing: an entity resolver that reads nothing and a security manager
// that bounds entity expansion.
#include "mcxml/xml/secure_parser_internal.h"

#include <memory>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLResourceIdentifier.hpp>

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

const XMLByte kNoBytes[1] = {0};
constexpr XMLCh kUnnamed[] = u"unnamed";

}  // namespace

xc::InputSource* EmptyEntityResolver::resolveEntity(xc::XMLResourceIdentifier* resource) {
  // The parser adopts the returned source; an empty one makes the entity expand to
  // nothing instead of failing the parse.
  const XMLCh* id = resource != nullptr ? resource->getSystemId() : nullptr;
  auto empty = std::make_unique<xc::MemBufInputSource>(
      kNoBytes, 0, id != nullptr ? id : kUnnamed, false, xc::XMLPlatformUtils::fgMemoryManager);
  return empty.release();
}

SecurityHolder::SecurityHolder() {
  m_manager.setEntityExpansionLimit(kEntityExpansionLimit);
}

void ApplySecureProcessing(xc::XercesDOMParser& parser, SecurityHolder& holder) {
  parser.setLoadExternalDTD(false);
  parser.setDisableDefaultEntityResolution(true);
  parser.setXMLEntityResolver(&holder.m_resolver);
  parser.setSecurityManager(&holder.m_manager);
}

void RemoveSecureProcessing(xc::XercesDOMParser& parser) {
  parser.setLoadExternalDTD(true);
  parser.setDisableDefaultEntityResolution(false);
  parser.setXMLEntityResolver(nullptr);
  parser.setSecurityManager(nullptr);
}

}  // namespace MCXML_1_3
