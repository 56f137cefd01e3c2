// Secure processing against documents that reach outside themselves (external
// entities and DTDs from files and the network) or make the parser build without
// bound (entity expansion, outsized elements, endless distinct names).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCPMMLParser;
using namespace mcxml_test;

// Entities l0 ('lol') to l<levels>, each referring to the one below ten times.
std::string NestedEntities(int levels, const std::string& percent = "") {
  std::string decls =
      "<!ENTITY " + percent + "l0 '" + (percent.empty() ? "lol" : "<!-- -->") + "'>";
  for (int level = 1; level <= levels; ++level) {
    const std::string below = std::to_string(level - 1);
    const std::string ref = percent.empty() ? "&l" + below + ";" : "&#37;l" + below + ";";
    decls += "<!ENTITY " + percent + "l" + std::to_string(level) + " '" + Repeat(ref, 10) + "'>";
  }
  return decls;
}

// Documents that reach outside themselves, loaded secured, then trusted (a file's
// marker then shows in the text or a label: the check can see it). Secured, the
// document type declaration ends each before anything is opened, the error counted;
// nothing connects to a listening socket (that never answers: a fetch would hang).
TEST(OutsideTest, SecuredNothingComesIn) {
  const TempFolder folder;
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
  const std::string inHeader = OneFieldPmml("a", "v", "<Header>&e;</Header>");
  const struct {
    const char* what;
    std::string xml;
    std::string trusted;  // shows in the text or a label trusted; none: not loaded trusted
  } cases[] = {
      {"external entity", "<!DOCTYPE PMML [<!ENTITY e SYSTEM '" + numbers + "'>]>" + inHeader,
       "90417"},
      {"external DTD", "<!DOCTYPE PMML SYSTEM '" + dtd + "'>" + OneFieldPmml("a", "v"), "FROMDTD"},
      {"external parameter entity",
       "<!DOCTYPE PMML [<!ENTITY % p SYSTEM '" + dtd + "'> %p;]>" + OneFieldPmml("a", "v"),
       "FROMDTD"},
      {"network",
       "<!DOCTYPE PMML SYSTEM '" + url + "/d' [<!ENTITY e SYSTEM '" + url + "/e'>]>" + inHeader,
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectBounded(10, 256, [&] {
      MCPMMLParser parser;
      parser.SetSecureProcessing(true);
      EXPECT_THAT(Load(parser, c.xml), HasCode(105, false));
      EXPECT_EQ(parser.GetErrorCount(), 1u);
      if (c.trusted.empty()) return;
      parser.SetSecureProcessing(false);
      ASSERT_THAT(Load(parser, c.xml), IsOk());
      EXPECT_EQ(parser.GetErrorCount(), 0u);
      MCXML_1_3::MCVarList list;
      ASSERT_THAT(parser.FillVarList(list, {}, false), IsOk());
      const std::string seen = MCXML_1_3::ToUTF8(parser.GetRootElement()->getTextContent()) + "|" +
                               list.GetVarAt(0)->GetInfo().label;
      EXPECT_NE(seen.find(c.trusted), std::string::npos) << seen;
    });
  }
  EXPECT_LT(accept(listener, nullptr, nullptr), 0) << "a connection came in";
  EXPECT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK);
  close(listener);
}

// Every route by which a small document makes the parser build without bound,
// secured. With a document type declaration (each of these took seconds to minutes
// and gigabytes before) the parse ends there. Without one, more attributes on an
// element or more distinct names than allowed (unbounded, both cost the square of
// the count) end where the limit is crossed. Under the limits a document loads whole.
TEST(OutsideTest, SecuredEveryExpansionEndsEarly) {
  const std::string pmml = OneFieldPmml("a", "v");
  const std::string open = "<PMML><DataDictionary/>", close = "</PMML>";
  // before0after before1after ... up to `count`.
  const auto numbered = [](int count, const std::string& before, const std::string& after) {
    std::string text;
    for (int i = 0; i < count; ++i) text += before + std::to_string(i) + after;
    return text;
  };
  const auto header = [&](int attributes) {
    return open + "<Header" + numbered(attributes, " a", "=''") + "/>" + close;
  };
  const auto names = [&](int elements, int attributes) {
    return open + numbered(elements, "<e", "/>") + numbered(attributes, "<e n", "=''/>") + close;
  };
  const struct {
    const char* what;
    std::string xml;
    long load;
    unsigned errors;
    long megabytes = 128;  // the scanner holds an element's attributes before the DOM sees them
  } cases[] = {
      {"entities nested 9 levels in content",
       "<!DOCTYPE PMML [" + NestedEntities(9) + "]><PMML><Header>&l9;</Header></PMML>", 105, 1},
      {"attribute default from entities nested 9 levels",
       "<!DOCTYPE PMML [" + NestedEntities(9) + "<!ATTLIST PMML x CDATA '&l9;'>]>" + pmml, 105, 1},
      {"attribute default repeating a large entity",
       "<!DOCTYPE PMML [<!ENTITY b '" + std::string(40000, 'x') + "'><!ATTLIST PMML x CDATA '" +
           Repeat("&b;", 200) + "'>]>" + pmml,
       105, 1},
      {"a 1 MB attribute default used 1,000 times",
       "<!DOCTYPE PMML [<!ATTLIST e x CDATA '" + std::string(1 << 20, 'x') + "'>]>" + open +
           Repeat("<e/>", 1000) + close,
       105, 1},
      {"parameter entities nested 7 levels",
       "<!DOCTYPE PMML [" + NestedEntities(7, "% ") + "%l7;]>" + pmml, 105, 1},
      {"a million attributes on one element", header(1000000), 0, 1, 1024},
      {"257 attributes", header(257), 0, 1},
      {"256 attributes", header(256), 0, 0},
      {"200,000 distinct element names", names(200000, 0), 0, 1},
      {"200,000 distinct attribute names", names(0, 200000), 0, 1},
      {"9,000 distinct element and attribute names", names(4500, 4500), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectBounded(10, c.megabytes, [&] {
      MCPMMLParser parser;
      parser.SetSecureProcessing(true);
      EXPECT_THAT(Load(parser, c.xml), HasCode(c.load, false));
      EXPECT_EQ(parser.GetErrorCount(), c.errors);
    });
  }
}

// Trusted, a blow-up runs the parser out of memory, which the library passes on;
// the tool catches it, says so and exits 1 instead of terminating. A limit on the
// address space makes that quick; the sanitizers reserve more address space than
// any such limit allows, so their build skips this.
TEST(OutsideTest, TheToolReportsExhaustedMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "needs a limit on the address space";
#endif
  const TempFolder folder;
  const std::string doc = folder.Path("blow.xml"), err = folder.Path("err");
  std::ofstream(doc) << "<!DOCTYPE r [<!ENTITY a '" << std::string(100000, 'x') << "'>]><r>"
                     << Repeat("&a;", 100000) << "</r>";
  const std::string command = "ulimit -v 524288; '" MCXML_TOOL_PATH "' --trust varlist '" + doc +
                              "' >/dev/null 2>'" + err + "'";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(ReadFile(err), "mcxml: the XML parser ran out of memory\n");
}

}  // namespace
