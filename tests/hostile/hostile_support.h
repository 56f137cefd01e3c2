// Helpers for the hostile-input tests: a child process whose time, peak memory and
// way of ending are bounded, and a document generated in the test.
#ifndef MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H
#define MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace mcxml_test {

// Address Sanitizer's shadow memory, quarantine and checks raise every peak and time.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSanitizerScale = 3;
#else
constexpr int kSanitizerScale = 1;
#endif

/// Runs `body` in a forked child and fails unless the child's own expectations
/// hold and it exits within `seconds` with a resident peak below `megabytes`.
/// The sanitizers reserve terabytes of address space, so no limit on that could
/// bound memory; the child leaves through exit(), so their leak check runs.
inline void ExpectBounded(int seconds, long megabytes, const std::function<void()>& body) {
  // Failures recorded before the fork are the caller's, not the child's.
  const testing::TestResult& result =
      *testing::UnitTest::GetInstance()->current_test_info()->result();
  const int before = result.total_part_count();
  std::fflush(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(static_cast<unsigned>(seconds * kSanitizerScale + 1));
    try {
      body();
    } catch (...) {
      ADD_FAILURE() << "an exception left the child's body";
    }
    std::exit(result.total_part_count() > before ? 1 : 0);
  }
  ASSERT_GT(pid, 0);
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
  EXPECT_LT(taken.count(), seconds * kSanitizerScale);
  EXPECT_LT(usage.ru_maxrss / 1024, megabytes * kSanitizerScale) << "MB at the peak";
}

/// A PMML document with one categorical DataField of one Value.
inline std::string OneFieldPmml(const std::string& name, const std::string& value,
                                const std::string& afterDictionary = "") {
  return "<PMML><DataDictionary><DataField name=\"" + name +
         "\" optype=\"categorical\" dataType=\"string\"><Value value=\"" + value +
         "\"/></DataField></DataDictionary>" + afterDictionary + "</PMML>";
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H
