// Helpers for the hostile-input tests: a child process whose CPU time, peak memory
// and way of ending are bounded, and a document generated in the test.
#ifndef MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H
#define MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace mcxml_test {

// Address Sanitizer's shadow memory, quarantine and checks raise every peak and time;
// it also reserves terabytes of address space, so no limit on that bounds memory.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSanitizerScale = 3;
#else
constexpr int kSanitizerScale = 1;
#endif

/// Runs `body` in a forked child and fails unless the child's own expectations
/// hold and it exits within `seconds` of CPU time with a resident peak below
/// `megabytes`, both three times that under the sanitizers, or hangs past ten
/// times its CPU bound in wall time. Each bound sits at least ten times above what
/// the sanitized build takes on a busy machine (2.7 s at most, the 64 MB attribute
/// against 180 s): it catches work without end, not a slow machine. The child
/// leaves through exit(), so the sanitizers' leak check runs.
inline void ExpectBounded(int seconds, long megabytes, const std::function<void()>& body) {
  const int cpuBound = seconds * kSanitizerScale;
  // Failures recorded before the fork are the caller's, not the child's.
  const testing::TestResult& result =
      *testing::UnitTest::GetInstance()->current_test_info()->result();
  const int before = result.total_part_count();
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    rlimit cpu{};
    if (getrlimit(RLIMIT_CPU, &cpu) == 0) {
      cpu.rlim_cur = std::min<rlim_t>(cpu.rlim_max, static_cast<rlim_t>(cpuBound) + 1);
      setrlimit(RLIMIT_CPU, &cpu);
    }
    alarm(static_cast<unsigned>(cpuBound * 10));
    body();  // an exception that leaves it aborts the child
    std::exit(result.total_part_count() > before ? 1 : 0);
  }
  ASSERT_GT(pid, 0);
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "wait status " << status << " (SIGXCPU: past the CPU bound, SIGALRM: hung, SIGABRT)";
  const auto secs = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  EXPECT_LT(secs(usage.ru_utime) + secs(usage.ru_stime), cpuBound) << "CPU seconds";
  EXPECT_LT(usage.ru_maxrss / 1024, megabytes * kSanitizerScale) << "MB at the peak";
}

/// A socket listening on a loopback port that never answers, so a client that
/// connects waits for ever; a connection from this process or a forked child
/// stays queued until Contacted() looks.
class Listener {
 public:
  Listener() : m_fd(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    socklen_t length = sizeof address;
    if (m_fd < 0 || bind(m_fd, raw, length) != 0 || listen(m_fd, 4) != 0 ||
        getsockname(m_fd, raw, &length) != 0) {
      ADD_FAILURE() << "no listening socket";
    }
    m_port = std::to_string(ntohs(address.sin_port));
  }
  ~Listener() {
    if (m_fd >= 0) close(m_fd);
  }
  Listener(const Listener&) = delete;

  const std::string& Port() const { return m_port; }
  std::string Url() const { return "http://127.0.0.1:" + m_port; }
  /// Whether a connection came in since the last look.
  bool Contacted() const {
    const int connection = accept(m_fd, nullptr, nullptr);
    if (connection >= 0) close(connection);
    if (connection < 0 && errno != EAGAIN && errno != EWOULDBLOCK) ADD_FAILURE() << "accept failed";
    return connection >= 0;
  }

 private:
  int m_fd;
  std::string m_port;
};

/// A PMML document with one categorical DataField of one Value.
inline std::string OneFieldPmml(const std::string& name, const std::string& value,
                                const std::string& afterDictionary = "") {
  return "<PMML><DataDictionary><DataField name=\"" + name +
         "\" optype=\"categorical\" dataType=\"string\"><Value value=\"" + value +
         "\"/></DataField></DataDictionary>" + afterDictionary + "</PMML>";
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H
