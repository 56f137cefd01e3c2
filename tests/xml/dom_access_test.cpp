// DOM access: absent versus empty attributes, number rules, name tables, search
// order, Extension matching and number lists.
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/common/missing_value.h"
#include "mcxml/xml/dom_access.h"
#include "test_support.h"

namespace {

using namespace MCXML_1_3;
using MCCommon_1_3::MCMV::gMissingValue;
using mcxml_test::InlineDoc;
using mcxml_test::XercesPlatform;
using Table = std::pair<unsigned int, const char*>;

std::string Id(const DOMElement* elmt) {
  return elmt != nullptr ? ToUTF8(GetAttribute(*elmt, "id")) : "null";
}

TEST(DomAccessTest, ConversionsAndComparison) {
  XercesPlatform platform;
  EXPECT_EQ(ToUTF8(nullptr), "");
  EXPECT_EQ(ToUTF8(u""), "");
  EXPECT_EQ(ToUTF8(u"\u00E9t\u00E9"), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(ToUTF16(""), std::vector<XMLCh>{0});
  EXPECT_TRUE(XStrEqualsUTF8Str(nullptr, ""));
  EXPECT_FALSE(XStrEqualsUTF8Str(nullptr, "a"));
  EXPECT_FALSE(XStrEqualsUTF8Str(u"pmml", "PMML"));
  EXPECT_FALSE(XStrEqualsUTF8Str(u"PMM", "PMML"));
  EXPECT_TRUE(XStrEqualsUTF8Str(u"\u00E9", "\xC3\xA9"));
}

TEST(DomAccessTest, EmptyAttributeReadsAsAbsent) {
  const InlineDoc d("<e empty='' full='x'>text</e>");
  EXPECT_EQ(GetAttribute(d.root(), "empty"), nullptr);
  EXPECT_EQ(GetAttribute(d.root(), "missing"), nullptr);
  EXPECT_EQ(ToUTF8(GetAttribute(d.root(), "full")), "x");
  EXPECT_EQ(ToUTF8(GetAttribute(static_cast<const DOMNode&>(d.root()), "full")), "x");
  EXPECT_EQ(GetAttribute(*d.root().getFirstChild(), "full"), nullptr) << "a text node";
  int i = 7;
  double x = 7;
  EXPECT_EQ(GetIntAttribute(d.root(), "empty", -1, i), -1);
  EXPECT_EQ(GetDoubleAttribute(d.root(), "empty", x), -1);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(x, 7);
}

TEST(DomAccessTest, IntAttributeRulesAndWhenValueIsWritten) {
  const int kUntouched = 99;
  const struct {
    const char* text;
    int signRule;
    int result;
    int value;
  } cases[] = {
      {"5", 0, 0, 5},
      {"0", 0, 0, 0},
      {"-3", 0, 1, -3},
      {"0", 1, 1, 0},
      {"-3", -1, 0, -3},
      {"1", 1, 0, 1},
      {"abc", 0, 1, kUntouched},
      {"1.5", 0, 1, kUntouched},
      {"2147483647", 0, 0, INT_MAX},
      {"-2147483648", -1, 0, INT_MIN},
      {"2147483648", 0, 1, kUntouched},
      {"-2147483649", -1, 1, kUntouched},
      {"4294967296", 0, 1, kUntouched},
      {"99999999999", 0, 1, kUntouched},
  };
  for (const auto& c : cases) {
    const InlineDoc d(std::string("<e n='") + c.text + "'/>");
    int value = kUntouched;
    EXPECT_EQ(GetIntAttribute(d.root(), "n", c.signRule, value), c.result)
        << c.text << " rule " << c.signRule;
    EXPECT_EQ(value, c.value) << c.text << " rule " << c.signRule;
  }
}

TEST(DomAccessTest, DoubleAttributeLiterals) {
  const double kUntouched = 99;
  const struct {
    const char* text;
    int result;
    double value;
  } cases[] = {
      {"2.5", 0, 2.5},           {"1e3", 0, 1000},       {"-0.25", 0, -0.25},
      {"NaN", 0, gMissingValue}, {"INF", 1, kUntouched}, {"-INF", 1, kUntouched},
      {"1e400", 1, kUntouched},  {"x", 1, kUntouched},   {"nan", 1, kUntouched},
  };
  for (const auto& c : cases) {
    const InlineDoc d(std::string("<e v='") + c.text + "'/>");
    double value = kUntouched;
    EXPECT_EQ(GetDoubleAttribute(d.root(), "v", value), c.result) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(DomAccessTest, NameTablesAndLists) {
  XercesPlatform platform;
  const Table empty[] = {{0, nullptr}};
  const Table table[] = {{10, "a"}, {11, ""}, {12, "b"}, {13, "a"}, {0, nullptr}};
  EXPECT_EQ(FindXStrInList(u"a", empty), -1);
  EXPECT_EQ(FindXStrInList(u"a", table), 0);
  EXPECT_EQ(FindXStrInList(u"b", table), 2);
  EXPECT_EQ(FindXStrInList(u"A", table), -1);
  EXPECT_EQ(FindXStrInList(nullptr, table), 1);
  EXPECT_EQ(FindXStrInList(u"a", std::vector<std::string>{}), -1);
  EXPECT_EQ(FindXStrInList(u"y", std::vector<std::string>{"x", "y", "y"}), 1);
  EXPECT_EQ(FindXStrInList(u"z", std::vector<std::string>{"x", "y"}), -1);
}

TEST(DomAccessTest, ChildSearchOrder) {
  const InlineDoc d(
      "<r xmlns:p='urn:p'>text<!--c--><B id='b1'><A id='deep'/></B><A id='a1'/><A id='a2'/>"
      "<p:C id='c'/></r>");
  const DOMElement& r = d.root();
  EXPECT_EQ(Id(GetFirstChildElmt(r, nullptr)), "b1") << "text and comment skipped";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "A")), "a1") << "never the grandchild";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "C")), "null") << "the prefix is part of the name";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "p:C")), "c");
  EXPECT_TRUE(TagNameEquals(*GetFirstChildElmt(r, "p:C"), "p:C"));
  EXPECT_FALSE(TagNameEquals(r, "R"));

  // Table order first, then document order.
  const Table ab[] = {{5, "A"}, {6, "B"}, {0, nullptr}};
  const Table xb[] = {{5, "X"}, {6, "B"}, {0, nullptr}};
  const Table x[] = {{5, "X"}, {0, nullptr}};
  size_t index = 9;
  EXPECT_EQ(Id(GetFirstChildElmt(r, ab, index)), "a1");
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(Id(GetFirstChildElmt(r, xb, index)), "b1");
  EXPECT_EQ(index, 1u);
  index = 9;
  EXPECT_EQ(GetFirstChildElmt(r, x, index), nullptr);
  EXPECT_EQ(index, 0u);
}

