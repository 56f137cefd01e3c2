// The mcxml tool end to end: every command's JSON, whole and with its keys in
// order; check's problems as JSON and as compiler lines; exit statuses; --trust
// and secure processing; the version; and how strings are escaped.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using Strings = std::vector<std::string>;

// `json` without its layout: line breaks with their indents, the blank after each key
// (no string holds a raw line break, nor a quote before ": "). Whole outputs are
// compared in this form, so every key, its order, value and separator is checked.
std::string Compact(const std::string& json) {
  return std::regex_replace(std::regex_replace(json, std::regex("\n *"), ""), std::regex("\": "),
                            "\":");
}

struct ToolRun {
  int status = -1;
  std::string out, err, json;  // json: `out` compacted
};

// `name` in the program's own temporary folder, which goes when the program ends.
std::string TempPath(const std::string& name) {
  static const mcxml_test::TempFolder folder;
  return folder.Path(name);
}

// The words of a command line; no argument of these tests holds a blank or a quote.
Strings Args(const std::string& line) {
  std::istringstream in(line);
  return {std::istream_iterator<std::string>(in), {}};
}

// Runs the tool with `args` and `input` on its standard input, its standard output
// going to `target` when given (then `out` stays empty).
ToolRun RunTool(const Strings& args, const std::string& input = "",
                const std::string& target = "") {
  const std::string in = TempPath("stdin"), out = TempPath("stdout"), err = TempPath("stderr");
  std::ofstream(in, std::ios::binary) << input;
  std::ofstream(out, std::ios::trunc);
  std::string command = "'" MCXML_TOOL_PATH "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " <'" + in + "' >'" + (target.empty() ? out : target) + "' 2>'" + err + "'";
  const int wait = std::system(command.c_str());
  const std::string text = mcxml_test::ReadFile(out);
  return {WIFEXITED(wait) ? WEXITSTATUS(wait) : -1, text, mcxml_test::ReadFile(err), Compact(text)};
}

std::string Status(int code, bool warning = false) {
  return R"({"code":)" + std::to_string(code) + R"(,"warning":)" + (warning ? "true}" : "false}");
}

/// The keys every output opens with, up to the comma after them.
std::string Head(const std::string& load = Status(0), int parseErrors = 0) {
  return R"({"load":)" + load + R"(,"message":"","parseErrors":)" + std::to_string(parseErrors) +
         ",";
}

std::string Join(const Strings& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ",") + item;
  return out;
}

const std::string kCredit = MCXML_EXAMPLES_DIR "/credit_risk.pmml";
const std::string kSettings = MCXML_EXAMPLES_DIR "/build_settings.pmml";

// How a run that must print nothing ended: its status and the lines on standard
// error, or what it printed.
std::string Ending(const ToolRun& run) {
  if (!run.out.empty()) return "output";
  return std::to_string(run.status) + ", " +
         std::to_string(std::count(run.err.begin(), run.err.end(), '\n')) + " line";
}

// Usage errors and files that cannot be read or created exit 2, the parser's own
// exception 1; each with one line on standard error and nothing on standard output.
TEST(CommandLine, UsageErrorsAndUnreadableFilesPrintOneLineAndNoOutput) {
  // Files: missing, a folder, an OUT in a missing folder; `n` must not be created.
  const std::string m = " /nonexistent/a.pmml ", d = " " + testing::TempDir() + " ",
                    n = TempPath("never_written.pmml"), out = " /nonexistent/d/out.pmml";
  // Every QUERY is checked before anything is printed, the last one too.
  // clang-format off
  const Strings cases = {"", "--trust", "list -", "varlist", "varlist - -", "varlist --bogus -",
      "varlist - --name", "stats --bins -", "stats --model -1 -", "stats --model 1234567890 -", "query -", "query - target: depth",
      "query - target: integer:depth", "query - target:x", "query - var:x@tree", "copy -",
      "check --format xml -", "check --format=xml -", "varlist -- --version", "check",
      "check -j 0 -", "check -j1000 -", "check --jobs=x -",
      "varlist --format text -", "varlist" + m,
      "stats" + d, "settings-varlist" + m, "query" + m + "target:", "copy" + m + n,
      "copy " + kCredit + out};
  // clang-format on
  for (const std::string& line : cases) {
    const ToolRun run = RunTool(Args(line), "<PMML><DataDictionary/></PMML>");
    EXPECT_EQ(Ending(run), "2, 1 line") << line << run.out << run.err;
  }
  EXPECT_NE(access(n.c_str(), F_OK), 0);
  // Without secure processing the DOM's refusal of XML 1.5 passes through the library.
  const ToolRun thrown =
      RunTool(Args("varlist --trust -"), R"(<?xml version="1.5"?><PMML><DataDictionary/></PMML>)");
  EXPECT_EQ(Ending(thrown), "1, 1 line") << thrown.out << thrown.err;
}

