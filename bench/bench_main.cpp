// mcxml_bench: times a bare XercesDOMParser parse of generated documents beside
// each of the library's operations on the same bytes, measures the peak resident
// memory of both in child processes, and prints the ratios against their targets.
//
//   mcxml_bench [--fields=N] [--params=P] [--reps=R] [benchmark flags]
//   mcxml_bench --once=MODE [--fields=N] [--params=P]   one run, for profilers
//
// MODE is bare (bare parse of the PMML document), parse (ParseToDOM of it), read
// (ParseToDOM, FillVarList with bins, the whole FillUniStats walk), check (ParseToDOM
// with element places and the check with bins), settings-bare or settings-query
// (load and query every parameter once).
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
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include "generator.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"

namespace {

namespace xc = XERCES_CPP_NAMESPACE;
using namespace MCXML_1_3;
using mcxml_bench::ParamKind;
using mcxml_bench::SettingsDocument;

struct Options {
  int fields = 20000;
  int params = 2000;
  int reps = 5;
  std::string once;
};

Options gOptions;

// ---- inputs ----

// Reads a string in place, so that our stream input costs no copy the bare
// parse's memory buffer does not.
class MemoryBuf : public std::streambuf {
 public:
  explicit MemoryBuf(const std::string& bytes) {
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }

 protected:
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    if (off != 0 || dir != std::ios_base::cur) return pos_type(off_type(-1));
    return pos_type(gptr() - eback());
  }
};

class MemoryStream : public std::istream {
 public:
  explicit MemoryStream(const std::string& bytes) : std::istream(nullptr), m_buf(bytes) {
    rdbuf(&m_buf);
  }

 private:
  MemoryBuf m_buf;
};

const std::string& PmmlText() {
  static const std::string text = mcxml_bench::GeneratePmml(gOptions.fields);
  return text;
}

const SettingsDocument& Settings() {
  static const SettingsDocument doc = mcxml_bench::GenerateSettings(gOptions.params);
  return doc;
}

// Half the field names, every other one, so that both kinds are chosen.
const std::vector<std::string>& FilterNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> result;
    for (int i = 0; i < gOptions.fields; i += 2) result.push_back(mcxml_bench::FieldName(i));
    return result;
  }();
  return names;
}

// ---- operations; each returns a count that shows it did all its work ----

size_t BareParse(const std::string& bytes) {
  xc::XercesDOMParser parser;
  xc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(),
                               "bench");
  parser.parse(source);
  return parser.getDocument() != nullptr ? 1 : 0;
}

// Every node under `node` once, and every attribute's name and value text; the
// count of values seen.
size_t VisitSubtree(const DOMNode& node) {
  size_t values = node.getNodeValue() != nullptr ? 1 : 0;
  if (const XERCES_CPP_NAMESPACE::DOMNamedNodeMap* map = node.getAttributes()) {
    const XMLSize_t count = map->getLength();
    for (XMLSize_t i = 0; i < count; ++i) {
      const DOMNode* attr = map->item(i);
      const DOMNode* text = attr->getFirstChild();
      if (attr->getNodeName() != nullptr && text != nullptr && text->getNodeValue() != nullptr) {
        ++values;
      }
    }
  }
  for (const DOMNode* child = node.getFirstChild(); child != nullptr;
       child = child->getNextSibling()) {
    values += VisitSubtree(*child);
  }
  return values;
}

// The parts that a whole read reads, each node and value once and nothing else
// done: the least that any reader of them pays through the DOM.
size_t VisitReadParts(const MCPMMLParser& parser) {
  const DOMElement& root = *parser.GetRootElement();
  const DOMElement* model = GetFirstChildElmt(root, "TreeModel");
  const DOMElement* parts[] = {
      GetFirstChildElmt(root, "DataDictionary"),
      GetFirstChildElmt(root, "TransformationDictionary"),
      model != nullptr ? GetFirstChildElmt(*model, "ModelStats") : nullptr};
  size_t values = 0;
  for (const DOMElement* part : parts) {
    if (part != nullptr) values += VisitSubtree(*part);
  }
  return values;
}

size_t UniStatsWalk(MCPMMLParser& parser) {
  const DOMElement* model = GetFirstChildElmt(*parser.GetRootElement(), "TreeModel");
  if (model == nullptr || !parser.SetModelElmt(*model)) return 0;
  size_t read = 0;
  const DOMElement* cursor = nullptr;
  do {
    MCUniStats stats;
    if (parser.FillUniStats(stats, cursor).IsOK() && cursor != nullptr) ++read;
  } while (cursor != nullptr);
  return read;
}

