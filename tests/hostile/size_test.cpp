// Very deep and very large documents through the library's operations, each in
// a child process whose time and peak memory are bounded.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "hostile/hostile_support.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

namespace {

using MCCommon_1_3::MCStatus;
using MCXML_1_3::DOMElement;
using MCXML_1_3::MCPMMLParser;
using MCXML_1_3::MCSettingsParser;
using MCXML_1_3::MCUniStats;
using MCXML_1_3::MCVarList;
using MCXML_1_3::MCXMLReadWrite;
using mcxml_test::Nested;
using mcxml_test::OneFieldPmml;
using mcxml_test::RunInChild;

constexpr int kDepth = 100000;

// Address Sanitizer's shadow memory and quarantine raise every peak.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kMemoryScale = 3;
#else
constexpr long kMemoryScale = 1;
#endif

TEST(SizeTest, DeepNestingIsWalkedWithoutRecursion) {
  const mcxml_test::ChildRun run = RunInChild([] {
    alarm(120);
    // Deep inside the field and deep inside the model, after the statistics.
    const std::string model =
        "<TreeModel><ModelStats><UnivariateStats field=\"a\"><Counts totalFreq=\"2\"/>"
        "<DiscrStats><Array type=\"int\">2</Array></DiscrStats></UnivariateStats></ModelStats>" +
        Nested("<Node>", "<True/>", "</Node>", kDepth) + "</TreeModel>";
    std::string pmml = OneFieldPmml("a", "x", model);
    pmml.insert(pmml.find("</DataField>"), Nested("<Extension>", "", "</Extension>", kDepth));
    MCPMMLParser parser;
    parser.SetSecureProcessing(true);
    std::istringstream in(pmml);
    if (!parser.ParseToDOM(in).IsOK() || parser.GetErrorCount() != 0) return 1;
    MCVarList list;
    if (!parser.FillVarList(list, {}, true).IsOK() || list.GetCount() != 1) return 2;
    const DOMElement* tree = MCXML_1_3::GetFirstChildElmt(*parser.GetRootElement(), "TreeModel");
    if (tree == nullptr || !parser.SetModelElmt(*tree)) return 3;
    MCUniStats stats;
    const DOMElement* cursor = nullptr;
    if (!parser.FillUniStats(stats, cursor).IsOK() || stats.GetCounts().size() != 1) return 4;
    if (!parser.FillUniStats(stats, cursor).IsOK() || cursor != nullptr) return 5;

    // A parameter at the bottom of 100,000 nested groups.
    const std::string settings =
        "<PMML><MiningBuildTask><Extension><Parameters>" +
        Nested("<ComplexParameter name=\"g\">", "<Parameter name=\"p\" value=\"deep\"/>",
               "</ComplexParameter>", kDepth) +
        "</Parameters></Extension></MiningBuildTask><DataDictionary/></PMML>";
    MCSettingsParser settingsParser;
    settingsParser.SetSecureProcessing(true);
    std::istringstream settingsIn(settings);
    if (!settingsParser.ParseToDOM(settingsIn).IsOK()) return 6;
    void* group = nullptr;
    for (int level = 0; level < kDepth; ++level) {
      group = settingsParser.GetComplexParameter("g", group);
      if (group == nullptr) return 7;
    }
    std::string value;
    if (!settingsParser.GetParameter("p", value, group).IsOK() || value != "deep") return 8;

    // The writer refuses what its recursion could not take, and makes no file.
    MCXMLReadWrite reader;
    reader.SetSecureProcessing(true);
    in.clear();
    in.seekg(0);
    if (!reader.ParseToDOM(in).IsOK()) return 9;
    const std::string path = testing::TempDir() + "hostile_deep_" + std::to_string(getpid());
    if (reader.WriteFromDOM(path, nullptr) != MCStatus(118, false)) return 10;
    if (std::ifstream(path).good()) return 11;
    // 10,000 levels are still written.
    std::istringstream shallower(Nested("<a>", "", "</a>", 10000));
    if (!reader.ParseToDOM(shallower).IsOK() || !reader.WriteFromDOM(path, nullptr).IsOK()) {
      return 12;
    }
    std::remove(path.c_str());
    return 0;
  });
  EXPECT_TRUE(run.exited && run.exitCode == 0) << run << " (the exit code names the step)";
  EXPECT_LT(run.peakKb, kMemoryScale * 512 * 1024) << run;
}

// A 64 MB attribute value reaches the variable list and a settings value whole.
TEST(SizeTest, A64MegabyteAttributeIsReadWhole) {
  constexpr size_t kSize = 64u << 20;
  const mcxml_test::ChildRun run = RunInChild([] {
    alarm(120);
    std::string big(kSize, 'v');
    big[0] = 'A';
    big[kSize - 1] = 'Z';
    {
      MCPMMLParser parser;
      parser.SetSecureProcessing(true);
      std::istringstream in(OneFieldPmml("a", big));
      if (!parser.ParseToDOM(in).IsOK() || parser.GetErrorCount() != 0) return 1;
      MCVarList list;
      if (!parser.FillVarList(list, {}, false).IsOK()) return 2;
      if (list.GetVarAt(0)->GetInfo().texts != std::vector<std::string>{big}) return 3;
    }
    MCSettingsParser parser;
    parser.SetSecureProcessing(true);
    std::istringstream in(
        "<PMML><MiningBuildTask><Extension><Parameters><Parameter name=\"p\" value=\"" + big +
        "\"/></Parameters></Extension></MiningBuildTask><DataDictionary/></PMML>");
    if (!parser.ParseToDOM(in).IsOK()) return 4;
    std::string value;
    if (!parser.GetParameter("p", value, nullptr).IsOK() || value != big) return 5;
    return 0;
  });
  EXPECT_TRUE(run.exited && run.exitCode == 0) << run << " (the exit code names the step)";
  EXPECT_LT(run.peakKb, kMemoryScale * 1024 * 1024) << run;
}

}  // namespace
