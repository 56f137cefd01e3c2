// The PMML variable list and its bins: the names filter, the first failure and
// what stays added, value labels, invalid values and ranges, cut points and labels,
// and the bins index against the walk over the whole dictionary.
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "pmml_test_support.h"

namespace {

using namespace mcxml_test;
using Strings = std::vector<std::string>;

// A Value element; empty attributes are left out.
std::string V(Str value, Str display = "", Str property = "") {
  return "<Value" + Attr("value", value) + Attr("displayValue", display) +
         Attr("property", property) + "/>";
}
std::string Ext(Str name, Str value) {
  return "<Extension name='" + name + "' value='" + value + "'/>";
}

const std::string kAbc =
    Cat("a", "string") + Cont("b", "double") + Field("c", "dataType='integer' optype='ordinal'");
// A continuous x with an invalid value between two categorical fields.
const std::string kAxz =
    Cat("a", "string") + Cont("x", "double", V("-1", "", "invalid")) + Cat("z", "string");
// Three bins; the elements that are neither bins nor intervals count for nothing.
const std::string kLmh = Bin("low", "", "10") +
                         "<DiscretizeBin binValue='mid'><Note rightMargin='15'/><Interval "
                         "leftMargin='10' rightMargin='20'/></DiscretizeBin>" +
                         Bin("high", "20", "") +
                         "<Note binValue='n'><Interval rightMargin='30'/></Note>";

TEST(FillVarListTest, FieldsValuesAndInvalidValues) {
  const struct {
    std::string dict;
    long code;
    std::string out;
    Strings names = {};
  } cases[] = {
      // Fields left out are not read; a nameless one fails all the same.
      {kAbc + Field("x", "dataType='boolean'"), 0, "a{};c{}", {"c", "a"}},
      {kAbc + "<DataField dataType='string' optype='categorical'/>", 108, "", {"A"}},
      // The first failure ends the walk; what came before stays.
      {kAbc + Field("d", "optype='categorical'") + kAxz, 108, "a{};b;c{}"},
      {kAbc + Field("d", "dataType='string'") + kAxz, 108, "a{};b;c{}"},
      {kAbc + Cat("d", "date") + kAxz, 109, "a{};b;c{}"},
      {kAbc + Cont("b", "float") + kAxz, 111, "a{};b;c{}"},
      // Value labels only when there are as many as values; a Value without
      // attributes, or a number that is not one, is no value.
      {Cat("v", "string", V("x", "X") + "<Value/>" + V("y", "Y", "valid")), 0, "v{x,y}<X,Y>"},
      {Cat("v", "string", V("x", "X") + V("y") + V("")), 0, "v{x,y}"},
      {Cat("v", "double", V("a", "A") + V("1", "B") + V("NaN", "C")), 0, "v{1,-max}"},
      // Invalid values and range, by kind of field.
      {Cat("v", "string",
           V("x", "bad", "invalid") + V("y", "", "missing") + Ext("invalidRangeLower", "0")),
       0, "v{} !x=bad !y="},
      {Field("v", "displayName='V' dataType='integer' optype='ordinal'",
             V("-1", "neg", "invalid") + V("9", "", "x") + Ext("invalidRangeLower", "1") +
                 Ext("invalidRangeLower", "2") + Ext("other", "3") + Ext("invalidRangeUpper", "x")),
       0, "v'V'{} !-1=neg !9= ![2,max]"},
      {Cont("v", "double",
            V("1") + V("7", "", "invalid") + "<Interval leftMargin='x'/>" +
                Ext("invalidRangeUpper", "-3")),
       0, "v !7= ![-max,-3]"},
  };
  for (const auto& c : cases) {
    ProbeParser parser;
    ASSERT_THAT(Load(parser, Pmml(c.dict)), IsOk());
    MCXML_1_3::MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, c.names, false), HasCode(c.code, false)) << c.dict;
    EXPECT_EQ(VarListText(list), c.out) << c.dict;
  }
}

// A name with an unpaired surrogate last is not the name before it: it converts to
// no name at all, which the list refuses, and a filter by that name passes it over.
TEST(FillVarListTest, ABrokenNameIsNotItsBeginning) {
  const std::u16string xml =
      u"\uFEFF<PMML><DataDictionary><DataField name='income\xD800' optype='continuous' "
      u"dataType='double'/><DataField name='income' optype='continuous' dataType='double'/>"
      u"</DataDictionary></PMML>";
  ProbeParser parser;
  ASSERT_THAT(Load(parser, std::string(reinterpret_cast<const char*>(xml.data()), xml.size() * 2)),
              IsOk());
  ASSERT_EQ(parser.GetErrorCount(), 0u);
  for (const auto& [names, code, out] :
       {std::make_tuple(Strings{}, 111L, ""), std::make_tuple(Strings{"income"}, 0L, "income")}) {
    MCXML_1_3::MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, names, false), HasCode(code, false));
    EXPECT_EQ(VarListText(list), out);
  }
}

