// Real-world documents from the two shared corpora (beside the clone, never
// copied into the tree; a gzipped one is unpacked into a folder of its test) and
// generated forests: every read of the library is the same on the whole document
// and on the lean reading (the fuzz targets' own comparison, which stops the
// program on a difference), and every command of the tool prints the same bytes
// with and without --whole, ends by itself in bounded CPU time with exit status 0
// or 1 and opens with a JSON load status.
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"
#include "test_support.h"

extern "C" int McxmlFuzzPmml(const uint8_t* data, size_t size);
extern "C" int McxmlFuzzSettings(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;
using mcxml_test::Repeat;
using mcxml_test::TempFolder;

// Tests are named by position: the documents' own names stay out of test names.
// One empty entry stands for absent corpora, so that the test reports a skip.
const std::vector<fs::path>& Documents() {
  static const std::vector<fs::path> documents = [] {
    std::vector<fs::path> found;
    for (const char* folder : {MCXML_CORPUS_DIR, MCXML_REALWORLD_DIR}) {
      std::error_code error;
      for (const auto& entry : fs::directory_iterator(folder, error)) {
        const fs::path& path = entry.path();
        const fs::path inner = path.extension() == ".gz" ? path.stem() : path;
        if (inner.extension() == ".xml" || inner.extension() == ".pmml") found.push_back(path);
      }
    }
    std::sort(found.begin(), found.end());
    if (found.empty()) found.emplace_back();
    return found;
  }();
  return documents;
}

// CPU seconds per command: ten for a small document and one more a megabyte,
// three times that under the sanitizers. Sanitized, beside another build, the
// worst were 0.45 s for a 1 kB document (an entity expansion, stopped) and 1.1 s
// for 19 MB: the bounds sit ten times and more above that, so only work without
// end exceeds them. A command still running after ten times its bound in wall
// time is taken to hang and killed.
constexpr double kSlowdown = mcxml_test::kSanitizerScale;

// The CPU time of every child and grandchild ended and waited for so far.
double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

using ToolRun = mcxml_test::CommandRun;

ToolRun RunTool(const std::string& command, double bound) {
  return mcxml_test::RunCommand("timeout -s KILL " + std::to_string(static_cast<int>(bound * 10)) +
                                " " MCXML_TOOL_PATH " " + command + " 2>/dev/null");
}

// Both readings of the library, then every command both ways.
void ExpectSameReadings(const std::string& path) {
  const std::string bytes = mcxml_test::ReadFile(path);
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  static_cast<void>(McxmlFuzzPmml(data, bytes.size()));
  static_cast<void>(McxmlFuzzSettings(data, bytes.size()));

  const double bound = kSlowdown * (10 + bytes.size() / double(1 << 20));
  const std::regex loadStatus(R"(^\{\s*"load": \{\s*"code": \d+,\s*"warning": (true|false)\s*\},)");
  const std::string file = " '" + path + "'";
  // What the lean reading skips is not held to the memory budget: a document
  // that outgrows it whole is read whole without secure processing.
  const bool outgrows =
      RunTool("check --whole" + file, bound).output.find("the document needs more than ") !=
      std::string::npos;
  const std::string wholeOption = outgrows ? " --whole --trust" : " --whole";
  for (const std::string& command :
       {"varlist" + file, "varlist --bins" + file, "stats" + file, "stats --model 1" + file,
        "settings-varlist --bins" + file, "query" + file + " inputs: int:depth@tree",
        "check" + file, "check --bins --format text" + file}) {
    SCOPED_TRACE(command);
    const double cpuBefore = ChildrenCpuSeconds();
    const ToolRun lean = RunTool(command, bound);
    const ToolRun whole = RunTool(
        command.substr(0, command.find(' ')) + wholeOption + command.substr(command.find(' ')),
        bound);
    EXPECT_LT(ChildrenCpuSeconds() - cpuBefore, 2 * bound) << "CPU seconds";
    // 0 or 1 only: a signal, a usage error (2), a leak report's exit code or a kill
    // after a hang (137) fails.
    EXPECT_TRUE(WIFEXITED(lean.status) && WEXITSTATUS(lean.status) <= 1) << lean.status;
    EXPECT_EQ(lean.status, whole.status);
    EXPECT_TRUE(lean.output == whole.output) << "lean:\n"
                                             << lean.output.substr(0, 2000) << "\nwhole:\n"
                                             << whole.output.substr(0, 2000);
    if (command.find("--format text") == std::string::npos) {
      EXPECT_TRUE(std::regex_search(lean.output.substr(0, 200), loadStatus))
          << lean.output.substr(0, 200);
    }
  }
}

class CorpusTest : public testing::TestWithParam<size_t> {};

TEST_P(CorpusTest, LeanAndWholeReadAlike) {
  const fs::path& document = Documents()[GetParam()];
  if (document.empty()) GTEST_SKIP() << "no corpus at " << MCXML_CORPUS_DIR;
  if (document.extension() != ".gz") return ExpectSameReadings(document.string());
  const TempFolder folder;
  const std::string path = folder.Path(document.stem().string());
  ASSERT_EQ(std::system(("gzip -dc '" + document.string() + "' > '" + path + "'").c_str()), 0);
  ExpectSameReadings(path);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest, testing::Range(size_t{0}, Documents().size()));

// A forest of `trees` trees of depth 3 under a MiningModel, with what a lean
// reading keeps around it and a TreeModel of its own statistics in each Segment.
std::string Forest(int trees, const std::string& inBody = "") {
  const std::string node =
      "<Node id=\"n\" score=\"1\"><SimplePredicate field=\"x\" operator=\"lessThan\" "
      "value=\"2.5\"/><ScoreDistribution value=\"a\" recordCount=\"3\"/>";
  std::string tree = Repeat(node, 3) + inBody + Repeat("</Node>", 3);
  std::string segments;
  for (int i = 0; i < trees; ++i) {
    segments += "<Segment id=\"" + std::to_string(i) +
                "\"><True/><TreeModel functionName=\"regression\"><MiningSchema><MiningField "
                "name=\"x\"/></MiningSchema><ModelStats><UnivariateStats field=\"x\"><Counts "
                "totalFreq=\"-4\"/></UnivariateStats></ModelStats>" +
                tree + "</TreeModel></Segment>";
  }
  return "<?xml version=\"1.0\"?>\n<PMML version=\"4.4\"><Header/>\n<DataDictionary>\n"
         "<DataField name=\"x\" optype=\"continuous\" dataType=\"double\"/>\n"
         "<DataField name=\"y\" optype=\"categorical\" dataType=\"string\"><Value value=\"a\"/>"
         "</DataField></DataDictionary>\n<TransformationDictionary><DerivedField name=\"b\">"
         "<Discretize field=\"x\"><DiscretizeBin binValue=\"lo\"><Interval closure=\"openOpen\" "
         "rightMargin=\"1\"/></DiscretizeBin><DiscretizeBin binValue=\"hi\"><Interval "
         "closure=\"closedOpen\" leftMargin=\"1\"/></DiscretizeBin></Discretize></DerivedField>"
         "</TransformationDictionary>\n<MiningModel functionName=\"regression\">\n"
         "<MiningSchema><MiningField name=\"x\"/></MiningSchema>\n<Segmentation "
         "multipleModelMethod=\"average\">" +
         segments +
         "</Segmentation>\n<ModelStats><UnivariateStats field=\"x\"><Counts totalFreq=\"10\"/>"
         "<NumericInfo mean=\"2\"/><ContStats><Interval closure=\"openOpen\" rightMargin=\"1\"/>"
         "<Interval closure=\"closedOpen\" leftMargin=\"1\"/><Array type=\"int\">4 6</Array>"
         "</ContStats></UnivariateStats><UnivariateStats field=\"y\"><Counts totalFreq=\"x\"/>"
         "</UnivariateStats></ModelStats>\n</MiningModel>\n<MiningBuildTask/>\n</PMML>\n";
}

// Forests whose bodies hold what the scanner must still see: a fault in the part
// a lean reading leaves out is a fault all the same.
TEST(ForestTest, LeanAndWholeReadAlike) {
  std::string names;
  for (int i = 0; i < 10001; ++i) names += "<e" + std::to_string(i) + "/>";
  std::string attributes;
  for (int i = 0; i < 257; ++i) attributes += " a" + std::to_string(i) + "=\"\"";
  const std::string forest = Forest(30);
  const std::string documents[] = {
      forest,
      Forest(3, "<Extension><!-- a comment --><?pi data?>text &amp; <![CDATA[more]]></Extension>"),
      Forest(2, names),
      Forest(2, "<Node" + attributes + "/>"),
      Forest(2, "<Node></Mode>"),
      Forest(2, Repeat("<Node><Node/>", 20) + "</Mode>"),
      forest.substr(0, forest.size() / 2),
      forest.substr(0, forest.find("</Segmentation>") + 15),
  };
  const TempFolder folder;
  for (const std::string& document : documents) {
    const std::string path = folder.Path("forest.pmml");
    std::ofstream(path, std::ios::binary) << document;
    ExpectSameReadings(path);
  }
}

// How often `pattern` matches in `text`, or the sum of its first group's numbers.
long Count(const std::string& text, const std::string& pattern, bool sum = false) {
  const std::regex re(pattern);
  long count = 0;
  for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) {
    count += sum ? std::stol((*it)[1]) : 1;
  }
  return count;
}

