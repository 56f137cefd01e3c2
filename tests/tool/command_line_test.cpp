// The tool's contract beyond one command: usage errors and unreadable files (exit
// 2, nothing on standard output), help and version, --trust and secure
// processing, standard input, copy, and how strings are escaped.
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

TEST(CommandLine, UsageErrorsAndUnreadableFilesPrintOneLineAndNoOutput) {
  const std::string never = TempPath("never_written.pmml"), missing = "/nonexistent/a.pmml";
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--trust"},
      {"list", "-"},
      {"varlist"},
      {"varlist", "-", "-"},
      {"varlist", "--bogus", "-"},
      {"varlist", "-", "--name"},
      {"stats", "--bins", "-"},
      {"stats", "--model", "-1", "-"},
      {"settings-varlist", "--name", "a", "-"},
      {"query", "-"},
      {"query", "-", "depth"},
      {"query", "-", "int:maxDepth", "integer:depth"},
      {"query", "-", "target:x"},
      {"query", "-", "var:x@tree"},
      {"copy", "-"},
      {"varlist", missing},
      {"stats", testing::TempDir()},
      {"settings-varlist", missing},
      {"query", missing, "target:"},
      {"copy", missing, never},
      {"copy", Example("credit_risk.pmml"), "/nonexistent/dir/out.pmml"},
  };
  for (const auto& args : cases) {
    const ToolRun run = RunTool(args, "<PMML><DataDictionary/></PMML>");
    std::string line;
    for (const std::string& arg : args) line += arg + " ";
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_EQ(run.out, "") << line;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << line << run.err;
  }
  EXPECT_NE(access(never.c_str(), F_OK), 0);
}

TEST(CommandLine, HelpAndVersion) {
  const ToolRun help = RunTool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("mcxml query FILE QUERY..."), std::string::npos) << help.out;
  const ToolRun version = RunTool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "1.3.0\n");
}

TEST(CommandLine, TrustIsAcceptedAmongTheOptionsOfEveryCommand) {
  const std::string credit = Example("credit_risk.pmml"), settings = Example("build_settings.pmml");
  const std::vector<std::vector<std::string>> cases = {
      {"varlist", "--bins", credit, "--trust"},
      {"stats", "--model", "0", "--trust", credit},
      {"--trust", "settings-varlist", settings},
      {"query", settings, "--trust", "target:"},
      {"copy", credit, TempPath("trusted.pmml"), "--trust"},
  };
  for (const auto& args : cases) EXPECT_EQ(RunTool(args).status, 0) << args[0] << " " << args[1];
}

TEST(CommandLine, ExternalDtdIsFetchedOnlyWhenTrusted) {
  // The DTD does not exist: fetching it is a parse error.
  const std::string doc = WriteTemp(
      "with_dtd.pmml",
      R"(<!DOCTYPE PMML SYSTEM "file:///nonexistent/mcxml.dtd"><PMML><MiningBuildTask><Extension>)"
      R"(<Parameters><Parameter name="p" value="1"/></Parameters></Extension></MiningBuildTask>)"
      "<DataDictionary/></PMML>");
  const std::vector<std::vector<std::string>> cases = {{"varlist", doc},
                                                       {"stats", doc},
                                                       {"settings-varlist", doc},
                                                       {"query", doc, "int:p"},
                                                       {"copy", doc, TempPath("dtd_copy.pmml")}};
  for (auto args : cases) {
    EXPECT_EQ(RunTool(args).status, 0) << args[0];
    args.push_back("--trust");
    EXPECT_EQ(RunTool(args).status, 1) << args[0];
  }
}

TEST(CommandLine, StandardInputReadsLikeAFile) {
  const std::string doc = ReadFile(Example("build_settings.pmml"));
  for (const std::string command : {"varlist", "settings-varlist", "stats"}) {
    const ToolRun fromFile = RunTool({command, Example("build_settings.pmml")});
    const ToolRun fromInput = RunTool({command, "-"}, doc);
    EXPECT_EQ(fromInput.status, fromFile.status) << command;
    EXPECT_EQ(fromInput.out, fromFile.out) << command;
  }
}

TEST(Copy, WritesADocumentThatReadsTheSame) {
  const std::string copy = TempPath("copy.pmml");
  const ToolRun run = RunTool({"copy", Example("credit_risk.pmml"), copy});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.json, Head() + R"("write":{"code":0,"warning":false},"writeMessage":""})");
  EXPECT_EQ(RunTool({"varlist", "--bins", copy}).out,
            RunTool({"varlist", "--bins", Example("credit_risk.pmml")}).out);
  EXPECT_EQ(RunTool({"stats", copy}).out, RunTool({"stats", Example("credit_risk.pmml")}).out);
}

TEST(Copy, FromStandardInputAndFailedLoad) {
  const std::string copy = TempPath("copy_stdin.pmml");
  EXPECT_EQ(RunTool({"copy", "-", copy}, "<a>text</a>").status, 0);
  EXPECT_NE(ReadFile(copy).find("<a>text</a>"), std::string::npos) << ReadFile(copy);
  const ToolRun run = RunTool({"copy", "-", TempPath("copy_malformed.pmml")}, "<a><b></a>");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.json.find(R"("parseErrors":0)"), std::string::npos) << run.out;
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
