// Prints the variables of a PMML model: each field of the DataDictionary with its
// values, or, for a continuous field, the bins of its Discretize. Refuses a
// document that is not well-formed or that reaches outside itself.
//
//   variables credit_risk.pmml
#include <fstream>
#include <iostream>

#include "mcxml/common/format.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/pmml_parser.h"

using MCCommon_1_3::MCStatus;
using MCXML_1_3::Format;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: variables FILE\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "cannot open " << argv[1] << '\n';
    return 2;
  }

  MCXML_1_3::MCPMMLParser parser;
  // A document from elsewhere: refuse a document type declaration, and with it
  // every entity and every reference outside the document.
  parser.SetSecureProcessing(true);
  const MCStatus load = parser.ParseToDOM(in);
  // A malformed document still loads what precedes its first error, and a
  // refused declaration ends the parse there: both are counted.
  if (!load.IsOK() || parser.GetErrorCount() != 0) {
    std::cerr << argv[1] << ": refused (status " << load.GetCode() << ", " << parser.GetErrorCount()
              << " XML errors)";
    if (const auto error = parser.GetFirstXMLError()) {
      std::cerr << " line " << error->place.line << ", column " << error->place.column << ": "
                << error->message;
    }
    std::cerr << '\n';
    return 1;
  }

  MCXML_1_3::MCVarList vars;
  const MCStatus status = parser.FillVarList(vars, {}, /*useBins=*/true);
  // The variables read before a failure stay in the list: print them anyway.
  for (int i = 0; i < vars.GetCount(); ++i) {
    const MCXML_1_3::MCVariableInfo& var = vars.GetVarAt(i)->GetInfo();
    std::cout << var.name << " (" << var.label << "):";
    if (var.kind == MCXML_1_3::MCVariableInfo::Kind::Categorical) {
      for (const std::string& text : var.texts) std::cout << ' ' << text;
      for (double number : var.numbers) std::cout << ' ' << Format(number, false, nullptr);
    } else if (var.cutPoints) {
      std::cout << " cut at";
      for (double cut : *var.cutPoints) std::cout << ' ' << Format(cut, false, nullptr);
      // Bin labels belong to the variable's encoder.
      if (const auto& labels = vars.GetEncoderAt(i)->GetBinLabels()) {
        std::cout << " into";
        for (const std::string& label : *labels) std::cout << ' ' << label;
      }
    }
    std::cout << '\n';
  }
  if (!status.IsOK()) {
    std::cerr << "stopped after " << vars.GetCount() << " variables: status " << status.GetCode()
              << '\n';
    return 1;
  }
  return 0;
}
