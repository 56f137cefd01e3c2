// Helpers for the hostile-input tests: running a case in a child process whose
// time, peak memory and way of ending are measured, running the mcxml tool, and
// documents generated in the test rather than committed.
#ifndef MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H
#define MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace mcxml_test {

/// How a child process ended and what it took.
struct ChildRun {
  bool exited = false;  // false: killed by a signal
  int exitCode = -1;
  int signal = 0;
  long peakKb = 0;  // ru_maxrss of the child
  double seconds = 0;
  std::string output;  // the child's standard output, when captured
};

inline std::ostream& operator<<(std::ostream& out, const ChildRun& run) {
  return out << (run.exited ? "exit " + std::to_string(run.exitCode)
                            : "signal " + std::to_string(run.signal))
             << ", " << run.peakKb / 1024 << " MB, " << run.seconds << " s";
}

namespace detail {

// Waits for `pid`, filling in how it ended and its peak memory. Address
// Sanitizer reserves terabytes of address space, so a limit on it (RLIMIT_AS)
// cannot bound memory there; the resident peak works in every build.
inline void Reap(pid_t pid, std::chrono::steady_clock::time_point start, ChildRun& run) {
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakKb = usage.ru_maxrss;
  run.exited = WIFEXITED(status);
  run.exitCode = run.exited ? WEXITSTATUS(status) : -1;
  run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

}  // namespace detail

/// Runs `body` in a forked child; its result is the exit code. The child leaves
/// through exit(), so a leak checker of the build still looks at it.
inline ChildRun RunInChild(const std::function<int()>& body) {
  std::fflush(nullptr);
  ChildRun run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) std::exit(body());
  if (pid < 0) return run;
  detail::Reap(pid, start, run);
  return run;
}

/// Runs the mcxml tool with `args`, capturing its standard output.
inline ChildRun RunTool(const std::string& tool, const std::vector<std::string>& args) {
  std::fflush(nullptr);
  ChildRun run;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    std::vector<char*> argv{const_cast<char*>(tool.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(tool.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  if (pid > 0) {
    char buffer[65536];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
      if (n > 0) run.output.append(buffer, static_cast<size_t>(n));
    }
  }
  close(pipeFds[0]);
  if (pid > 0) detail::Reap(pid, start, run);
  return run;
}

/// `open` repeated `depth` times, then `middle`, then `close` as often.
inline std::string Nested(const std::string& open, const std::string& middle,
                          const std::string& close, int depth) {
  std::string text;
  text.reserve((open.size() + close.size()) * static_cast<size_t>(depth) + middle.size());
  for (int i = 0; i < depth; ++i) text += open;
  text += middle;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

/// A PMML document with one categorical DataField.
inline std::string OneFieldPmml(const std::string& name, const std::string& value,
                                const std::string& afterDictionary = "") {
  return "<PMML><DataDictionary><DataField name=\"" + name +
         "\" optype=\"categorical\" dataType=\"string\"><Value value=\"" + value +
         "\"/></DataField></DataDictionary>" + afterDictionary + "</PMML>";
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_HOSTILE_HOSTILE_SUPPORT_H
