// Programs run by the benchmarks in processes of their own, measured by the
// kernel's own account: CPU time, wall time and peak resident memory.
#ifndef MCXML_BENCH_PROCESSES_H
#define MCXML_BENCH_PROCESSES_H

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace mcxml_bench {

struct Measured {
  double cpuSeconds = -1;  ///< user and system
  double wallSeconds = -1;
  long peakMiB = -1;
  bool ok = false;  ///< ended by itself with exit status 0 or 1
};

/// A started program and when it started.
struct Started {
  pid_t pid = -1;
  std::chrono::steady_clock::time_point at;
};

/// Runs `args` (the program first, a path) with standard input from `in` (or
/// /dev/null when negative) and standard output to /dev/null.
Started Start(std::vector<std::string> args, int in = -1);
/// Waits for `started` to end.
Measured Wait(const Started& started);
/// Start and Wait.
Measured Run(const std::vector<std::string>& args);

}  // namespace mcxml_bench

#endif  // MCXML_BENCH_PROCESSES_H
