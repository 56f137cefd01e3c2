// MCXMLReadWrite: what a parse keeps or drops, what a write creates, the message
// of the last failure, and what secure processing keeps out of the document.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <xercesc/util/XMLString.hpp>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

// Xerces-C 3.2.4 leaks a few bytes in its prolog scanner whenever a default parser
// loads an external DTD, as the test below makes it do on purpose.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:xercesc_3_2::XMLScanner::scanProlog\n";
}

namespace {

using MCXML_1_3::MCXMLReadWrite;
using MCXML_1_3::ToUTF8;
using mcxml_test::HasCode;
using mcxml_test::InlineDoc;
using mcxml_test::IsOk;
using xercesc::XMLString;

std::string TempPath(const std::string& name) {
  return testing::TempDir() + "mcxml_rw_" + std::to_string(getpid()) + "_" + name;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

MCCommon_1_3::MCStatus Parse(MCXMLReadWrite& reader, const std::string& xml) {
  std::istringstream in(xml);
  return reader.ParseToDOM(in);
}

const xercesc::DOMElement& Root(const MCXMLReadWrite& reader) {
  return *reader.GetDocument()->getDocumentElement();
}

TEST(ReadWriteTest, WritesWhatIsHeldOrGivenWithoutPrettyPrinting) {
  MCXMLReadWrite rw;
  const std::string path = TempPath("out.xml");
  std::remove(path.c_str());
  EXPECT_THAT(rw.WriteFromDOM(path, nullptr), IsOk());
  EXPECT_FALSE(std::ifstream(path).good()) << "nothing to write, no file";

  ASSERT_THAT(Parse(rw, "<a><b/><c>t</c></a>"), IsOk());
  EXPECT_THAT(rw.WriteFromDOM(path, nullptr), IsOk());
  EXPECT_NE(Slurp(path).find("<a><b/><c>t</c></a>"), std::string::npos) << Slurp(path);

  const InlineDoc other("<other/>");
  EXPECT_THAT(rw.WriteFromDOM(path, &other.doc()), IsOk());
  EXPECT_NE(Slurp(path).find("<other/>"), std::string::npos);
  std::remove(path.c_str());
}

TEST(ReadWriteTest, EachParseReplacesOrDropsTheDocument) {
  MCXMLReadWrite rw;
  EXPECT_THAT(rw.GetInitStatus(), IsOk());
  EXPECT_EQ(rw.GetErrorCount(), 0u);
  ASSERT_THAT(Parse(rw, "<first/>"), IsOk());
  ASSERT_THAT(Parse(rw, "<second><unclosed></second>"), IsOk()) << "errors are only counted";
  EXPECT_EQ(ToUTF8(Root(rw).getTagName()), "second");
  EXPECT_GT(rw.GetErrorCount(), 0u);

  EXPECT_THAT(rw.ParseToDOM(TempPath("missing.xml")), HasCode(104, false));
  EXPECT_EQ(rw.GetDocument(), nullptr);
  EXPECT_EQ(rw.GetErrorCount(), 0u);
  EXPECT_EQ(rw.GetXercesMessage(), "");
}

TEST(ReadWriteTest, MessageOfAFailedWriteIsClearedByTheNextParse) {
  if (!std::ofstream("/dev/full").good()) GTEST_SKIP() << "needs /dev/full";
  MCXMLReadWrite rw;
  ASSERT_THAT(Parse(rw, "<a>" + std::string(100000, 'x') + "</a>"), IsOk());
  EXPECT_THAT(rw.WriteFromDOM("/dev/full", nullptr), HasCode(118, false));
  EXPECT_NE(rw.GetXercesMessage(), "");
  EXPECT_NE(rw.GetDocument(), nullptr) << "a write keeps the document";
  EXPECT_THAT(Parse(rw, "<b/>"), IsOk());
  EXPECT_EQ(rw.GetXercesMessage(), "");
}

// A file's text and an external DTD's declarations reach the document only when
// secure processing is off.
TEST(ReadWriteTest, SecureProcessingReadsNothingOutsideTheDocument) {
  const std::string secret = TempPath("secret.txt");
  const std::string dtd = TempPath("ext.dtd");
  std::ofstream(secret) << "SECRET";
  std::ofstream(dtd) << "<!ATTLIST r a CDATA 'FROMDTD'>";
  const std::string xml = "<!DOCTYPE r SYSTEM 'file://" + dtd + "' [<!ENTITY s SYSTEM 'file://" +
                          secret + "'>]><r>&s;</r>";
  for (const bool secure : {false, true}) {
    MCXMLReadWrite rw;
    rw.SetSecureProcessing(secure);
    ASSERT_THAT(Parse(rw, xml), IsOk());
    EXPECT_EQ(ToUTF8(Root(rw).getTextContent()) == "SECRET", !secure);
    EXPECT_EQ(ToUTF8(MCXML_1_3::GetAttribute(Root(rw), "a")) == "FROMDTD", !secure);
    EXPECT_EQ(rw.GetErrorCount() > 0, secure) << "the entity left out is counted";
  }
  std::remove(secret.c_str());
  std::remove(dtd.c_str());
}

TEST(ReadWriteTest, SecureProcessingStopsEntityExpansion) {
  // Ten levels of ten references each: 2e9 characters when fully expanded.
  std::string laughs = "<!DOCTYPE r [<!ENTITY l0 'ha'>";
  for (char level = '1'; level <= '9'; ++level) {
    std::string refs;
    for (int k = 0; k < 10; ++k) refs += std::string("&l") + char(level - 1) + ";";
    laughs += std::string("<!ENTITY l") + level + " '" + refs + "'>";
  }
  laughs += "]><r>&l9;</r>";

  MCXMLReadWrite rw;
  rw.SetSecureProcessing(true);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_THAT(Parse(rw, laughs), IsOk());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_GT(rw.GetErrorCount(), 0u);
  EXPECT_LT(XMLString::stringLen(Root(rw).getTextContent()), 1000000u);

  // The predefined entities are not expansions that count.
  std::string amps;
  for (int i = 0; i < 20000; ++i) amps += "&amp;";
  ASSERT_THAT(Parse(rw, "<r>" + amps + "</r>"), IsOk());
  EXPECT_EQ(rw.GetErrorCount(), 0u);
  EXPECT_EQ(XMLString::stringLen(Root(rw).getTextContent()), 20000u);
}

}  // namespace
