// Real-world documents from the shared corpus (beside the clone, never copied
// into it) through the mcxml tool with secure processing: every command ends by
// itself, in bounded time, with exit status 0 or 1 and a JSON load status.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FindDocuments() {
  std::vector<fs::path> documents;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(MCXML_CORPUS_DIR, error)) {
    const std::string extension = entry.path().extension().string();
    if (entry.is_regular_file() && (extension == ".xml" || extension == ".pmml")) {
      documents.push_back(entry.path());
    }
  }
  std::sort(documents.begin(), documents.end());
  // One empty entry stands for an absent corpus, so that the test reports a skip.
  if (documents.empty()) documents.emplace_back();
  return documents;
}

// Tests are named by position: the documents' own names stay out of test names.
const std::vector<fs::path>& Documents() {
  static const std::vector<fs::path> documents = FindDocuments();
  return documents;
}

bool Mentions(const fs::path& document, const std::string& text) {
  std::ifstream in(document, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str().find(text) != std::string::npos;
}

// Time a command may take: one second for a small document (the sanitizers'
// build, three), yet far below what an unbounded entity expansion or a fetch that
// hangs would take.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlowdown = 3;
#else
constexpr double kSlowdown = 1;
#endif

double TimeBound(const fs::path& document) {
  const double megabytes = static_cast<double>(fs::file_size(document)) / (1 << 20);
  return kSlowdown * (1.0 + 2.0 * megabytes);
}

class CorpusTest : public testing::TestWithParam<size_t> {};

TEST_P(CorpusTest, EveryCommandEndsWithAStatus) {
  const fs::path& document = Documents()[GetParam()];
  if (document.empty()) GTEST_SKIP() << "no corpus at " << MCXML_CORPUS_DIR;

  std::vector<std::vector<std::string>> commands = {{"varlist"}, {"varlist", "--bins"}, {"stats"}};
  if (Mentions(document, "MiningBuildTask")) commands.push_back({"settings-varlist"});
  const std::regex loadStatus(R"(^\{\s*"load": \{\s*"code": \d+,\s*"warning": (true|false)\s*\},)");
  for (std::vector<std::string> args : commands) {
    const std::string command = args[0] + (args.size() > 1 ? " " + args[1] : "");
    args.push_back(document.string());
    const mcxml_test::ChildRun run = mcxml_test::RunTool(MCXML_TOOL_PATH, args);
    // 0 or 1 only: a signal, a usage error (2) or a leak report's exit code fails.
    EXPECT_TRUE(run.exited && (run.exitCode == 0 || run.exitCode == 1))
        << command << " " << document.filename() << ": " << run;
    EXPECT_TRUE(std::regex_search(run.output.substr(0, 200), loadStatus))
        << command << " " << document.filename() << ": " << run.output.substr(0, 200);
    EXPECT_EQ(run.output.substr(run.output.size() - std::min<size_t>(2, run.output.size())), "}\n")
        << command << " " << document.filename();
    EXPECT_LT(run.seconds, TimeBound(document)) << command << " " << document.filename();
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest, testing::Range(size_t{0}, Documents().size()));

}  // namespace