// The tool's own output failing: said on standard error, exit 2; a file the
// system refuses, however small, is a failed write.
TEST(CommandLine, WritesThatFail) {
  if (!std::ofstream("/dev/full").good()) GTEST_SKIP() << "needs /dev/full";
  for (const std::string& line : Strings{"--version", "varlist " + kCredit}) {
    const ToolRun run = RunTool(Args(line), "<PMML/>", "/dev/full");
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_EQ(run.err, "mcxml: write error: No space left on device\n") << line;
  }
  const ToolRun copy = RunTool({"copy", "-", "/dev/full"}, "<a/>");
  EXPECT_EQ(copy.status, 1);
  EXPECT_EQ(copy.json,
            Head() + R"("write":{"code":118,"warning":false},)"
                     R"("writeMessage":"unable to write data to file: No space left on device"})");
}

TEST(CommandLine, EveryCommandIsSecureUnlessTrustedWhereverTrustStands) {
  // Secured, the document type declaration ends the parse before the root.
  const std::string doc = TempPath("with_dtd.pmml");
  std::ofstream(doc)
      << R"(<!DOCTYPE PMML [<!ENTITY one "1">]><PMML><MiningBuildTask><Extension>)"
         R"(<Parameters><Parameter name="p" value="&one;"/></Parameters></Extension>)"
         "</MiningBuildTask><DataDictionary/></PMML>";
  for (const std::string& line :
       {"varlist --bins " + doc + " --trust", "stats --model 0 --trust " + doc,
        "--trust settings-varlist " + doc, "query " + doc + " --trust int:p",
        "copy " + doc + " " + TempPath("dtd_copy.pmml") + " --trust"}) {
    Strings trusted = Args(line), secure;
    std::remove_copy(trusted.begin(), trusted.end(), std::back_inserter(secure), "--trust");
    EXPECT_EQ(RunTool(secure).status, 1) << line;
    EXPECT_EQ(RunTool(trusted).status, 0) << line;
  }
}

TEST(Copy, WritesWhatItReadAndReportsBothSteps) {
  const std::string copy = TempPath("copy.pmml"), credit = kCredit;
  const ToolRun run = RunTool({"copy", credit, copy});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.json, Head() + R"("write":{"code":0,"warning":false},"writeMessage":""})");
  for (const std::string command : {"varlist --bins ", "stats "}) {
    const ToolRun original = RunTool(Args(command + credit));
    EXPECT_EQ(original.status, 0) << command << original.err;
    EXPECT_EQ(RunTool(Args(command + copy)).out, original.out) << command;
  }
  const ToolRun malformed = RunTool({"copy", "-", copy}, "<a><b></a>");
  EXPECT_EQ(malformed.status, 1);
  EXPECT_EQ(malformed.json.find(R"("parseErrors":0)"), std::string::npos) << malformed.out;
}

// query: one answer per QUERY in order, values as the getters leave them, path
// errors, and which entries decide the exit status.
using Answers = std::vector<std::pair<std::string, std::string>>;  // QUERY, rest of its entry

std::string Value(const std::string& value, const std::string& status = Status(0)) {
  return R"("status":)" + status + R"(,"value":)" + value;
}

// Asks every QUERY of `answers` at once, checks the whole output and gives the exit status.
int Ask(const std::string& file, const Answers& answers, const std::string& head = Head()) {
  Strings args{"query", file}, results;
  for (const auto& [query, rest] : answers) {
    args.push_back(query);
    results.push_back(R"({"query":")" + query + R"(",)" + rest + "}");
  }
  const ToolRun run = RunTool(args);
  EXPECT_EQ(run.json, head + R"("results":[)" + Join(results) + "]}") << run.err;
  return run.status;
}

