// The bins that FillVarList attaches, found through its index and the guess that
// fields come in the order of their bins, against SetBinsFrTransDict's walk of
// the whole transformation dictionary: fields out of that order, a field binned
// twice, a Discretize without "field", and a name that is not ASCII.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/pmml/pmml_parser.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::MCVarList;

class WalkingParser : public MCPMMLParser {
 public:
  using MCPMMLParser::SetBinsFrTransDict;
};

// A continuous field's Discretize with bins at `left`, `left` + 10 and `left` + 20.
std::string Discretize(const std::string& fieldAttr, int left) {
  std::string bins;
  for (int k = 0; k < 3; ++k) {
    bins += "<DiscretizeBin binValue='b" + std::to_string(k) + "'><Interval closure='openClosed' " +
            "leftMargin='" + std::to_string(left + 10 * k) + "' rightMargin='" +
            std::to_string(left + 10 * k + 10) + "'/></DiscretizeBin>";
  }
  return "<DerivedField><Discretize" + fieldAttr + ">" + bins + "</Discretize></DerivedField>";
}

TEST(BinsIndex, SameBinsAsTheWalk) {
  const std::string names[] = {"a", "b", "c", "d", "caf\xC3\xA9", "f", "g", "h"};
  std::string fields;
  for (const std::string& name : names) {
    fields += "<DataField name='" + name + "' optype='continuous' dataType='double'/>";
  }
  const std::string transforms =
      Discretize(" field='b'", 0) + Discretize(" field='a'", 100) + Discretize(" field='a'", 200) +
      Discretize(" field='c'", 300) + Discretize("", 400) + Discretize(" field='d'", 500) +
      Discretize(" field='caf\xC3\xA9'", 600) + Discretize(" field='d'", 700) +
      Discretize(" field='f'", 800) + Discretize(" field='h'", 900) +
      Discretize(" field='g'", 1000) + Discretize(" field='h'", 1100);
  std::istringstream in("<PMML><DataDictionary>" + fields +
                        "</DataDictionary><TransformationDictionary>" + transforms +
                        "</TransformationDictionary></PMML>");
  WalkingParser parser;
  ASSERT_THAT(parser.ParseToDOM(in), mcxml_test::IsOk());
  MCVarList list;
  ASSERT_THAT(parser.FillVarList(list, {}, true), mcxml_test::IsOk());
  ASSERT_EQ(list.GetCount(), 8);
  for (int i = 0; i < list.GetCount(); ++i) {
    const auto& info = list.GetVarAt(i)->GetInfo();
    SCOPED_TRACE(info.name);
    std::vector<double> cuts;
    std::vector<std::string> labels;
    ASSERT_TRUE(parser.SetBinsFrTransDict(info.name, cuts, labels));
    ASSERT_TRUE(info.cutPoints.has_value());
    EXPECT_EQ(*info.cutPoints, std::vector<double>(cuts.begin() + 1, cuts.end() - 1));
    EXPECT_EQ(info.range->first, cuts.front());
  }
  EXPECT_EQ(list.GetVarAt(0)->GetInfo().range->first, 100) << "the first of a's two";
  EXPECT_EQ(list.GetVarAt(3)->GetInfo().range->first, 500) << "the first of d's two";
  EXPECT_EQ(list.GetVarAt(7)->GetInfo().range->first, 900) << "not h's second, next after g";
}

}  // namespace
