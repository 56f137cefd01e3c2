// Input that is not what a parser hopes for: documents that are not well-formed,
// encodings other than UTF-8, streams that fail half-way, very deep and very large
// documents, and every input that ever made a fuzz target fail. Each case runs in
// a child whose time and peak memory are bounded.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/dom/DOMException.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>

#include "hostile/hostile_support.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

// The fuzz targets, linked in under names of their own.
extern "C" int McxmlFuzzPmml(const uint8_t* data, size_t size);
extern "C" int McxmlFuzzSettings(const uint8_t* data, size_t size);
extern "C" int McxmlFuzzReadWrite(const uint8_t* data, size_t size);

namespace {

using namespace MCXML_1_3;
using namespace mcxml_test;
using MCCommon_1_3::MCStatus;

// The inputs that ever made a fuzz target fail, by file name.
std::map<std::string, std::string> FuzzRegressions() {
  std::map<std::string, std::string> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(MCXML_FUZZ_REGRESSIONS_DIR))
    inputs[entry.path().filename()] = ReadFile(entry.path());
  return inputs;
}

struct Malformed {
  const char* what;
  std::string xml;
  long load;  // secured
};

// Documents that are not well-formed, and what a secured load gives for each.
std::vector<Malformed> MalformedDocuments() {
  const std::string head = OneFieldPmml("a", "x");
  const std::string open = head.substr(0, head.find("</DataDictionary>"));
  return {
      {"truncated in a tag", open + "<DataField name=\"b\" opty", 0},
      {"NUL byte", open + std::string(1, '\0') + "</DataDictionary></PMML>", 0},
      // The parser decodes ahead in blocks, and a bad byte loses its whole block.
      {"bad UTF-8 past the first block",
       open + "<Extension value=\"" + std::string(100000, 'x') + "\xC3\x28\"/>", 0},
      {"bad UTF-8 in the first block", open + "<Extension value=\"\xC3\x28\"/>", 105},
      {"truncated before the dictionary", "<PMML><Header", 106},
      // Secured, the DOM's exception for a version it does not know becomes an error.
      {"unknown XML version", "<?xml version=\"1.5\"?>" + head, 105},
      {"empty", "", 105},
      {"empty encoding name", "<?xml version=\"1.0\" encoding=\"\"?>" + head, 105},
      // Read as the declaration says, garbled; the count tells.
      {"UTF-8 mark and another declared encoding",
       "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + head, 0},
  };
}

// The parser keeps the document up to its first fatal error and counts it; the
// load fails only when the outline was not reached, and queries answer either way.
TEST(MalformedTest, LoadsKeepWhatWasReadAndCountTheError) {
  for (const Malformed& c : MalformedDocuments()) {
    SCOPED_TRACE(c.what);
    ExpectBounded(10, 128, [&] {
      MCPMMLParser parser;
      parser.SetSecureProcessing(true);
      EXPECT_THAT(Load(parser, c.xml), HasCode(c.load, false));
      EXPECT_GT(parser.GetErrorCount(), 0u);
      MCVarList list;
      EXPECT_THAT(parser.FillVarList(list, {}, false), HasCode(c.load, false));
      EXPECT_EQ(list.GetCount(), c.load == 0 ? 1 : 0);
    });
  }
}

// Everything the nodes of a document hold, in document order.
std::string Dump(const xercesc::DOMNode* node) {
  if (node == nullptr) return "-";
  std::string out = std::to_string(node->getNodeType()) + "<" + ToUTF8(node->getNodeName()) + "=" +
                    ToUTF8(node->getNodeValue());
  const xercesc::DOMNamedNodeMap* attributes = node->getAttributes();
  for (XMLSize_t i = 0; attributes && i < attributes->getLength(); ++i)
    out += Dump(attributes->item(i));
  for (const auto* child = node->getFirstChild(); child; child = child->getNextSibling())
    out += Dump(child);
  return out + ">";
}

// What listening to the parser adds changes nothing: on every malformed document
// the library's parse, with element places or without, builds the DOM a bare
// parser builds, counts the same errors and gives the same statuses.
TEST(MalformedTest, ListeningChangesNothing) {
  std::map<std::string, std::string> inputs = FuzzRegressions();
  for (const Malformed& c : MalformedDocuments()) inputs[c.what] = c.xml;
  for (const auto& [what, xml] : inputs) {
    SCOPED_TRACE(what);
    const XercesPlatform platform;
    std::string bare = "threw";
    XMLSize_t bareErrors = 0;
    xercesc::XercesDOMParser plain;
    try {
      xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(xml.data()), xml.size(),
                                        "bare");
      plain.parse(source);
      bare = Dump(plain.getDocument());
      bareErrors = plain.getErrorCount();
    } catch (const xercesc::DOMException&) {
    }
    std::vector<MCStatus> statuses[2];
    for (const bool places : {false, true}) {
      MCXMLReadWrite reader;
      MCSettingsParser parser;
      reader.SetElementPlaces(places);
      parser.SetElementPlaces(places);
      std::string ours = "threw";
      try {
        ASSERT_THAT(Load(reader, xml), IsOk());
        ours = Dump(reader.GetDocument());
        EXPECT_EQ(reader.GetErrorCount(), bareErrors);
        EXPECT_EQ(reader.GetFirstXMLError().has_value(), bareErrors > 0);
        statuses[places].push_back(Load(parser, xml));
        MCVarList list;
        statuses[places].push_back(parser.FillVarList(list, true));
      } catch (const xercesc::DOMException&) {
        statuses[places].push_back(MCStatus(-1, false));
      }
      EXPECT_EQ(ours, bare);
    }
    EXPECT_EQ(statuses[0], statuses[1]);
  }
}

