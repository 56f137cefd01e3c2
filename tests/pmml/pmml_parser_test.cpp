// Loading a PMML document: outline codes and what stays reachable after each, the
// parser's message and error count, and a parse from inside a parse.
#include <functional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "mcxml/xml/dom_access.h"
#include "pmml_test_support.h"

namespace {

using namespace mcxml_test;

const std::string kGood = "<PMML><DataDictionary/></PMML>";

// One parser loads each in turn: a load replaces the last one and clears the model.
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
      {"<PMML><DataDictionary n='1'/><DataDictionary/></PMML>", 0, false, false},
      {"", 105, false, true},
      {"<PMML><Header><DataDictionary/></Header></PMML>", 106, false, false},
      {"<PMML><datadictionary/></PMML>", 106, false, false},
  };
  InlineDoc other("<M/>");
  ProbeParser parser;
  EXPECT_FALSE(parser.SetModelElmt(other.root()));
  EXPECT_TRUE(parser.CheckDocument(true).empty()) << "before any load";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xml);
    EXPECT_THAT(Load(parser, c.xml), HasCode(c.code, false));
    EXPECT_THAT(parser.GetStatus(), HasCode(c.code, false));
    EXPECT_EQ(parser.m_modelElmt, nullptr);
    EXPECT_EQ(parser.GetRootElement() != nullptr, c.code == 0);
    if (c.code == 0) {
      EXPECT_EQ(parser.m_dataDictElmt,
                MCXML_1_3::GetFirstChildElmt(*parser.GetRootElement(), "DataDictionary"));
    }
    EXPECT_EQ(parser.SetModelElmt(other.root()), c.code == 0);
    EXPECT_EQ(parser.m_transDictElmt != nullptr, c.transDict);
    EXPECT_EQ(parser.GetErrorCount() > 0, c.errors);
    EXPECT_EQ(parser.GetXercesMessage(), "");
  }
  // A subclass may fail a load the base accepted: the stored status then rules.
  ASSERT_THAT(Load(parser, kGood), IsOk());
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

}  // namespace
