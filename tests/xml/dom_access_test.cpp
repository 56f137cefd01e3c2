// DOM access: attributes, number rules, name tables, search order, Extensions and
// number lists; the transcoder; the fast paths (ASCII text, plain decimals) against
// the general ones (the transcoder, XMLDouble, XMLStringTokenizer, getAttribute);
// DOM building, whose refusals leave the document as it was.
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMText.hpp>
#include <xercesc/util/NumberFormatException.hpp>
#include <xercesc/util/XMLDouble.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLStringTokenizer.hpp>

#include "mcxml/common/missing_value.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_building.h"
#include "mcxml/xml/transcoder.h"
#include "test_support.h"

namespace {

namespace xc = xercesc;
using namespace MCXML_1_3;
using MCCommon_1_3::MCMV::gMissingValue;
using mcxml_test::InlineDoc;
using Table = std::pair<unsigned int, const char*>;

std::string Id(const DOMElement* elmt) {
  return elmt != nullptr ? ToUTF8(GetAttribute(*elmt, "id")) : "null";
}

// The value is written on success and on a broken sign rule, never otherwise.
TEST(DomAccessTest, IntAttributeRules) {
  const int kOld = 99;
  // clang-format off
  const std::tuple<const char*, int, int, int> cases[] = {  // text, sign rule, result, value
      {"5", 0, 0, 5}, {"0", 0, 0, 0}, {"-3", 0, 1, -3}, {"0", 1, 1, 0}, {"-3", -1, 0, -3},
      {"", 0, -1, kOld}, {"abc", 0, 1, kOld}, {"1.5", 0, 1, kOld},
      {"2147483647", 0, 0, INT_MAX}, {"-2147483648", -1, 0, INT_MIN},
      {"2147483648", 0, 1, kOld}, {"-2147483649", -1, 1, kOld}, {"99999999999", 0, 1, kOld}};
  // clang-format on
  for (const auto& [text, rule, result, expected] : cases) {
    const InlineDoc d(std::string("<e n='") + text + "'/>");
    int value = kOld;
    EXPECT_EQ(GetIntAttribute(d.root(), "n", rule, value), result) << text << " rule " << rule;
    EXPECT_EQ(value, expected) << text << " rule " << rule;
  }
}

TEST(DomAccessTest, NameTablesFindTheFirstEqualEntry) {
  mcxml_test::XercesPlatform platform;
  const Table empty[] = {{0, nullptr}};
  const Table table[] = {{10, "a"}, {11, ""}, {12, "b"}, {13, "a"}, {0, nullptr}};
  const std::vector<std::string> list = {"x", "y", "y"};
  EXPECT_EQ((std::vector<int>{FindXStrInList(u"a", empty), FindXStrInList(u"a", table),
                              FindXStrInList(u"b", table), FindXStrInList(nullptr, table),
                              FindXStrInList(u"y", list), FindXStrInList(u"z", list)}),
            (std::vector<int>{-1, 0, 2, 1, 1, -1}));
}

// Non-ASCII and long names (past the inline buffer) take the converting path.
TEST(DomAccessTest, ChildAndSiblingSearchOrder) {
  const std::string longName(70, 't');
  const InlineDoc d(
      "<r xmlns:p='urn:p'>text<!--c--><B id='b1'><A id='deep'/></B><A id='a1'/> "
      "<!--c--><A id='a2'/><p:C id='c'/><caf\xC3\xA9 id='e'/><" +
      longName + " id='t'/></r>");
  const DOMElement& r = d.root();
  EXPECT_EQ(Id(GetFirstChildElmt(r, nullptr)), "b1") << "text and comment skipped";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "A")), "a1") << "never the grandchild";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "C")), "null") << "the prefix is part of the name";
  EXPECT_EQ(Id(GetFirstChildElmt(r, "p:C")), "c");
  EXPECT_EQ(Id(GetFirstChildElmt(r, "caf\xC3\xA9")), "e");
  EXPECT_EQ(Id(GetFirstChildElmt(r, longName.c_str())), "t");
  EXPECT_EQ(Id(GetFirstChildElmt(r, longName.substr(1).c_str())), "null");
  const DOMElement* a1 = GetFirstChildElmt(r, "A");
  EXPECT_EQ(Id(GetNextSiblingElmt(*a1, "A")), "a2");
  EXPECT_EQ(Id(GetNextSiblingElmt(*GetNextSiblingElmt(*a1, "A"), "A")), "null") << "not itself";
  EXPECT_EQ(AsElement(*a1->getNextSibling(), nullptr), nullptr) << "a text node";
  EXPECT_EQ(AsElement(*a1, "B"), nullptr);

  // Table order before document order; the index is 0 when nothing is found.
  const Table xab[] = {{5, "X"}, {6, "A"}, {7, "B"}, {0, nullptr}};
  const Table xy[] = {{5, "X"}, {6, "Y"}, {0, nullptr}};
  size_t index = 9;
  EXPECT_EQ(Id(GetFirstChildElmt(r, xab, index)), "a1");
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(GetFirstChildElmt(r, xy, index), nullptr);
  EXPECT_EQ(index, 0u);
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

