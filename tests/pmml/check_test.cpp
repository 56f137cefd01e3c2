// The check of a whole PMML document: every problem at its place and path, and
// the codes the library's operations give for the same parts. The tool's check
// test has the XML parser's first error, listed first, and clean examples.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "pmml/pmml_test_support.h"

namespace {

using MCXML_1_3::MCProblem;
using namespace mcxml_test;

// A document of one element per line, so that the line of each is its index + 1.
const std::vector<std::string> kLines = {
    "<PMML>",
    "<DataDictionary>",
    "<DataField name='a' optype='categorical' dataType='string'><Value value='x'/></DataField>",
    "<DataField name='b' optype='continuous' dataType='double'/>",
    "<DataField name='c' optype='categorical' dataType='integer'/>",
    "</DataDictionary>",
    "<TransformationDictionary>",
    "<DerivedField><Discretize field='b'>",
    "<DiscretizeBin binValue='lo'><Interval closure='openClosed' rightMargin='10'/>"
    "</DiscretizeBin>",
    "<DiscretizeBin binValue='hi'><Interval closure='openOpen' leftMargin='10'/></DiscretizeBin>",
    "</Discretize></DerivedField>",
    "</TransformationDictionary>",
    "<TreeModel><ModelStats>",
    "<UnivariateStats field='a'><Counts totalFreq='3'/>"
    "<DiscrStats><Array type='int'>3</Array></DiscrStats></UnivariateStats>",
    "<UnivariateStats field='b'><Counts totalFreq='4'/><NumericInfo mean='1'/><ContStats>",
    "<Interval closure='closedOpen' leftMargin='0' rightMargin='10'/>",
    "<Interval closure='closedOpen' leftMargin='10' rightMargin='20'/>",
    "<Array type='real'>1 3</Array></ContStats></UnivariateStats>",
    "</ModelStats></TreeModel>",
    "</PMML>",
};

// The document with each edit made where its text first stands on a line.
std::string Document(const std::vector<std::pair<std::string, std::string>>& edits = {}) {
  std::string text;
  for (std::string line : kLines) {
    for (const auto& [from, to] : edits) {
      const size_t at = line.find(from);
      if (at != std::string::npos) line.replace(at, from.size(), to);
    }
    text += line + "\n";
  }
  return text;
}

// code@line:column path name, one per problem; the reason is checked apart.
std::string Summary(const std::vector<MCProblem>& problems) {
  std::string out;
  for (const MCProblem& p : problems) {
    out += std::to_string(p.status.GetCode()) + (p.status.IsWarning() ? "w" : "") + "@" +
           std::to_string(p.place.line) + ":" + std::to_string(p.place.column) + " " + p.path +
           " " + p.name.value_or("-") + "\n";
  }
  return out;
}

// Problems of every kind, each on a line of its own: code, where its element starts,
// path, name, and a reason that quotes what is wrong. A field with two problems
// lists the one FillVarList returns first.
TEST(CheckTest, EveryProblemAtItsPlace) {
  const std::string xml =
      Document({{"dataType='string'", "dataType='text'"},
                {"name='c' optype='categorical'", "name='c'"},
                {"dataType='integer'", "dataType='int'"},
                {"leftMargin='10'/>", "leftMargin='10' rightMargin='5'/>"},
                {"totalFreq='3'", "totalFreq='-3'"},
                {"leftMargin='10' rightMargin='20'", "leftMargin='5' rightMargin='20'"}});
  for (const bool bins : {false, true}) {
    SCOPED_TRACE(bins ? "bins" : "no bins");
    MCXML_1_3::MCPMMLParser parser;
    const std::vector<MCProblem> problems = Checked(parser, xml, bins);
    const std::string fields = "/PMML/DataDictionary/DataField";
    const std::string stats = "/PMML/TreeModel/ModelStats/UnivariateStats";
    EXPECT_EQ(Summary(problems), "109@3:1 " + fields + "[1] a\n" +
                                     (bins ? "111@4:1 " + fields + "[2] b\n" : "") + "109@5:1 " +
                                     fields + "[3] c\n108@5:1 " + fields + "[3] c\n109@14:1 " +
                                     stats + "[1] a\n115@15:1 " + stats + "[2] b\n");
    // Each reason quotes the text at fault and, when that lies in another element,
    // says where.
    std::string reasons;
    for (const MCProblem& p : problems) reasons += p.reason + "\n";
    for (const char* text :
         {"\"text\"", "\"int\"", "\"optype\"", "\"-3\" is negative (at Counts, line 14)",
          "\"5\" lies below the boundary before it, 10 (at ContStats/Interval[2], line 17)",
          bins ? "10, 5 of its Discretize do not increase (at "
                 "/PMML/TransformationDictionary/DerivedField/Discretize, line 8)"
               : ""}) {
      EXPECT_NE(reasons.find(text), std::string::npos) << text;
    }
  }
}

// One fault at a time in a clean document, one per status a DataField or a
// UnivariateStats gives and per way to it (a field refused by name, whether its
// bins exist or not, or by its bins, a record invalid as read or by its own
// rules): FillVarList with one field's name gives the status of the first
// problem the check names for that field, or OK when none; the FillUniStats walk
// fails on exactly the statistics the check lists.
TEST(CheckTest, CodesAgreeWithTheOperations) {
  // clang-format off
  const std::pair<std::string, std::string> faults[] = {{"", ""},
      {" dataType='string'", ""}, {"dataType='double'", "dataType='Double'"},
      {"field='b'>", "field='B'>"}, {"name='c'", "name='a'"},
      {"name='b'", "name='a'"}, {"name='c' optype='categorical'", "name='b' optype='continuous'"},
      {"leftMargin='10'/>", "leftMargin='10' rightMargin='5'/>"},
      {"<UnivariateStats field='a'>", "<UnivariateStats>"}, {"totalFreq='3'", "totalFreq='x'"},
      {"<Counts totalFreq='3'/>", ""}, {">3</Array>", ">3 -1</Array>"},
      {"closure='closedOpen' leftMargin='10'", "closure='openOpen' leftMargin='10'"},
      {"mean='1'", "standardDeviation='-1'"}, {"ContStats>", "Other>"}};
  // clang-format on
  for (const auto& fault : faults) {
    const std::string xml = Document({fault});
    SCOPED_TRACE(xml);
    EXPECT_EQ(xml == Document(), fault.first.empty()) << "the fault is in the document";
    for (const bool bins : {false, true}) {
      MCXML_1_3::MCPMMLParser parser;
      const std::vector<MCProblem> problems = Checked(parser, xml, bins);
      for (const char* name : {"a", "b", "c"}) {
        MCXML_1_3::MCVarList list;
        const MCCommon_1_3::MCStatus status = parser.FillVarList(list, {name}, bins);
        const auto first = std::find_if(problems.begin(), problems.end(), [&](const MCProblem& p) {
          return p.name == name && p.path.find("ModelStats") == std::string::npos;
        });
        EXPECT_EQ(status, first == problems.end() ? MCCommon_1_3::MCStatus() : first->status)
            << name << (bins ? " with bins" : "");
      }
      const auto* model = MCXML_1_3::GetFirstChildElmt(*parser.GetRootElement(), "TreeModel");
      ASSERT_TRUE(parser.SetModelElmt(*model));
      std::vector<MCCommon_1_3::MCStatus> walk, listed;
      const MCXML_1_3::DOMElement* cursor = nullptr;
      do {
        MCXML_1_3::MCUniStats fresh;
        const MCCommon_1_3::MCStatus status = parser.FillUniStats(fresh, cursor);
        if (!status.IsOK()) walk.push_back(status);
      } while (cursor != nullptr);
      for (const MCProblem& p : problems) {
        if (p.path.find("/ModelStats/") != std::string::npos) listed.push_back(p.status);
      }
      EXPECT_EQ(walk, listed);
    }
  }
}

// A second field of a taken name is refused by the list, and the reason says so; a
// nameless field is listed without a name, yet FillVarList fails on it whatever
// name it is asked for.
TEST(CheckTest, ATakenNameAndNoName) {
  const std::string field = "@5:1 /PMML/DataDictionary/DataField[3] ";
  const std::tuple<std::string, std::string, const char*, long> cases[] = {
      {"name='a'", "111" + field + "a\n", "an earlier DataField has the same name", 111},
      {"", "108" + field + "-\n", "\"name\"", 108}};
  for (const auto& [name, summary, reason, fillA] : cases) {
    MCXML_1_3::MCPMMLParser parser;
    const std::vector<MCProblem> problems = Checked(parser, Document({{"name='c'", name}}));
    EXPECT_EQ(Summary(problems), summary);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].reason.find(reason), std::string::npos) << problems[0].reason;
    MCXML_1_3::MCVarList list;
    EXPECT_EQ(parser.FillVarList(list, {"a"}, false).GetCode(), fillA);
  }
}

}  // namespace
