// Secure processing against documents that reach outside themselves: external
// entities and DTDs from files and the network, and entity expansion bombs.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::MCVarList;
using MCXML_1_3::MCXMLReadWrite;
using mcxml_test::IsOk;
using mcxml_test::RunInChild;

std::string TempFile(const std::string& name, const std::string& content) {
  const std::string path = testing::TempDir() + "hostile_" + std::to_string(getpid()) + "_" + name;
  std::ofstream(path) << content;
  return path;
}

// What the parser made of a document: the labels and values of its variables,
// and all text under the root (a small document: Xerces' text walk recurses).
std::string Visible(bool secure, const std::string& xml, unsigned& errors) {
  MCPMMLParser parser;
  parser.SetSecureProcessing(secure);
  std::istringstream in(xml);
  std::string seen;
  const bool loaded = parser.ParseToDOM(in).IsOK();
  errors = parser.GetErrorCount();
  if (!loaded) return seen;
  MCVarList list;
  static_cast<void>(parser.FillVarList(list, {}, false));
  for (int i = 0; i < list.GetCount(); ++i) {
    const MCXML_1_3::MCVariableInfo& info = list.GetVarAt(i)->GetInfo();
    seen += info.label + "|";
    for (const std::string& text : info.texts) seen += text + "|";
  }
  return seen + MCXML_1_3::ToUTF8(parser.GetRootElement()->getTextContent());
}

// Each way a document can pull in a file: the marker reaches what the parser
// reads only without secure processing, which proves the check can see it.
TEST(OutsideTest, FilesReachTheDocumentOnlyWithoutSecureProcessing) {
  const std::string numbers = TempFile("numbers.txt", "90417 90418");
  const std::string dtd = TempFile("ext.dtd",
                                   "<!ATTLIST DataField displayName CDATA 'FROMDTD'>"
                                   "<!ENTITY inner 'FROMDTD'>");
  const std::string field =
      "<DataField name=\"a\" optype=\"categorical\" dataType=\"string\"><Value value=\"v\"/>"
      "</DataField>";
  struct Case {
    const char* what;
    std::string xml;
    std::string marker;
    bool counted;  // secured, the parse counts an error: an external DTD is skipped silently
  };
  const std::vector<Case> cases = {
      {"external general entity",
       "<!DOCTYPE PMML [<!ENTITY ext SYSTEM 'file://" + numbers + "'>]><PMML><DataDictionary>" +
           field + "</DataDictionary><Header>&ext;</Header></PMML>",
       "90417", true},
      {"external DTD",
       "<!DOCTYPE PMML SYSTEM 'file://" + dtd + "'><PMML><DataDictionary>" + field +
           "</DataDictionary></PMML>",
       "FROMDTD", false},
      {"external parameter entity",
       "<!DOCTYPE PMML [<!ENTITY % p SYSTEM 'file://" + dtd + "'> %p;]><PMML><DataDictionary>" +
           field + "</DataDictionary></PMML>",
       "FROMDTD", true},
  };
  for (const Case& c : cases) {
    unsigned trustedErrors = 0;
    unsigned secureErrors = 0;
    EXPECT_NE(Visible(false, c.xml, trustedErrors).find(c.marker), std::string::npos) << c.what;
    EXPECT_EQ(trustedErrors, 0u) << c.what;
    EXPECT_EQ(Visible(true, c.xml, secureErrors).find(c.marker), std::string::npos) << c.what;
    EXPECT_EQ(secureErrors > 0, c.counted) << c.what;
  }
  std::remove(numbers.c_str());
  std::remove(dtd.c_str());
}

// Nothing connects to a listening socket named as entity and DTD. A fetch would
// also hang the parse (the socket never answers); the child's alarm ends that.
TEST(OutsideTest, NothingIsFetchedFromTheNetwork) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  const std::string xml = "<!DOCTYPE PMML SYSTEM '" + url + "/d.dtd' [<!ENTITY e SYSTEM '" + url +
                          "/e.txt'>]><PMML><DataDictionary/><Header>&e;</Header></PMML>";

  const mcxml_test::ChildRun run = RunInChild([&] {
    alarm(20);
    MCPMMLParser parser;
    parser.SetSecureProcessing(true);
    std::istringstream in(xml);
    const bool loaded = parser.ParseToDOM(in).IsOK();
    MCXMLReadWrite reader;
    reader.SetSecureProcessing(true);
    std::istringstream again(xml);
    return loaded && reader.ParseToDOM(again).IsOK() && reader.GetErrorCount() == 1 ? 0 : 1;
  });
  EXPECT_TRUE(run.exited && run.exitCode == 0) << run;
  EXPECT_LT(accept(listener, nullptr, nullptr), 0) << "a connection came in";
  EXPECT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK);
  close(listener);
}