// UTF-16 in either byte order and ISO-8859-1: a name with U+00F6 and U+00DF and a
// value with U+03A9 and U+1D518 (a surrogate pair), where the encoding has them,
// come out as UTF-8, and the names filter matches the name given in UTF-8.
TEST(EncodingTest, NonAsciiNamesAndValuesComeOutAsUtf8) {
  const auto document = [](const std::u16string& encoding, const std::u16string& value) {
    return u"<?xml version=\"1.0\" encoding=\"" + encoding +
           u"\"?><PMML><DataDictionary><DataField name=\"gr\u00f6\u00dfe\" optype=\"categorical\""
           u" dataType=\"string\"><Value value=\"" +
           value + u"\"/></DataField></DataDictionary></PMML>";
  };
  const auto utf16 = [&](bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : u"\ufeff" + document(u"UTF-16", u"\u03a9\U0001D518")) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
  };
  const std::u16string latin1 = document(u"ISO-8859-1", u"caf\u00e9");
  const std::string name = "gr\xC3\xB6\xC3\x9F\x65", wide = "\xCE\xA9\xF0\x9D\x94\x98";
  const std::pair<std::string, std::string> cases[] = {
      {utf16(false), wide},
      {utf16(true), wide},
      {std::string(latin1.begin(), latin1.end()), "caf\xC3\xA9"}};
  for (const auto& [bytes, value] : cases) {
    SCOPED_TRACE(value);
    ExpectBounded(10, 128, [&] {
      MCPMMLParser parser;
      ASSERT_THAT(Load(parser, bytes), IsOk());
      EXPECT_EQ(parser.GetErrorCount(), 0u);
      MCVarList list;
      ASSERT_THAT(parser.FillVarList(list, {name}, false), IsOk());
      ASSERT_EQ(list.GetCount(), 1);
      EXPECT_EQ(list.GetVarAt(0)->GetInfo().name, name);
      EXPECT_EQ(list.GetVarAt(0)->GetInfo().texts, std::vector<std::string>{value});
    });
  }
}

const std::string kSettings =
    OneFieldPmml("a", "x",
                 "<MiningBuildTask><Extension><Parameters><Parameter name=\"depth\" value=\"3\"/>"
                 "<Parameter name=\"pad\" value=\"" +
                     std::string(200000, 'p') + "\"/></Parameters></Extension></MiningBuildTask>");

// Serves kSettings up to half-way through "pad", past the parser's first reads (a
// read that throws loses all it had copied), then throws on every read.
struct FailingBuf : std::stringbuf {
  FailingBuf() : std::stringbuf(kSettings.substr(0, kSettings.find("name=\"pad\"") + 100000)) {}
  int_type underflow() override {
    const int_type next = std::stringbuf::underflow();
    if (traits_type::eq_int_type(next, traits_type::eof())) throw std::runtime_error("gone");
    return next;
  }
};

