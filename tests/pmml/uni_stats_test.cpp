// Univariate statistics: interval margins, histogram rules, arrays, counts,
// summary values and the cursor walk over UnivariateStats.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "pmml_test_support.h"

namespace {

using MCXML_1_3::MCUniStats;
using namespace mcxml_test;
using xercesc::DOMElement;
using Doubles = std::vector<double>;

// Loads a document whose only model holds `model` and chooses that model.
void LoadModel(ProbeParser& parser, const std::string& model) {
  ASSERT_THAT(Load(parser, "<PMML><DataDictionary/><M>" + model + "</M></PMML>"), IsOk());
  ASSERT_TRUE(parser.SetModelElmt(*parser.GetRootElement()->getLastElementChild()));
}

std::string Arr(Str text, Str type = "int") {
  return "<Array" + Attr("type", type) + ">" + text + "</Array>";
}

TEST(FillCutPointsFreqsTest, HistogramRules) {
  const struct {
    std::string content;
    long code;
    std::string cutPoints = "";
    bool leftOpen = false;
  } cases[] = {
      // Open ends are the missing value; a gap is a bucket, touching intervals share a cut.
      {Iv("", "10", "openClosed") + Iv("10", "20", "openClosed") + Iv("25", "", "openOpen") +
           Arr("1 2 3 4"),
       0, "-max,10,20,25,-max", true},
      {Iv("0", "10", "closedClosed") + Iv("10", "20", "OpenOpen") + Arr("1 2"), 0, "0,10,20"},
      {Arr("x", ""), 0, "", true},  // no Interval: the Array is not read
      {Iv("0", "10") + Iv("20", "30") + Arr("1 2"), 115},
      {Iv("0", "10") + Iv("5", "15") + Arr("1 2 3"), 115},
      {Iv("0", "") + Iv("20", "30") + Arr("1 2 3"), 115},
      {Iv("0", "10", "openOpen") + Iv("10", "20", "closedOpen") + Arr("1 2"), 115},
      {"<Interval leftMargin='5' rightMargin='5'/>", 109},  // margins come before the closure
      {Iv("1", "y") + Arr("1"), 109},
      {Iv("", "") + Arr("1"), 108},
      {Iv("0", "10", "") + Arr("1"), 108},
      {Iv("0", "10"), 113},
      {Iv("0", "10") + Arr("-1"), 114},
      {Iv("0", "10") + Arr("1 x"), 114},
  };
  ProbeParser parser;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    InlineDoc doc("<ContStats>" + c.content + "</ContStats>");
    Doubles cutPoints{7}, freqs{7};
    bool leftOpen = !c.leftOpen;
    EXPECT_THAT(parser.FillCutPointsFreqs(cutPoints, freqs, leftOpen, doc.root()),
                HasCode(c.code, false));
    if (c.code != 0) continue;
    EXPECT_EQ(Text(cutPoints), c.cutPoints);
    EXPECT_EQ(leftOpen, c.leftOpen);
  }
}

// The record as text: name, total, then the counts, or the summary, cut points
// and frequencies.
std::string Record(const MCUniStats& stats) {
  std::string text = stats.GetName() + " " + Text(stats.GetTotalFreq());
  if (stats.GetKind() == MCUniStats::Kind::Categorical) text += " " + Text(stats.GetCounts());
  if (stats.GetKind() == MCUniStats::Kind::Continuous) {
    const MCUniStats::SummStats& s = stats.GetSummStats();
    text += " " + Text(Doubles{s.minimum, s.maximum, s.mean, s.standardDeviation}) + " |" +
            Text(stats.GetCutPoints()) + "|" + Text(stats.GetFreqs());
  }
  return text;
}