TEST(DomAccessTest, SiblingSearchNeverReturnsItsArgument) {
  const InlineDoc d("<r><A id='1'/> <!--c--> <A id='2'/><B id='3'/></r>");
  const DOMElement* first = GetFirstChildElmt(d.root(), "A");
  const DOMElement* second = GetNextSiblingElmt(*first, "A");
  EXPECT_EQ(Id(second), "2");
  EXPECT_EQ(Id(GetNextSiblingElmt(*second, "A")), "null");
  EXPECT_EQ(Id(GetNextSiblingElmt(*first, nullptr)), "2");
  EXPECT_EQ(AsElement(*first->getNextSibling(), nullptr), nullptr) << "a text node";
  EXPECT_EQ(AsElement(*first, "B"), nullptr);
  EXPECT_EQ(AsElement(*first, nullptr), first);
}

TEST(DomAccessTest, ExtensionMatching) {
  const InlineDoc d(
      "<r><Extension extender='MCXML' name='n' id='0'/><Extension extender='other' name='n' "
      "id='1'/><Extension extender='mcxml' id='2'/><Extension extender='mcxml' name='' id='3'/>"
      "<Ext extender='mcxml' name='m' id='4'/><Extension extender='mcxml' name='n' id='5'/>"
      "<Extension extender='mcxml' name='n' id='6'/></r>");
  const DOMElement& r = d.root();
  EXPECT_EQ(Id(GetFirstChildExtension(r, nullptr)), "2") << "no name needed without a name";
  EXPECT_EQ(Id(GetFirstChildExtension(r, "n")), "5");
  EXPECT_EQ(Id(GetFirstChildExtension(r, "")), "null") << "an empty name never matches";
  EXPECT_EQ(Id(GetFirstChildExtension(r, "m")), "null") << "only Extension elements";
  const DOMElement* five = GetFirstChildExtension(r, "n");
  EXPECT_EQ(Id(GetNextSiblingExtension(*five, "n")), "6");
  EXPECT_EQ(Id(GetNextSiblingExtension(*GetNextSiblingExtension(*five, "n"), "n")), "null");
  EXPECT_EQ(Id(GetNextSiblingExtension(*GetFirstChildExtension(r, nullptr), nullptr)), "3");
}

TEST(DomAccessTest, AssembleDoublesListNodeShapes) {
  const std::vector<double> kOld = {42};
  const struct {
    const char* content;
    bool result;
    std::vector<double> values;
  } cases[] = {
      {"1 2.5 NaN", true, {1, 2.5, gMissingValue}},
      {"\t1e3\r\n-2 ", true, {1000, -2}},
      {"", true, {}},
      {" \n ", true, {}},
      {"1 abc 3", false, {}},
      {"1 INF", false, {}},
      {"<!--c-->1 2", false, kOld},
      {"<![CDATA[1 2]]>", false, kOld},
      {"<x/>", false, kOld},
  };
  for (const auto& c : cases) {
    const InlineDoc d(std::string("<e>") + c.content + "</e>");
    std::vector<double> values = kOld;
    EXPECT_EQ(AssembleDoublesList(d.root(), values), c.result) << c.content;
    EXPECT_EQ(values, c.values) << c.content;
  }
}

}  // namespace