size_t VarListCount(const MCPMMLParser& parser, const std::vector<std::string>& names) {
  MCVarList varList;
  if (!parser.FillVarList(varList, names, true).IsOK()) return 0;
  return static_cast<size_t>(varList.GetCount());
}

size_t ParseOnly(const std::string& bytes, bool places = false) {
  MCPMMLParser parser;
  parser.SetElementPlaces(places);
  MemoryStream in(bytes);
  return parser.ParseToDOM(in).IsOK() ? 1 : 0;
}

// ParseToDOM, FillVarList of every field with bins, and the whole statistics walk.
size_t WholeRead(const std::string& bytes, bool places = false) {
  MCPMMLParser parser;
  parser.SetElementPlaces(places);
  MemoryStream in(bytes);
  if (!parser.ParseToDOM(in).IsOK()) return 0;
  MCVarList varList;
  if (!parser.FillVarList(varList, {}, true).IsOK()) return 0;
  return static_cast<size_t>(varList.GetCount()) + UniStatsWalk(parser);
}

// What mcxml check does: ParseToDOM with element places and the check with bins;
// 1 when it found no problem in the clean document.
size_t CheckWhole(const std::string& bytes) {
  MCPMMLParser parser;
  parser.SetElementPlaces(true);
  MemoryStream in(bytes);
  if (!parser.ParseToDOM(in).IsOK()) return 0;
  return parser.CheckDocument(true).empty() ? 1 : 0;
}

template <class T>
bool Query(const MCSettingsParser& parser, const char* name, void* context) {
  T value{};
  return parser.GetParameter(name, value, context).IsOK();
}

// Every group once, then every parameter once with the getter its kind calls
// for; the count of OK answers.
size_t QueryAll(MCSettingsParser& parser, const SettingsDocument& doc) {
  size_t ok = 0;
  std::vector<void*> handles(doc.groups.size(), nullptr);
  for (size_t j = 0; j < doc.groups.size(); ++j) {
    const int parent = doc.groups[j].parent;
    handles[j] = parser.GetComplexParameter(doc.groups[j].name.c_str(),
                                            parent < 0 ? nullptr : handles[parent]);
    if (handles[j] != nullptr) ++ok;
  }
  for (const mcxml_bench::SettingsParam& param : doc.params) {
    const char* name = param.name.c_str();
    void* context = param.group < 0 ? nullptr : handles[param.group];
    bool answered = false;
    switch (param.kind) {
      case ParamKind::kString:
      case ParamKind::kEnum:
        answered = Query<std::string>(parser, name, context);
        break;
      case ParamKind::kInteger:
        answered = Query<int>(parser, name, context);
        break;
      case ParamKind::kDouble:
        answered = Query<double>(parser, name, context);
        break;
      case ParamKind::kBoolean:
        answered = Query<bool>(parser, name, context);
        break;
      case ParamKind::kFieldName: {
        std::string value;
        answered = context == nullptr ? parser.GetVariables(name, value).IsOK()
                                      : parser.GetParameter(name, value, context).IsOK();
        break;
      }
      case ParamKind::kNameList: {
        std::vector<std::string> values;
        answered = parser.GetVariables(name, values).IsOK();
        break;
      }
      case ParamKind::kArrayString: {
        std::vector<std::string> values;
        answered = parser.GetArray(name, values, context).IsOK();
        break;
      }
      case ParamKind::kArrayInteger: {
        std::vector<int> values;
        answered = parser.GetArray(name, values, context).IsOK();
        break;
      }
      case ParamKind::kArrayDouble: {
        std::vector<double> values;
        answered = parser.GetArray(name, values, context).IsOK();
        break;
      }
      case ParamKind::kMatrixInteger: {
        std::vector<std::vector<int> > values;
        answered = parser.GetMatrix(name, values, context).IsOK();
        break;
      }
      case ParamKind::kMatrixDouble: {
        std::vector<std::vector<double> > values;
        answered = parser.GetMatrix(name, values, context).IsOK();
        break;
      }
      case ParamKind::kMatrixString: {
        std::vector<std::vector<std::string> > values;
        answered = parser.GetMatrix(name, values, context).IsOK();
        break;
      }
    }
    if (answered) ++ok;
  }
  return ok;
}

