// Loading a PMML document: outline codes and what stays reachable after each, the
// parser's message and error count, a parse from inside a parse, and secure
// processing switched on and off again.
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "mcxml/xml/dom_access.h"
#include "pmml_test_support.h"

namespace {

using namespace mcxml_test;

const std::string kGood = "<PMML><DataDictionary/></PMML>";

TEST(ParseToDOMTest, OutlineCodesAndWhatStaysReachable) {
  const struct {
    std::string xml;
    long code;
    bool transDict, errors;
  } cases[] = {
      {kGood, 0, false, false},
      {"<PMML><Header/><DataDictionary/><TransformationDictionary/></PMML>", 0, true, false},
      {"<PMML><DataDictionary/>", 0, false, true},  // truncated: counted, not thrown
      {"<pmml><DataDictionary/></pmml>", 105, false, false},
      {"", 105, false, true},
      {"<PMML><Header><DataDictionary/></Header></PMML>", 106, false, false},
      {"<PMML><datadictionary/></PMML>", 106, false, false},
  };
  InlineDoc other("<M/>");
  for (const auto& c : cases) {
    ProbeParser parser;
    EXPECT_FALSE(parser.SetModelElmt(other.root()));
    EXPECT_THAT(Load(parser, c.xml), HasCode(c.code, false)) << c.xml;
    EXPECT_THAT(parser.GetStatus(), HasCode(c.code, false)) << c.xml;
    EXPECT_EQ(parser.GetRootElement() != nullptr, c.code == 0) << c.xml;
    EXPECT_EQ(parser.SetModelElmt(other.root()), c.code == 0) << c.xml;
    EXPECT_EQ(parser.m_transDictElmt != nullptr, c.transDict) << c.xml;
    EXPECT_EQ(parser.GetErrorCount() > 0, c.errors) << c.xml;
    EXPECT_EQ(parser.GetXercesMessage(), "") << c.xml;
  }
}

TEST(ParseToDOMTest, ALoadClearsTheModelAndTakesTheFirstDictionary) {
  ProbeParser parser;
  InlineDoc other("<M/>");
  ASSERT_THAT(Load(parser, kGood), IsOk());
  ASSERT_TRUE(parser.SetModelElmt(other.root()));
  ASSERT_THAT(Load(parser, "<PMML><DataDictionary n='1'/><DataDictionary/></PMML>"), IsOk());
  EXPECT_EQ(parser.m_dataDictElmt, parser.GetRootElement()->getFirstElementChild());
  EXPECT_EQ(parser.m_modelElmt, nullptr);
  // A subclass may fail a load the base accepted: the stored status then rules.
  parser.m_status = MCCommon_1_3::MCStatus(119, false);
  EXPECT_FALSE(parser.SetModelElmt(other.root()));
}

// Runs `hook` on the first read.
struct HookBuf : std::stringbuf {
  HookBuf(const std::string& text, std::function<void()> hook)
      : std::stringbuf(text), hook(std::move(hook)) {}
  std::streamsize xsgetn(char* s, std::streamsize n) override {
    if (hook) std::exchange(hook, nullptr)();
    return std::stringbuf::xsgetn(s, n);
  }
  std::function<void()> hook;
};

// Parsing again from inside a parse makes the XML parser throw, with or without
// the options that are set before each parse.
TEST(ParseToDOMTest, TheParsersOwnExceptionIs104WithItsMessage) {
  for (const bool options : {false, true}) {
    ProbeParser parser;
    parser.SetSecureProcessing(options);
    parser.SetElementPlaces(options);
    MCCommon_1_3::MCStatus inner;
    HookBuf again(kGood, [&] { inner = Load(parser, kGood); });
    std::istream in(&again);
    EXPECT_THAT(parser.ParseToDOM(in), HasCode(104, false));
    EXPECT_THAT(inner, HasCode(104, false));
    EXPECT_NE(parser.GetXercesMessage(), "");
    EXPECT_EQ(parser.GetRootElement(), nullptr);
    ASSERT_THAT(Load(parser, kGood), IsOk());
    EXPECT_EQ(parser.GetXercesMessage(), "");
  }
}

// Secured, a document type declaration ends the parse where it stands, with the
// error counted and kept; off again after on gives the same parser its defaults.
TEST(ParseToDOMTest, SecureProcessingRefusesDocumentTypes) {
  const mcxml_test::TempFolder folder;
  const std::string path = folder.Path("entity.txt");
  std::ofstream(path) << "outside";
  ProbeParser parser;
  for (const bool secure : {false, true, false}) {
    parser.SetSecureProcessing(secure);
    const MCCommon_1_3::MCStatus load =
        Load(parser, "<!DOCTYPE PMML [<!ENTITY e SYSTEM 'file://" + path +
                         "'>]>\n<PMML><DataDictionary/>&e;</PMML>");
    ASSERT_THAT(load, HasCode(secure ? 105 : 0, false));
    EXPECT_EQ(parser.GetErrorCount(), secure ? 1u : 0u);
    EXPECT_EQ(parser.GetFirstXMLError().has_value(), secure);
    if (secure) {
      EXPECT_EQ(parser.GetFirstXMLError()->place.line, 1u);
      EXPECT_NE(parser.GetFirstXMLError()->message.find("document type"), std::string::npos);
    } else {
      EXPECT_EQ(MCXML_1_3::ToUTF8(parser.GetRootElement()->getTextContent()), "outside");
    }
  }
}

}  // namespace
