// The PMML variable list: the names filter, failures and what stays added, value
// labels, invalid values and ranges for each kind of field.
#include <cfloat>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/common/format.h"
#include "pmml_test_support.h"

namespace {

using MCXML_1_3::Format;
using MCXML_1_3::IMCEncoder;
using MCXML_1_3::MCVariableInfo;
using MCXML_1_3::MCVarList;
using mcxml_test::HasCode;
using mcxml_test::IsOk;
using mcxml_test::Pmml;
using mcxml_test::ProbeParser;
using Strings = std::vector<std::string>;

// Open ends as "-max" and "max"; the lowest double is also the missing value.
std::string Num(double v) {
  return v == DBL_MAX ? "max" : v == -DBL_MAX ? "-max" : Format(v, false, nullptr);
}

std::string Field(const std::string& attrs, const std::string& children = "") {
  return "<DataField " + attrs + ">" + children + "</DataField>";
}

// Loads `xml` and fills a list from it.
struct Filled {
  explicit Filled(const std::string& xml, const Strings& names = {}) {
    ProbeParser parser;
    EXPECT_THAT(parser.Load(xml), IsOk());
    status = parser.FillVarList(list, names, false);
  }
  Strings Names() const {
    Strings names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(Info(i).name);
    return names;
  }
  const MCVariableInfo& Info(int i) const { return list.GetVarAt(i)->GetInfo(); }
  // Invalid values as "value=label;" and the invalid range as "[lower,upper]".
  std::string Invalid(int i) const {
    const IMCEncoder& encoder = *list.GetEncoderAt(i);
    std::string out;
    for (const auto& v : encoder.GetInvalidValues()) {
      out += (v.isText ? v.text : Num(v.number)) + "=" + v.label + ";";
    }
    if (const auto& range = encoder.GetInvalidRange()) {
      out += "[" + Num(range->first) + "," + Num(range->second) + "]";
    }
    return out;
  }

  MCVarList list;
  MCCommon_1_3::MCStatus status;
};

const std::string kAbc = Field("name='a' dataType='string' optype='categorical'") +
                         Field("name='b' dataType='double' optype='continuous'") +
                         Field("name='c' dataType='integer' optype='ordinal'");

TEST(FillVarListTest, StoredStatusComesFirst) {
  ProbeParser parser;
  MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, {}, false), HasCode(107, false));
  EXPECT_THAT(parser.Load("<pmml/>"), HasCode(105, false));
  EXPECT_THAT(parser.FillVarList(list, {}, false), HasCode(105, false));
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(FillVarListTest, NamesFilterKeepsDocumentOrder) {
  const struct {
    Strings names;
    Strings expected;
  } cases[] = {
      {{"c", "a"}, {"a", "c"}},
      {{"b", "b"}, {"b"}},
      {{"zz", "b"}, {"b"}},
      {{"zz"}, {}},
      {{"A"}, {}},
  };
  for (const auto& c : cases) {
    // A field left out is not read: its data type is no error.
    Filled filled(Pmml(kAbc + Field("name='x' dataType='boolean'")), c.names);
    EXPECT_THAT(filled.status, IsOk());
    EXPECT_EQ(filled.Names(), c.expected);
  }
  Filled nameless(Pmml(kAbc + Field("dataType='string' optype='categorical'")), {"a"});
  EXPECT_THAT(nameless.status, HasCode(108, false));
  EXPECT_EQ(nameless.Names(), Strings({"a"}));
}

TEST(FillVarListTest, FirstFailureEndsTheWalkAndKeepsEarlierVariables) {
  const struct {
    const char* attrs;
    long code;
  } cases[] = {
      {"name='d' optype='categorical'", 108},
      {"name='d' dataType='string'", 108},
      {"name='d' dataType='' optype='categorical'", 108},
      {"name='d' dataType='boolean' optype='categorical'", 109},
      {"name='d' dataType='Double' optype='continuous'", 109},
      {"name='d' dataType='date' optype='continuous'", 109},
      {"name='a' dataType='string' optype='categorical'", 111},
      {"name='b' dataType='float' optype='continuous'", 111},
  };
  for (const auto& c : cases) {
    Filled filled(Pmml(kAbc + Field(c.attrs) + Field("name='e' dataType='string' optype='x'")));
    EXPECT_THAT(filled.status, HasCode(c.code, false)) << c.attrs;
    EXPECT_EQ(filled.Names(), Strings({"a", "b", "c"})) << c.attrs;
  }
}

