// One lock around the library's platform initialisations and terminations.
#include "mcxml/xml/platform_internal.h"

#include <mutex>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

// Constant-initialised and never destroyed: a parser object with static storage
// elsewhere may still be destroyed after this unit's statics are.
union PlatformLock {
  constexpr PlatformLock() : mutex() {}
  ~PlatformLock() {}
  std::mutex mutex;
};

PlatformLock gPlatformLock;

}  // namespace

void InitializePlatform() {
  const std::lock_guard<std::mutex> lock(gPlatformLock.mutex);
  xc::XMLPlatformUtils::Initialize(xc::XMLUni::fgXercescDefaultLocale, nullptr, nullptr, nullptr);
}

void TerminatePlatform() {
  const std::lock_guard<std::mutex> lock(gPlatformLock.mutex);
  xc::XMLPlatformUtils::Terminate();
}

}  // namespace MCXML_1_3