// A stream whose reads fail half-way catches the throw and goes bad: what was read
// loads like a truncated document. With badbit among its exceptions the throw
// passes through ParseToDOM and drops the earlier document; the parser stays usable.
TEST(FailingStreamTest, ReadsThatFailHalfWay) {
  ExpectBounded(10, 128, [] {
    MCSettingsParser parser;
    FailingBuf goesBad, throws;
    std::istream bad(&goesBad), through(&throws);
    std::string value;
    EXPECT_THAT(parser.ParseToDOM(bad), IsOk());
    EXPECT_GT(parser.GetErrorCount(), 0u);
    EXPECT_TRUE(bad.bad());
    EXPECT_THAT(parser.GetParameter("depth", value, nullptr), IsOk());
    EXPECT_EQ(value, "3");

    through.exceptions(std::ios::badbit);
    EXPECT_THROW(static_cast<void>(parser.ParseToDOM(through)), std::runtime_error);
    EXPECT_THAT(parser.GetStatus(), IsOk());
    EXPECT_EQ(parser.GetXercesMessage(), "");
    EXPECT_EQ(parser.GetRootElement(), nullptr);
    EXPECT_THAT(parser.GetParameter("depth", value, nullptr), HasCode(107, false));
    MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, false), HasCode(107, false));
    std::istringstream good(kSettings);
    ASSERT_THAT(parser.ParseToDOM(good), IsOk());
    EXPECT_THAT(parser.GetParameter("depth", value, nullptr), IsOk());
  });
}

std::string Nested(const std::string& open, const std::string& middle, const std::string& close) {
  return Repeat(open, 100000) + middle + Repeat(close, 100000);
}

// 100,000 levels inside a field, after the statistics of a model and around a
// parameter are walked without recursion; the writer refuses what its own
// recursion could not take on the main thread, and leaves the file empty.
TEST(SizeTest, DeepNestingIsWalkedWithoutRecursion) {
  ExpectBounded(60, 512, [] {
    std::string xml = OneFieldPmml(
        "a", "x",
        "<TreeModel><ModelStats><UnivariateStats field=\"a\"><Counts totalFreq=\"2\"/>"
        "<DiscrStats><Array type=\"int\">2</Array></DiscrStats></UnivariateStats></ModelStats>" +
            Nested("<Node>", "<True/>", "</Node>") +
            "</TreeModel><MiningBuildTask><Extension><Parameters>" +
            Nested("<ComplexParameter name=\"g\">", "<Parameter name=\"p\" value=\"deep\"/>",
                   "</ComplexParameter>") +
            "</Parameters></Extension></MiningBuildTask>");
    xml.insert(xml.find("</DataField>"), Nested("<Extension>", "", "</Extension>"));
    MCSettingsParser parser;
    parser.SetSecureProcessing(true);
    ASSERT_THAT(Load(parser, xml), IsOk());
    EXPECT_EQ(parser.GetErrorCount(), 0u);
    MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, true), IsOk());
    EXPECT_EQ(list.GetCount(), 1);
    const auto* tree = GetFirstChildElmt(*parser.GetRootElement(), "TreeModel");
    ASSERT_TRUE(tree != nullptr && parser.SetModelElmt(*tree));
    MCUniStats stats;
    const DOMElement* cursor = nullptr;
    EXPECT_THAT(parser.FillUniStats(stats, cursor), IsOk());
    EXPECT_EQ(stats.GetCounts().size(), 1u);
    EXPECT_THAT(parser.FillUniStats(stats, cursor), IsOk()) << "the walk past the tree";
    EXPECT_EQ(cursor, nullptr);
    void* group = nullptr;
    for (int level = 0; level < 100000; ++level) {
      group = parser.GetComplexParameter("g", group);
      ASSERT_NE(group, nullptr) << level;
    }
    std::string value;
    EXPECT_THAT(parser.GetParameter("p", value, group), IsOk());
    EXPECT_EQ(value, "deep");
    EXPECT_TRUE(parser.CheckDocument(true).empty()) << "checked without recursion";

    // The main thread's stack as systems give it by default, whatever the shell set.
    rlimit stack{};
    ASSERT_EQ(getrlimit(RLIMIT_STACK, &stack), 0);
    stack.rlim_cur = std::min<rlim_t>(stack.rlim_cur, 8 << 20);
    ASSERT_EQ(setrlimit(RLIMIT_STACK, &stack), 0);
    MCXMLReadWrite reader;
    const TempFolder folder;
    const std::string path = folder.Path("deep.xml");
    ASSERT_THAT(Load(reader, xml), IsOk());
    EXPECT_THAT(reader.WriteFromDOM(path, nullptr), HasCode(118, false));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
  });
}