TEST(FillVarListTest, BinsForContinuousFieldsOnly) {
  const struct {
    std::string trans;
    long code;
    std::string x;
  } cases[] = {
      {"", 110, ""},
      {Trans(Derived("x", kLmh)), 0, "x[-max,max]|10,20|(low,mid,high) !-1="},
      // Only the first Discretize of a field counts, and a single bin is no binning.
      {Trans(Derived("x", Bin("1", "1", "2")) + Derived("x", kLmh)), 0, "x !-1="},
      // Labels only one per bin, and not when the first is "0".
      {Trans(Derived("x", Bin("0", "", "10") + Bin("1", "10", ""))), 0, "x[-max,max]|10| !-1="},
      {Trans(Derived("x", Bin("a", "", "10") + Bin("", "10", ""))), 0, "x[-max,max]|10| !-1="},
      {Trans("<DerivedField><Apply field='x'>" + Derived("x", kLmh) +
             "</Apply><Discretize field='X'/></DerivedField><Other><Discretize field='x'>" + kLmh +
             "</Discretize></Other>"),
       110, ""},
      {Trans("<DerivedField><Discretize field='y'/><Discretize field='x'>" + kLmh +
             "</Discretize></DerivedField>"),
       0, "x[-max,max]|10,20|(low,mid,high) !-1="},
      // The first Interval anywhere gives the left end; every Interval a right end.
      {Trans(Derived("x", "<DiscretizeBin binValue='a'/>" + Bin("", "5", "6") +
                              "<DiscretizeBin binValue='c'><Interval rightMargin='7'/><Interval "
                              "leftMargin='9' rightMargin='8'/></DiscretizeBin>")),
       0, "x[5,8]|6,7| !-1="},
      {Trans(Derived("x", Bin("a", "x", "3") + Bin("b", "-INF", "INF"))), 0,
       "x[-max,max]|3|(a,b) !-1="},
      {Trans(Derived("x", kLmh + Bin("dup", "20", "20"))), 111, ""},
  };
  for (const auto& c : cases) {
    ProbeParser parser;
    ASSERT_THAT(Load(parser, Pmml(kAxz, c.trans)), IsOk());
    MCXML_1_3::MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, {}, true), HasCode(c.code, false)) << c.trans;
    EXPECT_EQ(VarListText(list), c.code == 0 ? "a{};" + c.x + ";z{}" : "a{}") << c.trans;
  }
}

// A Discretize of `field` with bins at `left`, `left` + 10 and `left` + 20.
std::string Discretize(Str field, int left) {
  std::string bins;
  for (int k = left; k < left + 30; k += 10) {
    bins += Bin("b" + std::to_string(k), std::to_string(k), std::to_string(k + 10));
  }
  return Derived(field, bins);
}

// The bins that FillVarList finds through its index and the guess that fields
// come in the order of their bins are those of SetBinsFrTransDict's walk over
// the whole dictionary: fields out of that order, a field binned twice, a
// Discretize without "field" or without bins, and a name that is not ASCII.
TEST(SetBinsFrTransDictTest, TheIndexFindsWhatTheWalkFinds) {
  std::string fields, transforms = Derived("x", "");
  for (const char* name : {"a", "b", "c", "d", "caf\xC3\xA9", "f", "g", "h"})
    fields += Cont(name, "double");
  int left = 0;
  for (const char* field : {"b", "a", "a", "c", "", "d", "caf\xC3\xA9", "d", "f", "h", "g", "h"}) {
    transforms += Discretize(field, left);
    left += 100;
  }
  ProbeParser parser;
  ASSERT_THAT(Load(parser, Pmml(fields, Trans(transforms))), IsOk());
  MCXML_1_3::MCVarList list;
  ASSERT_THAT(parser.FillVarList(list, {}, true), IsOk());
  ASSERT_EQ(list.GetCount(), 8);
  std::vector<double> cuts{42};
  Strings labels{"old"};
  for (int i = 0; i < list.GetCount(); ++i) {
    const auto& info = list.GetVarAt(i)->GetInfo();
    SCOPED_TRACE(info.name);
    ASSERT_TRUE(parser.SetBinsFrTransDict(info.name, cuts, labels) && info.cutPoints);
    EXPECT_EQ(*info.cutPoints, std::vector<double>(cuts.begin() + 1, cuts.end() - 1));
    EXPECT_EQ(info.range->first, cuts.front());
  }
  EXPECT_EQ(list.GetVarAt(0)->GetInfo().range->first, 100) << "the first of a's two";
  EXPECT_EQ(list.GetVarAt(3)->GetInfo().range->first, 500) << "the first of d's two";
  EXPECT_EQ(list.GetVarAt(7)->GetInfo().range->first, 900) << "not h's second, next after g";
  EXPECT_TRUE(parser.SetBinsFrTransDict("x", cuts, labels));
  EXPECT_EQ(Text(cuts) + "|" + Text(labels), "0|") << "a Discretize without bins";
  labels.push_back("old");
  EXPECT_FALSE(parser.SetBinsFrTransDict("z", cuts, labels));
  EXPECT_TRUE(cuts.empty() && labels.empty());
}

}  // namespace
