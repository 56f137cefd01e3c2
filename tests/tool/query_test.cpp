// query end to end: one answer per QUERY in order, values as the getters leave
// them, path errors, and which entries decide the exit status.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tool_support.h"

namespace tool_test {
namespace {

using Answers = std::vector<std::pair<std::string, std::string>>;  // QUERY, rest of its entry

std::string Value(const std::string& value, const std::string& status = Status(0)) {
  return R"("status":)" + status + R"(,"value":)" + value;
}

// Asks every QUERY of `answers` at once and checks the whole output.
ToolRun Ask(const std::string& file, const Answers& answers, const std::string& head = Head()) {
  std::vector<std::string> args{"query", file}, results;
  for (const auto& [query, rest] : answers) {
    args.push_back(query);
    results.push_back(R"({"query":")" + query + R"(",)" + rest + "}");
  }
  const ToolRun run = RunTool(args);
  EXPECT_EQ(run.json, head + R"("results":[)" + Join(results) + "]}");
  return run;
}

TEST(Query, EveryKindAsksItsOwnGetter) {
  const ToolRun run = Ask(
      Example("build_settings.pmml"),
      {
          {"string:modelName", Value(R"("Collections priority, Spring 2024")")},
          {"int:depth@tree", Value("6")},
          {"double:alpha@tree/pruning", Value("0.0125")},
          {"bool:mergeCategories@tree", Value("false")},
          // type and complex carry no status and never fail the run.
          {"type:maxDepth", R"("value":"ParamInteger")"},
          {"type:nosuch", R"("value":"ParamUnknown")"},
          {"complex:pruning@tree", R"("value":true)"},
          {"complex:nosuch", R"("value":false)"},
          {"array-double:priorProbabilities", Value("[0.62,0.25,0.13]")},
          {"array-string:classLabels", Value(R"(["current","late 30","late 90+"])")},
          {"array-int:seed@sampling", Value("[20240318]")},
          {"matrix-double:misclassificationCosts", Value("[[0,1,4],[2,0,1.5],[8,3,0]]")},
          {"matrix-string:regionGroups", Value(R"([["north","north east"],["south"]])")},
          {"matrix-int:folds@tree/pruning", Value("[[1,2],[3,4,5]]")},
          {"var:FrequencyWeightVar", Value(R"("case_weight")")},
          {"vars:CatPredictors", Value(R"(["region","risk_band"])")},
          {"target:", Value(R"(["days_past_due"])")},
          {"inputs:", Value(R"(["region","risk_band","balance","credit_score","account_opened"])")},
          {"cat-responses:", Value(R"(["days_past_due"])")},
          {"cont-responses:", Value("[]")},
          {"cat-predictors:", Value(R"(["region","risk_band"])")},
          {"cont-predictors:", Value(R"(["balance","credit_score","account_opened"])")},
          {"frequency-weight:", Value(R"("case_weight")")},
      });
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST(Query, FailuresKeepTheStartValueOrWhatTheGetterLeft) {
  const ToolRun run =
      Ask(Example("build_settings.pmml"),
          {
              {"int:nosuch", Value("0", Status(120, true))},
              {"string:inputs", Value(R"("")", Status(121))},
              {"array-int:classLabels", Value("[]", Status(109))},
              // KIND ends at the first ':' and NAME at the last '@'.
              {"string:a@b@tree", Value(R"("")", Status(120, true))},
              {"int:depth:x@tree", Value("0", Status(120, true))},
              {"int:alpha@tree/nosuch/pruning", R"("error":"no ComplexParameter \"nosuch\"")"},
          });
  EXPECT_EQ(run.status, 1);
  // A path that cannot be resolved fails the run on its own.
  EXPECT_EQ(RunTool({"query", Example("build_settings.pmml"), "type:depth@nosuch"}).status, 1);
}

TEST(Query, FailedLoadAnswersEveryQueryWithIt) {
  const ToolRun run = Ask(Example("credit_risk.pmml"), {{"int:maxDepth", Value("0", Status(119))}},
                          Head(Status(119)));
  EXPECT_EQ(run.status, 1);
}

}  // namespace
}  // namespace tool_test