// One call per UnivariateStats, past other elements and past one that fails, each
// into a record that is not valid (a negative total) and that a failure leaves as it
// was. (A model without ModelStats: the tool's test.)
TEST(FillUniStatsTest, EachCallReadsTheNextField) {
  const std::string disc = "<DiscrStats>" + Arr("3 4") + "</DiscrStats>";
  const std::string counts = "<Counts totalFreq='7'/>", num = counts + "<NumericInfo ";
  const std::string kept = "sentinel -1 9";
  const struct {
    std::string body;
    long code;
    std::string record;
  } calls[] = {
      // The first child of each tag counts, whatever stands before, between or after.
      {"field='f'>" + counts + "<Counts totalFreq='9'/>" + disc + "<DiscrStats>" + Arr("1") +
           "</DiscrStats>",
       0, "f 7 3,4"},
      // NumericInfo wins over DiscrStats; absent summary values are missing.
      {"field='f'>" + disc + num + "minimum='1' mean='2'/><NumericInfo mean='3'/><ContStats>" +
           Arr("5.5 0 1", "real") + Iv("1", "3") + "<Other/>" + Iv("4", "5") + Arr("9") +
           "</ContStats><ContStats/>",
       0, "f 7 1,-max,2,-max |1,3,4,5|5.5,0,1"},
      {"field='f'>" + num + "/>", 116, kept},  // no ContStats: the record stays
      {"field=''>" + counts + disc, 108, kept},
      {"field='f'>" + disc, 113, kept},
      {"field='f'><Counts/>" + disc, 108, kept},
      {"field='f'><Counts totalFreq='-1'/>" + disc, 109, kept},
      {"field='f'>" + counts, 113, kept},
      {"field='f'>" + counts + "<DiscrStats>" + Arr("1", "Real") + Arr("1") + "</DiscrStats>", 109,
       kept},
      {"field='f'>" + num + "minimum='x' standardDeviation='-1'/><ContStats/>", 109, kept},
      {"field='f'>" + num + "standardDeviation='-1'/><ContStats/>", 116, kept},
      {"field='f'>" + num + "/><ContStats>" + Iv("0", "10") + "</ContStats>", 113, kept},
      // Built, then found invalid: the record is kept.
      {"field='f'>" + num + "minimum='5' maximum='1'/><ContStats/>", 116, "f 7 5,1,-max,-max ||"},
  };
  std::string model = "<ModelStats><Other/>";
  for (const auto& c : calls) model += "<UnivariateStats " + c.body + "</UnivariateStats><Other/>";
  ProbeParser parser;
  LoadModel(parser, model + "</ModelStats>");
  const DOMElement* cursor = nullptr;
  for (const auto& c : calls) {
    MCUniStats stats("sentinel", -1, Doubles{9});
    EXPECT_THAT(parser.FillUniStats(stats, cursor), HasCode(c.code, false)) << c.body;
    EXPECT_EQ(Record(stats), c.record) << c.body;
  }
  MCUniStats stats("sentinel", -1, Doubles{9});
  EXPECT_THAT(parser.FillUniStats(stats, cursor), IsOk());
  EXPECT_EQ(cursor, nullptr);
  EXPECT_EQ(Record(stats), kept);
}

TEST(FillUniStatsTest, FailuresBeforeTheWalkLeaveTheCursor) {
  InlineDoc other("<x/>");
  MCUniStats stats("sentinel", 1, Doubles{1});
  ProbeParser fresh, failed, noModel;
  ASSERT_THAT(Load(failed, "<pmml><DataDictionary/></pmml>"), HasCode(105, false));
  ASSERT_THAT(Load(noModel, "<PMML><DataDictionary/></PMML>"), IsOk());
  const std::pair<ProbeParser*, long> cases[] = {{&fresh, 107}, {&failed, 105}, {&noModel, 112}};
  for (const auto& [parser, code] : cases) {
    const DOMElement* cursor = &other.root();
    EXPECT_THAT(parser->FillUniStats(stats, cursor), HasCode(code, false));
    EXPECT_EQ(cursor, &other.root());
  }
  EXPECT_EQ(stats.GetName(), "sentinel");
}

}  // namespace
