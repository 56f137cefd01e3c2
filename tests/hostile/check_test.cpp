// The check of documents whose problems share most of their work: many fields of
// one name with a large Discretize, and parameters nested deep. Each is checked in
// time and memory in proportion to the document, and no path grows with its depth.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"
#include "mcxml/settings/settings_parser.h"
#include "test_support.h"

namespace {

using namespace MCXML_1_3;
using namespace mcxml_test;

constexpr int kCount = 20000;

template <class Parser>
std::vector<MCProblem> Check(const std::string& xml) {
  Parser parser;
  parser.SetSecureProcessing(true);
  parser.SetElementPlaces(true);
  EXPECT_THAT(Load(parser, xml), IsOk());
  return parser.CheckDocument(true);
}

// kCount continuous fields named "x", and one Discretize of kCount bins for it:
// increasing, the first takes the bins and every later one is refused by name;
// decreasing, every one is refused for the bins.
std::string RepeatedFieldWithBins(bool increasing) {
  std::string bins;
  for (int i = 0; i < kCount; ++i) {
    const int at = increasing ? i : -i;
    bins += "<DiscretizeBin binValue='b" + std::to_string(i) +
            "'><Interval closure='openClosed' leftMargin='" + std::to_string(at) +
            "' rightMargin='" + std::to_string(at + 1) + "'/></DiscretizeBin>";
  }
  return "<PMML><DataDictionary>" +
         Repeat("<DataField name='x' optype='continuous' dataType='double'/>", kCount) +
         "</DataDictionary><TransformationDictionary><DerivedField name='d'><Discretize "
         "field='x'>" +
         bins + "</Discretize></DerivedField></TransformationDictionary></PMML>";
}

// kCount levels of ComplexParameter, each with a parameter that is not the
// integer it declares.
std::string NestedBadParameters() {
  return "<PMML><DataDictionary/><MiningBuildTask><Extension><Parameters>" +
         Repeat("<ComplexParameter name='g'><Parameter name='p' type='integer' value='z'/>",
                kCount) +
         Repeat("</ComplexParameter>", kCount) +
         "</Parameters></Extension></MiningBuildTask></PMML>";
}

TEST(CheckSizeTest, SharedWorkIsDoneOnce) {
  const struct {
    const char* what;
    std::vector<MCProblem> (*check)(const std::string&);
    std::string xml;
    std::size_t count;
    long code;
    const char* reason;
    std::string lastPath;
  } cases[] = {
      {"one name, large bins", Check<MCPMMLParser>, RepeatedFieldWithBins(true), kCount - 1, 111,
       "DataField \"x\": an earlier DataField has the same name",
       "/PMML/DataDictionary/DataField[" + std::to_string(kCount) + "]"},
      {"one name, large bins that do not increase", Check<MCPMMLParser>,
       RepeatedFieldWithBins(false), kCount, 111,
       "DataField \"x\": the 20001 cut points of its Discretize do not increase: cut point 3 is "
       "0, after 1 (at ",
       "/PMML/DataDictionary/DataField[" + std::to_string(kCount) + "]"},
      {"deep parameters", Check<MCSettingsParser>, NestedBadParameters(), kCount, 109,
       "Parameter \"p\": value \"z\" is not an integer",
       "/PMML/MiningBuildTask/Extension/Parameters" + Repeat("/ComplexParameter", 4) + "/..." +
           Repeat("/ComplexParameter", 7) + "/Parameter"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectBounded(20, 1024, [&] {
      const std::vector<MCProblem> problems = c.check(c.xml);
      ASSERT_EQ(problems.size(), c.count);
      std::size_t longest = 0;
      for (const MCProblem& p : problems) {
        ASSERT_EQ(p.status, MCCommon_1_3::MCStatus(c.code, false)) << p.reason;
        ASSERT_EQ(p.reason.rfind(c.reason, 0), 0u) << p.reason;
        ASSERT_TRUE(p.place.IsKnown());
        longest = std::max<std::size_t>(longest, std::count(p.path.begin(), p.path.end(), '/'));
      }
      // 16 steps at most, and the "..." that stands for the rest.
      EXPECT_LE(longest, 17u);
      EXPECT_EQ(problems.back().path, c.lastPath);
    });
  }
}

}  // namespace
