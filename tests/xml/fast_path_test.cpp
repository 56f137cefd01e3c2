// The fast paths of the DOM access functions against the general paths they
// stand in for (the transcoder, XMLDouble, XMLStringTokenizer and the element's
// own getAttribute), on the inputs where the two could part: text that is not
// ASCII, empty text, bytes that are not UTF-8, unpaired surrogates, numbers at
// the edges of the plain form, and attribute values the parser did not make.
#include <cstring>
#include <random>
#include <string>
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
#include "mcxml/xml/transcoder.h"
#include "test_support.h"

namespace {

namespace xc = xercesc;
using namespace MCXML_1_3;
using mcxml_test::InlineDoc;

// UTF-16 texts where a unit-for-unit copy and the transcoder could disagree.
const std::u16string kUtf16Texts[] = {
    u"",          u"a",       u"plain ascii \x01\x7F",
    u"caf\u00E9", u"\u20AC5", u"x\U0001D11E",
    u"\xD834",    u"a\xDD1E", u"\xDD1E\xD834",
    u"ab\xD834z", u"\u00FF",  std::u16string(1500, u'a') + u"\u00E9"};

// UTF-8 byte strings: valid, cut short, stray, overlong, surrogates and past U+10FFFF.
const std::string kUtf8Texts[] = {"",
                                  "a",
                                  "name",
                                  "\x7F",
                                  "caf\xC3\xA9",
                                  "\xE2\x82\xAC",
                                  "\xF0\x9D\x84\x9E",
                                  "\x80",
                                  "a\x80z",
                                  "ab\xC3",
                                  "\xC0\xAF",
                                  "\xED\xA0\x80",
                                  "\xF4\x90\x80\x80",
                                  std::string(1500, 'b') + "\xC3\xA9",
                                  std::string(70, 'n')};

TEST(FastPathTest, ConversionsMatchTheTranscoder) {
  mcxml_test::XercesPlatform platform;
  const MCXTranscoder transcoder;
  for (const std::u16string& text : kUtf16Texts) {
    EXPECT_EQ(ToUTF8(text.c_str()), transcoder.TranscodeTo(text.c_str())) << text.size();
  }
  for (const std::string& bytes : kUtf8Texts) {
    EXPECT_EQ(ToUTF16(bytes.c_str()), transcoder.TranscodeFrom(bytes.c_str())) << bytes;
  }
}

// Every pair, including those where a failed conversion makes a byte string equal
// to the empty text or to its valid beginning.
TEST(FastPathTest, ComparisonMatchesTheTranscoder) {
  mcxml_test::XercesPlatform platform;
  const MCXTranscoder transcoder;
  std::vector<std::u16string> texts(std::begin(kUtf16Texts), std::end(kUtf16Texts));
  texts.insert(texts.end(),
               {u"ab", u"name", u"nam", u"names", u"\u00C3\u00A9", u"caf\u00C3\u00A9"});
  for (const std::string& bytes : kUtf8Texts) {
    const std::vector<XMLCh> converted = transcoder.TranscodeFrom(bytes.c_str());
    EXPECT_EQ(XStrEqualsUTF8Str(nullptr, bytes.c_str()), converted.size() == 1) << bytes;
    for (const std::u16string& text : texts) {
      EXPECT_EQ(XStrEqualsUTF8Str(text.c_str(), bytes.c_str()),
                xc::XMLString::equals(text.c_str(), converted.data()))
          << bytes << " vs " << text.size() << " units";
    }
  }
  EXPECT_TRUE(XStrEqualsUTF8Str(u"", "a\x80z")) << "the whole text failed to convert";
  EXPECT_TRUE(XStrEqualsUTF8Str(u"ab", "ab\xC3")) << "the cut-off end is dropped";
}

// The element's own lookup, with an empty value read as absent.
const XMLCh* Expected(const DOMElement& elmt, const std::string& name) {
  const XMLCh* value = elmt.getAttribute(MCXTranscoder().TranscodeFrom(name.c_str()).data());
  return value == nullptr || *value == 0 ? nullptr : value;
}

TEST(FastPathTest, AttributesMatchTheElementsLookup) {
  const InlineDoc d(
      "<!DOCTYPE e [<!ENTITY ent 'x&#233;y'><!ATTLIST e fixed CDATA 'dflt'>]>"
      "<e a='1' A='2' empty='' refs='&#233;&amp;&ent;z' caf\xC3\xA9='3' p:q='4' xmlns:p='urn:p' "
      "ab='5'/>");
  DOMElement& e = d.root();
  // Values the parser did not make: several text children, none, and a replaced one.
  xc::DOMAttr* built = d.doc().createAttribute(u"built");
  built->appendChild(d.doc().createTextNode(u"one"));
  built->appendChild(d.doc().createTextNode(u"two"));
  e.setAttributeNode(built);
  e.setAttributeNode(d.doc().createAttribute(u"bare"));
  e.setAttribute(u"a", u"replaced");
  const std::string names[] = {
      "a", "A",     "empty", "refs",    "fixed", "caf\xC3\xA9", "caf",  "p:q",
      "q", "built", "bare",  "missing", "",      "ab\xC3",      "\x80", std::string(70, 'a')};
  for (const std::string& name : names) {
    const XMLCh* expected = Expected(e, name);
    const XMLCh* actual = GetAttribute(e, name.c_str());
    ASSERT_EQ(actual == nullptr, expected == nullptr) << name;
    if (expected != nullptr) {
      EXPECT_TRUE(xc::XMLString::equals(actual, expected)) << name;
    }
  }
  EXPECT_EQ(ToUTF8(GetAttribute(e, "built")), "onetwo");
  EXPECT_EQ(ToUTF8(GetAttribute(e, "ab\xC3")), "5") << "the name converts to its beginning";
}

TEST(FastPathTest, TagNamesMatchTheTranscoder) {
  const InlineDoc d("<r><caf\xC3\xA9/><ab/><" + std::string(70, 't') + "/></r>");
  const DOMElement* first = GetFirstChildElmt(d.root(), nullptr);
  const DOMElement* second = GetNextSiblingElmt(*first, nullptr);
  EXPECT_TRUE(TagNameEquals(*first, "caf\xC3\xA9"));
  EXPECT_FALSE(TagNameEquals(*first, "caf"));
  EXPECT_TRUE(TagNameEquals(*second, "ab\xC3"));
  EXPECT_EQ(AsElement(*second, "ab\xC3"), second);
  EXPECT_EQ(GetFirstChildElmt(d.root(), "caf\xC3\xA9"), first);
  EXPECT_NE(GetFirstChildElmt(d.root(), std::string(70, 't').c_str()), nullptr);
}

// XMLDouble's answer as GetDoubleAttribute gives it: -1 absent, 1 rejected, 0 read.
int ReferenceDouble(const std::string& text, double& value) {
  const std::vector<XMLCh> units = MCXTranscoder().TranscodeFrom(text.c_str());
  if (units.size() == 1) return -1;
  try {
    const xc::XMLDouble number(units.data());
    if (number.getType() == xc::XMLAbstractDoubleFloat::NaN) {
      value = MCCommon_1_3::MCMV::gMissingValue;
      return 0;
    }
    if (number.getType() != xc::XMLAbstractDoubleFloat::Normal) return 1;
    value = number.getValue();
    return 0;
  } catch (const xc::NumberFormatException&) {
    return 1;
  }
}

// Plain decimals of every length around the fast path's limit, with signs and
// zeros, and the forms that must go the general way.
std::vector<std::string> NumberTexts() {
  std::vector<std::string> texts = {"0",
                                    "-0",
                                    "-0.0",
                                    "0.000",
                                    "00012.500",
                                    "-1.5",
                                    "9007199254740993",
                                    "0.1",
                                    "1e3",
                                    ".5",
                                    "5.",
                                    "+5",
                                    " 5",
                                    "5 ",
                                    "1..2",
                                    "--1",
                                    "-",
                                    "0x10",
                                    "NaN",
                                    "INF",
                                    "-INF",
                                    "1e-400",
                                    "1e400",
                                    "4.9e-324",
                                    "1.7976931348623157e308",
                                    "3.14159265358979323846264338327950288419716939937510"};
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
  return texts;
}

TEST(FastPathTest, DoublesMatchXMLDouble) {
  const std::vector<std::string> texts = NumberTexts();
  std::string xml = "<r>";
  for (const std::string& text : texts) xml += "<e v='" + text + "'/>";
  const InlineDoc d(xml + "</r>");
  const DOMElement* e = GetFirstChildElmt(d.root(), "e");
  for (const std::string& text : texts) {
    ASSERT_NE(e, nullptr);
    double expected = 99;
    double actual = 99;
    ASSERT_EQ(GetDoubleAttribute(*e, "v", actual), ReferenceDouble(text, expected)) << text;
    // Bit for bit, so that the sign of a zero counts too.
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
        << text << ": " << actual << " vs " << expected;
    e = GetNextSiblingElmt(*e, "e");
  }
}

// The tokenizer and XMLDouble, as the list used to be read.
bool ReferenceList(const XMLCh* text, std::vector<double>& values) {
  values.clear();
  xc::XMLStringTokenizer tokens(text);
  while (tokens.hasMoreTokens()) {
    double value = 0;
    if (ReferenceDouble(ToUTF8(tokens.nextToken()), value) != 0) {
      values.clear();
      return false;
    }
    values.push_back(value);
  }
  return true;
}

TEST(FastPathTest, NumberListsMatchTheTokenizer) {
  const std::u16string lists[] = {
      u"1 2.5 -0", u"\t1e3\r\n-2 ", u"  ",
      u"1\f2",     u"1\u00A02",     u"NaN 7 INF",
      u"3 .5 5.",  u"1 x",          u"0000000000000000000000000000000000000000001 2"};
  for (const std::u16string& list : lists) {
    const InlineDoc d("<e/>");
    d.root().appendChild(d.doc().createTextNode(list.c_str()));
    std::vector<double> expected = {42};
    std::vector<double> actual = {42};
    EXPECT_EQ(AssembleDoublesList(d.root(), actual), ReferenceList(list.c_str(), expected))
        << ToUTF8(list.c_str());
    EXPECT_EQ(actual, expected) << ToUTF8(list.c_str());
  }
}

}  // namespace
