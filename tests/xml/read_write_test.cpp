// MCXMLReadWrite and its input source: what a parse keeps or drops, where a stream
// is read from, what a write creates, the message of the last failure, and what
// secure processing keeps out of the document.
#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <xercesc/util/BinInputStream.hpp>
#include <xercesc/util/XMLException.hpp>
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
  const MCXML_1_3::MCXInputSource source = in;
  const std::unique_ptr<xercesc::BinInputStream> stream(source.makeStream());
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

std::string Nested(int depth) {
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<a>";
  xml += "x";
  for (int i = 0; i < depth; ++i) xml += "</a>";
  return xml;
}

// Runs `body` on a thread of its own with a stack of `bytes`, or on this thread.
void OnStack(size_t bytes, const std::function<void()>& body) {
  if (bytes == 0) return body();
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
  pthread_t thread;
  const auto run = [](void* f) -> void* {
    (*static_cast<const std::function<void()>*>(f))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

// The writer recurses once per level: what the calling thread's stack cannot take
// is refused and leaves the file empty, but the file is opened first, so a target
// that cannot be opened throws whatever the document.
TEST(ReadWriteTest, WriteDepthFollowsTheCallersStack) {
  const mcxml_test::TempFolder folder;
  const std::string good = folder.Path("deep.xml"), bad = folder.Path("no/such/dir/deep.xml");
  struct Case {
    size_t stack;  // 0: this thread's
    int depth;
    bool openable;
    long code;  // -1: throws
  };
  const Case cases[] = {{256 << 10, 200, true, 0},
                        {256 << 10, 3000, true, 118},
                        {256 << 10, 3000, false, -1},
                        {0, 20000, true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.stack) + " bytes, " + std::to_string(c.depth) + " levels");
    MCXMLReadWrite rw;
    const std::string xml = Nested(c.depth);
    ASSERT_THAT(Parse(rw, xml), IsOk());
    const std::string& path = c.openable ? good : bad;
    OnStack(c.stack, [&] {
      if (c.code < 0) {
        EXPECT_THROW(static_cast<void>(rw.WriteFromDOM(path, nullptr)), xercesc::XMLException);
      } else {
        EXPECT_THAT(rw.WriteFromDOM(path, nullptr), HasCode(c.code, false));
      }
    });
    if (c.code == 0) {
      EXPECT_NE(Slurp(good).find(xml), std::string::npos);
      EXPECT_THAT(rw.ParseToDOM(good), IsOk()) << "read back";
      EXPECT_EQ(rw.GetErrorCount(), 0u);
    } else if (c.code > 0) {
      EXPECT_EQ(Slurp(good), "");
    }
  }
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
    // Secured, the declaration ends the parse before anything is fetched.
    EXPECT_EQ(rw.GetErrorCount(), secure ? 1u : 0u);
    const auto* root = rw.GetDocument()->getDocumentElement();
    ASSERT_EQ(root == nullptr, secure);
    if (!secure) {
      EXPECT_EQ(ToUTF8(root->getTextContent()), "SECRET");
      EXPECT_EQ(ToUTF8(MCXML_1_3::GetAttribute(*root, "a")), "FROMDTD");
    }
    ASSERT_THAT(Parse(rw, amps + "</r>"), IsOk());
    EXPECT_EQ(rw.GetErrorCount(), 0u);
    EXPECT_EQ(xercesc::XMLString::stringLen(Root(rw).getTextContent()), 20000u);
  }
}

}  // namespace
