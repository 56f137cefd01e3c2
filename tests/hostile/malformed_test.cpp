// Documents that are not well-formed, and streams that fail or throw while the
// parser reads them: loads keep what was read and count the error, queries still
// answer, and an exception from the stream leaves the objects usable.
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/dom/DOMException.hpp>

#include "hostile/hostile_support.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

namespace {

using MCCommon_1_3::MCStatus;
using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::MCSettingsParser;
using MCXML_1_3::MCUniStats;
using MCXML_1_3::MCVarList;
using MCXML_1_3::MCXMLReadWrite;
using mcxml_test::HasCode;
using mcxml_test::IsOk;

const std::string kField =
    "<DataField name=\"a\" optype=\"categorical\" dataType=\"string\"><Value value=\"x\"/>"
    "</DataField>";

std::vector<std::string> Names(const MCVarList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetVarAt(i)->GetInfo().name);
  return names;
}

struct Malformed {
  const char* what;
  std::string xml;
  long load;                       // the outline check of what the parser kept
  std::vector<std::string> names;  // the variables FillVarList still finds
};

// The parser keeps the document up to the first fatal error; the load fails
// only when the outline was not reached.
TEST(MalformedTest, LoadsKeepWhatWasReadAndCountTheError) {
  const std::string head = "<PMML><DataDictionary>" + kField;
  const std::vector<Malformed> cases = {
      {"truncated in a tag", head + "<DataField name=\"b\" opty", 0, {"a"}},
      {"truncated in text", head + "<Extension>abc", 0, {"a"}},
      {"mismatched end tag", head + "</Value></DataDictionary></PMML>", 0, {"a"}},
      // The parser decodes ahead in blocks, and a bad byte loses its whole block.
      {"bad UTF-8 past the first block",
       head + "<Extension value=\"" + std::string(100000, 'x') + "\xC3\x28\"/>",
       0,
       {"a"}},
      {"bad UTF-8 in the first block", head + "<Extension value=\"\xC3\x28\"/>", 105, {}},
      {"NUL byte", head + std::string(1, '\0') + "</DataDictionary></PMML>", 0, {"a"}},
      {"two roots", head + "</DataDictionary></PMML><PMML/>", 0, {"a"}},
      {"truncated before the dictionary", "<PMML><Header", 106, {}},
      {"only a declaration", "<?xml version=\"1.0\"?>", 105, {}},
      {"empty", "", 105, {}},
  };
  for (const bool secure : {false, true}) {
    for (const Malformed& c : cases) {
      MCPMMLParser parser;
      parser.SetSecureProcessing(secure);
      std::istringstream in(c.xml);
      EXPECT_THAT(parser.ParseToDOM(in), HasCode(c.load, false)) << c.what;
      EXPECT_GT(parser.GetErrorCount(), 0u) << c.what;
      MCVarList list;
      EXPECT_THAT(parser.FillVarList(list, {}, false), HasCode(c.load, false)) << c.what;
      EXPECT_EQ(Names(list), c.names) << c.what;
      MCUniStats stats;
      const MCXML_1_3::DOMElement* cursor = nullptr;
      EXPECT_THAT(parser.FillUniStats(stats, cursor), HasCode(c.load == 0 ? 112 : c.load, false))
          << c.what;
    }
  }
}

// Xerces' scanner takes any "1.x" version, but its DOM throws a DOMException for
// one it does not know. Secure processing makes that a counted error instead.
TEST(MalformedTest, AnUnknownXmlVersionThrowsOnlyWithoutSecureProcessing) {
  const std::string xml =
      "<?xml version=\"1.5\"?><PMML><DataDictionary>" + kField + "</DataDictionary></PMML>";
  MCPMMLParser parser;
  std::istringstream plain(xml);
  EXPECT_THROW(static_cast<void>(parser.ParseToDOM(plain)), xercesc::DOMException);
  EXPECT_THAT(parser.GetStatus(), IsOk());
  EXPECT_EQ(parser.GetRootElement(), nullptr);

  parser.SetSecureProcessing(true);
  std::istringstream secured(xml);
  EXPECT_THAT(parser.ParseToDOM(secured), HasCode(105, false));
  EXPECT_EQ(parser.GetErrorCount(), 1u);

  MCXMLReadWrite reader;
  reader.SetSecureProcessing(true);
  std::istringstream again(xml);
  EXPECT_THAT(reader.ParseToDOM(again), IsOk());
  EXPECT_EQ(reader.GetErrorCount(), 1u);
  EXPECT_EQ(reader.GetDocument()->getDocumentElement(), nullptr);
}

// Serves `text`; from byte `failAt` on, each read either ends the input or throws.
class FailingBuf : public std::streambuf {
 public:
  FailingBuf(std::string text, size_t failAt, bool throws)
      : m_text(std::move(text)), m_failAt(failAt), m_throws(throws) {}

