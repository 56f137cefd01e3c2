// Checking many documents, timed in wall time (what -j buys) and CPU time.
#include "check_bench.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "generator.h"
#include "processes.h"

namespace mcxml_bench {
namespace {

namespace fs = std::filesystem;

// The median wall and CPU seconds of `reps` runs of `args`, run in turns with
// the others so that a change in the machine's load falls on all alike.
std::vector<Measured> Medians(const std::vector<std::vector<std::string>>& runs, int reps) {
  std::vector<std::vector<Measured>> all(runs.size());
  for (int rep = 0; rep < reps; ++rep) {
    for (std::size_t i = 0; i < runs.size(); ++i) all[i].push_back(Run(runs[i]));
  }
  std::vector<Measured> medians;
  for (std::vector<Measured>& measured : all) {
    std::sort(measured.begin(), measured.end(),
              [](const Measured& a, const Measured& b) { return a.wallSeconds < b.wallSeconds; });
    medians.push_back(measured[measured.size() / 2]);
  }
  return medians;
}

void Ratio(const char* what, const Measured& run, const Measured& base, double target) {
  if (!run.ok || !base.ok) {
    std::printf("  %-44s failed\n", what);
    return;
  }
  const double ratio = run.wallSeconds / base.wallSeconds;
  std::printf("  %-44s %6.2f s wall %6.2f s CPU   %.3f  target <= %.2f  %s\n", what,
              run.wallSeconds, run.cpuSeconds, ratio, target, ratio <= target ? "ok" : "MISSED");
}

}  // namespace

void ReportCheckSpeed(const std::string& shared, int small, int reps, const std::string& self,
                      const std::string& tool) {
  double load[3] = {0, 0, 0};
  if (getloadavg(load, 3) < 0) load[0] = -1;
  std::printf("\ncheck of many documents, medians of %d (load average %.2f %.2f %.2f):\n", reps,
              load[0], load[1], load[2]);
  char folder[] = "/tmp/mcxml_bench_XXXXXX";
  if (mkdtemp(folder) == nullptr) return;
  std::vector<std::string> corpora;
  for (const char* name : {"corpus", "realworld"}) {
    const fs::path from = fs::path(shared) / name;
    std::error_code error;
    if (!fs::is_directory(from, error)) continue;
    const fs::path to = fs::path(folder) / name;
    fs::create_directory(to);
    for (const auto& entry : fs::directory_iterator(from)) {
      const fs::path& file = entry.path();
      const std::string command =
          file.extension() == ".gz"
              ? "gzip -dc '" + file.string() + "' > '" + (to / file.stem()).string() + "'"
              : "cp '" + file.string() + "' '" + to.string() + "'";
      if (std::system(command.c_str()) != 0) std::printf("  could not unpack %s\n", file.c_str());
    }
    corpora.push_back(to.string());
  }
  if (!corpora.empty()) {
    std::vector<std::string> one = {tool, "check", "--bins", "-j", "1"};
    one.insert(one.end(), corpora.begin(), corpora.end());
    std::vector<std::string> two = one;
    two[4] = "2";
    const std::vector<Measured> runs = Medians({one, two}, reps);
    Ratio("both corpora, -j 1", runs[0], runs[0], 1.0);
    Ratio("both corpora, -j 2 / -j 1", runs[1], runs[0], 0.6);
  }
  if (small > 0) {
    const fs::path many = fs::path(folder) / "small";
    fs::create_directory(many);
    PmmlShape shape;
    shape.fields = 8;
    shape.values = 4;
    shape.bins = 3;
    const std::string text = GeneratePmml(shape);
    for (int i = 0; i < small; ++i) {
      std::ofstream(many / ("model" + std::to_string(i) + ".pmml"), std::ios::binary) << text;
    }
    std::printf("  %d documents of %zu bytes:\n", small, text.size());
    const std::vector<Measured> runs =
        Medians({{self, "--once=bare-folder", "--file=" + many.string()},
                 {tool, "check", "--bins", "-j", "1", many.string()},
                 {tool, "check", "--bins", many.string()}},
                reps);
    Ratio("bare parse of each, one process", runs[0], runs[0], 1.0);
    Ratio("check -j 1 / bare parse", runs[1], runs[0], 2.0);
    Ratio("check (one thread a core) / bare parse", runs[2], runs[0], 2.0);
  }
  fs::remove_all(folder);
}

}  // namespace mcxml_bench
