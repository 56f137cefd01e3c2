// Uses the installed library the way a caller does: initialise the XML platform,
// convert a DOM string, and check the result.
#include <iostream>
#include <string>

#include <xercesc/util/PlatformUtils.hpp>

#include "mcxml/xml/dom_access.h"

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
