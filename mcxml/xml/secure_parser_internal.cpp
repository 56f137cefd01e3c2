// Secure processing: no default entity resolution, no external DTD, a security
// manager and a cap on entity values that bound entity expansion, and no DOM
// exception out of the prolog.
#include "mcxml/xml/secure_parser_internal.h"

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/framework/XMLErrorCodes.hpp>
#include <xercesc/internal/XMLScanner.hpp>
#include <xercesc/util/PlatformUtils.hpp>

namespace MCXML_1_3 {

namespace xc = XERCES_CPP_NAMESPACE;

SecurityHolder::SecurityHolder() {
  m_manager.setEntityExpansionLimit(kEntityExpansionLimit);
}

SecurableDOMParser::SecurableDOMParser()
    : xc::XercesDOMParser(nullptr, xc::XMLPlatformUtils::fgMemoryManager, nullptr) {}

void SecurableDOMParser::ApplySecureProcessing(SecurityHolder& holder) {
  setLoadExternalDTD(false);
  // Without an entity resolver of ours this leaves nothing that opens a file or a URL.
  setDisableDefaultEntityResolution(true);
  setSecurityManager(&holder.m_manager);
  m_secured = true;
}

void SecurableDOMParser::RemoveSecureProcessing() {
  setLoadExternalDTD(true);
  setDisableDefaultEntityResolution(false);
  setSecurityManager(nullptr);
  m_secured = false;
}

void SecurableDOMParser::XMLDecl(const XMLCh* const version, const XMLCh* const encoding,
                                 const XMLCh* const standalone, const XMLCh* const actualEncoding) {
  if (!m_secured) {
    xc::XercesDOMParser::XMLDecl(version, encoding, standalone, actualEncoding);
    return;
  }
  try {
    xc::XercesDOMParser::XMLDecl(version, encoding, standalone, actualEncoding);
  } catch (const xc::DOMException&) {
    // A fatal error: the scanner counts it and ends the parse, which it catches.
    getScanner()->emitError(xc::XMLErrs::UnsupportedXMLVersion, version);
  }
}

void SecurableDOMParser::entityDecl(const xc::DTDEntityDecl& entity, const bool isPEDecl,
                                    const bool isIgnored) {
  // External entities have no value here, and are never read when secured.
  if (m_secured && entity.getValue() != nullptr && entity.getValueLen() > kEntityValueLimit) {
    getScanner()->emitError(xc::XMLErrs::EntityExpansionLimitExceeded);
  }
  xc::XercesDOMParser::entityDecl(entity, isPEDecl, isIgnored);
}

void SecurableDOMParser::ReleaseDocuments() {
  if (!getParseInProgress()) resetDocumentPool();
}

}  // namespace MCXML_1_3