 protected:
  int_type underflow() override {
    if (m_pos >= m_failAt) {
      if (m_throws) throw std::runtime_error("device gone");
      return traits_type::eof();
    }
    // Small pieces, so that the parser has consumed part of the document first.
    const size_t n = std::min<size_t>({m_failAt - m_pos, m_text.size() - m_pos, 16});
    if (n == 0) return traits_type::eof();
    char* start = &m_text[m_pos];
    setg(start, start, start + n);
    m_pos += n;
    return traits_type::to_int_type(*start);
  }

 private:
  std::string m_text;
  size_t m_pos = 0;
  size_t m_failAt;
  bool m_throws;
};

const std::string kSettings =
    "<PMML><MiningBuildTask><Extension><Parameters><Parameter name=\"depth\" value=\"3\"/>"
    "<Parameter name=\"pad\" value=\"" +
    std::string(200000, 'p') + "\"/></Parameters></Extension></MiningBuildTask><DataDictionary>" +
    kField + "</DataDictionary></PMML>";
// Past the parser's first reads (a read that throws loses all it had copied, as
// the stream then reports 0 characters read) and inside the "pad" value.
const size_t kHalfWay = kSettings.find("<Parameter name=\"pad\"") + 100000;

// A stream that stops or fails half-way reads like a truncated document, whether
// its buffer reports the end or throws (the stream catches that and goes bad).
TEST(FailingStreamTest, ReadsThatStopHalfWayGiveATruncatedDocument) {
  for (const bool throws : {false, true}) {
    MCSettingsParser parser;
    FailingBuf buf(kSettings, kHalfWay, throws);
    std::istream in(&buf);
    EXPECT_THAT(parser.ParseToDOM(in), HasCode(106, false)) << "no DataDictionary read yet";
    EXPECT_GT(parser.GetErrorCount(), 0u) << throws;
    std::string value;
    EXPECT_THAT(parser.GetParameter("depth", value, nullptr), HasCode(106, false)) << throws;
    EXPECT_EQ(in.bad(), throws);

    MCXMLReadWrite reader;
    FailingBuf again(kSettings, kHalfWay, throws);
    std::istream in2(&again);
    ASSERT_THAT(reader.ParseToDOM(in2), IsOk());
    EXPECT_GT(reader.GetErrorCount(), 0u);
    // PMML, MiningBuildTask, Extension, Parameters: the first Parameter is whole.
    const MCXML_1_3::DOMElement* elmt = reader.GetDocument()->getDocumentElement();
    for (int level = 0; level < 4 && elmt != nullptr; ++level) {
      elmt = MCXML_1_3::GetFirstChildElmt(*elmt, nullptr);
    }
    ASSERT_NE(elmt, nullptr) << throws;
    EXPECT_EQ(MCXML_1_3::ToUTF8(MCXML_1_3::GetAttribute(*elmt, "value")), "3") << throws;
  }
}

// With badbit among the stream's exceptions, the buffer's exception passes
// through ParseToDOM, and the object is left empty but usable.
TEST(FailingStreamTest, AnExceptionFromTheStreamPassesThroughAndLeavesNoDocument) {
  MCSettingsParser settings;
  MCXMLReadWrite reader;
  std::istringstream good(kSettings);
  ASSERT_THAT(settings.ParseToDOM(good), IsOk());
  good.clear();
  good.seekg(0);
  ASSERT_THAT(reader.ParseToDOM(good), IsOk());

  for (int round = 0; round < 2; ++round) {
    FailingBuf buf(kSettings, kHalfWay, true);
    std::istream in(&buf);
    in.exceptions(std::ios::badbit);
    EXPECT_THROW(static_cast<void>(settings.ParseToDOM(in)), std::runtime_error);
    EXPECT_THAT(settings.GetStatus(), IsOk());
    EXPECT_EQ(settings.GetXercesMessage(), "");
    EXPECT_EQ(settings.GetRootElement(), nullptr);
    int depth = -1;
    EXPECT_THAT(settings.GetParameter("depth", depth, nullptr), HasCode(107, false));
    MCVarList list;
    EXPECT_THAT(settings.FillVarList(list, false), HasCode(107, false));
    EXPECT_FALSE(settings.SetModelElmt(*reader.GetDocument()->getDocumentElement()));

    FailingBuf again(kSettings, kHalfWay, true);
    std::istream in2(&again);
    in2.exceptions(std::ios::badbit);
    EXPECT_THROW(static_cast<void>(reader.ParseToDOM(in2)), std::runtime_error);
    EXPECT_EQ(reader.GetDocument(), nullptr);
    EXPECT_EQ(reader.GetXercesMessage(), "");

    // The parsers read a whole document again afterwards.
    std::istringstream next(kSettings);
    ASSERT_THAT(settings.ParseToDOM(next), IsOk());
    EXPECT_THAT(settings.GetParameter("depth", depth, nullptr), IsOk());
    EXPECT_EQ(depth, 3);
    next.clear();
    next.seekg(0);
    ASSERT_THAT(reader.ParseToDOM(next), IsOk());
    EXPECT_EQ(reader.GetErrorCount(), 0u);
  }
}

}  // namespace