TEST(Query, EveryKindAsksItsOwnGetter) {
  // clang-format off
  EXPECT_EQ(Ask(kSettings, {
      {"string:modelName", Value(R"("Collections priority, Spring 2024")")},
      {"int:depth@tree", Value("6")}, {"double:alpha@tree/pruning", Value("0.0125")},
      {"bool:mergeCategories@tree", Value("false")},
      // type and complex carry no status and never fail the run.
      {"type:maxDepth", R"("value":"ParamInteger")"}, {"type:nosuch", R"("value":"ParamUnknown")"},
      {"complex:pruning@tree", R"("value":true)"}, {"complex:nosuch", R"("value":false)"},
      {"array-double:priorProbabilities", Value("[0.62,0.25,0.13]")},
      {"array-string:classLabels", Value(R"(["current","late 30","late 90+"])")},
      {"array-int:seed@sampling", Value("[20240318]")},
      {"matrix-double:misclassificationCosts", Value("[[0,1,4],[2,0,1.5],[8,3,0]]")},
      {"matrix-string:regionGroups", Value(R"([["north","north east"],["south"]])")},
      {"matrix-int:folds@tree/pruning", Value("[[1,2],[3,4,5]]")},
      {"var:FrequencyWeightVar", Value(R"("case_weight")")},
      {"vars:CatPredictors", Value(R"(["region","risk_band"])")},
      {"target:", Value(R"(["days_past_due"])")}, {"cat-responses:", Value(R"(["days_past_due"])")},
      {"inputs:", Value(R"(["region","risk_band","balance","credit_score","account_opened"])")},
      {"cont-responses:", Value("[]")}, {"cat-predictors:", Value(R"(["region","risk_band"])")},
      {"cont-predictors:", Value(R"(["balance","credit_score","account_opened"])")},
      {"frequency-weight:", Value(R"("case_weight")")}}), 0);
  // clang-format on
}

TEST(Query, FailuresKeepTheStartValueOrWhatTheGetterLeft) {
  EXPECT_EQ(
      Ask(kSettings,
          {
              {"int:nosuch", Value("0", Status(120, true))},
              {"string:inputs", Value(R"("")", Status(121))},
              {"array-int:classLabels", Value("[]", Status(109))},
              // KIND ends at the first ':' and NAME at the last '@'.
              {"string:a@b@tree", Value(R"("")", Status(120, true))},
              {"int:depth:x@tree", Value("0", Status(120, true))},
              {"int:alpha@tree/nosuch/pruning", R"("error":"no ComplexParameter \"nosuch\"")"},
          }),
      1);
  // A path that cannot be resolved fails the run on its own; a failed load
  // answers every QUERY with its status.
  EXPECT_EQ(RunTool({"query", kSettings, "type:depth@nosuch"}).status, 1);
  EXPECT_EQ(Ask(kCredit, {{"int:maxDepth", Value("0", Status(119))}}, Head(Status(119))), 1);
}

// varlist, settings-varlist and stats, whole: every variable key, none where it does
// not apply; the model element choice and one listed call per UnivariateStats
// (failures included, the end of the walk not); and the exit status of each.
std::string VarList(const Strings& variables, const std::string& status = Status(0),
                    const std::string& head = Head()) {
  return head + R"("status":)" + status + R"(,"variables":[)" + Join(variables) + "]}";
}

std::string Stats(const std::string& model, const Strings& calls = {}) {
  return Head() + R"("model":)" + model + R"(,"calls":[)" + Join(calls) + "]}";
}

std::string Call(const std::string& field, const std::string& status, const std::string& stats) {
  return R"({"field":)" + field + R"(,"status":)" + status + R"(,"stats":)" + stats + "}";
}

