// The tool's contract beyond one command: usage errors and unreadable files (exit
// 2, nothing on standard output), help and version, --trust and secure
// processing, copy, and how strings are escaped.
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

TEST(CommandLine, UsageErrorsAndUnreadableFilesPrintOneLineAndNoOutput) {
  // Files: missing, a folder, an OUT in a missing folder; `n` must not be created.
  const std::string m = " /nonexistent/a.pmml ", d = " " + testing::TempDir() + " ",
                    n = TempPath("never_written.pmml"), out = " /nonexistent/d/out.pmml";
  // Every QUERY is checked before anything is printed, the last one too.
  std::vector<std::string> cases(
      {"", "--trust", "list -", "varlist", "varlist - -", "varlist --bogus -", "varlist - --name",
       "stats --bins -", "stats --model -1 -", "query -", "query - target: depth",
       "query - target: integer:depth", "query - target:x", "query - var:x@tree", "copy -"});
  cases.insert(cases.end(), {"varlist" + m, "stats" + d, "settings-varlist" + m,
                             "query" + m + "target:", "copy" + m + n,
                             "copy " + Example("credit_risk.pmml") + out});
  for (const std::string& line : cases) {
    const ToolRun run = RunTool(Args(line), "<PMML><DataDictionary/></PMML>");
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_EQ(run.out, "") << line;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << line << run.err;
  }
  EXPECT_NE(access(n.c_str(), F_OK), 0);
}

TEST(CommandLine, AParserExceptionIsOneLineAndExitOneWithNoOutput) {
  // Without secure processing the DOM's refusal of XML 1.5 passes through the library.
  const ToolRun run =
      RunTool(Args("varlist --trust -"), R"(<?xml version="1.5"?><PMML><DataDictionary/></PMML>)");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(CommandLine, HelpAndVersion) {
  const ToolRun help = RunTool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("mcxml query FILE QUERY..."), std::string::npos) << help.out;
  const ToolRun version = RunTool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "1.3.0\n");
}

TEST(CommandLine, EveryCommandIsSecureUnlessTrustedWhereverTrustStands) {
  // Secured, the document type declaration ends the parse before the root.
  const std::string doc = WriteTemp(
      "with_dtd.pmml", R"(<!DOCTYPE PMML [<!ENTITY one "1">]><PMML><MiningBuildTask><Extension>)"
                       R"(<Parameters><Parameter name="p" value="&one;"/></Parameters></Extension>)"
                       "</MiningBuildTask><DataDictionary/></PMML>");
  const std::vector<std::string> cases(
      {"varlist --bins " + doc + " --trust", "stats --model 0 --trust " + doc,
       "--trust settings-varlist " + doc, "query " + doc + " --trust int:p",
       "copy " + doc + " " + TempPath("dtd_copy.pmml") + " --trust"});
  for (const std::string& line : cases) {
    const std::vector<std::string> trusted = Args(line);
    std::vector<std::string> secure;
    std::copy_if(trusted.begin(), trusted.end(), std::back_inserter(secure),
                 [](const std::string& arg) { return arg != "--trust"; });
    EXPECT_EQ(RunTool(secure).status, 1) << line;
    EXPECT_EQ(RunTool(trusted).status, 0) << line;
  }
}

TEST(Copy, WritesWhatItReadAndReportsBothSteps) {
  const std::string copy = TempPath("copy.pmml"), credit = Example("credit_risk.pmml");
  const ToolRun run = RunTool({"copy", credit, copy});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.json, Head() + R"("write":{"code":0,"warning":false},"writeMessage":""})");
  for (const std::string command : {"varlist --bins ", "stats "}) {
    const ToolRun original = RunTool(Args(command + credit));
    EXPECT_EQ(original.status, 0) << command << original.err;
    EXPECT_EQ(RunTool(Args(command + copy)).out, original.out) << command;
  }

  std::string deep;
  for (int level = 0; level < 20000; ++level) deep += "<a>";
  deep += "text";
  for (int level = 0; level < 20000; ++level) deep += "</a>";
  EXPECT_EQ(RunTool({"copy", "-", copy}, deep).status, 0) << "20,000 levels";
  EXPECT_NE(ReadFile(copy).find(deep), std::string::npos);
  const ToolRun malformed = RunTool({"copy", "-", copy}, "<a><b></a>");
  EXPECT_EQ(malformed.status, 1);
  EXPECT_EQ(malformed.json.find(R"("parseErrors":0)"), std::string::npos) << malformed.out;
}

TEST(Output, StringsAreEscapedAndUtf8PassesThrough) {
  const ToolRun run = RunTool(
      {"varlist", "-"}, R"(<PMML><DataDictionary><DataField name="q&quot;b\s&#9;t&#10;n )"
                        "\xC3\xA9 \xE6\x97\xA5\xF0\x9F\x93\x88"
                        R"(" optype="continuous" dataType="double"/></DataDictionary></PMML>)");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.json.find(R"({"name":"q\"b\\s\u0009t\u000an )"
                          "\xC3\xA9 \xE6\x97\xA5\xF0\x9F\x93\x88\","),
            std::string::npos)
      << run.out;
}

}  // namespace
}  // namespace tool_test