// Only a lone text node holds a list; any other shape leaves the values alone.
TEST(DomAccessTest, AssembleDoublesListNodeShapes) {
  for (const char* content : {"<!--c-->1 2", "<![CDATA[1 2]]>", "<x/>", "1 2<x/>"}) {
    const InlineDoc d(std::string("<e>") + content + "</e>");
    std::vector<double> values = {42};
    EXPECT_FALSE(AssembleDoublesList(d.root(), values)) << content;
    EXPECT_EQ(values, std::vector<double>{42}) << content;
  }
}

// Texts where the fast paths and the transcoder could disagree: non-ASCII, empty,
// unpaired surrogates, bytes that are not UTF-8 (stray, overlong, surrogates, past
// U+10FFFF), lengths past the transcoder's blocks; then texts at whose end it stops
// (a high surrogate, a cut sequence), on which the whole-text conversions fail.
// clang-format off
const std::u16string kUtf16Texts[] = {
    u"", u"a", u"plain ascii \x01\x7F", u"caf\u00E9", u"\u20AC5", u"x\U0001D11E", u"a\xDD1E",
    u"ab\xD834z", u"\u00FF", std::u16string(1500, u'a') + u"\u00E9"};
const std::u16string kCutUtf16Texts[] = {
    u"\xD834", u"\xDD1E\xD834", u"income\xD834", std::u16string(1500, u'a') + u"\xD834"};
const std::string kUtf8Texts[] = {
    "", "a", "name", "\x7F", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E", "\x80", "a\x80z",
    "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", std::string(1500, 'b') + "\xC3\xA9",
    std::string(70, 'n')};
const std::string kCutUtf8Texts[] = {
    "ab\xC3", "\xE2\x82", "x\xF0\x9D\x84", std::string(1500, 'b') + "\xC3"};
// clang-format on

// Every pair, including those where a failed conversion makes a byte string equal
// to the empty text.
TEST(DomAccessTest, ConversionsAndComparisonsMatchTheTranscoder) {
  mcxml_test::XercesPlatform platform;
  const MCXTranscoder transcoder;
  std::vector<std::u16string> texts(std::begin(kUtf16Texts), std::end(kUtf16Texts));
  texts.insert(texts.end(), {u"ab", u"name", u"Name", u"nam", u"names", u"caf\u00C3\u00A9"});
  for (const std::u16string& text : texts) {
    EXPECT_EQ(ToUTF8(text.c_str()), transcoder.TranscodeTo(text.c_str())) << text.size();
  }
  for (const std::u16string& text : kCutUtf16Texts) {
    EXPECT_EQ(ToUTF8(text.c_str()), "") << text.size();
    texts.push_back(text);
  }
  EXPECT_EQ(ToUTF8(nullptr), "");
  const auto compare = [&](const std::string& bytes, const std::vector<XMLCh>& converted) {
    EXPECT_EQ(ToUTF16(bytes.c_str()), converted) << bytes;
    EXPECT_EQ(XStrEqualsUTF8Str(nullptr, bytes.c_str()), converted.size() == 1) << bytes;
    for (const std::u16string& text : texts) {
      EXPECT_EQ(XStrEqualsUTF8Str(text.c_str(), bytes.c_str()),
                xc::XMLString::equals(text.c_str(), converted.data()))
          << bytes << " vs " << text.size() << " units";
    }
  };
  for (const std::string& bytes : kUtf8Texts)
    compare(bytes, transcoder.TranscodeFrom(bytes.c_str()));
  for (const std::string& bytes : kCutUtf8Texts) compare(bytes, {0});
}

