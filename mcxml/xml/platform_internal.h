// The library's share of the XML platform. Every parser object holds one
// initialisation of it; the platform counts them without any guard of its own,
// so the library takes and gives them back under one process-wide lock.
#ifndef MCXML_XML_PLATFORM_INTERNAL_H
#define MCXML_XML_PLATFORM_INTERNAL_H

namespace MCXML_1_3 {

/// XMLPlatformUtils::Initialize with the default locale and no NLS home, panic
/// handler or memory manager, under the lock. Its exceptions pass to the caller.
void InitializePlatform();

/// XMLPlatformUtils::Terminate under the lock; one call per successful
/// InitializePlatform.
void TerminatePlatform();

/// Gives back what the platform hands out to be released rather than deleted
/// (serializers, outputs, nodes), for std::unique_ptr.
struct Releaser {
  template <class T>
  void operator()(T* resource) const noexcept {
    if (resource != nullptr) resource->release();
  }
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_PLATFORM_INTERNAL_H