TEST(Output, VariablesAndStatisticsWhole) {
  const std::string max = "1.7976931348623157e+308", credit = " " + kCredit;
  const std::string utf8 = "\xC3\xA9 \xE6\x97\xA5\xF0\x9F\x93\x88";
  const std::string age = R"~({"name":"age","label":"Age in years","role":4,"kind":"continuous",)~";
  const std::string ageInvalid =
      R"~("invalidValues":[{"value":-1,"label":"Not given"},{"value":999,"label":""}],"invalidRange":[0,17]})~";
  const std::string a = R"(<DataField name="a" optype="categorical" dataType="string"/>)";
  const std::string aVar =
      R"({"name":"a","label":"","role":4,"kind":"categorical","values":[],"valueLabels":[]})";
  const std::string settings =
      R"(<PMML><DataDictionary><DataField name="s" optype="categorical" dataType="string"/>)"
      R"(<DataField name="d" displayName="D" optype="continuous" dataType="date"><Interval )"
      R"(leftMargin="1"/></DataField></DataDictionary><MiningBuildTask><Extension><Parameters/>)"
      "</Extension></MiningBuildTask></PMML>";
  const std::string s =
      R"({"name":"s","label":"","role":4,"kind":"categorical","dataType":3,"values":[],"valueLabels":[]})";
  const std::string counts =
      R"(<Counts totalFreq="10"/><DiscrStats><Array type="int">4 6</Array></DiscrStats>)";
  const std::string stats =
      R"(<PMML><Header/><DataDictionary/><TransformationDictionary/><RegressionModel/><Extension/>)"
      R"(<MiningBuildTask/><TreeModel><ModelStats><UnivariateStats>)" +
      counts +
      R"(</UnivariateStats><UnivariateStats field="n"><Counts totalFreq="5"/><NumericInfo/>)"
      R"(</UnivariateStats><UnivariateStats field="c">)" +
      counts +
      R"(</UnivariateStats><UnivariateStats field="x"><Counts totalFreq="3"/><NumericInfo )"
      R"(minimum="1" mean="2.5" standardDeviation="0.5"/><ContStats><Interval closure="openOpen" )"
      R"(rightMargin="10"/><Interval closure="openOpen" leftMargin="10"/><Array type="real">1 2)"
      "</Array></ContStats></UnivariateStats></ModelStats></TreeModel></PMML>";
  const std::string empty = R"({"name":"","totalFreq":0,"kind":"empty","valid":false})";
  const struct {
    std::string args, input;
    int status;
    std::string json;
  } cases[] = {
      // Document order, whatever the order of the names; unknown names are passed over.
      {"varlist --name age --bins --name=nosuch --name dependents --name employment_status" +
           credit,
       "", 0,
       VarList(
           {R"~({"name":"employment_status","label":"Employment status","role":4,"kind":"categorical","values":["employed","self_employed","unemployed","retired"],"valueLabels":["Employed","Self-employed","Unemployed","Retired"],"invalidValues":[{"value":"unknown","label":"Not stated"},{"value":"NA","label":""}]})~",
            R"~({"name":"dependents","label":"Number of dependents","role":4,"kind":"categorical","values":[0,1,2,3,4],"invalidValues":[{"value":-1,"label":"Refused"},{"value":99,"label":"Not asked"}],"invalidRange":[10,98]})~",
            age + R"~("min":-)~" + max + R"~(,"max":)~" + max +
                R"~(,"cutPoints":[25,40,60],"isBinned":true,"binLabels":["under_25","25_to_39","40_to_59","60_plus"],)~" +
                ageInvalid})},
      // Quotes, backslashes and control characters escaped; UTF-8 as it is.
      {"varlist -",
       R"(<PMML><DataDictionary><DataField name="q&quot;b\s&#9;t&#10;n )" + utf8 +
           R"(" optype="continuous" dataType="double"/></DataDictionary></PMML>)",
       0,
       VarList({R"({"name":"q\"b\\s\u0009t\u000an )" + utf8 +
                R"(","label":"","role":4,"kind":"continuous"})"})},
      // Parse errors alone fail the run.
      {"varlist -", "<PMML><DataDictionary>" + a, 1,
       VarList({aVar}, Status(0), Head(Status(0), 1))},
      {"settings-varlist -", settings, 0,
       VarList({s, R"({"name":"d","label":"D","role":4,"kind":"continuous","dataType":4,"min":1,)"
                   R"("max":)" +
                       max + R"(,"isDiscrete":false,"precision":-1})"})},
      {"stats --model 1 -", stats, 1,
       Stats(
           R"("TreeModel")",
           {Call("null", Status(108), empty),
            // Without ContStats the record stays as given, and a fresh one is not valid.
            Call(R"("n")", Status(116), empty),
            Call(R"("c")", Status(0),
                 R"({"name":"c","totalFreq":10,"kind":"categorical","counts":[4,6],"valid":true})"),
            Call(R"("x")", Status(0),
                 R"({"name":"x","totalFreq":3,"kind":"continuous","summary":{"minimum":1,)"
                 R"("maximum":-)" +
                     max + R"(,"mean":2.5,"standardDeviation":0.5},"cutPoints":[-)" + max +
                     ",10,-" + max + R"(],"freqs":[1,2],"valid":true})")})},
      // Nine digits at most, so that the index never wraps.
      {"stats --model=999999999 -", stats, 0, Stats("null")},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(Args(c.args), c.input);
    EXPECT_EQ(run.status, c.status) << c.args << run.err;
    EXPECT_EQ(run.json, c.json) << c.args;
  }
}

