// mcxml_bench: times a bare XercesDOMParser parse of generated documents beside
// each of the library's operations on the same bytes, measures the peak resident
// memory of both in child processes, and prints the ratios against their targets.
//
//   mcxml_bench [SHAPE] [--params=P] [--reps=R] [--forests=T,T,...] [--forest-fields=F]
//               [--piped-trees=T] [--small-documents=N] [benchmark flags]
//   mcxml_bench --once=MODE [SHAPE] [--params=P] [--file=PATH]   one run, for profilers
//
// SHAPE is any of --fields=N, --values=N, --name-length=N, --bins=N (see
// generator.h). MODE is bare (bare parse of the PMML document), parse (ParseToDOM
// of it), read (ParseToDOM, FillVarList with bins, the whole FillUniStats walk),
// check (ParseToDOM with element places and the check with bins), settings-bare or
// settings-query (load and query every parameter once), forest-bare or forest-lean
// (the bare parse or the lean whole read of the forest in PATH). The forests
// (default 100, 300 and 1,000 trees of depth 10 over 50 fields, and 2,400 trees
// through a pipe; --forests=0 leaves them out), then check over both shared
// corpora and over N small documents (default 10,000; 0 leaves them out), come
// before the benchmarks. bare-folder parses every file of the folder PATH.
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <xercesc/util/PlatformUtils.hpp>

#include "check_bench.h"
#include "forest_bench.h"
#include "generator.h"
#include "operations.h"

