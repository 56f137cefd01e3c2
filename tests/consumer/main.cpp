// Uses the installed library the way a caller does: initialise the XML platform,
// convert a DOM string, and check the result. Including the one header that
// includes every other proves them all installed; the version they give must be
// the one the build was configured with (MCXML_EXPECTED_VERSION).
#include <iostream>
#include <string>

#include <xercesc/util/PlatformUtils.hpp>

#include "mcxml/mcxml.h"

namespace {

constexpr bool SameText(const char* a, const char* b) {
  for (; *a != '\0' && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

#define CONSUMER_TEXT(x) #x
#define CONSUMER_NUMBER(x) CONSUMER_TEXT(x)
constexpr const char* kVersionFromNumbers =
    CONSUMER_NUMBER(MCXML_VERSION_MAJOR) "." CONSUMER_NUMBER(
        MCXML_VERSION_MINOR) "." CONSUMER_NUMBER(MCXML_VERSION_PATCH);

static_assert(SameText(MCXML_VERSION_STRING, MCXML_EXPECTED_VERSION),
              "the installed version header is not the configured version");
static_assert(SameText(kVersionFromNumbers, MCXML_VERSION_STRING),
              "the version numbers do not make the version text");

}  // namespace

int main() {
  xercesc::XMLPlatformUtils::Initialize();
  const std::string text = MCXML_1_3::ToUTF8(u"caf\u00E9");
  xercesc::XMLPlatformUtils::Terminate();
  if (text != "caf\xC3\xA9") {
    std::cerr << "ToUTF8 gave \"" << text << "\"\n";
    return 1;
  }
  std::cout << "consumer ok\n";
  return 0;
}