// Standard output as it stands; the manual page's test reads the help.
TEST(Output, TwoSpaceIndentsOneKeyOrValueALineAndTheVersion) {
  // --help and --version stand anywhere before "--" (after it, and as an option's
  // value, they are operands).
  const std::string help = RunTool({"--help"}).out, empty = "<PMML><DataDictionary/></PMML>";
  for (const auto& [line, out] : std::vector<std::pair<std::string, std::string>>{
           {"--version", "1.3.0\n"},
           {"varlist - --trust --version", "1.3.0\n"},
           {"bogus --help", help},
           {"stats - --model 1 -h --version", help},
           {"varlist --name --help -", RunTool(Args("varlist -"), empty).out}}) {
    const ToolRun run = RunTool(Args(line), empty);
    EXPECT_EQ(run.status, 0) << line;
    EXPECT_EQ(run.out, out) << line;
  }
  const ToolRun run = RunTool({"stats", "-"}, "<PMML/>");
  EXPECT_EQ(run.status, 1);
  // Empty arrays are closed at once.
  EXPECT_EQ(run.out,
            "{\n  \"load\": {\n    \"code\": 106,\n    \"warning\": false\n  },\n  \"message\": "
            "\"\",\n  \"parseErrors\": 0,\n  \"model\": null,\n  \"calls\": []\n}\n");
}

// A truncated document with a bad field before the cut: the field's problem and
// the XML parser's error, which is listed first with code 0.
const std::string kBroken =
    "<PMML>\n<DataDictionary>\n<DataField name='a' optype='categorical' dataType='text'/>\n"
    "<DataField name='b' opty";

TEST(Check, EveryProblemAsJsonAndAsCompilerLines) {
  // Compact() drops the blank after a quote and a colon inside the reason too.
  const ToolRun json = RunTool({"check", "-"}, kBroken);
  EXPECT_EQ(json.status, 1) << json.err;
  EXPECT_EQ(json.json,
            Head(Status(0), 1) + R"("kind":"pmml","errors":2,"warnings":0,)" +
                R"~("problems":[{"code":0,"warning":false,"reason":"XML: equal sign expected",)~"
                R"~("path":"/PMML/DataDictionary","name":null,"line":4,"column":25},)~"
                R"~({"code":109,"warning":false,"reason":"DataField \"a\":dataType \"text\" is )~"
                R"~(not a known data type (integer, double, float, string)",)~"
                R"~("path":"/PMML/DataDictionary/DataField","name":"a","line":3,"column":1}]})~");
}

