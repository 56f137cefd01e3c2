// stats end to end: the model element choice, one listed call per UnivariateStats
// (failures included, the end of the walk not), and the records as read.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

const char kEmptyRecord[] = R"({"name":"","totalFreq":0,"kind":"empty","valid":false})";

std::string Call(const std::string& field, const std::string& status, const std::string& stats) {
  return R"({"field":)" + field + R"(,"status":)" + status + R"(,"stats":)" + stats + "}";
}

std::string Stats(const std::string& model, const std::vector<std::string>& calls,
                  const std::string& head = Head()) {
  return head + R"("model":)" + model + R"(,"calls":[)" + Join(calls) + "]}";
}

TEST(Stats, ExampleReadsEveryField) {
  const ToolRun run = RunTool({"stats", Example("credit_risk.pmml")});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string open = "-1.7976931348623157e+308";
  EXPECT_EQ(
      run.json,
      Stats(
          R"("TreeModel")",
          {
              Call(
                  R"("employment_status")", Status(0),
                  R"({"name":"employment_status","totalFreq":2400,"kind":"categorical","counts":[1512,367,221,260],"valid":true})"),
              Call(
                  R"("dependents")", Status(0),
                  R"({"name":"dependents","totalFreq":2400,"kind":"categorical","counts":[904,611,543,238,86],"valid":true})"),
              Call(
                  R"("age")", Status(0),
                  R"({"name":"age","totalFreq":2400,"kind":"continuous","summary":{"minimum":18,"maximum":87,"mean":41.35,"standardDeviation":12.8},"cutPoints":[18,30,45,65,90],"freqs":[512,905,731,252],"valid":true})"),
              // Open ends are the missing value; the gap from 150000 to 250000 is a bucket.
              Call(
                  R"("annual_income")", Status(0),
                  R"({"name":"annual_income","totalFreq":2400,"kind":"continuous","summary":{"minimum":4800,"maximum":1250000,"mean":58230.5,"standardDeviation":31877.25},"cutPoints":[)" +
                      open + R"(,30000,75000,150000,250000,)" + open +
                      R"(],"freqs":[611.5,1102,544.5,0,85],"valid":true})"),
              Call(
                  R"("loan_amount")", Status(0),
                  R"({"name":"loan_amount","totalFreq":2400,"kind":"continuous","summary":{"minimum":500,"maximum":95000,"mean":14512.75,"standardDeviation":9650.5},"cutPoints":[],"freqs":[],"valid":true})"),
              Call(
                  R"("debt_to_income")", Status(0),
                  R"({"name":"debt_to_income","totalFreq":2400,"kind":"continuous","summary":{"minimum":0,"maximum":0.91,"mean":0.27,"standardDeviation":0.125},"cutPoints":[0,0.2,0.43,)" +
                      open + R"(],"freqs":[803,1211,364],"valid":true})"),
              Call(
                  R"("default_flag")", Status(0),
                  R"({"name":"default_flag","totalFreq":2400,"kind":"categorical","counts":[2088,312],"valid":true})"),
          }));
}

const std::string kCounts =
    R"(<Counts totalFreq="10"/><DiscrStats><Array type="int">4 6</Array></DiscrStats>)";
const std::string kCountsRecord =
    R"({"name":"c","totalFreq":10,"kind":"categorical","counts":[4,6],"valid":true})";

TEST(Stats, ModelIsTheNthChildThatHoldsNoDictionary) {
  const std::string doc =
      R"(<PMML><Header/><DataDictionary/><TransformationDictionary/><RegressionModel/><Extension/>)"
      R"(<MiningBuildTask/><TreeModel><ModelStats><UnivariateStats field="c">)" +
      kCounts + "</UnivariateStats></ModelStats></TreeModel></PMML>";
  const struct {
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {{"stats", "-"}, Stats(R"("RegressionModel")", {})},
      {{"stats", "--model", "1", "-"},
       Stats(R"("TreeModel")", {Call(R"("c")", Status(0), kCountsRecord)})},
      {{"stats", "--model=2", "-"}, Stats("null", {})},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(c.args, doc);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.json, c.expected);
  }
}

TEST(Stats, FailedCallsAreListedAndTheWalkGoesOn) {
  const ToolRun run = RunTool(
      {"stats", "-"},
      "<PMML><DataDictionary/><TreeModel><ModelStats><UnivariateStats>" + kCounts +
          R"(</UnivariateStats><UnivariateStats field="n"><Counts totalFreq="5"/><NumericInfo/>)"
          R"(</UnivariateStats><UnivariateStats field="c">)" +
          kCounts + "</UnivariateStats></ModelStats></TreeModel></PMML>");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(
      run.json,
      Stats(R"("TreeModel")",
            {Call("null", Status(108), kEmptyRecord),
             // Without ContStats the record stays as given, and a fresh one is not valid.
             Call(R"("n")", Status(116), kEmptyRecord), Call(R"("c")", Status(0), kCountsRecord)}));
}

TEST(Stats, FailedLoadHasNoModel) {
  const ToolRun run = RunTool({"stats", "-"}, "<PMML/>");
  EXPECT_EQ(run.status, 1);
  // Two-space indents, one key or value per line, empty arrays closed at once.
  EXPECT_EQ(run.out, R"({
  "load": {
    "code": 106,
    "warning": false
  },
  "message": "",
  "parseErrors": 0,
  "model": null,
  "calls": []
}
)");
}

}  // namespace
}  // namespace tool_test
