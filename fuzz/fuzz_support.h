// Shared by the fuzz targets: one platform initialisation for the whole run (so
// each parser object's own initialisation is cheap), the input as a stream, and
// a check that stops the run when a documented guarantee does not hold.
#ifndef MCXML_FUZZ_FUZZ_SUPPORT_H
#define MCXML_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <xercesc/util/PlatformUtils.hpp>

// The hostile tests link the targets under names of their own.
#ifndef MCXML_FUZZ_ENTRY
#define MCXML_FUZZ_ENTRY LLVMFuzzerTestOneInput
#endif

namespace mcxml_fuzz {

inline void KeepPlatform() {
  static const bool initialised = [] {
    xercesc::XMLPlatformUtils::Initialize();
    return true;
  }();
  static_cast<void>(initialised);
}

inline std::string AsText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A broken guarantee is a finding like a crash: report it and abort.
#define MCXML_FUZZ_CHECK(condition)                                                      \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

}  // namespace mcxml_fuzz

#endif  // MCXML_FUZZ_FUZZ_SUPPORT_H
