// The PMML variable list and its bins; the fast paths against the general ones:
// the one-pass read of attributes against the lookup per name, the bins index
// against the walk over the whole dictionary, values taken by move against copies.
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMText.hpp>

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

// Per document: the names asked for (all when none), whether with bins, the
// status and the list left.
TEST(FillVarListTest, FieldsValuesInvalidValuesAndBins) {
  const auto binned = [](Str trans) { return Pmml(kAxz, Trans(trans)); };
  const auto axz = [](Str x) { return "a{};" + x + " !-1=;z{}"; };
  const struct {
    std::string doc;
    bool bins;
    long code;
    std::string out;
    Strings names = {};
  } cases[] = {
      // Fields left out are not read; a nameless one fails all the same.
      {Pmml(kAbc + Field("x", "dataType='boolean'")), false, 0, "a{};c{}", {"c", "a"}},
      {Pmml(kAbc + "<DataField dataType='string' optype='categorical'/>"), false, 108, "", {"A"}},
      // The first failure ends the walk; what came before stays.
      {Pmml(kAbc + Field("d", "optype='categorical'") + kAxz), false, 108, "a{};b;c{}"},
      {Pmml(kAbc + Field("d", "dataType='string'") + kAxz), false, 108, "a{};b;c{}"},
      {Pmml(kAbc + Cat("d", "date") + kAxz), false, 109, "a{};b;c{}"},
      {Pmml(kAbc + Cont("b", "float") + kAxz), false, 111, "a{};b;c{}"},
      // Value labels only when there are as many as values; a Value without
      // attributes, or a number that is not one, is no value.
      {Pmml(Cat("v", "string", V("x", "X") + "<Value/>" + V("y", "Y", "valid"))), false, 0,
       "v{x,y}<X,Y>"},
      {Pmml(Cat("v", "string", V("x", "X") + V("y") + V(""))), false, 0, "v{x,y}"},
      {Pmml(Cat("v", "double", V("a", "A") + V("1", "B") + V("NaN", "C"))), false, 0, "v{1,-max}"},
      // Invalid values and range, by kind of field.
      {Pmml(Cat("v", "string",
                V("x", "bad", "invalid") + V("y", "", "missing") + Ext("invalidRangeLower", "0"))),
       false, 0, "v{} !x=bad !y="},
      {Pmml(Field("v", "displayName='V' dataType='integer' optype='ordinal'",
                  V("-1", "neg", "invalid") + V("9", "", "x") + Ext("invalidRangeLower", "1") +
                      Ext("invalidRangeLower", "2") + Ext("other", "3") +
                      Ext("invalidRangeUpper", "x"))),
       false, 0, "v'V'{} !-1=neg !9= ![2,max]"},
      {Pmml(Cont("v", "double",
                 V("1") + V("7", "", "invalid") + "<Interval leftMargin='x'/>" +
                     Ext("invalidRangeUpper", "-3"))),
       false, 0, "v !7= ![-max,-3]"},
      // Bins for continuous fields only.
      {Pmml(kAxz), true, 110, "a{}"},
      {binned(Derived("x", kLmh)), true, 0, axz("x[-max,max]|10,20|(low,mid,high)")},
      // Only the first Discretize of a field counts, and a single bin is no binning.
      {binned(Derived("x", Bin("1", "1", "2")) + Derived("x", kLmh)), true, 0, axz("x")},
      // Labels only one per bin, and not when the first is "0".
      {binned(Derived("x", Bin("0", "", "10") + Bin("1", "10", ""))), true, 0,
       axz("x[-max,max]|10|")},
      {binned(Derived("x", Bin("a", "", "10") + Bin("", "10", ""))), true, 0,
       axz("x[-max,max]|10|")},
      {binned("<DerivedField><Apply field='x'>" + Derived("x", kLmh) +
              "</Apply><Discretize field='X'/></DerivedField><Other><Discretize field='x'>" + kLmh +
              "</Discretize></Other>"),
       true, 110, "a{}"},
      {binned("<DerivedField><Discretize field='y'/><Discretize field='x'>" + kLmh +
              "</Discretize></DerivedField>"),
       true, 0, axz("x[-max,max]|10,20|(low,mid,high)")},
      // The first Interval anywhere gives the left end; every Interval a right end.
      {binned(Derived("x", "<DiscretizeBin binValue='a'/>" + Bin("", "5", "6") +
                               "<DiscretizeBin binValue='c'><Interval rightMargin='7'/><Interval "
                               "leftMargin='9' rightMargin='8'/></DiscretizeBin>")),
       true, 0, axz("x[5,8]|6,7|")},
      {binned(Derived("x", Bin("a", "x", "3") + Bin("b", "-INF", "INF"))), true, 0,
       axz("x[-max,max]|3|(a,b)")},
      {binned(Derived("x", kLmh + Bin("dup", "20", "20"))), true, 111, "a{}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.doc);
    ProbeParser parser;
    ASSERT_THAT(Load(parser, c.doc), IsOk());
    MCXML_1_3::MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, c.names, c.bins), HasCode(c.code, false));
    EXPECT_EQ(VarListText(list), c.out);
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

// Attribute maps the parser never makes, one per Value: two of one name in two
// namespaces (filed later one first; the first counts, even empty), a value of two
// text nodes or of none, a prefixed name: read as the DOM access test's lookup does.
TEST(FillVarListTest, EditedAttributesReadAsTheLookupPerName) {
  ProbeParser parser;
  ASSERT_THAT(Load(parser, Pmml(Cat("f", "string", V("a") + V("b") + V("c") + V("d") + V("e")))),
              IsOk());
  xercesc::DOMElement* v[5] = {
      parser.m_dataDictElmt->getFirstElementChild()->getFirstElementChild()};
  for (int i = 1; i < 5; ++i) v[i] = v[i - 1]->getNextElementSibling();
  xercesc::DOMDocument& doc = *v[0]->getOwnerDocument();
  v[0]->removeAttribute(u"value");
  v[0]->setAttributeNS(u"urn:y", u"value", u"z");
  v[0]->setAttributeNS(u"urn:x", u"value", u"");
  v[1]->setAttributeNS(u"urn:y", u"property", u"valid");
  v[1]->setAttributeNS(u"urn:x", u"property", u"invalid");
  v[2]->getAttributeNode(u"value")->appendChild(doc.createTextNode(u"2"));
  v[3]->setAttributeNode(doc.createAttribute(u"value"));
  v[4]->removeAttribute(u"value");
  v[4]->setAttributeNS(u"urn:p", u"p:value", u"q");
  MCXML_1_3::MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, {}, false), IsOk());
  EXPECT_EQ(VarListText(list), "f{c2} !b=");
}