TEST(FillVarListTest, ValuesAndLabelsOnlyWhenTheCountsMatch) {
  const struct {
    const char* type;
    std::string values;
    std::string expected;  // values as "v,v," then "|label,label," when labels were passed
  } cases[] = {
      {"string", "<Value value='x' displayValue='X'/><Value/><Value value='y' displayValue='Y'/>",
       "x,y,|X,Y,"},
      {"string", "<Value value='x' displayValue='X'/><Value value='y'/><Value value=''/>", "x,y,"},
      {"double", "<Value value='abc' displayValue='A'/><Value value='1' displayValue='B'/>", "1,"},
      {"float", "<Value value='INF'/><Value value='NaN'/><Value value='2.5' property='valid'/>",
       "-max,2.5,"},
      {"integer", "<Interval leftMargin='x'/>", "|"},
  };
  for (const auto& c : cases) {
    Filled filled(Pmml(
        Field(std::string("name='v' optype='categorical' dataType='") + c.type + "'", c.values)));
    ASSERT_THAT(filled.status, IsOk()) << c.values;
    const MCVariableInfo& info = filled.Info(0);
    std::string got;
    for (const auto& t : info.texts) got += t + ",";
    for (double d : info.numbers) got += Num(d) + ",";
    if (info.valueLabels) got += "|";
    for (const auto& l : info.valueLabels.value_or(Strings())) got += l + ",";
    EXPECT_EQ(got, c.expected) << c.values;
  }
}

TEST(FillVarListTest, InvalidValuesAndRangeByKindOfField) {
  const struct {
    const char* attrs;
    std::string children;
    MCVariableInfo::Kind kind;
    std::string invalid;
  } cases[] = {
      {"dataType='string' optype='categorical'",
       "<Value value='x' property='invalid' displayValue='bad'/><Value value='y' "
       "property='missing'/>"
       "<Extension name='invalidRangeLower' value='0'/>",
       MCVariableInfo::Kind::Categorical, "x=bad;y=;"},
      {"dataType='integer' optype='ordinal'",
       "<Value value='-1' property='invalid' displayValue='neg'/><Value value='9' property='x'/>"
       "<Extension name='invalidRangeUpper' value='5'/>",
       MCVariableInfo::Kind::Categorical, "-1=neg;9=;[-max,5]"},
      {"dataType='double' optype='categorical'",
       "<Extension name='invalidRangeLower' value='1'/><Extension name='invalidRangeLower' "
       "value='2'/><Extension name='other' value='3'/><Extension name='invalidRangeUpper' "
       "value='x'/>",
       MCVariableInfo::Kind::Categorical, "[2,max]"},
      {"dataType='double' optype='categorical'", "<Value value='1'/>",
       MCVariableInfo::Kind::Categorical, ""},
      {"dataType='double' optype='continuous'",
       "<Value value='1'/><Value value='7' property='invalid'/><Interval leftMargin='x'/>"
       "<Extension name='invalidRangeLower' value='-3'/>",
       MCVariableInfo::Kind::Continuous, "7=;[-3,max]"},
      {"dataType='string' optype='continuous'",
       "<Value value='x' property='invalid' displayValue='bad'/>", MCVariableInfo::Kind::Continuous,
       ""},
  };
  for (const auto& c : cases) {
    Filled filled(Pmml(Field(std::string("name='v' displayName='V' ") + c.attrs, c.children)));
    ASSERT_THAT(filled.status, IsOk()) << c.attrs;
    const MCVariableInfo& info = filled.Info(0);
    EXPECT_EQ(info.kind, c.kind) << c.attrs;
    EXPECT_EQ(info.label, "V");
    EXPECT_EQ(info.role, 4);
    // Valid values play no part for a continuous field.
    if (c.kind == MCVariableInfo::Kind::Continuous) {
      EXPECT_TRUE(info.numbers.empty() && info.texts.empty() && !info.range) << c.attrs;
    }
    EXPECT_EQ(filled.Invalid(0), c.invalid) << c.attrs;
  }
}

}  // namespace