// MCXTranscoder itself: whole conversions across block boundaries, and the empty
// results of an unknown encoding, an unrepresentable character and bad input.
std::vector<XMLCh> WithZero(const std::u16string& text) {
  std::vector<XMLCh> units(text.begin(), text.end());
  units.push_back(0);
  return units;
}

// 1, 2, 3 and 4-byte sequences (the last a surrogate pair) repeated past several
// output blocks, so that block ends fall inside characters.
TEST(TranscoderTest, LongTextIsConvertedWholeAndInOrder) {
  mcxml_test::XercesPlatform platform;
  const char* utf8Pieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E", "7"};
  const char16_t* utf16Pieces[] = {u"a", u"\u00E9", u"\u20AC", u"\U0001D11E", u"7"};
  std::string utf8;
  std::u16string utf16;
  for (int i = 0; utf16.size() < 2500; ++i) {
    utf8 += utf8Pieces[i % 5];
    utf16 += utf16Pieces[i % 5];
  }
  const MCXTranscoder transcoder;
  EXPECT_EQ(transcoder.TranscodeFrom(utf8.c_str()), WithZero(utf16));
  EXPECT_EQ(transcoder.TranscodeTo(utf16.c_str()), utf8);
  EXPECT_EQ(transcoder.TranscodeTo(nullptr), "");
}

TEST(TranscoderTest, FailuresGiveEmptyResults) {
  mcxml_test::XercesPlatform platform;
  const MCXTranscoder unknown("no-such-encoding");
  EXPECT_FALSE(unknown.isValid());
  EXPECT_EQ(unknown.TranscodeTo(u"abc"), "");
  EXPECT_EQ(unknown.TranscodeFrom("abc"), WithZero(u""));
  // The constructor converts, so arrays take encoding names; the rest are UTF-8.
  const MCXTranscoder t[2] = {"ISO-8859-1"};
  const MCXTranscoder& latin1 = t[0];
  EXPECT_EQ(latin1.TranscodeTo(u"a\u00E9"), "a\xE9");
  EXPECT_EQ(latin1.TranscodeTo(u"a\u20AC"), "") << "no partial text for an unrepresentable char";
  EXPECT_EQ(latin1.TranscodeTo(std::u16string(1500, u'a').append(u"\u20AC").c_str()), "")
      << "not even the blocks before it";
  const MCXTranscoder& utf8 = t[1];
  EXPECT_EQ(utf8.TranscodeFrom("a\x80z"), WithZero(u"")) << "a stray continuation byte";
  // An incomplete sequence or a high surrogate at the end is not consumed: what came
  // before is kept (the whole-text conversions of dom_access fail on those instead).
  EXPECT_EQ(utf8.TranscodeFrom("ab\xC3"), WithZero(u"ab"));
  EXPECT_EQ(utf8.TranscodeTo(u"ab\xD834"), "ab");
}