namespace {

namespace xc = XERCES_CPP_NAMESPACE;
using namespace mcxml_bench;

// ---- benchmarks ----

// Runs `operation` per iteration; a count other than `expected` fails the benchmark.
// `setup` runs before the timed loop.
void Timed(benchmark::State& state, const std::function<void()>& setup,
           const std::function<size_t()>& operation, size_t expected) {
  setup();
  for (auto _ : state) {
    const size_t count = operation();
    if (count != expected) {
      state.SkipWithError(
          ("did " + std::to_string(count) + " of " + std::to_string(expected)).c_str());
      break;
    }
  }
}

struct Case {
  const char* name;
  std::function<size_t()> operation;
  size_t expected;
  std::function<void()> setup;
};

std::vector<Case> Cases() {
  const size_t fields = static_cast<size_t>(gOptions.shape.fields);
  const SettingsDocument& settings = Settings();
  const size_t answers = settings.groups.size() + settings.params.size();
  // The queries alone run on a document loaded once, outside the timing.
  const auto loadPmml = [] { LoadPmml(); };
  const auto loadSettings = [] { LoadSettings(); };
  const auto none = [] {};
  return {
      {"pmml/bare_parse", [] { return BareParse(PmmlText()); }, 1, none},
      {"pmml/ParseToDOM", [] { return ParseOnly(PmmlText()); }, 1, none},
      {"pmml/whole_read", [] { return WholeRead(PmmlText()); }, 2 * fields, none},
      {"pmml/ParseToDOM_places", [] { return ParseOnly(PmmlText(), true); }, 1, none},
      {"pmml/whole_read_places", [] { return WholeRead(PmmlText(), true); }, 2 * fields, none},
      {"pmml/check", [] { return CheckWhole(PmmlText()); }, 1, none},
      {"pmml/FillVarList_all", [] { return LoadedVarListCount({}); }, fields, loadPmml},
      {"pmml/FillVarList_filtered", [] { return LoadedVarListCount(FilterNames()); },
       FilterNames().size(), loadPmml},
      {"pmml/FillUniStats_walk", [] { return LoadedUniStatsWalk(); }, fields, loadPmml},
      {"pmml/visit_read_parts", [] { return LoadedVisitReadParts(false); }, 1, loadPmml},
      {"pmml/visit_read_parts_ahead", [] { return LoadedVisitReadParts(true); }, 1, loadPmml},
      {"pmml/results_alone", [] { return ResultsAlone(); }, 2 * fields, loadPmml},
      {"settings/bare_parse", [] { return BareParse(Settings().text); }, 1, none},
      {"settings/ParseToDOM", [] { return SettingsParse(Settings()); }, 1, none},
      {"settings/query_all", [] { return LoadedSettingsQueryAll(); }, answers, loadSettings},
  };
}

// Shows every run as the console does and keeps the median times.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // A single repetition has no aggregates: it is its own median.
      if ((run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") ||
          (run.run_type == Run::RT_Iteration && run.repetitions == 1)) {
        m_medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        m_cpuMedians[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Median real or CPU time in milliseconds; negative when the benchmark did not run.
  double Median(const std::string& name, bool cpu = false) const {
    const std::map<std::string, double>& medians = cpu ? m_cpuMedians : m_medians;
    const auto found = medians.find(name);
    return found == medians.end() ? -1.0 : found->second;
  }

 private:
  std::map<std::string, double> m_medians;
  std::map<std::string, double> m_cpuMedians;
};

// ---- one run in a fresh process: cold timing, peak memory and profilers ----

// The process's CPU time in milliseconds. On a virtual machine whose host takes
// the core away now and then, it leaves out what real time counts of that.
double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Makes the document of `mode`, then runs its operation once and prints the
// milliseconds that took, in real time and in the process's CPU time.
int RunOnce(const std::string& mode, const std::string& file) {
  if (mode.compare(0, 7, "forest-") == 0 || mode == "bare-folder") {
    return RunForestOnce(mode, file, gOptions.shape);
  }
  std::function<size_t()> operation;
  size_t expected = 1;
  if (mode == "bare") {
    operation = [] { return BareParse(PmmlText()); };
  } else if (mode == "parse") {
    operation = [] { return ParseOnly(PmmlText()); };
  } else if (mode == "read") {
    operation = [] { return WholeRead(PmmlText()); };
    expected = 2 * static_cast<size_t>(gOptions.shape.fields);
  } else if (mode == "check") {
    operation = [] { return CheckWhole(PmmlText()); };
  } else if (mode == "settings-bare") {
    operation = [] { return BareParse(Settings().text); };
  } else if (mode == "settings-query") {
    operation = [] { return SettingsQueryOnce(Settings()); };
    expected = Settings().groups.size() + Settings().params.size();
  } else {
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
  }
  PmmlText();
  Settings();
  const double cpuStart = CpuMs();
  const auto start = std::chrono::steady_clock::now();
  const size_t count = operation();
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  const double cpu = CpuMs() - cpuStart;
  if (count != expected) {
    std::fprintf(stderr, "%s did %zu of %zu\n", mode.c_str(), count, expected);
    return 1;
  }
  std::printf("%.3f %.3f\n", elapsed.count(), cpu);
  return 0;
}

struct ChildRun {
  double ms = -1.0;
  double cpuMs = -1.0;
  long peakKiB = -1;
};

// `--once=mode` in a fresh process: the time it printed and its peak resident set.
ChildRun RunChild(const std::string& mode) {
  std::vector<std::string> args = ShapeOptions(gOptions.shape);
  args.push_back("--once=" + mode);
  args.push_back("--params=" + std::to_string(gOptions.params));
  int out[2];
  if (pipe(out) != 0) return {};
  const pid_t pid = fork();
  if (pid < 0) {
    close(out[0]);
    close(out[1]);
    return {};
  }
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv{const_cast<char*>("mcxml_bench")};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    _exit(127);
  }
  close(out[1]);
  std::string printed;
  char buffer[64];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) printed.append(buffer, n);
  close(out[0]);
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return {};
  }
  ChildRun run;
  if (std::sscanf(printed.c_str(), "%lf %lf", &run.ms, &run.cpuMs) != 2) return {};
  run.peakKiB = usage.ru_maxrss;
  return run;
}

template <class T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values.empty() || values.front() < 0 ? T(-1) : values[values.size() / 2];
}

// Medians over `reps` fresh processes of each mode, run in turns.
std::vector<ChildRun> RunChildren(const std::vector<std::string>& modes, int reps) {
  std::vector<std::vector<double> > times(modes.size());
  std::vector<std::vector<double> > cpuTimes(modes.size());
  std::vector<std::vector<long> > peaks(modes.size());
  for (int rep = 0; rep < reps; ++rep) {
    for (size_t m = 0; m < modes.size(); ++m) {
      const ChildRun run = RunChild(modes[m]);
      times[m].push_back(run.ms);
      cpuTimes[m].push_back(run.cpuMs);
      peaks[m].push_back(run.peakKiB);
    }
  }
  std::vector<ChildRun> medians(modes.size());
  for (size_t m = 0; m < modes.size(); ++m) {
    medians[m] = {Median(times[m]), Median(cpuTimes[m]), Median(peaks[m])};
  }
  return medians;
}

// ---- report ----