// Bombs under 100 KB: ten levels of ten references (10^9 copies of "lol" when
// fully expanded), and one 50,000-character entity repeated 9,000 times, under
// the expansion count limit, in text and in an attribute (without the cap on
// entity values an 80 KB document of that kind grew past 3.5 GB). Secure
// processing stops each, in bounded time and memory, and reads no further.
TEST(OutsideTest, EntityBombsEndQuicklyInBoundedMemory) {
  std::string nested = "<!DOCTYPE PMML [<!ENTITY l0 'lol'>";
  for (int level = 1; level <= 9; ++level) {
    nested += "<!ENTITY l" + std::to_string(level) + " '";
    for (int k = 0; k < 10; ++k) nested += "&l" + std::to_string(level - 1) + ";";
    nested += "'>";
  }
  nested += "]><PMML><Header>&l9;</Header><DataDictionary/></PMML>";
  std::string refs;
  for (int k = 0; k < 9000; ++k) refs += "&e;";
  const std::string large = "<!DOCTYPE PMML [<!ENTITY e '" + std::string(50000, 'x') + "'>]>";
  struct Case {
    const char* what;
    std::string xml;
    long load;  // 106: stopped in the Header; 105: stopped before the root
  };
  const std::vector<Case> cases = {
      {"nested", nested, 106},
      {"repeated in text", large + "<PMML><Header>" + refs + "</Header><DataDictionary/></PMML>",
       105},
      {"repeated in an attribute",
       large + "<PMML><Header a='" + refs + "'/><DataDictionary/></PMML>", 105},
  };
  for (const Case& c : cases) {
    ASSERT_LT(c.xml.size(), 100000u) << c.what;
    const mcxml_test::ChildRun run = RunInChild([&] {
      alarm(60);
      MCPMMLParser parser;
      parser.SetSecureProcessing(true);
      std::istringstream in(c.xml);
      const bool stopped = parser.ParseToDOM(in) == MCCommon_1_3::MCStatus(c.load, false) &&
                           parser.GetErrorCount() == 1;
      MCXMLReadWrite reader;
      reader.SetSecureProcessing(true);
      std::istringstream again(c.xml);
      return stopped && reader.ParseToDOM(again).IsOK() && reader.GetErrorCount() == 1 ? 0 : 1;
    });
    EXPECT_TRUE(run.exited && run.exitCode == 0) << c.what << ": " << run;
    EXPECT_LT(run.seconds, 10) << c.what << ": " << run;
    EXPECT_LT(run.peakKb, 256 * 1024) << c.what << ": " << run;
  }
}

// Entities up to 1,000 characters are expanded as usual, also when secured.
TEST(OutsideTest, SecuredEntityValuesUpTo1000CharactersAreExpanded) {
  for (const size_t length : {size_t{1000}, size_t{1001}}) {
    const std::string xml =
        "<!DOCTYPE r [<!ENTITY e '" + std::string(length, 'x') + "'>]><r a='&e;'/>";
    MCXMLReadWrite reader;
    reader.SetSecureProcessing(true);
    std::istringstream in(xml);
    ASSERT_THAT(reader.ParseToDOM(in), IsOk());
    const bool expanded = reader.GetDocument()->getDocumentElement() != nullptr;
    EXPECT_EQ(expanded, length <= 1000) << length;
    EXPECT_EQ(reader.GetErrorCount(), expanded ? 0u : 1u) << length;
    if (expanded) {
      EXPECT_EQ(MCXML_1_3::ToUTF8(
                    MCXML_1_3::GetAttribute(*reader.GetDocument()->getDocumentElement(), "a"))
                    .size(),
                length);
    }
  }
}

}  // namespace