// Against the element's own lookup, an empty value read as absent; with values the
// parser did not make (several text children, none, a replaced one, two of a name).
TEST(DomAccessTest, AttributesMatchTheElementsLookup) {
  const InlineDoc d(
      "<!DOCTYPE e [<!ENTITY ent 'x&#233;y'><!ATTLIST e fixed CDATA 'dflt'>]>"
      "<e a='1' A='2' empty='' refs='&#233;&amp;&ent;z' caf\xC3\xA9='3' p:q='4' xmlns:p='urn:p' "
      "ab='5'>text</e>");
  DOMElement& e = d.root();
  xc::DOMAttr* built = d.doc().createAttribute(u"built");
  built->appendChild(d.doc().createTextNode(u"one"));
  built->appendChild(d.doc().createTextNode(u"two"));
  e.setAttributeNode(built);
  e.setAttributeNode(d.doc().createAttribute(u"bare"));
  e.setAttribute(u"a", u"replaced");
  e.setAttributeNS(u"urn:y", u"dup", u"later");  // filed after the empty one below
  e.setAttributeNS(u"urn:x", u"dup", u"");
  // clang-format off
  const std::string names[] = {"a", "A", "empty", "refs", "fixed", "caf\xC3\xA9", "caf", "p:q", "q",
      "dup", "built", "bare", "missing", "", "ab\xC3", "\x80", std::string(70, 'a')};
  // clang-format on
  const auto shown = [](const XMLCh* value) {
    return value == nullptr ? std::u16string(u"(absent)") : std::u16string(value);
  };
  for (const std::string& name : names) {
    const XMLCh* expected = e.getAttribute(ToUTF16(name.c_str()).data());
    EXPECT_EQ(shown(GetAttribute(static_cast<const DOMNode&>(e), name.c_str())),
              shown(*expected != 0 ? expected : nullptr))
        << name;
  }
  EXPECT_EQ(GetAttribute(*e.getFirstChild(), "a"), nullptr) << "a text node";
}

// XMLDouble's answer as GetDoubleAttribute gives it: -1 absent, 1 rejected, 0 read.
int ReferenceDouble(const XMLCh* text, double& value) {
  if (*text == 0) return -1;
  try {
    const xc::XMLDouble number(text);
    if (number.getType() == xc::XMLAbstractDoubleFloat::NaN) {
      value = gMissingValue;
      return 0;
    }
    if (number.getType() != xc::XMLAbstractDoubleFloat::Normal) return 1;
    value = number.getValue();
    return 0;
  } catch (const xc::NumberFormatException&) {
    return 1;
  }
}

// The tokenizer and XMLDouble, as lists used to be read: a bad token empties the list.
std::pair<bool, std::vector<double>> ReferenceList(const XMLCh* text) {
  std::vector<double> values;
  for (xc::XMLStringTokenizer tokens(text); tokens.hasMoreTokens();) {
    double value = 0;
    if (ReferenceDouble(tokens.nextToken(), value) != 0) return {false, {}};
    values.push_back(value);
  }
  return {true, values};
}

// Each text as an attribute and as a list: plain decimals of every length around
// the fast path's limits, with signs and zeros, the forms that must go the general
// way, and list delimiters beside whitespace that is none (form feed needs XML 1.1).
TEST(DomAccessTest, NumbersMatchXMLDoubleAndTheTokenizer) {
  // clang-format off
  std::vector<std::string> texts = {
      "", "0", "-0", "-0.0", "0.000", "00012.500", "-1.5", "9007199254740993", "0.1", "1e3", ".5",
      "5.", "+5", " 5", "5 ", "1..2", "--1", "-", "0x10", "x", "NaN", "INF", "-INF", "1e-400",
      "1e400", "4.9e-324", "5e-324", "1e+300", "1.7976931348623157e308",
      "3.14159265358979323846264338327950288419716939937510", "1 2.5 -0", "\t1e3&#13;\n-2 ",
      "  ", "1&#12;2", "1&#160;2", "1&#13;2", "NaN 7 INF", "NaN 7", "3 .5 5.", "1 x",
      "0000000000000000000000000000000000000000001 2"};
  // clang-format on
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    std::string text = random() % 4 == 0 ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % 46);
    const int point = static_cast<int>(random() % (digits + 2));
    for (int k = 0; k < digits; ++k) {
      if (k == point && k > 0) text += '.';
      text += static_cast<char>('0' + (k == 0 && random() % 2 ? 0 : random() % 10));
    }
    texts.push_back(text);
  }
  std::string xml = "<?xml version='1.1'?><r>";
  for (const std::string& text : texts) xml += "<e v='" + text + "'>" + text + "</e>";
  const InlineDoc d(xml + "</r>");
  const DOMElement* e = GetFirstChildElmt(d.root(), "e");
  for (const std::string& text : texts) {
    ASSERT_NE(e, nullptr);
    double expected = 99;
    double actual = 99;
    ASSERT_EQ(GetDoubleAttribute(*e, "v", actual), ReferenceDouble(e->getAttribute(u"v"), expected))
        << text;
    // Bit for bit, so that the sign of a zero counts too.
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
        << text << ": " << actual << " vs " << expected;
    std::vector<double> list = {42};
    const bool read = AssembleDoublesList(*e, list);
    EXPECT_EQ(std::make_pair(read, list), ReferenceList(e->getTextContent())) << text;
    e = GetNextSiblingElmt(*e, "e");
  }
}

