// Loading a PMML document: outline codes and what stays reachable after each, the
// parser's message and error count, exceptions, streams, secure processing.
#include <cstdio>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "mcxml/xml/dom_access.h"
#include "pmml_test_support.h"

namespace {

using namespace mcxml_test;

const std::string kGood = "<PMML><DataDictionary/></PMML>";

// Runs `hook` on the read numbered `when` (from 1).
struct HookBuf : std::stringbuf {
  HookBuf(const std::string& text, std::function<void()> hook, int when)
      : std::stringbuf(text), hook(std::move(hook)), when(when) {}
  std::streamsize xsgetn(char* s, std::streamsize n) override {
    if (--when == 0) hook();
    return std::stringbuf::xsgetn(s, n);
  }
  std::function<void()> hook;
  int when;
};

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
      {"<p:PMML xmlns:p='urn:x'><DataDictionary/></p:PMML>", 105, false, false},
      {"", 105, false, true},
      {"<?xml version='1.0' encoding='no-such'?><PMML><DataDictionary/></PMML>", 105, false, true},
      {"<PMML><Header><DataDictionary/></Header></PMML>", 106, false, false},
      {"<PMML><datadictionary/></PMML>", 106, false, false},
  };
  InlineDoc other("<M/>");
  for (const auto& c : cases) {
    ProbeParser parser;
    EXPECT_FALSE(parser.SetModelElmt(other.root()));
    EXPECT_THAT(parser.Load(c.xml), HasCode(c.code, false)) << c.xml;
    EXPECT_THAT(parser.GetStatus(), HasCode(c.code, false)) << c.xml;
    EXPECT_EQ(parser.GetRootElement() != nullptr, c.code == 0) << c.xml;
    EXPECT_EQ(parser.SetModelElmt(other.root()), c.code == 0) << c.xml;
    EXPECT_EQ(parser.m_transDictElmt != nullptr, c.transDict) << c.xml;
    EXPECT_EQ(parser.GetErrorCount() > 0, c.errors) << c.xml;
    EXPECT_EQ(parser.GetXercesMessage(), "") << c.xml;
  }
}

TEST(ParseToDOMTest, StreamPositionFirstDictionaryAndModelElement) {
  ProbeParser parser;
  InlineDoc other("<M/>");
  ASSERT_THAT(parser.Load(kGood), IsOk());
  ASSERT_TRUE(parser.SetModelElmt(other.root()));
  std::istringstream in("<Other/><PMML><DataDictionary n='1'/><DataDictionary/></PMML>");
  in.seekg(8);
  ASSERT_THAT(parser.ParseToDOM(in), IsOk());
  EXPECT_EQ(parser.m_dataDictElmt, parser.GetRootElement()->getFirstElementChild());
  EXPECT_EQ(parser.m_modelElmt, nullptr);
  // A subclass may fail a load the base accepted: the stored status then rules.
  parser.m_status = MCCommon_1_3::MCStatus(119, false);
  EXPECT_FALSE(parser.SetModelElmt(other.root()));
  MCXML_1_3::MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, {}, false), HasCode(119, false));
}

TEST(ParseToDOMTest, Exceptions) {
  ProbeParser parser;
  // Parsing again from inside a parse makes the XML parser throw its own exception.
  MCCommon_1_3::MCStatus inner;
  HookBuf again(
      kGood, [&] { inner = parser.Load(kGood); }, 1);
  std::istream in(&again);
  EXPECT_THAT(parser.ParseToDOM(in), HasCode(104, false));
  EXPECT_THAT(inner, HasCode(104, false));
  EXPECT_NE(parser.GetXercesMessage(), "");
  EXPECT_EQ(parser.GetRootElement(), nullptr);
  ASSERT_THAT(parser.Load(kGood), IsOk());
  EXPECT_EQ(parser.GetXercesMessage(), "");

  // Any other passes, leaving nothing loaded. Thrown on the second read, as one
  // from the first makes the XML parser leak its half-made reader.
  HookBuf fail(
      "<PMML><DataDictionary/>" + std::string(100000, ' ') + "</PMML>",
      [] { throw std::runtime_error("gone"); }, 2);
  std::istream failing(&fail);
  failing.exceptions(std::ios::badbit);
  EXPECT_THROW((void)parser.ParseToDOM(failing), std::runtime_error);
  EXPECT_THAT(parser.GetStatus(), IsOk());
  EXPECT_EQ(parser.GetRootElement(), nullptr);
  MCXML_1_3::MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, {}, false), HasCode(107, false));
}

TEST(ParseToDOMTest, SecureProcessingReadsNoExternalEntity) {
  const std::string path = testing::TempDir() + "pmml_parser_test_entity.txt";
  std::ofstream(path) << "outside";
  ProbeParser parser;
  // Off again after on must give the defaults back to the same parser.
  for (const bool secure : {false, true, false}) {
    parser.SetSecureProcessing(secure);
    ASSERT_THAT(parser.Load("<!DOCTYPE PMML [<!ENTITY e SYSTEM 'file://" + path +
                            "'>]><PMML><DataDictionary/>&e;</PMML>"),
                IsOk());
    EXPECT_EQ(MCXML_1_3::ToUTF8(parser.GetRootElement()->getTextContent()),
              secure ? "" : "outside");
  }
  std::remove(path.c_str());
}

}  // namespace