// Every add that takes its values by move gives the list and the indexes of the
// one that copies them, a refused name after the values moved in included.
TEST(VarListMoveTest, TakesByMoveWhatItCopies) {
  const Strings ab = {"a", std::string(40, 'b')}, labels = {"A", "B"};
  const std::vector<double> numbers = {1, 2.5}, cuts = {2, 5};
  const auto in = MCXML_1_3::IMCVariable::kInput;
  const auto adds = [&](MCXML_1_3::MCVarList& l, auto pass) {
    // clang-format off
    return std::vector<int>{
        l.AddCatVar("t", "L", pass(ab), in), l.AddCatVar("tl", "L", pass(ab), pass(labels), in),
        l.AddCatVar("n", "", pass(numbers), in), l.AddCatVar("t", "", pass(numbers), in),
        l.AddCatVar("nl", "", pass(numbers), pass(labels), in),
        l.AddContVar("c", "", 0, 10, pass(cuts), true, in)};
    // clang-format on
  };
  MCXML_1_3::MCVarList copied, moved;
  // A const reference picks the copying overloads, a temporary the moving ones.
  const std::vector<int> copies = adds(
      copied, [](const auto& v) -> const auto& { return v; });
  EXPECT_EQ(adds(moved, [](auto v) { return v; }), copies);
  EXPECT_EQ(VarListText(moved), VarListText(copied));
  EXPECT_EQ(copied.GetCount(), 5);
}

// A Discretize of `field` with bins at `left`, `left` + 10 and `left` + 20.
std::string Discretize(Str field, int left) {
  std::string bins;
  for (int k = left; k < left + 30; k += 10) {
    bins += Bin("b" + std::to_string(k), std::to_string(k), std::to_string(k + 10));
  }
  return Derived(field, bins);
}

// The bins FillVarList finds through its index, which guesses that fields come in
// the order of their bins, are those of SetBinsFrTransDict's walk: fields out of that
// order, one binned twice, a Discretize without "field" or bins, a non-ASCII name.
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
