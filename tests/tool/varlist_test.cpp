// varlist and settings-varlist end to end: every variable key as the stand-in
// list holds it, keys left out where they do not apply, and exit statuses.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

const std::string kMax = "1.7976931348623157e+308";

std::string VarList(const std::vector<std::string>& variables,
                    const std::string& status = Status(0), const std::string& head = Head()) {
  return head + R"("status":)" + status + R"(,"variables":[)" + Join(variables) + "]}";
}

TEST(VarList, ExampleVariablesByNameInDocumentOrderWithAndWithoutBins) {
  const std::string age = R"~({"name":"age","label":"Age in years","role":4,"kind":"continuous",)~";
  const std::string ageInvalid =
      R"~("invalidValues":[{"value":-1,"label":"Not given"},{"value":999,"label":""}],"invalidRange":[0,17]})~";
  const struct {
    std::string options;
    std::vector<std::string> variables;
  } cases[] = {
      // Document order, whatever the order of the names; unknown names are passed over.
      {"--name age --bins --name=nosuch --name dependents --name employment_status",
       {R"~({"name":"employment_status","label":"Employment status","role":4,"kind":"categorical","values":["employed","self_employed","unemployed","retired"],"valueLabels":["Employed","Self-employed","Unemployed","Retired"],"invalidValues":[{"value":"unknown","label":"Not stated"},{"value":"NA","label":""}]})~",
        R"~({"name":"dependents","label":"Number of dependents","role":4,"kind":"categorical","values":[0,1,2,3,4],"invalidValues":[{"value":-1,"label":"Refused"},{"value":99,"label":"Not asked"}],"invalidRange":[10,98]})~",
        age + R"~("min":-)~" + kMax + R"~(,"max":)~" + kMax +
            R"~(,"cutPoints":[25,40,60],"isBinned":true,"binLabels":["under_25","25_to_39","40_to_59","60_plus"],)~" +
            ageInvalid}},
      {"--name age", {age + ageInvalid}},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(Args("varlist " + c.options + " " + Example("credit_risk.pmml")));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.json, VarList(c.variables)) << c.options;
  }
}

TEST(VarList, FailuresGiveExitStatusOne) {
  const std::string a = R"(<DataField name="a" optype="categorical" dataType="string"/>)";
  const std::string aVar =
      R"({"name":"a","label":"","role":4,"kind":"categorical","values":[],"valueLabels":[]})";
  const struct {
    std::string doc;
    std::string expected;
  } cases[] = {
      {"<PMML><DataDictionary>" + a +
           R"(<DataField name="b" optype="categorical" dataType="boolean"/></DataDictionary></PMML>)",
       VarList({aVar}, Status(109))},
      // Parse errors alone fail the run.
      {"<PMML><DataDictionary>" + a, VarList({aVar}, Status(0), Head(Status(0), 1))},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool({"varlist", "-"}, c.doc);
    EXPECT_EQ(run.status, 1) << c.doc;
    EXPECT_EQ(run.json, c.expected);
  }
}

TEST(SettingsVarList, DataTypesRangesAndBinsAsAskedFor) {
  const std::string doc =
      R"(<PMML><DataDictionary><DataField name="s" optype="categorical" dataType="string"/>)"
      R"(<DataField name="d" displayName="D" optype="continuous" dataType="date"><Interval )"
      R"(leftMargin="1"/></DataField></DataDictionary><MiningBuildTask><Extension><Parameters/>)"
      "</Extension></MiningBuildTask></PMML>";
  const std::string s =
      R"({"name":"s","label":"","role":4,"kind":"categorical","dataType":3,"values":[],"valueLabels":[]})";
  const ToolRun plain = RunTool({"settings-varlist", "-"}, doc);
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.json,
            VarList({s, R"({"name":"d","label":"D","role":4,"kind":"continuous","dataType":4,)"
                        R"("min":1,"max":)" +
                            kMax + R"(,"isDiscrete":false,"precision":-1})"}));
  // Without a TransformationDictionary the bins asked for end the fill at d.
  const ToolRun bins = RunTool({"settings-varlist", "--bins", "-"}, doc);
  EXPECT_EQ(bins.status, 1);
  EXPECT_EQ(bins.json, VarList({s}, Status(110)));
}

}  // namespace
}  // namespace tool_test
