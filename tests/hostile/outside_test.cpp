// Secure processing against documents that reach outside themselves: external
// entities and DTDs from files and the network, and entity expansion bombs.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::ToUTF8;
using mcxml_test::ExpectBounded;
using mcxml_test::HasCode;
using mcxml_test::IsOk;
using mcxml_test::OneFieldPmml;

// Documents that reach outside themselves or expand without end, loaded secured.
// A file's marker shows in the text or the labels only when trusted, which proves
// that the check can see it. Nothing connects to a listening socket (a fetch would
// also hang the parse: the socket never answers). The bombs are under 100 KB: ten
// levels of ten references (10^9 copies of "lol"), and a 50,000-character entity
// repeated 9,000 times, below the limit on expansions (without the cap on entity
// values such a document grew past 3.5 GB); values up to 1,000 characters expand.
TEST(OutsideTest, SecuredNothingComesInAndNoEntityExplodes) {
  const mcxml_test::TempFolder folder;
  std::ofstream(folder.Path("numbers.txt")) << "90417";
  std::ofstream(folder.Path("ext.dtd")) << "<!ATTLIST DataField displayName CDATA 'FROMDTD'>";
  const std::string numbers = "file://" + folder.Path("numbers.txt");
  const std::string dtd = "file://" + folder.Path("ext.dtd");
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  socklen_t length = sizeof address;
  ASSERT_TRUE(listener >= 0 && bind(listener, raw, length) == 0 && listen(listener, 4) == 0 &&
              getsockname(listener, raw, &length) == 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  std::string nested = "<!DOCTYPE PMML [<!ENTITY l0 'lol'>";
  for (char level = '1'; level <= '9'; ++level) {
    nested += std::string("<!ENTITY l") + level + " '";
    for (int k = 0; k < 10; ++k) nested += std::string("&l") + char(level - 1) + ";";
    nested += "'>";
  }
  std::string refs;
  for (int k = 0; k < 9000; ++k) refs += "&e;";
  const auto entity = [](size_t length) {
    return "<!DOCTYPE PMML [<!ENTITY e '" + std::string(length, 'x') + "'>]>";
  };
  const std::string inHeader = OneFieldPmml("a", "v", "<Header>&e;</Header>");
  const std::string thousand(1000, 'x');
  struct Case {
    const char* what;
    std::string xml;
    std::string trusted;  // shows in the text or a label trusted; none: not loaded trusted
    std::string secured;  // the text secured, all labels empty
    long load;            // secured; 105: stopped before the root, 106: in the Header
    unsigned errors;      // secured; an external DTD is skipped silently
  };
  const std::vector<Case> cases = {
      {"external entity", "<!DOCTYPE PMML [<!ENTITY e SYSTEM '" + numbers + "'>]>" + inHeader,
       "90417", "", 0, 1},
      {"external DTD", "<!DOCTYPE PMML SYSTEM '" + dtd + "'>" + OneFieldPmml("a", "v"), "FROMDTD",
       "", 0, 0},
      {"external parameter entity",
       "<!DOCTYPE PMML [<!ENTITY % p SYSTEM '" + dtd + "'> %p;]>" + OneFieldPmml("a", "v"),
       "FROMDTD", "", 105, 1},
      {"network",
       "<!DOCTYPE PMML SYSTEM '" + url + "/d' [<!ENTITY e SYSTEM '" + url + "/e'>]>" + inHeader, "",
       "", 0, 1},
      {"nested bomb", nested + "]><PMML><Header>&l9;</Header><DataDictionary/></PMML>", "", "", 106,
       1},
      {"repeated bomb", entity(50000) + "<PMML><Header>" + refs + "</Header></PMML>", "", "", 105,
       1},
      {"1,000 characters", entity(1000) + inHeader, "", thousand, 0, 0},
      {"1,001 characters", entity(1001) + inHeader, "", "", 105, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_LT(c.xml.size(), 100000u);
    ExpectBounded(10, 256, [&] {
      for (const bool secure : {false, true}) {
        if (!secure && c.trusted.empty()) continue;
        MCPMMLParser parser;
        parser.SetSecureProcessing(secure);
        std::istringstream in(c.xml);
        EXPECT_THAT(parser.ParseToDOM(in), HasCode(secure ? c.load : 0, false));
        EXPECT_EQ(parser.GetErrorCount(), secure ? c.errors : 0u);
        if (parser.GetRootElement() == nullptr) continue;
        MCXML_1_3::MCVarList list;
        ASSERT_THAT(parser.FillVarList(list, {}, false), IsOk());
        const std::string seen = ToUTF8(parser.GetRootElement()->getTextContent()) + "|" +
                                 list.GetVarAt(0)->GetInfo().label;
        if (secure) {
          EXPECT_EQ(seen, c.secured + "|");
        } else {
          EXPECT_NE(seen.find(c.trusted), std::string::npos) << seen;
        }
      }
    });
  }
  EXPECT_LT(accept(listener, nullptr, nullptr), 0) << "a connection came in";
  EXPECT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK);
  close(listener);
}

}  // namespace