// Secured, what a parse may hold is bounded whatever the shape (up to 93 bytes a
// byte of input unbounded); and the writer, which looks among a comment's siblings
// for an element, refuses a run of comments that would take it hours.
TEST(SizeTest, SecuredMemoryIsBoundedAndCommentRunsAreNotWritten) {
  const std::pair<const char*, int> runs[] = {
      {"<a/>", 9000000}, {"<a/>x", 8000000}, {"<!---->", 6000000}, {"<?a?>", 8000000}};
  for (const auto& [node, count] : runs) {
    SCOPED_TRACE(node);
    // Unbounded, the first takes 1.9 GB.
    ExpectBounded(20, 768, [&] {
      MCXMLReadWrite reader;
      reader.SetSecureProcessing(true);
      ASSERT_THAT(Load(reader, "<r>" + Repeat(node, count) + "</r>"), IsOk());
      EXPECT_EQ(reader.GetErrorCount(), 1u);
      EXPECT_THAT(reader.GetFirstXMLError()->message, testing::HasSubstr("MB of memory"));
    });
  }
  ExpectBounded(20, 256, [] {
    const TempFolder folder;
    MCXMLReadWrite readWrite;
    ASSERT_THAT(Load(readWrite, "<r>" + Repeat("<!---->", 200000) + "</r>"), IsOk());
    EXPECT_THAT(readWrite.WriteFromDOM(folder.Path("out.xml"), nullptr), HasCode(118, false));
    EXPECT_EQ(std::filesystem::file_size(folder.Path("out.xml")), 0u);
    ASSERT_THAT(Load(readWrite, "<r>" + Repeat("<!----><a/>", 200000) + "</r>"), IsOk());
    EXPECT_THAT(readWrite.WriteFromDOM(folder.Path("out.xml"), nullptr), IsOk());
  });
}

// A 64 MB attribute value reaches the variable list and a settings value whole;
// secured, the memory that takes passes the budget and ends the parse where it is.
TEST(SizeTest, A64MegabyteAttributeIsReadWholeOnlyWhenTrusted) {
  ExpectBounded(60, 1536, [] {
    const std::string big(64u << 20, 'v');
    const std::string xml =
        OneFieldPmml("a", big,
                     "<MiningBuildTask><Extension><Parameters><Parameter name=\"p\" value=\"" +
                         big + "\"/></Parameters></Extension></MiningBuildTask>");
    MCSettingsParser parser;
    ASSERT_THAT(Load(parser, xml), IsOk());
    EXPECT_EQ(parser.GetErrorCount(), 0u);
    MCVarList list;
    ASSERT_THAT(parser.FillVarList(list, false), IsOk());
    EXPECT_TRUE(list.GetVarAt(0)->GetInfo().texts == std::vector<std::string>{big});
    std::string value;
    EXPECT_THAT(parser.GetParameter("p", value, nullptr), IsOk());
    EXPECT_TRUE(value == big) << value.size();

    parser.SetSecureProcessing(true);
    EXPECT_THAT(Load(parser, xml), HasCode(119, false)) << "ended before the Parameters";
    EXPECT_EQ(parser.GetErrorCount(), 1u);
    EXPECT_THAT(parser.GetFirstXMLError()->message, testing::HasSubstr("MB of memory"));
  });
}

// A target aborts on a broken guarantee; its result is always 0.
TEST(FuzzRegressionTest, EveryInputThatEverFailedPassesEveryTarget) {
  const std::map<std::string, std::string> inputs = FuzzRegressions();
  EXPECT_FALSE(inputs.empty());
  for (const auto& [name, input] : inputs) {
    SCOPED_TRACE(name);
    const auto* data = reinterpret_cast<const uint8_t*>(input.data());
    ExpectBounded(20, 256, [&] {
      static_cast<void>(McxmlFuzzPmml(data, input.size()));
      static_cast<void>(McxmlFuzzSettings(data, input.size()));
      static_cast<void>(McxmlFuzzReadWrite(data, input.size()));
    });
  }
}

}  // namespace
