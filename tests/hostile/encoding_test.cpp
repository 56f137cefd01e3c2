// Documents in UTF-16 (either byte order, with or without a byte order mark) and
// ISO-8859-1: names and values with non-ASCII characters come out as UTF-8.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/settings/settings_parser.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::MCSettingsParser;
using MCXML_1_3::MCVarList;
using mcxml_test::IsOk;

// U+00DF, U+00F6 (in ISO-8859-1), U+03A9 and U+1D518 (a surrogate pair in UTF-16).
const std::u16string kName = u"gr\u00f6\u00dfe";
const std::u16string kValue = u"\u03a9\U0001D518";
const std::string kNameUtf8 =
    "gr\xC3\xB6\xC3\x9F"
    "e";
const std::string kValueUtf8 = "\xCE\xA9\xF0\x9D\x94\x98";

std::u16string Document(const std::u16string& encoding, const std::u16string& value) {
  return u"<?xml version=\"1.0\" encoding=\"" + encoding +
         u"\"?>\n<PMML><MiningBuildTask><Extension><Parameters><Parameter name=\"" + kName +
         u"\" value=\"" + value +
         u"\"/></Parameters></Extension></MiningBuildTask>"
         u"<DataDictionary><DataField name=\"" +
         kName + u"\" optype=\"categorical\" dataType=\"string\"><Value value=\"" + value +
         u"\"/></DataField></DataDictionary></PMML>";
}

std::string Utf16Bytes(const std::u16string& text, bool bigEndian, bool bom) {
  std::string bytes;
  const std::u16string all = bom ? u"\ufeff" + text : text;
  for (const char16_t unit : all) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// Every character of `text` below U+0100, as one byte each.
std::string Latin1Bytes(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

TEST(EncodingTest, NonAsciiNamesAndValuesComeOutAsUtf8) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string value;  // the value as UTF-8
  };
  const std::u16string latin1Value = u"caf\u00e9";
  const std::vector<Case> cases = {
      {"UTF-16LE with BOM", Utf16Bytes(Document(u"UTF-16", kValue), false, true), kValueUtf8},
      {"UTF-16BE with BOM", Utf16Bytes(Document(u"UTF-16", kValue), true, true), kValueUtf8},
      {"UTF-16LE by declaration", Utf16Bytes(Document(u"UTF-16LE", kValue), false, false),
       kValueUtf8},
      {"UTF-16BE by declaration", Utf16Bytes(Document(u"UTF-16BE", kValue), true, false),
       kValueUtf8},
      {"ISO-8859-1", Latin1Bytes(Document(u"ISO-8859-1", latin1Value)), "caf\xC3\xA9"},
  };
  for (const Case& c : cases) {
    MCSettingsParser parser;
    parser.SetSecureProcessing(true);
    std::istringstream in(c.bytes);
    ASSERT_THAT(parser.ParseToDOM(in), IsOk()) << c.what;
    EXPECT_EQ(parser.GetErrorCount(), 0u) << c.what;

    MCVarList list;
    ASSERT_THAT(parser.FillVarList(list, false), IsOk()) << c.what;
    ASSERT_EQ(list.GetCount(), 1) << c.what;
    EXPECT_EQ(list.GetVarAt(0)->GetInfo().name, kNameUtf8) << c.what;
    EXPECT_EQ(list.GetVarAt(0)->GetInfo().texts, std::vector<std::string>{c.value}) << c.what;

    // The lookup takes a UTF-8 name and matches it against the decoded document.
    std::string value;
    EXPECT_THAT(parser.GetParameter(kNameUtf8.c_str(), value, nullptr), IsOk()) << c.what;
    EXPECT_EQ(value, c.value) << c.what;

    MCPMMLParser pmml;
    MCVarList named;
    in.clear();
    in.seekg(0);
    ASSERT_THAT(pmml.ParseToDOM(in), IsOk()) << c.what;
    EXPECT_THAT(pmml.FillVarList(named, {kNameUtf8}, false), IsOk()) << c.what;
    EXPECT_EQ(named.GetCount(), 1) << c.what << ": the names filter compares decoded names";
  }
}

}  // namespace
