// Parsers and readers made, used and destroyed on several threads at once, with
// nothing else holding the XML platform: each thread's objects take and give back
// the platform's initialisations while the other threads' objects are working.
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "settings/settings_test_support.h"

namespace {

using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::MCSettingsParser;
using MCXML_1_3::MCXMLReadWrite;
using mcxml_test::Load;

constexpr int kThreads = 4;
constexpr int kRounds = 40;

// What a round reads, as one line.
const char kExpected[] = "0 0 age;kind{a} | 0 0 3 | 0 0 0 PMML 2";

const std::string kDoc = mcxml_test::SettingsDoc(
    "<Parameter name='depth' value='3' type='int'/>",
    mcxml_test::Cont("age", "double") + mcxml_test::Cat("kind", "string", "<Value value='a'/>"));

std::string Code(const MCCommon_1_3::MCStatus& status) {
  return std::to_string(status.GetCode()) + (status.IsWarning() ? "w" : "");
}

// One round's objects, what they read, wrote and read back, as one line.
std::string Round(const std::string& path) {
  MCPMMLParser pmml;
  MCSettingsParser settings;
  MCXMLReadWrite reader;
  std::string line = Code(Load(pmml, kDoc));
  MCXML_1_3::MCVarList vars;
  line += " " + Code(pmml.FillVarList(vars, {}, false));
  line += " " + mcxml_test::VarListText(vars) + " | " + Code(Load(settings, kDoc));
  int depth = 0;
  line += " " + Code(settings.GetParameter("depth", depth, nullptr));
  line += " " + std::to_string(depth);
  std::istringstream in(kDoc);
  line += " | " + Code(reader.ParseToDOM(in));
  line += " " + Code(reader.WriteFromDOM(path, nullptr));
  MCXMLReadWrite again;
  line += " " + Code(again.ParseToDOM(path));
  if (again.GetDocument() != nullptr) {
    const auto* root = again.GetDocument()->getDocumentElement();
    line += " " + MCXML_1_3::ToUTF8(root->getTagName()) + " " +
            std::to_string(root->getChildElementCount());
  }
  return line;
}

TEST(Threads, EachThreadMakesUsesAndDestroysItsOwnParsers) {
  std::string pattern = testing::TempDir() + "mcxml_threads_XXXXXX";
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  // Per thread, the first round that read something else, or the expected line.
  std::vector<std::string> seen(kThreads, kExpected);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&seen, &dir, t] {
      const std::string path = (dir / (std::to_string(t) + ".xml")).string();
      for (int round = 0; round < kRounds; ++round) {
        const std::string line = Round(path);
        if (line != kExpected) {
          seen[t] = "round " + std::to_string(round) + ": " + line;
          break;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& line : seen) {
    EXPECT_EQ(line, kExpected);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
