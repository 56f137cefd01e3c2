// Secure processing against documents that reach outside themselves (external
// entities and DTDs from files and the network) or make the parser build without
// bound (entity expansion, outsized elements, endless distinct names).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
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
  const Listener listener;
  const std::string url = listener.Url();
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
  EXPECT_FALSE(listener.Contacted());
}

// Secured, a name is the local path it spells: one that reads as a URL, or whose
// ".." a link takes elsewhere, gives exactly the file the system opens for it, and
// nothing connects. Trusted, the library hands the name to the parser as it always
// has (not for the network: that would hang on the listener).
TEST(OutsideTest, SecuredANameIsALocalPath) {
  const TempFolder folder;
  const Listener listener;
  const std::string here = folder.Path("");
  // `root` as the only element of the file at `path`, relative to the folder.
  const auto put = [&](const std::string& path, const std::string& root) {
    std::filesystem::create_directories(std::filesystem::path(here + path).parent_path());
    std::ofstream(here + path) << root;
  };
  const std::string outside = "<outside/>", named = "<named/>";
  put("x/s.xml", outside);
  put("file:" + here + "x/s.xml", named);
  put("http:/127.0.0.1:" + listener.Port() + "/x.xml", named);
  put("s.xml", outside);
  put("d/s.xml", named);
  std::filesystem::create_directories(here + "d/e");
  std::filesystem::create_directory_symlink(here + "d/e", here + "link");
  put("mark.xml", "\xEF\xBB\xBF<?xml version='1.0' encoding='ISO-8859-1'?>" + named);
  const struct {
    std::string name;
    std::string secured;  // the document read, or why it is 104
    std::string trusted;  // empty: not read trusted
    unsigned errors = 0;  // secured
  } cases[] = {
      {"file://" + here + "x/s.xml", named, outside},
      {listener.Url() + "/x.xml", named, ""},
      {listener.Url() + "/none.xml", "No such file or directory", ""},
      {"d", "Is a directory", ""},
      {"link/../s.xml", named, outside},
      // A byte order mark is looked for in a named file as before.
      {"mark.xml", named, "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectBounded(10, 256, [&] {
      ASSERT_EQ(chdir(here.c_str()), 0);
      MCXML_1_3::MCXMLReadWrite rw;
      rw.SetSecureProcessing(true);
      const auto root = [&rw] {
        return "<" + MCXML_1_3::ToUTF8(rw.GetDocument()->getDocumentElement()->getTagName()) + "/>";
      };
      const bool opens = c.secured[0] == '<';
      if (!opens) {
        EXPECT_THAT(rw.ParseToDOM(c.name), HasCode(104, false));
        EXPECT_EQ(rw.GetXercesMessage(),
                  "unable to open primary document entity '" + c.name + "': " + c.secured);
      } else {
        ASSERT_THAT(rw.ParseToDOM(c.name), IsOk());
        EXPECT_EQ(root(), c.secured);
        EXPECT_EQ(rw.GetErrorCount(), c.errors);
      }
      // Trusted too, the tool parses what it opened, never the name again.
      const std::string command =
          "'" MCXML_TOOL_PATH "' --trust copy '" + c.name + "' copy.xml >/dev/null 2>&1";
      std::remove("copy.xml");
      const int status = std::system(command.c_str());
      EXPECT_EQ(WEXITSTATUS(status), opens ? 0 : 2);
      if (opens) {
        EXPECT_NE(ReadFile("copy.xml").find(c.secured), std::string::npos);
      }
      if (c.trusted.empty()) return;
      rw.SetSecureProcessing(false);
      ASSERT_THAT(rw.ParseToDOM(c.name), IsOk());
      EXPECT_EQ(root(), c.trusted);
    });
  }
  EXPECT_FALSE(listener.Contacted());
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
