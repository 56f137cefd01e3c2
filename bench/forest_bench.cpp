// The forest benchmark: fresh processes measured by the kernel's own account of
// their CPU time and peak resident memory, so that the tool counts whole.
#include "forest_bench.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "operations.h"
#include "processes.h"

namespace mcxml_bench {
namespace {

// The generator writing a forest of `shape` into a pipe, read by the tool's
// varlist; `megabytes` is what went through.
Measured Piped(const PmmlShape& shape, const std::string& tool, double& megabytes) {
  int data[2];
  int size[2];
  if (pipe(data) != 0) return {};
  if (pipe(size) != 0) return {};
  const Started reader = Start({tool, "varlist", "--bins", "-"}, data[0]);
  const pid_t writer = fork();
  if (writer == 0) {
    close(data[0]);
    close(size[0]);
    double bytes = 0;
    GeneratePmml(shape, [&](const std::string& piece) {
      for (std::size_t done = 0; done < piece.size();) {
        const ssize_t n = write(data[1], piece.data() + done, piece.size() - done);
        if (n <= 0) _exit(1);
        done += static_cast<std::size_t>(n);
      }
      bytes += static_cast<double>(piece.size());
    });
    _exit(write(size[1], &bytes, sizeof bytes) == sizeof bytes ? 0 : 1);
  }
  close(data[0]);
  close(data[1]);
  close(size[1]);
  double bytes = 0;
  megabytes = read(size[0], &bytes, sizeof bytes) == sizeof bytes ? bytes / 1e6 : -1;
  close(size[0]);
  int status = 0;
  waitpid(writer, &status, 0);
  return Wait(reader);
}

void Row(const char* what, const Measured& run, const Measured& bare) {
  if (!run.ok) {
    std::printf("    %-24s failed\n", what);
    return;
  }
  std::printf("    %-24s %7.2f s CPU %6ld MiB peak", what, run.cpuSeconds, run.peakMiB);
  if (bare.ok && bare.cpuSeconds > 0) {
    std::printf("   %.3f of the bare parse%s", run.cpuSeconds / bare.cpuSeconds,
                run.cpuSeconds / bare.cpuSeconds <= 0.20 && run.peakMiB <= 32 ? "" : "  MISSED");
  }
  std::printf("\n");
}

}  // namespace

int RunForestOnce(const std::string& mode, const std::string& path, const PmmlShape& shape) {
  if (mode == "forest-bare") return BareFileParse(path) == 1 ? 0 : 1;
  if (mode == "bare-folder") return BareFolderParse(path) > 0 ? 0 : 1;
  // Every field, and a record for every field of the model's statistics.
  return LeanFileRead(path) == 2 * static_cast<std::size_t>(shape.fields) ? 0 : 1;
}

void ReportForests(const PmmlShape& shape, const std::vector<int>& trees, int pipedTrees,
                   const std::string& self, const std::string& tool) {
  double load[3] = {0, 0, 0};
  if (getloadavg(load, 3) < 0) load[0] = -1;
  std::printf(
      "\nforests of %d fields, trees of depth %d (load average %.2f %.2f %.2f); targets: at "
      "most 0.20 of the bare parse's CPU time and 32 MiB\n",
      shape.fields, shape.depth, load[0], load[1], load[2]);
  char folder[] = "/tmp/mcxml_bench_XXXXXX";
  if (mkdtemp(folder) == nullptr) return;
  const std::string path = std::string(folder) + "/forest.pmml";
  // The tool's varlist per gigabyte at each size, to set beside the pipe's.
  std::string perGigabyte;
  for (const int count : trees) {
    PmmlShape forest = shape;
    forest.trees = count;
    {
      std::ofstream out(path, std::ios::binary);
      GeneratePmml(forest, [&out](const std::string& piece) { out << piece; });
    }
    std::printf("  %d trees, %.0f MB:\n", count, std::filesystem::file_size(path) / 1e6);
    const std::vector<std::string> once = {self, "--fields=" + std::to_string(shape.fields),
                                           "--file=" + path};
    std::vector<std::string> bareArgs = once;
    bareArgs.push_back("--once=forest-bare");
    std::vector<std::string> leanArgs = once;
    leanArgs.push_back("--once=forest-lean");
    const Measured bare = Run(bareArgs);
    Row("bare full-DOM parse", bare, Measured());
    Row("lean whole read", Run(leanArgs), bare);
    const double megabytes = std::filesystem::file_size(path) / 1e6;
    const Measured varlist = Run({tool, "varlist", "--bins", path});
    Row("mcxml varlist --bins", varlist, bare);
    if (varlist.ok) {
      char text[32];
      std::snprintf(text, sizeof text, "%s%.2f", perGigabyte.empty() ? "" : ", ",
                    varlist.cpuSeconds / megabytes * 1e3);
      perGigabyte += text;
    }
    Row("mcxml stats", Run({tool, "stats", path}), bare);
    Row("mcxml check --bins", Run({tool, "check", "--bins", path}), bare);
  }
  std::filesystem::remove_all(folder);
  if (pipedTrees <= 0) return;
  PmmlShape piped = shape;
  piped.trees = pipedTrees;
  double megabytes = 0;
  const Measured run = Piped(piped, tool, megabytes);
  std::printf("  %d trees through a pipe, %.0f MB:\n", pipedTrees, megabytes);
  Row("mcxml varlist --bins -", run, Measured());
  if (run.ok && megabytes > 0) {
    std::printf("    %.2f s CPU per GB (the files above: %s)\n", run.cpuSeconds / megabytes * 1e3,
                perGigabyte.c_str());
  }
}

}  // namespace mcxml_bench