// As compiler lines. A document whose MiningBuildTask holds Parameters, or that
// has one and no model, is read as settings (its parameters, its date fields);
// any other as PMML, where a date field is an error. A missing value is a
// warning. Documents without errors exit 0.
TEST(Check, CompilerLinesAndSettingsDocumentsReadAsSettings) {
  const std::string field = "<DataField name='d' optype='continuous' dataType='date'/>";
  const std::string settings =
      "<PMML><DataDictionary>" + field +
      "</DataDictionary><MiningBuildTask><Extension><Parameters><Parameter name='p' "
      "type='string'/></Parameters></Extension></MiningBuildTask></PMML>";
  struct Case {
    std::string xml;
    std::string lines;
    int status = 1;
  };
  const std::vector<Case> cases = {
      {kBroken,
       "<stdin>:4:25: error: XML: equal sign expected\n<stdin>:3:1: error 109: DataField \"a\": "
       "dataType \"text\" is not a known data type (integer, double, float, string)\n"
       "<stdin>: 2 errors, 0 warnings\n"},
      {settings,
       "<stdin>:1:137: warning 123: Parameter \"p\": has no \"value\"\n"
       "<stdin>: 0 errors, 1 warning\n",
       0},
      // A model of its own makes a MiningBuildTask without Parameters a model's.
      {"<PMML><DataDictionary>" + field + "</DataDictionary><MiningBuildTask/><TreeModel/></PMML>",
       "<stdin>:1:23: error 109: DataField \"d\": dataType \"date\" is not a known data type "
       "(integer, double, float, string)\n<stdin>: 1 error, 0 warnings\n"},
      {"<PMML><DataDictionary>" + field + "</DataDictionary></PMML>",
       "<stdin>:1:23: error 109: DataField \"d\": dataType \"date\" is not a known data type "
       "(integer, double, float, string)\n<stdin>: 1 error, 0 warnings\n"},
      {"<PMML><DataDictionary/></PMML>", "<stdin>: no problems\n", 0},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool({"check", "--format", "text", "-"}, c.xml);
    EXPECT_EQ(run.out, c.lines) << c.xml;
    EXPECT_EQ(RunTool({"check", "--format=text", "-"}, c.xml).out, c.lines);
    EXPECT_EQ(run.status, c.status);
  }
  EXPECT_EQ(RunTool({"check", MCXML_EXAMPLES_DIR "/broken_model.pmml", "--bins"}).status, 1);
  EXPECT_EQ(RunTool({"check", kSettings}).status, 0);
  EXPECT_EQ(RunTool({"check", "--bins", kCredit}).status, 0);
}

// A command that fails points to check on standard error and leaves its output as
// it was; standard input cannot be read twice, so the pointer says to save it.
TEST(Check, ThePointerFromOtherCommands) {
  const std::string doc = "<PMML><DataDictionary><DataField name='a'/></DataDictionary></PMML>";
  for (const std::string command : {"varlist", "settings-varlist"}) {
    const ToolRun failed = RunTool({command, "-"}, doc);
    EXPECT_EQ(failed.status, 1) << command;
    EXPECT_EQ(failed.err,
              "mcxml: save the input to a file and run 'mcxml check FILE' to see where\n")
        << command;
    EXPECT_NE(failed.out, "");
  }
  EXPECT_EQ(RunTool({"varlist", kCredit}).err, "");
  // Bins asked for without a TransformationDictionary fail only with --bins.
  const std::string binned =
      "<PMML><DataDictionary><DataField name='a' optype='continuous' dataType='double'/>"
      "</DataDictionary></PMML>";
  EXPECT_EQ(RunTool({"varlist", "--trust", "--bins", "-"}, binned).err,
            "mcxml: save the input to a file and run 'mcxml check --bins --trust FILE' to see "
            "where\n");
  EXPECT_EQ(RunTool({"check", "--bins", "-"}, binned).status, 1);
}

