// Real-world documents from the shared corpus (beside the clone, never copied
// into it) through the mcxml tool with secure processing: every command ends by
// itself, in bounded time, with exit status 0 or 1 and a JSON load status.
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Tests are named by position: the documents' own names stay out of test names.
// One empty entry stands for an absent corpus, so that the test reports a skip.
const std::vector<fs::path>& Documents() {
  static const std::vector<fs::path> documents = [] {
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(MCXML_CORPUS_DIR, error)) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".xml" || extension == ".pmml") found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    if (found.empty()) found.emplace_back();
    return found;
  }();
  return documents;
}

// One second for a small document and two more a megabyte (three times that under
// the sanitizers): far below what an unbounded expansion or a hanging fetch takes.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlowdown = 3;
#else
constexpr double kSlowdown = 1;
#endif

class CorpusTest : public testing::TestWithParam<size_t> {};

TEST_P(CorpusTest, EveryCommandEndsWithAStatus) {
  const fs::path& document = Documents()[GetParam()];
  if (document.empty()) GTEST_SKIP() << "no corpus at " << MCXML_CORPUS_DIR;
  const double bound = kSlowdown * (1.0 + 2.0 * fs::file_size(document) / (1 << 20));
  const std::regex loadStatus(R"(^\{\s*"load": \{\s*"code": \d+,\s*"warning": (true|false)\s*\},)");
  for (const std::string command : {"varlist", "varlist --bins", "stats", "settings-varlist"}) {
    SCOPED_TRACE(command + " " + document.filename().string());
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe =
        popen((MCXML_TOOL_PATH " " + command + " '" + document.string() + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    // 0 or 1 only: a signal, a usage error (2) or a leak report's exit code fails.
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "wait status " << status;
    EXPECT_TRUE(std::regex_search(output.substr(0, 200), loadStatus)) << output.substr(0, 200);
    EXPECT_EQ(output.substr(output.size() - std::min<size_t>(2, output.size())), "}\n");
    EXPECT_LT(taken.count(), bound);
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest, testing::Range(size_t{0}, Documents().size()));

}  // namespace
