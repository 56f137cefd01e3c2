// MCXMLReadWrite: what a parse keeps or drops, where a stream is read from, what a
// write creates, the message of the last failure, and how deep a write may go.
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <xercesc/util/XMLException.hpp>

#include "hostile/hostile_support.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCXMLReadWrite;
using namespace mcxml_test;

// A stream is read on from where it stands.
TEST(ReadWriteTest, EachParseReplacesOrDropsTheDocument) {
  MCXMLReadWrite rw;
  EXPECT_THAT(rw.GetInitStatus(), IsOk());
  ASSERT_THAT(Load(rw, "<first/>"), IsOk());
  EXPECT_EQ(rw.GetErrorCount(), 0u);
  std::istringstream in("<skipped/><second><unclosed></second>");
  in.seekg(10);
  ASSERT_THAT(rw.ParseToDOM(in), IsOk()) << "errors are only counted";
  EXPECT_EQ(MCXML_1_3::ToUTF8(rw.GetDocument()->getDocumentElement()->getTagName()), "second");
  EXPECT_GT(rw.GetErrorCount(), 0u);

  EXPECT_THAT(rw.ParseToDOM(TempFolder().Path("missing.xml")), HasCode(104, false));
  EXPECT_EQ(rw.GetDocument(), nullptr);
  EXPECT_EQ(rw.GetErrorCount(), 0u);
}

// A failed write's message stays until the next parse.
TEST(ReadWriteTest, WritesTheGivenDocumentAndKeepsTheMessageOfAFailure) {
  MCXMLReadWrite rw;
  const TempFolder folder;
  const std::string path = folder.Path("out.xml");
  EXPECT_THAT(rw.WriteFromDOM(path, nullptr), IsOk());
  EXPECT_FALSE(std::ifstream(path).good()) << "nothing to write, no file";
  // Small enough that every byte of it waits in a buffer until the file is closed.
  ASSERT_THAT(Load(rw, "<a/>"), IsOk());
  const InlineDoc other("<other/>");
  EXPECT_THAT(rw.WriteFromDOM(path, &other.doc()), IsOk());
  EXPECT_NE(ReadFile(path).find("<other/>"), std::string::npos);

  if (!std::ofstream("/dev/full").good()) GTEST_SKIP() << "needs /dev/full";
  EXPECT_THAT(rw.WriteFromDOM("/dev/full", nullptr), HasCode(118, false));
  EXPECT_EQ(rw.GetXercesMessage(), "unable to write data to file: No space left on device");
  EXPECT_NE(rw.GetDocument(), nullptr) << "a write keeps the document";
  EXPECT_THAT(Load(rw, "<b/>"), IsOk());
  EXPECT_EQ(rw.GetXercesMessage(), "");
}

// A write that the file system cuts short part-way (a limit on file size here, a
// full disk elsewhere) fails; one that fits is whole.
TEST(ReadWriteTest, AWriteCutShortFails) {
  const TempFolder folder;
  ExpectBounded(10, 256, [&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    MCXMLReadWrite rw;
    const InlineDoc fits("<a/>"), longer("<a>" + std::string(100, 'x') + "</a>");
    EXPECT_THAT(rw.WriteFromDOM(folder.Path("fits.xml"), &fits.doc()), IsOk());
    EXPECT_THAT(rw.WriteFromDOM(folder.Path("cut.xml"), &longer.doc()), HasCode(118, false));
  });
}

// Secured, the parse looks for a byte order mark before the parser reads; from a
// pipe, that look must not take what the parser then waits for in vain (for ever:
// the bound ends it).
TEST(ReadWriteTest, ASecuredParseReadsAPipeWhole) {
  const TempFolder folder;
  const std::string pipe = folder.Path("pipe.xml");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ExpectBounded(5, 256, [&] {
    std::thread writer([&] { std::ofstream(pipe) << "<a><b/></a>"; });
    MCXMLReadWrite rw;
    rw.SetSecureProcessing(true);
    const MCCommon_1_3::MCStatus loaded = rw.ParseToDOM(pipe);
    writer.join();
    ASSERT_THAT(loaded, IsOk());
    EXPECT_EQ(rw.GetErrorCount(), 0u);
    EXPECT_EQ(rw.GetDocument()->getDocumentElement()->getChildElementCount(), 1u);
  });
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
  const TempFolder folder;
  const std::string good = folder.Path("deep.xml"), bad = folder.Path("no/such/dir/deep.xml");
  const struct {
    size_t stack;  // 0: this thread's
    int depth;
    long code;  // -1: throws, the target cannot be opened
  } cases[] = {{256 << 10, 200, 0}, {256 << 10, 3000, 118}, {256 << 10, 3000, -1}, {0, 20000, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.stack) + " bytes, " + std::to_string(c.depth) + " levels");
    MCXMLReadWrite rw;
    const std::string xml = Repeat("<a>", c.depth) + "x" + Repeat("</a>", c.depth);
    ASSERT_THAT(Load(rw, xml), IsOk());
    OnStack(c.stack, [&] {
      if (c.code < 0) {
        EXPECT_THROW(static_cast<void>(rw.WriteFromDOM(bad, nullptr)), xercesc::XMLException);
      } else {
        EXPECT_THAT(rw.WriteFromDOM(good, nullptr), HasCode(c.code, false));
      }
    });
    if (c.code == 0) {
      EXPECT_NE(ReadFile(good).find(xml), std::string::npos);
      EXPECT_THAT(rw.ParseToDOM(good), IsOk()) << "read back";
      EXPECT_EQ(rw.GetErrorCount(), 0u);
    } else if (c.code > 0) {
      EXPECT_EQ(ReadFile(good), "");
    }
  }
}

}  // namespace