// Text that is not the tool's own (names from a document, file names) is escaped
// on every line outside JSON: a problem stays one line and no control character
// reaches a terminal, nor a byte that is not UTF-8.
TEST(Check, NoLineCanBeForged) {
  const auto field = [](const std::string& declaration, const std::string& name) {
    return declaration + "<PMML><DataDictionary><DataField name='" + name +
           "' optype='categorical' dataType='text'/></DataDictionary></PMML>";
  };
  const auto lines = [](const std::string& file, const std::string& name, int column) {
    return file + ":1:" + std::to_string(column) + ": error 109: DataField \"" + name +
           "\": dataType \"text\" is not a known data type (integer, double, float, string)\n" +
           file + ": 1 error, 0 warnings\n";
  };
  const std::string folder = TempPath(""), forged = folder + "f\n<stdin>: no problems\xff.pmml";
  const std::string shown = folder + "f\\n<stdin>: no problems\\xff.pmml";
  std::ofstream(forged) << field("", "a");
  const struct {
    std::string file, input, lines;
  } cases[] = {
      {"-", field("", "a&#10;&lt;stdin&gt;: no problems&#13;&#9;\\"),
       lines("<stdin>", R"(a\n<stdin>: no problems\r\t\\)", 23)},
      {"-", field("<?xml version='1.1'?>", "&#x1b;[2K&#x1b;[1A&#x85;&#x2028;&#x7f;"),
       lines("<stdin>", R"(\x1b[2K\x1b[1A\u0085\u2028\x7f)", 44)},
      {forged, "", lines(shown, "a", 23)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunTool({"check", "--format", "text", c.file}, c.input).out, c.lines) << c.input;
  }
  EXPECT_EQ(RunTool({"varlist", folder + "gone\n\x1b[1A"}).err,
            "mcxml: cannot open '" + folder + "gone\\n\\x1b[1A': No such file or directory\n");
}

// Several documents, a folder standing for those under it in the order of their
// names: each printed whole in the order given, one that cannot be opened as its
// own problem, the others still checked, and one summary.
TEST(Check, SeveralDocumentsInOrderInEveryFormat) {
  const std::string folder = TempPath("several");
  std::filesystem::create_directories(folder + "/b");
  std::ofstream(folder + "/b/z.pmml") << "<PMML><DataDictionary/></PMML>";
  std::ofstream(folder + "/a.XML") << "<PMML/>";
  std::ofstream(folder + "/b/notes.txt") << "not a document";
  const std::string gone = folder + "/gone.pmml";
  // A name that is not UTF-8 (an encoded lone surrogate) reaches JSON replaced.
  const std::string surrogate = folder + "/\xED\xA0\x80.pmml";
  const auto run = [&](const std::string& format, const Strings& files = {}) {
    Strings args{"check", "-j", "2", "--format", format};
    args.insert(args.end(), {folder, gone});
    args.insert(args.end(), files.begin(), files.end());
    return RunTool(args);
  };
  const std::string a = folder + "/a.XML", z = folder + "/b/z.pmml";
  const std::string cannot = "cannot open '" + gone + "': No such file or directory";
  EXPECT_EQ(run("text").out, a + ":1:1: error 106: PMML has no DataDictionary child\n" + a +
                                 ": 1 error, 0 warnings\n" + z + ": no problems\n" + gone +
                                 ": error 104: " + cannot + "\n" + gone +
                                 ": 1 error, 0 warnings\n" +
                                 "mcxml check: 3 documents, 2 with errors, 2 errors, 0 warnings\n");
  EXPECT_EQ(run("github").out, "::error file=" + a +
                                   ",line=1,col=1,title=mcxml 106::PMML has no DataDictionary "
                                   "child\n::error file=" +
                                   gone + ",title=mcxml 104::" + cannot + "\n");
  const ToolRun json = run("json", {surrogate});
  EXPECT_EQ(json.status, 1);
  const std::string clean = R"({"file":")" + z + R"(",)" + Head().substr(1) +
                            R"("kind":"pmml","errors":0,"warnings":0,"problems":[]})";
  EXPECT_NE(json.json.find(R"({"documents":[{"file":")" + a + R"(",)"), std::string::npos);
  EXPECT_NE(json.json.find("}," + clean + R"(,{"file":")" + gone), std::string::npos);
  EXPECT_NE(json.json.find(R"({"file":")" + folder + R"(/\ufffd\ufffd\ufffd.pmml",)"),
            std::string::npos);
  EXPECT_NE(json.json.find(R"("summary":{"documents":4,"documentsWithErrors":3,"errors":3,)"
                           R"("warnings":0}})"),
            std::string::npos);
  // One line a document, the clean one exactly as in JSON.
  const std::string lines = run("jsonl", {surrogate}).out;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 4);
  EXPECT_NE(lines.find("\n" + clean + "\n"), std::string::npos);
  EXPECT_EQ(RunTool({"check", "-j", "1", z}).status, 0);
}

}  // namespace
