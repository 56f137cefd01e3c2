// check end to end: the JSON and the compiler lines of every problem, the parser
// each kind of document is read with, exit statuses, and the pointer to check that
// the other commands print when they fail.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

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
            Head(Status(0), 1) +
                R"~("problems":[{"code":0,"warning":false,"reason":"XML: equal sign expected",)~"
                R"~("path":"/PMML/DataDictionary","name":null,"line":4,"column":25},)~"
                R"~({"code":109,"warning":false,"reason":"DataField \"a\":dataType \"text\" is )~"
                R"~(not a known data type (integer, double, float, string)",)~"
                R"~("path":"/PMML/DataDictionary/DataField","name":"a","line":3,"column":1}]})~");
  const ToolRun text = RunTool({"check", "--format=text", "-"}, kBroken);
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(text.out,
            "<stdin>:4:25: error: XML: equal sign expected\n"
            "<stdin>:3:1: error 109: DataField \"a\": dataType \"text\" is not a known data type "
            "(integer, double, float, string)\n"
            "<stdin>: 2 errors, 0 warnings\n");
}

// A document whose root holds a MiningBuildTask is read as settings (its
// parameters, its date fields); any other as PMML, where a date field is an error.
// A missing value is a warning. A clean document exits 0.
TEST(Check, SettingsDocumentsAreReadAsSettings) {
  const std::string field = "<DataField name='d' optype='continuous' dataType='date'/>";
  const std::string settings =
      "<PMML><DataDictionary>" + field +
      "</DataDictionary><MiningBuildTask><Extension><Parameters><Parameter name='p' "
      "type='string'/></Parameters></Extension></MiningBuildTask></PMML>";
  struct Case {
    std::string xml;
    std::string lines;
  };
  const std::vector<Case> cases = {
      {settings,
       "<stdin>:1:137: warning 123: Parameter \"p\": has no \"value\"\n"
       "<stdin>: 0 errors, 1 warning\n"},
      {"<PMML><DataDictionary>" + field + "</DataDictionary></PMML>",
       "<stdin>:1:23: error 109: DataField \"d\": dataType \"date\" is not a known data type "
       "(integer, double, float, string)\n<stdin>: 1 error, 0 warnings\n"},
      {"<PMML><DataDictionary/></PMML>", "<stdin>: no problems\n"},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool({"check", "--format", "text", "-"}, c.xml);
    EXPECT_EQ(run.out, c.lines) << c.xml;
    EXPECT_EQ(run.status, c.lines.find("no problems") == std::string::npos ? 1 : 0);
  }
  EXPECT_EQ(RunTool({"check", Example("broken_model.pmml"), "--bins"}).status, 1);
  EXPECT_EQ(RunTool({"check", Example("build_settings.pmml")}).status, 0);
}

// Usage errors exit 2 with nothing on standard output; a command that fails points
// to check on standard error and leaves its output as it was.
TEST(Check, UsageAndThePointerFromOtherCommands) {
  for (const std::string line :
       {"check --format xml -", "check", "check a b", "varlist --format text -"}) {
    const ToolRun run = RunTool(Args(line));
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_EQ(run.out, "") << line;
  }
  const std::string doc = "<PMML><DataDictionary><DataField name='a'/></DataDictionary></PMML>";
  for (const std::string command : {"varlist", "settings-varlist"}) {
    const ToolRun failed = RunTool({command, "-"}, doc);
    EXPECT_EQ(failed.status, 1) << command;
    EXPECT_EQ(failed.err, "mcxml: run 'mcxml check -' to see where\n") << command;
    EXPECT_NE(failed.out, "");
  }
  EXPECT_EQ(RunTool({"varlist", Example("credit_risk.pmml")}).err, "");
}

}  // namespace
}  // namespace tool_test
