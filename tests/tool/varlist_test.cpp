// varlist and settings-varlist end to end: every variable of the examples as the
// stand-in list holds it, keys left out where they do not apply, and exit statuses.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

const std::string kOpen = "1.7976931348623157e+308";

// credit_risk.pmml read with bins, in document order.
const std::vector<std::string> kCreditVars = {
    R"~({"name":"employment_status","label":"Employment status","role":4,"kind":"categorical","values":["employed","self_employed","unemployed","retired"],"valueLabels":["Employed","Self-employed","Unemployed","Retired"],"invalidValues":[{"value":"unknown","label":"Not stated"},{"value":"NA","label":""}]})~",
    R"~({"name":"dependents","label":"Number of dependents","role":4,"kind":"categorical","values":[0,1,2,3,4],"invalidValues":[{"value":-1,"label":"Refused"},{"value":99,"label":"Not asked"}],"invalidRange":[10,98]})~",
    R"~({"name":"age","label":"Age in years","role":4,"kind":"continuous","min":-)~" + kOpen +
        R"~(,"max":)~" + kOpen +
        R"~(,"cutPoints":[25,40,60],"isBinned":true,"binLabels":["under_25","25_to_39","40_to_59","60_plus"],"invalidValues":[{"value":-1,"label":"Not given"},{"value":999,"label":""}],"invalidRange":[0,17]})~",
    R"~({"name":"annual_income","label":"Annual income","role":4,"kind":"continuous","min":-)~" +
        kOpen + R"~(,"max":)~" + kOpen +
        R"~(,"cutPoints":[30000,75000],"isBinned":true,"binLabels":["low","middle","high"]})~",
    R"~({"name":"loan_amount","label":"Loan amount","role":4,"kind":"continuous","min":0,"max":)~" +
        kOpen +
        R"~(,"cutPoints":[5000,20000,50000],"isBinned":true,"binLabels":["small","medium","large","jumbo"]})~",
    R"~({"name":"debt_to_income","label":"Debt-to-income ratio","role":4,"kind":"continuous","min":0,"max":)~" +
        kOpen +
        R"~(,"cutPoints":[0.2,0.43],"isBinned":true,"binLabels":["comfortable","stretched","overextended"],"invalidValues":[{"value":-9.5,"label":""}]})~",
    R"~({"name":"default_flag","label":"Defaulted within 12 months","role":4,"kind":"categorical","values":["no","yes"],"valueLabels":["Repaid","Defaulted"]})~",
};

std::string VarList(const std::vector<std::string>& variables,
                    const std::string& status = Status(0), const std::string& head = Head()) {
  return head + R"("status":)" + status + R"(,"variables":[)" + Join(variables) + "]}";
}

TEST(VarList, ExampleWithBinsAndFilteredByName) {
  const std::string file = Example("credit_risk.pmml");
  const ToolRun all = RunTool({"varlist", "--bins", file});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.json, VarList(kCreditVars));
  // Document order, whatever the order of the names; unknown names are passed over.
  const ToolRun some = RunTool(
      {"varlist", "--name", "default_flag", "--bins", "--name=nosuch", "--name", "age", file});
  EXPECT_EQ(some.status, 0) << some.err;
  EXPECT_EQ(some.json, VarList({kCreditVars[2], kCreditVars[6]}));
}

TEST(VarList, WithoutBinsContinuousVariablesHaveNoRange) {
  const ToolRun run =
      RunTool({"varlist", "--name", "age", "--name", "loan_amount", Example("credit_risk.pmml")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(
      run.json,
      VarList(
          {R"({"name":"age","label":"Age in years","role":4,"kind":"continuous","invalidValues":[{"value":-1,"label":"Not given"},{"value":999,"label":""}],"invalidRange":[0,17]})",
           R"({"name":"loan_amount","label":"Loan amount","role":4,"kind":"continuous"})"}));
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
           R"(<DataField name="x" optype="continuous" dataType="double"/></DataDictionary></PMML>)",
       VarList({aVar}, Status(110))},
      {"<PMML><DataDictionary>" + a +
           R"(<DataField name="b" optype="categorical" dataType="boolean"/></DataDictionary></PMML>)",
       VarList({aVar}, Status(109))},
      {"<pmml><DataDictionary/></pmml>", VarList({}, Status(105), Head(Status(105)))},
      // Parse errors alone fail the run.
      {"<PMML><DataDictionary>" + a, VarList({aVar}, Status(0), Head(Status(0), 1))},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool({"varlist", "--bins", "-"}, c.doc);
    EXPECT_EQ(run.status, 1) << c.doc;
    EXPECT_EQ(run.json, c.expected);
  }
}

TEST(SettingsVarList, ExampleCarriesDataTypesAndRanges) {
  const ToolRun run = RunTool({"settings-varlist", Example("build_settings.pmml")});
  EXPECT_EQ(run.status, 0) << run.err;
  // Continuous fields without bins span their Interval, open ends as the largest double.
  const auto cont = [](const std::string& nameAndLabel, const std::string& range) {
    return R"~({"name":)~" + nameAndLabel + R"~(,"role":4,"kind":"continuous",)~" + range +
           R"~(,"isDiscrete":false,"precision":-1)~";
  };
  EXPECT_EQ(
      run.json,
      VarList({
          R"~({"name":"region","label":"Sales region","role":4,"kind":"categorical","dataType":3,"values":["north","north east","south","west"],"valueLabels":["North","North East","South","West"],"invalidValues":[{"value":"??","label":"Unmapped postcode"}]})~",
          R"~({"name":"risk_band","label":"Internal risk band","role":4,"kind":"categorical","dataType":1,"values":[1,2,3,4,5],"invalidValues":[{"value":0,"label":""}]})~",
          R"~({"name":"days_past_due","label":"Arrears class","role":4,"kind":"categorical","dataType":3,"values":["current","late 30","late 90+"]})~",
          cont(R"~("balance","label":"Outstanding balance")~",
               R"~("dataType":2,"min":-)~" + kOpen + R"~(,"max":)~" + kOpen) +
              R"~(,"invalidValues":[{"value":-1,"label":"Balance not reported"}],"invalidRange":[-1e+06,-0.01]})~",
          cont(R"~("credit_score","label":"Bureau score")~",
               R"~("dataType":2,"min":300,"max":850)~") +
              "}",
          cont(R"~("account_opened","label":"Account opened (days since 1970-01-01)")~",
               R"~("dataType":4,"min":10957,"max":19800)~") +
              "}",
          cont(R"~("last_contact","label":"Last contact (seconds after midnight)")~",
               R"~("dataType":5,"min":28800,"max":72000)~") +
              "}",
          cont(R"~("next_review","label":"Next review (seconds since 1970-01-01)")~",
               R"~("dataType":6,"min":1704067200,"max":)~" + kOpen) +
              "}",
          cont(R"~("case_weight","label":"Case weight")~",
               R"~("dataType":2,"min":0,"max":)~" + kOpen) +
              "}",
      }));
}

TEST(SettingsVarList, BinsWithoutTransformationDictionaryStopAtFirstContinuousField) {
  const ToolRun run = RunTool({"settings-varlist", "--bins", Example("build_settings.pmml")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.json.find(R"("status":{"code":110,"warning":false},"variables":[{"name":"region")"),
            std::string::npos);
  EXPECT_EQ(run.json.find(R"("name":"balance")"), std::string::npos);
}

}  // namespace
}  // namespace tool_test
