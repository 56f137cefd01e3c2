// Every input that ever made a fuzz target fail, replayed through all three
// targets (linked in under names of their own), each in a child process so that
// a crash names its file.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"

extern "C" int McxmlFuzzPmml(const uint8_t* data, size_t size);
extern "C" int McxmlFuzzSettings(const uint8_t* data, size_t size);
extern "C" int McxmlFuzzReadWrite(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> Regressions() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(MCXML_FUZZ_REGRESSIONS_DIR)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(FuzzRegressionTest, EveryInputThatEverFailedPassesEveryTarget) {
  const std::vector<std::filesystem::path> files = Regressions();
  ASSERT_FALSE(files.empty());
  for (const std::filesystem::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string input = bytes.str();
    const auto* data = reinterpret_cast<const uint8_t*>(input.data());
    const mcxml_test::ChildRun run = mcxml_test::RunInChild([&] {
      alarm(60);
      return McxmlFuzzPmml(data, input.size()) | McxmlFuzzSettings(data, input.size()) |
             McxmlFuzzReadWrite(data, input.size());
    });
    EXPECT_TRUE(run.exited && run.exitCode == 0) << file.filename() << ": " << run;
  }
}

}  // namespace