// The child tags in order, e.g. "a,b,".
std::string Children(const DOMElement& parent) {
  std::string tags;
  for (const DOMNode* n = parent.getFirstChild(); n != nullptr; n = n->getNextSibling()) {
    tags += ToUTF8(n->getNodeName()) + ",";
  }
  return tags;
}

TEST(DomBuildingTest, RefusalsLeaveTheDocumentUnchanged) {
  const InlineDoc d("<r><a/><b/></r>");
  const InlineDoc other("<o/>");
  DOMElement& r = d.root();
  DOMElement* a = const_cast<DOMElement*>(GetFirstChildElmt(r, "a"));
  DOMElement* c = CreateElement(d.doc(), "c");
  DOMElement* notAChild = CreateElement(d.doc(), "n");
  EXPECT_EQ(CreateElement(d.doc(), "has space"), nullptr);
  EXPECT_FALSE(SetAttribute(*a, "bad name", "v"));
  EXPECT_FALSE(a->hasAttributes());
  EXPECT_FALSE(InsertElement(r, c, notAChild));
  EXPECT_FALSE(ReplaceElement(r, c, notAChild));
  EXPECT_FALSE(InsertElement(r, CreateElement(other.doc(), "x"), nullptr)) << "another document";
  EXPECT_EQ(Children(r), "a,b,");

  EXPECT_TRUE(InsertElement(r, c, a));
  EXPECT_TRUE(InsertElement(r, CreateElement(d.doc(), "z"), nullptr));
  EXPECT_TRUE(ReplaceElement(r, notAChild, a));
  EXPECT_EQ(Children(r), "c,n,b,z,");
  EXPECT_EQ(a->getParentNode(), nullptr);
}

TEST(DomBuildingTest, WhatIsBuiltReadsBack) {
  const InlineDoc d("<r k='old'><Extension extender='mcxml' name='other'/></r>");
  DOMElement& r = d.root();
  EXPECT_TRUE(SetAttribute(r, "k", ""));
  EXPECT_TRUE(r.hasAttribute(u"k")) << "set, though it reads as absent";
  ASSERT_TRUE(SetAttribute(r, "x", 2.5));
  EXPECT_EQ(ToUTF8(GetAttribute(r, "x")), "2.5");

  DOMElement* named = CreateExtension(d.doc(), "tree");
  DOMElement* unnamed = CreateExtension(d.doc(), "");
  ASSERT_TRUE(InsertElement(r, unnamed, nullptr));
  ASSERT_TRUE(InsertElement(r, named, nullptr));
  EXPECT_EQ(GetFirstChildExtension(r, "tree"), named);
  EXPECT_EQ(GetNextSiblingExtension(*GetFirstChildElmt(r, nullptr), nullptr), unnamed);
}

}  // namespace
