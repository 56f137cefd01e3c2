// DOM access: absent versus empty attributes, number rules, name tables, search
// order, Extension matching and number lists.
#include <climits>
#include <string>
#include <tuple>
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
using Table = std::pair<unsigned int, const char*>;

std::string Id(const DOMElement* elmt) {
  return elmt != nullptr ? ToUTF8(GetAttribute(*elmt, "id")) : "null";
}

TEST(DomAccessTest, EmptyAttributeReadsAsAbsent) {
  const InlineDoc d("<e empty='' full='x'>text</e>");
  EXPECT_EQ(GetAttribute(d.root(), "empty"), nullptr);
  EXPECT_EQ(GetAttribute(d.root(), "missing"), nullptr);
  EXPECT_EQ(ToUTF8(GetAttribute(static_cast<const DOMNode&>(d.root()), "full")), "x");
  EXPECT_EQ(GetAttribute(*d.root().getFirstChild(), "full"), nullptr) << "a text node";
  EXPECT_EQ(ToUTF8(nullptr), "");
  EXPECT_EQ(ToUTF16(""), std::vector<XMLCh>{0});
  EXPECT_TRUE(XStrEqualsUTF8Str(nullptr, ""));
  EXPECT_FALSE(XStrEqualsUTF8Str(nullptr, "a"));
  EXPECT_FALSE(XStrEqualsUTF8Str(u"pmml", "PMML"));
}

// The value is written on success and on a broken sign rule, never otherwise.
TEST(DomAccessTest, IntAttributeRules) {
  const int kOld = 99;
  // clang-format off
  const std::tuple<const char*, int, int, int> cases[] = {  // text, sign rule, result, value
      {"5", 0, 0, 5}, {"0", 0, 0, 0}, {"-3", 0, 1, -3}, {"0", 1, 1, 0}, {"-3", -1, 0, -3},
      {"", 0, -1, kOld}, {"abc", 0, 1, kOld}, {"1.5", 0, 1, kOld},
      {"2147483647", 0, 0, INT_MAX}, {"-2147483648", -1, 0, INT_MIN},
      {"2147483648", 0, 1, kOld}, {"-2147483649", -1, 1, kOld}, {"4294967296", 0, 1, kOld}};
  // clang-format on
  for (const auto& [text, rule, result, expected] : cases) {
    const InlineDoc d(std::string("<e n='") + text + "'/>");
    int value = kOld;
    EXPECT_EQ(GetIntAttribute(d.root(), "n", rule, value), result) << text << " rule " << rule;
    EXPECT_EQ(value, expected) << text << " rule " << rule;
  }
}

TEST(DomAccessTest, DoubleAttributeLiterals) {
  const double kOld = 99;
  const std::tuple<const char*, int, double> cases[] = {
      // text, result, value
      {"2.5", 0, 2.5},  {"1e3", 0, 1000},  {"NaN", 0, gMissingValue}, {"", -1, kOld},
      {"INF", 1, kOld}, {"-INF", 1, kOld}, {"1e400", 1, kOld},        {"x", 1, kOld}};
  for (const auto& [text, result, expected] : cases) {
    const InlineDoc d(std::string("<e v='") + text + "'/>");
    double value = kOld;
    EXPECT_EQ(GetDoubleAttribute(d.root(), "v", value), result) << text;
    EXPECT_EQ(value, expected) << text;
  }
}

TEST(DomAccessTest, NameTablesAndLists) {
  mcxml_test::XercesPlatform platform;
  const Table empty[] = {{0, nullptr}};
  const Table table[] = {{10, "a"}, {11, ""}, {12, "b"}, {13, "a"}, {0, nullptr}};
  EXPECT_EQ(FindXStrInList(u"a", empty), -1);
  EXPECT_EQ(FindXStrInList(u"a", table), 0);
  EXPECT_EQ(FindXStrInList(u"b", table), 2);
  EXPECT_EQ(FindXStrInList(nullptr, table), 1);
  EXPECT_EQ(FindXStrInList(u"a", std::vector<std::string>{}), -1);
  EXPECT_EQ(FindXStrInList(u"y", std::vector<std::string>{"x", "y", "y"}), 1);
  EXPECT_EQ(FindXStrInList(u"z", std::vector<std::string>{"x", "y"}), -1);
}

TEST(DomAccessTest, ChildAndSiblingSearchOrder) {
  const InlineDoc d(
      "<r xmlns:p='urn:p'>text<!--c--><B id='b1'><A id='deep'/></B><A id='a1'/> <!--c-->"
      "<A id='a2'/><p:C id='c'/></r>");
  const DOMElement& r = d.root();
  EXPECT_EQ(Id(GetFirstChildElmt(r, nullptr)), "b1") << "text and comment skipped";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "A")), "a1") << "never the grandchild";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "C")), "null") << "the prefix is part of the name";
  EXPECT_TRUE(TagNameEquals(*GetFirstChildElmt(r, "p:C"), "p:C"));
  const DOMElement* a1 = GetFirstChildElmt(r, "A");
  EXPECT_EQ(Id(GetNextSiblingElmt(*a1, "A")), "a2");
  EXPECT_EQ(Id(GetNextSiblingElmt(*GetNextSiblingElmt(*a1, "A"), "A")), "null") << "not itself";
  EXPECT_EQ(AsElement(*a1->getNextSibling(), nullptr), nullptr) << "a text node";
  EXPECT_EQ(AsElement(*a1, "B"), nullptr);

  // Table order first, then document order; the index is 0 when nothing is found.
  const auto byTable = [&r](const Table* table) {
    size_t index = 9;
    const std::string id = Id(GetFirstChildElmt(r, table, index));
    return id + "@" + std::to_string(index);
  };
  const Table ab[] = {{5, "A"}, {6, "B"}, {0, nullptr}};
  const Table xb[] = {{5, "X"}, {6, "B"}, {0, nullptr}};
  const Table x[] = {{5, "X"}, {0, nullptr}};
  EXPECT_EQ(byTable(ab), "a1@0");
  EXPECT_EQ(byTable(xb), "b1@1");
  EXPECT_EQ(byTable(x), "null@0");
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
  const std::tuple<const char*, bool, std::vector<double>> cases[] = {
      // content, result, values
      {"1 2.5 NaN", true, {1, 2.5, gMissingValue}},
      {"\t1e3\r\n-2 ", true, {1000, -2}},
      {"", true, {}},
      {" \n ", true, {}},
      {"1 abc 3", false, {}},
      {"1 INF", false, {}},
      {"<!--c-->1 2", false, kOld},
      {"<![CDATA[1 2]]>", false, kOld},
      {"<x/>", false, kOld}};
  for (const auto& [content, result, expected] : cases) {
    const InlineDoc d(std::string("<e>") + content + "</e>");
    std::vector<double> values = kOld;
    EXPECT_EQ(AssembleDoublesList(d.root(), values), result) << content;
    EXPECT_EQ(values, expected) << content;
  }
}

}  // namespace
