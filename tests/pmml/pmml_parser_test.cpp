// Loading a PMML document: outline codes, what stays reachable after each, the
// parser's message and error count, streams and the model element.
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "mcxml/xml/dom_access.h"
#include "pmml_test_support.h"

namespace {

using MCXML_1_3::MCVarList;
using mcxml_test::HasCode;
using mcxml_test::InlineDoc;
using mcxml_test::IsOk;
using mcxml_test::ProbeParser;

const std::string kGood = "<PMML><DataDictionary/></PMML>";

// A stream buffer that runs `hook` once, on the first read.
class HookBuf : public std::stringbuf {
 public:
  HookBuf(const std::string& text, std::function<void()> hook)
      : std::stringbuf(text), m_hook(std::move(hook)) {}

 protected:
  std::streamsize xsgetn(char* s, std::streamsize n) override {
    if (m_hook) std::exchange(m_hook, nullptr)();
    return std::stringbuf::xsgetn(s, n);
  }

 private:
  std::function<void()> m_hook;
};

TEST(ParseToDOMTest, OutlineCodesAndWhatStaysReachable) {
  const struct {
    std::string xml;
    long code;
    bool transDict;
  } cases[] = {
      {kGood, 0, false},
      {"<PMML><Header/><DataDictionary/><TransformationDictionary/></PMML>", 0, true},
      {"<pmml><DataDictionary/></pmml>", 105, false},
      {"<p:PMML xmlns:p='urn:x'><DataDictionary/></p:PMML>", 105, false},
      {"", 105, false},
      // An unknown encoding is only counted by the parser: no root, no exception.
      {"<?xml version='1.0' encoding='no-such'?><PMML><DataDictionary/></PMML>", 105, false},
      {"<PMML><Header><DataDictionary/></Header></PMML>", 106, false},
      {"<PMML><datadictionary/></PMML>", 106, false},
  };
  InlineDoc other("<M/>");
  for (const auto& c : cases) {
    ProbeParser parser;
    EXPECT_THAT(parser.Load(c.xml), HasCode(c.code, false)) << c.xml;
    EXPECT_THAT(parser.GetStatus(), HasCode(c.code, false)) << c.xml;
    EXPECT_EQ(parser.GetRootElement() != nullptr, c.code == 0) << c.xml;
    EXPECT_EQ(parser.SetModelElmt(other.root()), c.code == 0) << c.xml;
    EXPECT_EQ(parser.m_transDictElmt != nullptr, c.transDict) << c.xml;
    EXPECT_EQ(parser.GetXercesMessage(), "") << c.xml;
  }
}

TEST(ParseToDOMTest, FirstDataDictionaryCountsAndStreamStartsWhereItStands) {
  ProbeParser parser;
  std::istringstream in("<Other/><PMML><DataDictionary n='1'/><DataDictionary/></PMML>");
  in.seekg(8);
  ASSERT_THAT(parser.ParseToDOM(in), IsOk());
  EXPECT_EQ(parser.m_dataDictElmt, parser.GetRootElement()->getFirstElementChild());
}

TEST(ParseToDOMTest, ErrorCountFollowsTheLastParse) {
  ProbeParser parser;
  EXPECT_EQ(parser.GetErrorCount(), 0u);
  // Truncated: the parser counts the error and still builds the outline.
  EXPECT_THAT(parser.Load("<PMML><DataDictionary/>"), IsOk());
  EXPECT_GT(parser.GetErrorCount(), 0u);
  EXPECT_THAT(parser.Load(kGood), IsOk());
  EXPECT_EQ(parser.GetErrorCount(), 0u);
}

TEST(ParseToDOMTest, ParseExceptionMessageLastsUntilTheNextLoad) {
  ProbeParser parser;
  MCCommon_1_3::MCStatus inner;
  std::string innerMessage;
  // Parsing again from inside a parse is the one way the parser throws.
  HookBuf buf(kGood, [&] {
    std::istringstream again(kGood);
    inner = parser.ParseToDOM(again);
    innerMessage = parser.GetXercesMessage();
  });
  std::istream in(&buf);
  EXPECT_THAT(parser.ParseToDOM(in), HasCode(104, false));
  EXPECT_THAT(inner, HasCode(104, false));
  EXPECT_NE(innerMessage, "");
  EXPECT_EQ(parser.GetXercesMessage(), innerMessage);
  EXPECT_EQ(parser.GetRootElement(), nullptr);

  EXPECT_THAT(parser.Load(kGood), IsOk());
  EXPECT_EQ(parser.GetXercesMessage(), "");
}

TEST(ParseToDOMTest, OtherExceptionsPassLeavingNothingLoaded) {
  ProbeParser parser;
  ASSERT_THAT(parser.Load(kGood), IsOk());
  HookBuf buf(kGood, [] { throw std::runtime_error("disk gone"); });
  std::istream in(&buf);
  in.exceptions(std::ios::badbit);
  EXPECT_THROW((void)parser.ParseToDOM(in), std::runtime_error);
  EXPECT_THAT(parser.GetStatus(), IsOk());
  EXPECT_EQ(parser.GetRootElement(), nullptr);
  MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, {}, false), HasCode(107, false));
  EXPECT_THAT(parser.Load(kGood), IsOk());
}

TEST(SetModelElmtTest, OnlyAfterALoadAndClearedByTheNext) {
  ProbeParser parser;
  InlineDoc other("<Model/>");
  EXPECT_FALSE(parser.SetModelElmt(other.root()));
  ASSERT_THAT(parser.Load(kGood), IsOk());
  EXPECT_TRUE(parser.SetModelElmt(other.root()));
  EXPECT_EQ(parser.m_modelElmt, &other.root());
  ASSERT_THAT(parser.Load(kGood), IsOk());
  EXPECT_EQ(parser.m_modelElmt, nullptr);
}

TEST(SecureProcessingTest, ExternalEntitiesAreReadOnlyWithoutIt) {
  const std::string path = testing::TempDir() + "pmml_parser_test_entity.txt";
  std::ofstream(path) << "outside";
  const std::string xml =
      "<!DOCTYPE PMML [<!ENTITY e SYSTEM 'file://" + path + "'>]><PMML><DataDictionary/>&e;</PMML>";
  ProbeParser parser;
  // Off again after on must give the defaults back to the same parser.
  for (const bool secure : {false, true, false}) {
    parser.SetSecureProcessing(secure);
    ASSERT_THAT(parser.Load(xml), IsOk());
    EXPECT_EQ(MCXML_1_3::ToUTF8(parser.GetRootElement()->getTextContent()),
              secure ? "" : "outside");
  }
  std::remove(path.c_str());
}

}  // namespace
