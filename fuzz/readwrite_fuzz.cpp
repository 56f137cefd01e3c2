// Fuzz target: any XML through MCXMLReadWrite (stream parse, write to a file,
// parse of that file) and the DOM access and building functions over every
// element it parsed, under secure processing.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/util/XMLString.hpp>

#include "fuzz_support.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_building.h"
#include "mcxml/xml/read_write.h"

namespace {

using namespace MCXML_1_3;
using MCCommon_1_3::MCStatus;

// Bound on the elements looked at per input, to keep each run fast.
constexpr int kMaxElements = 20000;

const std::string& TempPath() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir != nullptr ? dir : "/tmp") + "/mcxml-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    return pattern;
  }();
  return path;
}

// A text survives the trip to UTF-8 and back unless the conversion failed.
void CheckRoundTrip(const XMLCh* text) {
  const std::string utf8 = ToUTF8(text);
  if (utf8.empty()) return;
  MCXML_FUZZ_CHECK(XStrEqualsUTF8Str(text, utf8.c_str()));
  const std::vector<XMLCh> back = ToUTF16(utf8.c_str());
  MCXML_FUZZ_CHECK(XERCES_CPP_NAMESPACE::XMLString::equals(back.data(), text));
}

void VisitElement(DOMDocument& doc, const DOMElement& elmt) {
  CheckRoundTrip(elmt.getTagName());
  const std::string tag = ToUTF8(elmt.getTagName());
  MCXML_FUZZ_CHECK(tag.empty() || TagNameEquals(elmt, tag.c_str()));
  MCXML_FUZZ_CHECK(AsElement(elmt, nullptr) == &elmt);
  const std::vector<std::string> tags{"Value", tag};
  MCXML_FUZZ_CHECK(tag.empty() || FindXStrInList(elmt.getTagName(), tags) >= 0);

  const XERCES_CPP_NAMESPACE::DOMNamedNodeMap* attributes = elmt.getAttributes();
  const XMLSize_t count = attributes != nullptr ? attributes->getLength() : 0;
  for (XMLSize_t i = 0; i < count && i < 64; ++i) {
    const DOMNode* attribute = attributes->item(i);
    CheckRoundTrip(attribute->getNodeValue());
    const std::string name = ToUTF8(attribute->getNodeName());
    if (name.empty()) continue;
    const XMLCh* value = GetAttribute(elmt, name.c_str());
    const bool empty = attribute->getNodeValue() == nullptr || attribute->getNodeValue()[0] == 0;
    MCXML_FUZZ_CHECK((value == nullptr) == empty);
    for (int signRule : {-1, 0, 1}) {
      int number = 12345;
      const int result = GetIntAttribute(elmt, name.c_str(), signRule, number);
      MCXML_FUZZ_CHECK(result >= -1 && result <= 1);
      if (result == 0 && signRule == 0) MCXML_FUZZ_CHECK(number >= 0);
      if (result == 0 && signRule > 0) MCXML_FUZZ_CHECK(number > 0);
    }
    double real = 0.5;
    const int result = GetDoubleAttribute(elmt, name.c_str(), real);
    MCXML_FUZZ_CHECK(result >= -1 && result <= 1);
    MCXML_FUZZ_CHECK(result != 0 || std::isfinite(real));
  }

  std::vector<double> numbers{1.0};
  static_cast<void>(AssembleDoublesList(elmt, numbers));
  for (const DOMElement* extension = GetFirstChildExtension(elmt, nullptr); extension != nullptr;
       extension = GetNextSiblingExtension(*extension, nullptr)) {
    MCXML_FUZZ_CHECK(TagNameEquals(*extension, "Extension"));
  }
  size_t index = 7;
  const std::pair<unsigned int, const char*> table[] = {
      {1, "Value"}, {2, "Interval"}, {0, nullptr}};
  const DOMElement* found = GetFirstChildElmt(elmt, table, index);
  MCXML_FUZZ_CHECK(found != nullptr || index == 0);

  // Building: a copy of the element's name and first attribute on a new element.
  if (!tag.empty()) {
    DOMElement* copy = CreateElement(doc, tag.c_str());
    if (copy != nullptr) {
      static_cast<void>(SetAttribute(*copy, "value", 2.5));
      static_cast<void>(SetAttribute(*copy, tag.c_str(), tag.c_str()));
    }
  }
}

// Document order without recursion: the depth of a fuzzed document is unbounded.
void VisitAll(DOMDocument& doc) {
  const DOMElement* elmt = doc.getDocumentElement();
  int visited = 0;
  while (elmt != nullptr && visited++ < kMaxElements) {
    VisitElement(doc, *elmt);
    const DOMElement* next = GetFirstChildElmt(*elmt, nullptr);
    while (next == nullptr && elmt != nullptr) {
      next = GetNextSiblingElmt(*elmt, nullptr);
      if (next == nullptr) elmt = AsElement(*elmt->getParentNode(), nullptr);
    }
    elmt = next;
  }
}

}  // namespace

extern "C" int MCXML_FUZZ_ENTRY(const uint8_t* data, size_t size) {
  mcxml_fuzz::KeepPlatform();
  std::istringstream in(mcxml_fuzz::AsText(data, size));
  MCXMLReadWrite reader;
  reader.SetSecureProcessing(true);
  const MCStatus load = reader.ParseToDOM(in);
  MCXML_FUZZ_CHECK(load.IsOK() ||
                   (load == MCStatus(104, false) && reader.GetDocument() == nullptr));
  static_cast<void>(reader.GetErrorCount());
  if (reader.GetDocument() == nullptr) return 0;

  const MCStatus write = reader.WriteFromDOM(TempPath(), nullptr);
  MCXML_FUZZ_CHECK(write.IsOK() || write == MCStatus(118, false));
  VisitAll(*reader.GetDocument());

  MCXMLReadWrite again;
  again.SetSecureProcessing(true);
  const MCStatus reload = again.ParseToDOM(TempPath());
  MCXML_FUZZ_CHECK(reload.IsOK() || reload == MCStatus(104, false));
  std::remove(TempPath().c_str());
  return 0;
}
