// Helpers for the PMML tests: documents built from their dictionaries, loading
// from a string, and a parser that shows its protected state.
#ifndef MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
#define MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H

#include <cfloat>
#include <sstream>
#include <string>

#include "mcxml/pmml/pmml_parser.h"
#include "test_support.h"

namespace mcxml_test {

constexpr double kMax = DBL_MAX;

/// A PMML document with this DataDictionary content and, unless `trans` is null,
/// a TransformationDictionary with that content.
inline std::string Pmml(const std::string& dict, const char* trans = nullptr) {
  return "<PMML><DataDictionary>" + dict + "</DataDictionary>" +
         (trans ? std::string("<TransformationDictionary>") + trans + "</TransformationDictionary>"
                : std::string()) +
         "</PMML>";
}

/// The parser with its protected members and bins reader made visible.
class ProbeParser : public MCXML_1_3::MCPMMLParser {
 public:
  using MCPMMLParser::m_dataDictElmt;
  using MCPMMLParser::m_modelElmt;
  using MCPMMLParser::m_transDictElmt;
  using MCPMMLParser::SetBinsFrTransDict;

  MCCommon_1_3::MCStatus Load(const std::string& xml) {
    std::istringstream in(xml);
    return ParseToDOM(in);
  }
};

}  // namespace mcxml_test

#endif  // MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
