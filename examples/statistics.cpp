// Walks the univariate statistics of a PMML model, one field at a time: the
// counts of a categorical field, the summary and histogram of a continuous one.
//
//   statistics credit_risk.pmml
#include <fstream>
#include <iostream>
#include <vector>

#include "mcxml/common/format.h"
#include "mcxml/common/missing_value.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"

using MCCommon_1_3::MCStatus;
using MCXML_1_3::DOMElement;

namespace {

std::string Text(double value) {
  return MCXML_1_3::Format(value, false, nullptr);  // the missing value gives "NaN"
}

// An open end of a histogram is the missing value.
std::string End(double cut) {
  return cut == MCCommon_1_3::MCMV::gMissingValue ? "" : Text(cut);
}

void Print(const MCXML_1_3::MCUniStats& stats) {
  std::cout << stats.GetName() << ": " << Text(stats.GetTotalFreq()) << " cases,";
  if (stats.GetKind() == MCXML_1_3::MCUniStats::Kind::Categorical) {
    std::cout << " counts";
    for (double count : stats.GetCounts()) std::cout << ' ' << Text(count);
  } else {
    const MCXML_1_3::MCUniStats::SummStats& summary = stats.GetSummStats();
    std::cout << " mean " << Text(summary.mean) << ", sd " << Text(summary.standardDeviation);
    // Frequency i lies between cut points i and i + 1.
    const std::vector<double>& cuts = stats.GetCutPoints();
    for (std::size_t i = 0; i < stats.GetFreqs().size(); ++i) {
      std::cout << (i == 0 ? ", histogram " : ", ") << End(cuts[i]) << ".." << End(cuts[i + 1])
                << ' ' << Text(stats.GetFreqs()[i]);
    }
  }
  std::cout << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: statistics FILE\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "cannot open " << argv[1] << '\n';
    return 2;
  }
  MCXML_1_3::MCPMMLParser parser;
  parser.SetSecureProcessing(true);
  if (!parser.ParseToDOM(in).IsOK() || parser.GetErrorCount() != 0) {
    std::cerr << argv[1] << ": not a well-formed PMML document\n";
    return 1;
  }
  const DOMElement* model = MCXML_1_3::GetModelElmt(*parser.GetRootElement(), 0);
  if (model == nullptr || !parser.SetModelElmt(*model)) {
    std::cerr << argv[1] << ": no model\n";
    return 1;
  }
  std::cout << "model " << MCXML_1_3::ToUTF8(model->getTagName()) << '\n';

  // The cursor names the UnivariateStats element last read; null starts the walk,
  // and null again (with OK) ends it. A field that fails leaves the cursor on it,
  // so the next call goes on with the field after it.
  int failures = 0;
  const DOMElement* cursor = nullptr;
  for (;;) {
    MCXML_1_3::MCUniStats stats;
    const DOMElement* before = cursor;
    const MCStatus status = parser.FillUniStats(stats, cursor);
    if (cursor == nullptr || cursor == before) {  // the end, or a failure before the walk
      if (!status.IsOK()) ++failures;
      break;
    }
    if (status.IsOK()) {
      Print(stats);
    } else {
      ++failures;
      std::cout << MCXML_1_3::ToUTF8(MCXML_1_3::GetAttribute(*cursor, "field")) << ": status "
                << status.GetCode() << '\n';
    }
  }
  return failures == 0 ? 0 : 1;
}
