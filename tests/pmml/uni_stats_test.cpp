// Univariate statistics: interval margins, histogram rules, arrays, counts,
// summary values and the cursor walk over UnivariateStats.
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/common/missing_value.h"
#include "mcxml/pmml/pmml_parser.h"
#include "test_support.h"

namespace {

using MCCommon_1_3::MCMV::gMissingValue;
using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::MCUniStats;
using mcxml_test::HasCode;
using mcxml_test::InlineDoc;
using mcxml_test::IsOk;
using xercesc::DOMElement;
using Doubles = std::vector<double>;

class StatsParser : public MCPMMLParser {
 public:
  using MCPMMLParser::FillCutPointsFreqs;

  // Loads a document whose only model holds `model` and chooses that model.
  void Load(const std::string& model) {
    std::istringstream in("<PMML><DataDictionary/><M>" + model + "</M></PMML>");
    ASSERT_THAT(ParseToDOM(in), IsOk());
    ASSERT_TRUE(SetModelElmt(*GetRootElement()->getLastElementChild()));
  }
};

// An Interval with closure `c`; an empty margin is left out.
std::string Iv(const std::string& l, const std::string& r, const std::string& c = "closedOpen") {
  return "<Interval closure='" + c + "'" + (l.empty() ? "" : " leftMargin='" + l + "'") +
         (r.empty() ? "" : " rightMargin='" + r + "'") + "/>";
}
std::string Arr(const std::string& text, const std::string& type = "int") {
  return "<Array type='" + type + "'>" + text + "</Array>";
}

// Interval margins and closures are read by ExtractInterval; their faults end the walk.
TEST(FillCutPointsFreqsTest, HistogramRules) {
  const double M = gMissingValue;
  const struct {
    std::string content;
    long code;
    Doubles cutPoints = {};
    bool leftOpen = false;
  } cases[] = {
      {Iv("", "10", "openClosed") + Iv("10", "20", "openClosed") + Iv("20", "", "openOpen") +
           Arr("1 2 3"),
       0,
       {M, 10, 20, M},
       true},
      {Iv("0", "10") + Iv("20", "30") + Arr("1 2 3"), 0, {0, 10, 20, 30}},  // a gap is a bucket
      {Iv("0", "10", "closedClosed") + Iv("10", "20", "other") + Arr("1 2"), 0, {0, 10, 20}},
      {Iv("-5", "10", "OpenOpen") + Arr("1"), 0, {-5, 10}},
      {Arr("x", ""), 0, {}, true},  // no Interval: the Array is not read
      {Iv("0", "10") + Iv("20", "30") + Arr("1 2"), 115},
      {Iv("0", "10") + Iv("10", "20") + Arr("1 2 3"), 115},
      {Iv("0", "10") + Iv("5", "15") + Arr("1 2 3"), 115},
      {Iv("0", "") + Iv("20", "30") + Arr("1 2 3"), 115},
      {Iv("0", "10") + Iv("", "20") + Arr("1 2"), 115},
      {Iv("0", "10", "openOpen") + Iv("10", "20", "closedOpen") + Arr("1 2"), 115},
      {Iv("0", "10", "closedOpen") + Iv("10", "20", "openClosed") + Arr("1 2"), 115},
      {Iv("5", "5") + Arr("1"), 109},
      {"<Interval leftMargin='7' rightMargin='5'/>", 109},  // margins come before the closure
      {Iv("x", "10") + Arr("1"), 109},
      {Iv("1", "y") + Arr("1"), 109},
      {Iv("", "") + Arr("1"), 108},
      {Iv("0", "10", "") + Arr("1"), 108},
      {Iv("0", "10"), 113},
      {Iv("0", "10") + Arr("1", ""), 108},
      {Iv("0", "10") + Arr("1", "string"), 109},
      {Iv("0", "10") + Arr("-1"), 114},
      {Iv("0", "10") + Arr("NaN"), 114},  // the missing value is below zero
      {Iv("0", "10") + Arr("1 x"), 114},
  };
  StatsParser parser;
  for (const auto& c : cases) {
    InlineDoc doc("<ContStats>" + c.content + "</ContStats>");
    Doubles cutPoints{7}, freqs{7};
    bool leftOpen = !c.leftOpen;
    EXPECT_THAT(parser.FillCutPointsFreqs(cutPoints, freqs, leftOpen, doc.root()),
                HasCode(c.code, false))
        << c.content;
    if (c.code != 0) continue;
    EXPECT_EQ(cutPoints, c.cutPoints) << c.content;
    EXPECT_EQ(leftOpen, c.leftOpen) << c.content;
  }
}

// One field per document; `written`: the record was replaced. Arrays are checked above.
TEST(FillUniStatsTest, OneField) {
  const std::string disc = "<DiscrStats>" + Arr("3 4") + "</DiscrStats>";
  const std::string counts = "<Counts totalFreq='7'/>";
  const std::string num = counts + "<NumericInfo ";
  const struct {
    std::string body;
    long code;
    bool written = false;
  } cases[] = {
      {"field='f'>" + counts + disc, 0, true},
      {"field='f'><Counts totalFreq='0'/>" + disc, 0, true},
      {"field='f'>" + counts + "<DiscrStats>" + Arr("") + "</DiscrStats>", 0, true},
      {"field='f'>" + num + "/><ContStats/>", 0, true},
      {"field='f'>" + num + "/>", 116},  // no ContStats: the caller's invalid record stays
      {"field=''>" + counts + disc, 108},
      {"field='f'>" + disc, 113},
      {"field='f'><Counts/>" + disc, 108},
      {"field='f'><Counts totalFreq='-1'/>" + disc, 109},
      {"field='f'><Counts totalFreq='many'/>" + disc, 109},
      {"field='f'>" + counts, 113},
      {"field='f'>" + counts + "<DiscrStats/>", 113},
      {"field='f'>" + counts + "<DiscrStats>" + Arr("1", "Real") + Arr("1") + "</DiscrStats>", 109},
      {"field='f'>" + num + "minimum='x' standardDeviation='-1'/><ContStats/>", 109},
      {"field='f'>" + num + "mean='x'/><ContStats/>", 109},
      {"field='f'>" + num + "standardDeviation='-1'/><ContStats/>", 116},
      {"field='f'>" + num + "standardDeviation='NaN'/><ContStats/>", 116},
      {"field='f'>" + num + "/><ContStats>" + Iv("0", "10") + "</ContStats>", 113},
      {"field='f'>" + num + "minimum='5' maximum='1'/><ContStats/>", 116, true},  // IsValid
  };
  for (const auto& c : cases) {
    StatsParser parser;
    parser.Load("<ModelStats><UnivariateStats " + c.body + "</UnivariateStats></ModelStats>");
    MCUniStats stats("sentinel", -1, Doubles{1});  // not valid: a negative total
    const DOMElement* cursor = nullptr;
    EXPECT_THAT(parser.FillUniStats(stats, cursor), HasCode(c.code, false)) << c.body;
    EXPECT_NE(cursor, nullptr) << c.body;
    EXPECT_EQ(stats.GetName(), c.written ? "f" : "sentinel") << c.body;
  }
}

TEST(FillUniStatsTest, WalkReadsEachFieldAndStepsPastABadOne) {
  StatsParser parser;
  parser.Load(
      "<ModelStats><UnivariateStats field='a'><Counts totalFreq='7'/><DiscrStats>" + Arr("3 4") +
      "</DiscrStats></UnivariateStats><Extension/><UnivariateStats><Counts totalFreq='1'/>"
      "</UnivariateStats><UnivariateStats field='b'><Counts totalFreq='5'/><DiscrStats>" +
      Arr("5") + "</DiscrStats><NumericInfo minimum='1' mean='2'/><ContStats>" + Iv("1", "3") +
      Iv("4", "5") + Arr("5.5 0 1", "real") + "</ContStats></UnivariateStats></ModelStats>");
  MCUniStats stats;
  const DOMElement* cursor = nullptr;
  ASSERT_THAT(parser.FillUniStats(stats, cursor), IsOk());
  EXPECT_EQ(stats.GetKind(), MCUniStats::Kind::Categorical);
  EXPECT_EQ(stats.GetCounts(), Doubles({3, 4}));
  EXPECT_EQ(stats.GetTotalFreq(), 7);
  EXPECT_THAT(parser.FillUniStats(stats, cursor), HasCode(108, false));
  ASSERT_THAT(parser.FillUniStats(stats, cursor), IsOk());
  EXPECT_EQ(stats.GetKind(), MCUniStats::Kind::Continuous);  // NumericInfo wins over DiscrStats
  EXPECT_EQ(stats.GetName(), "b");
  const MCUniStats::SummStats& s = stats.GetSummStats();
  EXPECT_EQ(Doubles({s.minimum, s.maximum, s.mean, s.standardDeviation}),
            Doubles({1, gMissingValue, 2, gMissingValue}));
  EXPECT_EQ(stats.GetCutPoints(), Doubles({1, 3, 4, 5}));
  EXPECT_EQ(stats.GetFreqs(), Doubles({5.5, 0, 1}));
  ASSERT_NE(cursor, nullptr);
  EXPECT_THAT(parser.FillUniStats(stats, cursor), IsOk());
  EXPECT_EQ(cursor, nullptr);
  EXPECT_EQ(stats.GetName(), "b");
}

TEST(FillUniStatsTest, FailuresBeforeTheWalkLeaveTheCursor) {
  InlineDoc other("<x/>");
  MCUniStats stats("sentinel", 1, Doubles{1});
  StatsParser fresh, failed, noModel;
  std::istringstream bad("<pmml><DataDictionary/></pmml>"), good("<PMML><DataDictionary/></PMML>");
  ASSERT_THAT(failed.ParseToDOM(bad), HasCode(105, false));
  ASSERT_THAT(noModel.ParseToDOM(good), IsOk());
  const std::pair<StatsParser*, long> cases[] = {{&fresh, 107}, {&failed, 105}, {&noModel, 112}};
  for (const auto& [parser, code] : cases) {
    const DOMElement* cursor = &other.root();
    EXPECT_THAT(parser->FillUniStats(stats, cursor), HasCode(code, false));
    EXPECT_EQ(cursor, &other.root());
  }
  for (const std::string model : {"", "<ModelStats><Other/></ModelStats>"}) {
    StatsParser parser;
    parser.Load(model);
    const DOMElement* cursor = nullptr;
    EXPECT_THAT(parser.FillUniStats(stats, cursor), IsOk()) << model;
    EXPECT_EQ(cursor, nullptr) << model;
  }
  EXPECT_EQ(stats.GetName(), "sentinel");
}

}  // namespace