size_t SettingsQueryOnce(const SettingsDocument& doc) {
  MCSettingsParser parser;
  MemoryStream in(doc.text);
  if (!parser.ParseToDOM(in).IsOK()) return 0;
  return QueryAll(parser, doc);
}

// A parsed document shared by the benchmarks that time the queries alone.
template <class Parser>
Parser& Loaded(const std::string& bytes) {
  static Parser parser;
  static const bool loaded = [&bytes] {
    MemoryStream in(bytes);
    return parser.ParseToDOM(in).IsOK();
  }();
  if (!loaded) std::abort();
  return parser;
}

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
  const size_t fields = static_cast<size_t>(gOptions.fields);
  const SettingsDocument& settings = Settings();
  const size_t answers = settings.groups.size() + settings.params.size();
  // The queries alone run on a document loaded once, outside the timing.
  const auto loadPmml = [] { Loaded<MCPMMLParser>(PmmlText()); };
  const auto loadSettings = [] { Loaded<MCSettingsParser>(Settings().text); };
  const auto none = [] {};
  return {
      {"pmml/bare_parse", [] { return BareParse(PmmlText()); }, 1, none},
      {"pmml/ParseToDOM", [] { return ParseOnly(PmmlText()); }, 1, none},
      {"pmml/whole_read", [] { return WholeRead(PmmlText()); }, 2 * fields, none},
      {"pmml/ParseToDOM_places", [] { return ParseOnly(PmmlText(), true); }, 1, none},
      {"pmml/whole_read_places", [] { return WholeRead(PmmlText(), true); }, 2 * fields, none},
      {"pmml/check", [] { return CheckWhole(PmmlText()); }, 1, none},
      {"pmml/FillVarList_all", [] { return VarListCount(Loaded<MCPMMLParser>(PmmlText()), {}); },
       fields, loadPmml},
      {"pmml/FillVarList_filtered",
       [] { return VarListCount(Loaded<MCPMMLParser>(PmmlText()), FilterNames()); },
       FilterNames().size(), loadPmml},
      {"pmml/FillUniStats_walk", [] { return UniStatsWalk(Loaded<MCPMMLParser>(PmmlText())); },
       fields, loadPmml},
      {"pmml/visit_read_parts",
       [] { return VisitReadParts(Loaded<MCPMMLParser>(PmmlText())) > 0 ? size_t{1} : size_t{0}; },
       1, loadPmml},
      {"settings/bare_parse", [] { return BareParse(Settings().text); }, 1, none},
      {"settings/ParseToDOM",
       [] {
         MCSettingsParser parser;
         MemoryStream in(Settings().text);
         return parser.ParseToDOM(in).IsOK() ? size_t{1} : size_t{0};
       },
       1, none},
      {"settings/query_all",
       [] { return QueryAll(Loaded<MCSettingsParser>(Settings().text), Settings()); }, answers,
       loadSettings},
  };
}

