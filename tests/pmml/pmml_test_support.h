// Helpers for the PMML tests: documents built from their parts and a parser that
// shows its protected state.
#ifndef MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
#define MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H

#include <sstream>
#include <string>

#include "mcxml/pmml/pmml_parser.h"
#include "test_support.h"

namespace mcxml_test {

/// A PMML document with this DataDictionary content and `rest` after it.
inline std::string Pmml(const std::string& dict, const std::string& rest = "") {
  return "<PMML><DataDictionary>" + dict + "</DataDictionary>" + rest + "</PMML>";
}

class ProbeParser : public MCXML_1_3::MCPMMLParser {
 public:
  using MCPMMLParser::m_dataDictElmt;
  using MCPMMLParser::m_modelElmt;
  using MCPMMLParser::m_status;
  using MCPMMLParser::m_transDictElmt;
  using MCPMMLParser::SetBinsFrTransDict;

  MCCommon_1_3::MCStatus Load(const std::string& xml) {
    std::istringstream in(xml);
    return ParseToDOM(in);
  }
};

}  // namespace mcxml_test

#endif  // MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