void PrintRatio(const char* what, double numerator, double denominator, double target,
                const std::string& baseline) {
  if (numerator < 0 || denominator <= 0) {
    std::printf("  %-46s   n/a  (not measured)\n", what);
    return;
  }
  const double ratio = numerator / denominator;
  std::printf("  %-46s %6.3f  target <= %.2f  %-6s (%s)\n", what, ratio, target,
              ratio <= target ? "ok" : "MISSED", baseline.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // Our own options are taken out; the rest go to the benchmark library.
  std::vector<char*> rest{argv[0]};
  bool interleaving = false;
  std::string file;
  std::vector<int> forests = {100, 300, 1000};
  int forestFields = 50;
  int pipedTrees = 2400;
  int smallDocuments = 10000;
  for (int i = 1; i < argc; ++i) {
    std::string value;
    if (TakeShapeOption(argv[i], gOptions.shape)) {
      continue;
    } else if (TakeOption(argv[i], "--params", value)) {
      gOptions.params = std::atoi(value.c_str());
    } else if (TakeOption(argv[i], "--reps", value)) {
      gOptions.reps = std::max(1, std::atoi(value.c_str()));
    } else if (TakeOption(argv[i], "--once", value)) {
      gOptions.once = value;
    } else if (TakeOption(argv[i], "--file", value)) {
      file = value;
    } else if (TakeOption(argv[i], "--forests", value)) {
      forests.clear();
      for (std::size_t at = 0; at < value.size(); at = value.find(',', at) + 1) {
        if (const int trees = std::atoi(value.c_str() + at); trees > 0) forests.push_back(trees);
        if (value.find(',', at) == std::string::npos) break;
      }
    } else if (TakeOption(argv[i], "--forest-fields", value)) {
      forestFields = std::atoi(value.c_str());
    } else if (TakeOption(argv[i], "--piped-trees", value)) {
      pipedTrees = std::atoi(value.c_str());
    } else if (TakeOption(argv[i], "--small-documents", value)) {
      smallDocuments = std::atoi(value.c_str());
    } else {
      if (std::strncmp(argv[i], "--benchmark_enable_random_interleaving", 38) == 0) {
        interleaving = true;
      }
      rest.push_back(argv[i]);
    }
  }

  xc::XMLPlatformUtils::Initialize();
  int exitStatus = 0;
  if (!gOptions.once.empty()) {
    exitStatus = RunOnce(gOptions.once, file);
    xc::XMLPlatformUtils::Terminate();
    return exitStatus;
  }

  // Repetitions interleaved in random order, so that a change in the machine's
  // load spreads over every benchmark alike.
  static char kInterleave[] = "--benchmark_enable_random_interleaving=true";
  if (!interleaving) rest.push_back(kInterleave);
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 2;

  // Fresh processes first: a child's peak also counts the pages it shared with
  // this process when it was forked, so this process must still be small.
  const std::vector<ChildRun> cold = RunChildren({"bare", "parse", "read"}, gOptions.reps);
  const double coldMs[] = {cold[0].ms, cold[1].ms, cold[2].ms};
  const long peakKiB[] = {cold[0].peakKiB, cold[1].peakKiB, cold[2].peakKiB};
  // The tool's runs too, whose peaks are a few megabytes.
  if (!forests.empty()) {
    PmmlShape forest;
    forest.fields = forestFields;
    ReportForests(forest, forests, pipedTrees, "/proc/self/exe", MCXML_TOOL_PATH);
  }
  ReportCheckSpeed(MCXML_SHARED_DIR, smallDocuments, gOptions.reps, "/proc/self/exe",
                   MCXML_TOOL_PATH);

  // Freed memory stays in the heap from here on, so that every repetition after
  // the first reuses it instead of faulting fresh pages in: otherwise where the
  // allocator last gave memory back would decide as much as the code does.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, INT_MAX);

  const PmmlShape& shape = gOptions.shape;
  std::printf(
      "documents: PMML %d fields (values %d, name length %d, bins %d), %.1f MB; settings %d "
      "parameters in %zu groups, %.1f kB\n",
      shape.fields, shape.values, shape.nameLength, shape.bins, PmmlText().size() / 1e6,
      gOptions.params, Settings().groups.size(), Settings().text.size() / 1e3);
  for (const Case& c : Cases()) {
    benchmark::RegisterBenchmark(
        c.name, [c](benchmark::State& state) { Timed(state, c.setup, c.operation, c.expected); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(gOptions.reps)
        ->ReportAggregatesOnly(true);
  }
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nfresh processes, medians of %d each:\n", gOptions.reps);
  std::printf(
      "  bare parse %.1f ms, peak %ld KiB; ParseToDOM %.1f ms, peak %ld KiB; whole read "
      "%.1f ms, peak %ld KiB\n",
      coldMs[0], peakKiB[0], coldMs[1], peakKiB[1], coldMs[2], peakKiB[2]);

  const auto ms = [&reporter](const char* name) { return reporter.Median(name); };
  const auto baseline = [](const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return std::string(text);
  };
  std::printf("\nratios (medians of %d repetitions):\n", gOptions.reps);
  PrintRatio("ParseToDOM / bare parse", ms("pmml/ParseToDOM"), ms("pmml/bare_parse"), 1.05,
             baseline("bare parse %.1f ms", ms("pmml/bare_parse")));
  PrintRatio("whole read / bare parse", ms("pmml/whole_read"), ms("pmml/bare_parse"), 1.05,
             baseline("bare parse %.1f ms", ms("pmml/bare_parse")));
  PrintRatio("ParseToDOM / bare parse, fresh processes", coldMs[1], coldMs[0], 1.05,
             baseline("bare parse %.1f ms", coldMs[0]));
  PrintRatio("whole read / bare parse, fresh processes", coldMs[2], coldMs[0], 1.05,
             baseline("bare parse %.1f ms", coldMs[0]));
  PrintRatio("ParseToDOM with element places / bare parse", ms("pmml/ParseToDOM_places"),
             ms("pmml/bare_parse"), 1.15, baseline("bare parse %.1f ms", ms("pmml/bare_parse")));
  PrintRatio("whole read with element places / bare parse", ms("pmml/whole_read_places"),
             ms("pmml/bare_parse"), 1.20, baseline("bare parse %.1f ms", ms("pmml/bare_parse")));
  PrintRatio("check (places, bins) / bare parse", ms("pmml/check"), ms("pmml/bare_parse"), 1.30,
             baseline("bare parse %.1f ms", ms("pmml/bare_parse")));
  std::printf(
      "  (for scale: visiting each node and value of the parts read, and doing nothing else, "
      "costs %.3f of the bare parse,\n   %.3f asking for memory ahead as the read does; "
      "storing the same results again with no document, %.3f)\n",
      ms("pmml/visit_read_parts") / ms("pmml/bare_parse"),
      ms("pmml/visit_read_parts_ahead") / ms("pmml/bare_parse"),
      ms("pmml/results_alone") / ms("pmml/bare_parse"));
  PrintRatio("FillVarList filtered / FillVarList all", ms("pmml/FillVarList_filtered"),
             ms("pmml/FillVarList_all"), 1.2,
             baseline("unfiltered %.2f ms", ms("pmml/FillVarList_all")));
  PrintRatio("peak memory whole read / bare parse", static_cast<double>(peakKiB[2]),
             static_cast<double>(peakKiB[0]), 1.10,
             baseline("bare parse %.0f KiB", static_cast<double>(peakKiB[0])));
  PrintRatio("settings query all / bare parse", ms("settings/query_all"), ms("settings/bare_parse"),
             1.0, baseline("bare parse %.2f ms", ms("settings/bare_parse")));

  // Real time above, as the targets are set; CPU time leaves out what a busy host
  // took of the core, which on a shared machine can be more than the read costs.
  const auto cpu = [&reporter](const char* name) { return reporter.Median(name, true); };
  const auto cpuRatio = [](double numerator, double denominator) {
    char text[16] = "n/a";
    if (numerator >= 0 && denominator > 0) {
      std::snprintf(text, sizeof text, "%.3f", numerator / denominator);
    }
    return std::string(text);
  };
  std::printf(
      "\nthe same in CPU time: ParseToDOM %s, whole read %s, fresh processes %s and %s,\n"
      "  check %s; visit %s, with memory asked for ahead %s, results alone %s\n",
      cpuRatio(cpu("pmml/ParseToDOM"), cpu("pmml/bare_parse")).c_str(),
      cpuRatio(cpu("pmml/whole_read"), cpu("pmml/bare_parse")).c_str(),
      cpuRatio(cold[1].cpuMs, cold[0].cpuMs).c_str(),
      cpuRatio(cold[2].cpuMs, cold[0].cpuMs).c_str(),
      cpuRatio(cpu("pmml/check"), cpu("pmml/bare_parse")).c_str(),
      cpuRatio(cpu("pmml/visit_read_parts"), cpu("pmml/bare_parse")).c_str(),
      cpuRatio(cpu("pmml/visit_read_parts_ahead"), cpu("pmml/bare_parse")).c_str(),
      cpuRatio(cpu("pmml/results_alone"), cpu("pmml/bare_parse")).c_str());
  benchmark::Shutdown();
  xc::XMLPlatformUtils::Terminate();
  return exitStatus;
}
