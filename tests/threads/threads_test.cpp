// Parsers and readers made, used and destroyed on several threads at once, with
// nothing else holding the XML platform: each thread's objects take and give back
// the platform's initialisations while the other threads' objects are working.
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "settings/settings_test_support.h"

namespace {

using namespace mcxml_test;

// What a round reads, as one line.
const char kExpected[] = "0 0 age;kind{a} | 0 0 3 | 0 0 0 PMML 2";

const std::string kDoc =
    SettingsDoc("<Parameter name='depth' value='3' type='int'/>",
                Cont("age", "double") + Cat("kind", "string", "<Value value='a'/>"));

std::string Code(const MCStatus& status) {
  return std::to_string(status.GetCode()) + (status.IsWarning() ? "w" : "");
}

// One round's objects, what they read, wrote and read back, as one line.
std::string Round(const std::string& path) {
  MCXML_1_3::MCPMMLParser pmml;
  MCSettingsParser settings;
  MCXML_1_3::MCXMLReadWrite reader;
  MCXML_1_3::MCVarList vars;
  int depth = 0;
  // One call per statement: the operands of + are evaluated in no fixed order.
  std::string line = Code(Load(pmml, kDoc));
  line += " " + Code(pmml.FillVarList(vars, {}, false));
  line += " " + VarListText(vars) + " | " + Code(Load(settings, kDoc));
  line += " " + Code(settings.GetParameter("depth", depth, nullptr));
  line += " " + Text(depth) + " | " + Code(Load(reader, kDoc));
  line += " " + Code(reader.WriteFromDOM(path, nullptr));
  MCXML_1_3::MCXMLReadWrite again;  // made while the other threads' objects work
  line += " " + Code(again.ParseToDOM(path));
  if (again.GetDocument() != nullptr) {
    const auto* root = again.GetDocument()->getDocumentElement();
    line += " " + MCXML_1_3::ToUTF8(root->getTagName()) + " " +
            std::to_string(root->getChildElementCount());
  }
  return line;
}

TEST(Threads, EachThreadMakesUsesAndDestroysItsOwnParsers) {
  constexpr int kThreads = 4, kRounds = 40;
  const TempFolder folder;
  // Per thread, the first round that read something else, or the expected line.
  std::vector<std::string> seen(kThreads, kExpected);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&seen, &folder, t] {
      const std::string path = folder.Path(std::to_string(t) + ".xml");
      for (int round = 0; round < kRounds && seen[t] == kExpected; ++round) {
        const std::string line = Round(path);
        if (line != kExpected) seen[t] = "round " + std::to_string(round) + ": " + line;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& line : seen) EXPECT_EQ(line, kExpected);
}

}  // namespace
