// Reads what a tree builder needs from a build-settings document: typed parameters,
// a nested group, the variables by role and a matrix. A parameter the document does
// not set keeps the program's default.
//
//   settings build_settings.pmml
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "mcxml/settings/settings_parser.h"

using MCCommon_1_3::MCStatus;

namespace {

// Getters write their output only on success. "No such parameter" (120) and "no
// value" (123) come with the warning flag: the default stands. Anything else is an
// error in the document.
template <class T>
bool Read(const MCXML_1_3::MCSettingsParser& parser, const char* name, T& value, void* group) {
  const MCStatus status = parser.GetParameter(name, value, group);
  if (status.IsOK() || status.IsWarning()) return true;
  std::cerr << "parameter " << name << ": status " << status.GetCode() << '\n';
  return false;
}

void PrintList(const char* title, const std::vector<std::string>& names) {
  std::cout << title << ':';
  for (const std::string& name : names) std::cout << ' ' << name;
  std::cout << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: settings FILE\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "cannot open " << argv[1] << '\n';
    return 2;
  }
  MCXML_1_3::MCSettingsParser parser;
  parser.SetSecureProcessing(true);
  const MCStatus load = parser.ParseToDOM(in);
  if (!load.IsOK() || parser.GetErrorCount() != 0) {
    // 119: a PMML document, but without MiningBuildTask/Extension/Parameters.
    std::cerr << argv[1] << ": not a settings document (status " << load.GetCode() << ")\n";
    return 1;
  }

  std::string modelName = "unnamed";
  int depth = 5;
  int minLeafSize = 1;
  int surrogates = 5;  // the example document does not set it
  double alpha = 0.0;
  // Groups are ComplexParameter elements, named by a handle valid until the next load.
  void* tree = parser.GetComplexParameter("tree", nullptr);
  void* pruning = tree != nullptr ? parser.GetComplexParameter("pruning", tree) : nullptr;
  const bool ok = Read(parser, "modelName", modelName, nullptr) &&
                  Read(parser, "depth", depth, tree) &&
                  Read(parser, "minLeafSize", minLeafSize, tree) &&
                  Read(parser, "surrogates", surrogates, nullptr) &&
                  (pruning == nullptr || Read(parser, "alpha", alpha, pruning));
  if (!ok) return 1;
  std::cout << modelName << ": depth " << depth << ", leaves of at least " << minLeafSize << ", "
            << surrogates << " surrogates, pruning alpha " << alpha << '\n';

  std::vector<std::string> targets, inputs;
  if (parser.GetTargetVars(targets).IsOK() && parser.GetPredictors(inputs).IsOK()) {
    PrintList("targets", targets);
    PrintList("inputs", inputs);
  }

  std::vector<std::vector<double>> costs;
  if (parser.GetMatrix("misclassificationCosts", costs, nullptr).IsOK()) {
    for (const std::vector<double>& row : costs) {
      std::cout << "cost";
      for (double cost : row) std::cout << ' ' << cost;
      std::cout << '\n';
    }
  }
  return 0;
}
