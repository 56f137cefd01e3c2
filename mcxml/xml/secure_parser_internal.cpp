// Secure processing: no default entity resolution, no external DTD, and a
// security manager that bounds entity expansion.
#include "mcxml/xml/secure_parser_internal.h"

namespace MCXML_1_3 {

namespace xc = XERCES_CPP_NAMESPACE;

SecurityHolder::SecurityHolder() {
  m_manager.setEntityExpansionLimit(kEntityExpansionLimit);
}

void ApplySecureProcessing(xc::XercesDOMParser& parser, SecurityHolder& holder) {
  parser.setLoadExternalDTD(false);
  // Without an entity resolver of ours this leaves nothing that opens a file or a URL.
  parser.setDisableDefaultEntityResolution(true);
  parser.setSecurityManager(&holder.m_manager);
}

void RemoveSecureProcessing(xc::XercesDOMParser& parser) {
  parser.setLoadExternalDTD(true);
  parser.setDisableDefaultEntityResolution(false);
  parser.setSecurityManager(nullptr);
}

}  // namespace MCXML_1_3
