// mcxml: prints as JSON what the mcxml library reads from a document.
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "copy_command.h"
#include "pmml_commands.h"
#include "settings_commands.h"

namespace {

using MCXML_1_3::tool::Command;
using MCXML_1_3::tool::Invocation;

int Run(const Invocation& invocation, std::string& error) {
  switch (invocation.command) {
    case Command::kHelp:
      std::cout << MCXML_1_3::tool::HelpText();
      return 0;
    case Command::kVersion:
      std::cout << MCXML_VERSION << '\n';
      return 0;
    case Command::kVarList:
      return MCXML_1_3::tool::RunVarList(invocation, std::cout, error);
    case Command::kStats:
      return MCXML_1_3::tool::RunStats(invocation, std::cout, error);
    case Command::kSettingsVarList:
      return MCXML_1_3::tool::RunSettingsVarList(invocation, std::cout, error);
    case Command::kQuery:
      return MCXML_1_3::tool::RunQuery(invocation, std::cout, error);
    case Command::kCopy:
      return MCXML_1_3::tool::RunCopy(invocation, std::cout, error);
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  Invocation invocation;
  std::string error;
  if (!MCXML_1_3::tool::ParseCommandLine(args, invocation, error)) {
    std::cerr << "mcxml: " << error << " (see mcxml --help)\n";
    return 2;
  }
  const int status = Run(invocation, error);
  if (status == 2) std::cerr << "mcxml: " << error << '\n';
  std::cout.flush();
  // Output that did not reach its destination is not a success.
  if (!std::cout) return status == 0 ? 1 : status;
  return status;
}
