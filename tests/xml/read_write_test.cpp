// MCXMLReadWrite and its input source: what a parse keeps or drops, where a stream
// is read from, what a write creates, the message of the last failure, and what
// secure processing keeps out of the document.
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <xercesc/util/BinInputStream.hpp>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/input_source.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCXMLReadWrite;
using MCXML_1_3::ToUTF8;
using mcxml_test::HasCode;
using mcxml_test::InlineDoc;
using mcxml_test::IsOk;

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

// The stream object reads on from where the stream stands, then nothing.
TEST(ReadWriteTest, StreamsReadOnToTheEnd) {
  mcxml_test::XercesPlatform platform;
  std::istringstream in("abc0123456789");
  in.seekg(3);
  const std::unique_ptr<xercesc::BinInputStream> stream(MCXML_1_3::MCXInputSource(in).makeStream());
  XMLByte buffer[64];
  EXPECT_EQ(stream->readBytes(buffer, sizeof buffer), 10u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), "0123456789");
  EXPECT_EQ(stream->readBytes(buffer, sizeof buffer), 0u);
  EXPECT_EQ(stream->readBytes(buffer, sizeof buffer), 0u);
}

TEST(ReadWriteTest, EachParseReplacesOrDropsTheDocument) {
  MCXMLReadWrite rw;
  EXPECT_THAT(rw.GetInitStatus(), IsOk());
  ASSERT_THAT(Parse(rw, "<first/>"), IsOk());
  EXPECT_EQ(rw.GetErrorCount(), 0u);
  std::istringstream in("<skipped/><second><unclosed></second>");
  in.seekg(10);
  ASSERT_THAT(rw.ParseToDOM(in), IsOk()) << "errors are only counted";
  EXPECT_EQ(ToUTF8(Root(rw).getTagName()), "second");
  EXPECT_GT(rw.GetErrorCount(), 0u);

  EXPECT_THAT(rw.ParseToDOM(mcxml_test::TempFolder().Path("missing.xml")), HasCode(104, false));
  EXPECT_EQ(rw.GetDocument(), nullptr);
  EXPECT_EQ(rw.GetErrorCount(), 0u);
}

// A failed write's message stays until the next parse.
TEST(ReadWriteTest, WritesWhatIsHeldOrGivenWithoutPrettyPrinting) {
  MCXMLReadWrite rw;
  const mcxml_test::TempFolder folder;
  const std::string path = folder.Path("out.xml");
  EXPECT_THAT(rw.WriteFromDOM(path, nullptr), IsOk());
  EXPECT_FALSE(std::ifstream(path).good()) << "nothing to write, no file";
  const std::string text(100000, 'x');
  ASSERT_THAT(Parse(rw, "<a><b/><c>" + text + "</c></a>"), IsOk());
  EXPECT_THAT(rw.WriteFromDOM(path, nullptr), IsOk());
  EXPECT_NE(Slurp(path).find("<a><b/><c>" + text + "</c></a>"), std::string::npos);
  const InlineDoc other("<other/>");
  EXPECT_THAT(rw.WriteFromDOM(path, &other.doc()), IsOk());
  EXPECT_NE(Slurp(path).find("<other/>"), std::string::npos);

  if (!std::ofstream("/dev/full").good()) GTEST_SKIP() << "needs /dev/full";
  EXPECT_THAT(rw.WriteFromDOM("/dev/full", nullptr), HasCode(118, false));
  EXPECT_NE(rw.GetXercesMessage(), "");
  EXPECT_NE(rw.GetDocument(), nullptr) << "a write keeps the document";
  EXPECT_THAT(Parse(rw, "<b/>"), IsOk());
  EXPECT_EQ(rw.GetXercesMessage(), "");
}

// A file's text and an external DTD's declarations reach the document only when
// secure processing is off; the predefined entities are not expansions that count.
TEST(ReadWriteTest, SecureProcessingReadsNothingOutsideTheDocument) {
  const mcxml_test::TempFolder folder;
  const std::string secret = folder.Path("secret.txt");
  const std::string dtd = folder.Path("ext.dtd");
  std::ofstream(secret) << "SECRET";
  std::ofstream(dtd) << "<!ATTLIST r a CDATA 'FROMDTD'>";
  const std::string xml = "<!DOCTYPE r SYSTEM 'file://" + dtd + "' [<!ENTITY s SYSTEM 'file://" +
                          secret + "'>]><r>&s;</r>";
  std::string amps = "<r>";
  for (int i = 0; i < 20000; ++i) amps += "&amp;";
  for (const bool secure : {false, true}) {
    MCXMLReadWrite rw;
    rw.SetSecureProcessing(secure);
    ASSERT_THAT(Parse(rw, xml), IsOk());
    EXPECT_EQ(ToUTF8(Root(rw).getTextContent()) == "SECRET", !secure);
    EXPECT_EQ(ToUTF8(MCXML_1_3::GetAttribute(Root(rw), "a")) == "FROMDTD", !secure);
    EXPECT_EQ(rw.GetErrorCount() > 0, secure) << "the entity left out is counted";
    ASSERT_THAT(Parse(rw, amps + "</r>"), IsOk());
    EXPECT_EQ(rw.GetErrorCount(), 0u);
    EXPECT_EQ(xercesc::XMLString::stringLen(Root(rw).getTextContent()), 20000u);
  }
}

}  // namespace