// Both corpora in one run of check, in every format: the same problems in each,
// the SARIF log valid by the schema, and the same output on one thread as on two.
TEST(FormatsTest, EveryFormatReportsTheSameProblems) {
  const TempFolder folder;
  std::string operands;
  for (const char* corpus : {MCXML_CORPUS_DIR, MCXML_REALWORLD_DIR}) {
    std::error_code error;
    if (!fs::is_directory(corpus, error)) continue;
    operands += std::string(" '") + corpus + "'";
    const std::string unpacked = folder.Path(fs::path(corpus).filename().string());
    fs::create_directory(unpacked);
    operands += " '" + unpacked + "'";
    for (const auto& entry : fs::directory_iterator(corpus)) {
      if (entry.path().extension() != ".gz") continue;
      const std::string to = unpacked + "/" + entry.path().stem().string();
      ASSERT_EQ(std::system(("gzip -dc '" + entry.path().string() + "' > '" + to + "'").c_str()),
                0);
    }
  }
  if (operands.empty()) GTEST_SKIP() << "no corpus at " << MCXML_CORPUS_DIR;
  const double bound = kSlowdown * 200;
  const ToolRun json = RunTool("check --bins -j 2" + operands, bound);
  ASSERT_TRUE(WIFEXITED(json.status) && WEXITSTATUS(json.status) == 1) << json.status;
  EXPECT_EQ(RunTool("check --bins -j 1" + operands, bound).output, json.output);
  const std::smatch summary = [&] {
    std::smatch match;
    std::regex_search(json.output, match,
                      std::regex(R"("summary": \{\s*"documents": (\d+),\s*"documentsWithErrors": )"
                                 R"(\d+,\s*"errors": (\d+),\s*"warnings": (\d+))"));
    return match;
  }();
  ASSERT_EQ(summary.size(), 4u) << json.output.substr(json.output.size() - 300);
  const long problems = std::stol(summary[2]) + std::stol(summary[3]);
  EXPECT_GT(problems, 100);
  EXPECT_EQ(Count(json.output, R"("reason":)"), problems);

  const std::string jsonl = RunTool("check --bins --format jsonl" + operands, bound).output;
  EXPECT_EQ(Count(jsonl, "\n"), std::stol(summary[1]));
  EXPECT_EQ(Count(jsonl, R"("errors":(\d+))", true) + Count(jsonl, R"("warnings":(\d+))", true),
            problems);
  const std::string text = RunTool("check --bins --format text" + operands, bound).output;
  EXPECT_EQ(Count(text, ": (error|warning)[ :]") + Count(text, R"(\(and (\d+) more alike)", true),
            problems);
  const std::string github = RunTool("check --bins --format github" + operands, bound).output;
  EXPECT_EQ(Count(github, "(^|\n)::(error|warning) file="), problems);

  const std::string sarif = folder.Path("check.sarif");
  const ToolRun log =
      RunTool("check --bins --format sarif" + operands + " > '" + sarif + "'", bound);
  EXPECT_EQ(Count(mcxml_test::ReadFile(sarif), R"("ruleId":)"), problems);
  const std::string validate =
      "/usr/bin/python3 -c 'import json, sys, jsonschema; "
      "schema = json.load(open(sys.argv[1])); "
      "jsonschema.Draft4Validator(schema).validate(json.load(open(sys.argv[2])))' "
      "'" MCXML_SCHEMAS_DIR "/sarif-schema-2.1.0.json' '" +
      sarif + "'";
  EXPECT_EQ(std::system(validate.c_str()), 0) << "the SARIF log is not valid";
}

}  // namespace
