// Command line of the mcxml tool: the commands, their options and the help text.
#ifndef MCXML_TOOLS_MCXML_COMMAND_LINE_H
#define MCXML_TOOLS_MCXML_COMMAND_LINE_H

#include <string>
#include <vector>

namespace MCXML_1_3 {
namespace tool {

enum class Command { kHelp, kVersion, kVarList, kStats, kSettingsVarList, kQuery, kCopy, kCheck };

/// What the command line asks for; options that a command does not take stay at
/// their defaults.
struct Invocation {
  Command command = Command::kHelp;
  bool trust = false;
  bool bins = false;
  /// Build the whole DOM rather than only what the command reads.
  bool whole = false;
  std::vector<std::string> names;
  int model = 0;
  /// check's output: "json", "text", "jsonl", "sarif" or "github".
  std::string format = "json";
  /// check's threads; 0 for one a core.
  int jobs = 0;
  /// FILE, QUERY..., IN OUT: the arguments that are not options, in order.
  std::vector<std::string> operands;
};

/// Reads the arguments after the program name. False, with a one-line `error`,
/// for anything the usage does not allow; operand counts are checked here too.
bool ParseCommandLine(const std::vector<std::string>& args, Invocation& out, std::string& error);

/// The text that --help prints.
const char* HelpText();

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_COMMAND_LINE_H
