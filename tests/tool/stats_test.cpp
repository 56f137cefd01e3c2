// stats end to end: the model element choice, one listed call per UnivariateStats
// (failures included, the end of the walk not), and the records as read.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

std::string Call(const std::string& field, const std::string& status, const std::string& stats) {
  return R"({"field":)" + field + R"(,"status":)" + status + R"(,"stats":)" + stats + "}";
}

TEST(Stats, ModelIsTheNthChildThatHoldsNoDictionaryAndEveryCallIsListed) {
  const std::string counts =
      R"(<Counts totalFreq="10"/><DiscrStats><Array type="int">4 6</Array></DiscrStats>)";
  const std::string doc =
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
  const std::string open = "-1.7976931348623157e+308";
  const std::vector<std::string> calls = {
      Call("null", Status(108), empty),
      // Without ContStats the record stays as given, and a fresh one is not valid.
      Call(R"("n")", Status(116), empty),
      Call(R"("c")", Status(0),
           R"({"name":"c","totalFreq":10,"kind":"categorical","counts":[4,6],"valid":true})"),
      Call(R"("x")", Status(0),
           R"({"name":"x","totalFreq":3,"kind":"continuous","summary":{"minimum":1,"maximum":)" +
               open + R"(,"mean":2.5,"standardDeviation":0.5},"cutPoints":[)" + open + ",10," +
               open + R"(],"freqs":[1,2],"valid":true})")};
  const struct {
    std::string options;
    int status;
    std::string model;
    std::vector<std::string> calls;
  } cases[] = {{"", 0, R"("RegressionModel")", {}},
               {"--model 1", 1, R"("TreeModel")", calls},
               {"--model=2", 0, "null", {}}};
  for (const auto& c : cases) {
    const ToolRun run = RunTool(Args("stats " + c.options + " -"), doc);
    EXPECT_EQ(run.status, c.status) << c.options << run.err;
    EXPECT_EQ(run.json, Head() + R"("model":)" + c.model + R"(,"calls":[)" + Join(c.calls) + "]}");
  }
}

TEST(Stats, FailedLoadHasNoModel) {
  const ToolRun run = RunTool({"stats", "-"}, "<PMML/>");
  EXPECT_EQ(run.status, 1);
  // Two-space indents, one key or value per line, empty arrays closed at once.
  EXPECT_EQ(run.out,
            "{\n  \"load\": {\n    \"code\": 106,\n    \"warning\": false\n  },\n  \"message\": "
            "\"\",\n  \"parseErrors\": 0,\n  \"model\": null,\n  \"calls\": []\n}\n");
}

}  // namespace
}  // namespace tool_test