// Shows every run as the console does and keeps the median times.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        m_medians[run.run_name.function_name] = run.GetAdjustedRealTime();
      } else if (run.run_type == Run::RT_Iteration && run.repetitions == 1) {
        // A single repetition has no aggregates: it is its own median.
        m_medians[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Median real time in milliseconds; negative when the benchmark did not run.
  double Median(const std::string& name) const {
    const auto found = m_medians.find(name);
    return found == m_medians.end() ? -1.0 : found->second;
  }

 private:
  std::map<std::string, double> m_medians;
};

// ---- one run in a fresh process: cold timing, peak memory and profilers ----

// Makes the document of `mode`, then runs its operation once and prints the
// milliseconds that took.
int RunOnce(const std::string& mode) {
  std::function<size_t()> operation;
  size_t expected = 1;
  if (mode == "bare") {
    operation = [] { return BareParse(PmmlText()); };
  } else if (mode == "parse") {
    operation = [] { return ParseOnly(PmmlText()); };
  } else if (mode == "read") {
    operation = [] { return WholeRead(PmmlText()); };
    expected = 2 * static_cast<size_t>(gOptions.fields);
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
  const auto start = std::chrono::steady_clock::now();
  const size_t count = operation();
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  if (count != expected) {
    std::fprintf(stderr, "%s did %zu of %zu\n", mode.c_str(), count, expected);
    return 1;
  }
  std::printf("%.3f\n", elapsed.count());
  return 0;
}

struct ChildRun {
  double ms = -1.0;
  long peakKiB = -1;
};

// `--once=mode` in a fresh process: the time it printed and its peak resident set.
ChildRun RunChild(const std::string& mode) {
  const std::string onceArg = "--once=" + mode;
  const std::string fieldsArg = "--fields=" + std::to_string(gOptions.fields);
  const std::string paramsArg = "--params=" + std::to_string(gOptions.params);
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
    char* const argv[] = {const_cast<char*>("mcxml_bench"), const_cast<char*>(onceArg.c_str()),
                          const_cast<char*>(fieldsArg.c_str()),
                          const_cast<char*>(paramsArg.c_str()), nullptr};
    execv("/proc/self/exe", argv);
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
  run.ms = std::atof(printed.c_str());
  run.peakKiB = usage.ru_maxrss;
  return run;
}

template <class T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values.empty() || values.front() < 0 ? T(-1) : values[values.size() / 2];
}

// Medians over `reps` fresh processes of each mode, run in turns.
void RunChildren(const std::vector<std::string>& modes, int reps, std::vector<double>& ms,
                 std::vector<long>& peakKiB) {
  std::vector<std::vector<double> > times(modes.size());
  std::vector<std::vector<long> > peaks(modes.size());
  for (int rep = 0; rep < reps; ++rep) {
    for (size_t m = 0; m < modes.size(); ++m) {
      const ChildRun run = RunChild(modes[m]);
      times[m].push_back(run.ms);
      peaks[m].push_back(run.peakKiB);
    }
  }
  ms.clear();
  peakKiB.clear();
  for (size_t m = 0; m < modes.size(); ++m) {
    ms.push_back(Median(times[m]));
    peakKiB.push_back(Median(peaks[m]));
  }
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

bool TakeOption(const char* arg, const char* name, std::string& value) {
  const size_t length = std::strlen(name);
  if (std::strncmp(arg, name, length) != 0 || arg[length] != '=') return false;
  value = arg + length + 1;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Our own options are taken out; the rest go to the benchmark library.
  std::vector<char*> rest{argv[0]};
  bool interleaving = false;
  for (int i = 1; i < argc; ++i) {
    std::string value;
    if (TakeOption(argv[i], "--fields", value)) {
      gOptions.fields = std::atoi(value.c_str());
    } else if (TakeOption(argv[i], "--params", value)) {
      gOptions.params = std::atoi(value.c_str());
    } else if (TakeOption(argv[i], "--reps", value)) {
      gOptions.reps = std::max(1, std::atoi(value.c_str()));
    } else if (TakeOption(argv[i], "--once", value)) {
      gOptions.once = value;
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
    exitStatus = RunOnce(gOptions.once);
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
  std::vector<double> coldMs;
  std::vector<long> peakKiB;
  RunChildren({"bare", "parse", "read"}, gOptions.reps, coldMs, peakKiB);

  // Freed memory stays in the heap from here on, so that every repetition after
  // the first reuses it instead of faulting fresh pages in: otherwise where the
  // allocator last gave memory back would decide as much as the code does.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, INT_MAX);

  std::printf("documents: PMML %d fields, %.1f MB; settings %d parameters in %zu groups, %.1f kB\n",
              gOptions.fields, PmmlText().size() / 1e6, gOptions.params, Settings().groups.size(),
              Settings().text.size() / 1e3);
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
      "  (for scale: visiting each node and value of the parts read, and doing "
      "nothing else, costs %.3f of the bare parse)\n",
      ms("pmml/visit_read_parts") / ms("pmml/bare_parse"));
  PrintRatio("FillVarList filtered / FillVarList all", ms("pmml/FillVarList_filtered"),
             ms("pmml/FillVarList_all"), 1.2,
             baseline("unfiltered %.2f ms", ms("pmml/FillVarList_all")));
  PrintRatio("peak memory whole read / bare parse", static_cast<double>(peakKiB[2]),
             static_cast<double>(peakKiB[0]), 1.10,
             baseline("bare parse %.0f KiB", static_cast<double>(peakKiB[0])));
  PrintRatio("settings query all / bare parse", ms("settings/query_all"), ms("settings/bare_parse"),
             1.0, baseline("bare parse %.2f ms", ms("settings/bare_parse")));
  benchmark::Shutdown();
  xc::XMLPlatformUtils::Terminate();
  return exitStatus;
}
