// MCPMMLParser::CheckDocument: every problem the PMML operations would meet.
#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/pmml/problems_internal.h"

namespace MCXML_1_3 {

std::vector<MCProblem> MCPMMLParser::CheckDocument(bool useBins) const {
  return CheckModel(m_status, useBins);
}

std::vector<MCProblem> MCPMMLParser::CheckModel(const MCStatus& load, bool useBins) const {
  ProblemList problems(*this, m_parser.get());
  if (!problems.AddLoad(load, m_xercesMessage) || m_document == nullptr) {
    return problems.Take();
  }
  CheckDataFields(*m_dataDictElmt, m_transDictElmt, useBins, kPmmlFieldRules, AddUnrangedContVar,
                  problems);
  problems.AddStatistics(*m_rootElmt);
  return problems.Take();
}

}  // namespace MCXML_1_3
