// Command line of the mcxml tool: option parsing and the help text.
#include "command_line.h"

#include <cstddef>
#include <limits>

namespace MCXML_1_3 {
namespace tool {

namespace {

struct CommandInfo {
  const char* name;
  Command command;
  bool takesBins;
  bool takesNames;
  bool takesModel;
  bool takesFormat;
  bool takesWhole;
  std::size_t minOperands;
  std::size_t maxOperands;
};

constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();

const CommandInfo kCommands[] = {
    {"varlist", Command::kVarList, true, true, false, false, true, 1, 1},
    {"stats", Command::kStats, false, false, true, false, true, 1, 1},
    {"settings-varlist", Command::kSettingsVarList, true, false, false, false, true, 1, 1},
    {"query", Command::kQuery, false, false, false, false, true, 2, kUnbounded},
    {"copy", Command::kCopy, false, false, false, false, false, 2, 2},
    {"check", Command::kCheck, true, false, false, true, true, 1, 1},
};

const char* OperandText(Command command) {
  switch (command) {
    case Command::kQuery:
      return "FILE and at least one QUERY";
    case Command::kCopy:
      return "IN and OUT";
    case Command::kVarList:
    case Command::kStats:
    case Command::kSettingsVarList:
    case Command::kCheck:
      return "one FILE";
    case Command::kHelp:
    case Command::kVersion:
      break;
  }
  return "no operands";
}

// Digits only: a sign or a blank would make "--model" silently mean something else.
bool ParseIndex(const std::string& text, int& out) {
  if (text.empty() || text.size() > 9) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  out = value;
  return true;
}

// The value of an option given as "--opt VALUE" or "--opt=VALUE"; advances `i`
// past a separate value.
bool OptionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& option,
                 std::string& value) {
  const std::string& arg = args[i];
  if (arg.size() > option.size() && arg.compare(0, option.size(), option) == 0 &&
      arg[option.size()] == '=') {
    value = arg.substr(option.size() + 1);
    return true;
  }
  if (arg != option || i + 1 >= args.size()) return false;
  value = args[++i];
  return true;
}

bool HasPrefix(const std::string& arg, const std::string& option) {
  return arg == option || arg.compare(0, option.size() + 1, option + "=") == 0;
}

// --help and --version count wherever they stand before "--"; the word after an
// option that takes a separate value is that value, not an option.
bool InformationAsked(const std::vector<std::string>& args, Command& command) {
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h" || arg == "--version") {
      command = arg == "--version" ? Command::kVersion : Command::kHelp;
      return true;
    }
    if (arg == "--name" || arg == "--model" || arg == "--format") ++i;
  }
  return false;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, Invocation& out, std::string& error) {
  out = Invocation();
  if (InformationAsked(args, out.command)) return true;
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  // --trust is taken before the command too: it means the same for every command.
  std::size_t first = 0;
  while (first < args.size() && args[first] == "--trust") ++first;
  const CommandInfo* info = nullptr;
  for (const CommandInfo& candidate : kCommands) {
    if (first < args.size() && args[first] == candidate.name) info = &candidate;
  }
  if (info == nullptr) {
    error = first < args.size() ? "unknown command '" + args[first] + "'" : "no command given";
    return false;
  }
  out.command = info->command;
  out.trust = first > 0;

  bool optionsEnded = false;
  for (std::size_t i = first + 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      out.operands.push_back(arg);
      continue;
    }
    std::string value;
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--trust") {
      out.trust = true;
    } else if (info->takesBins && arg == "--bins") {
      out.bins = true;
    } else if (info->takesWhole && arg == "--whole") {
      out.whole = true;
    } else if (info->takesNames && HasPrefix(arg, "--name")) {
      if (!OptionValue(args, i, "--name", value)) {
        error = "--name needs a NAME";
        return false;
      }
      out.names.push_back(value);
    } else if (info->takesModel && HasPrefix(arg, "--model")) {
      if (!OptionValue(args, i, "--model", value) || !ParseIndex(value, out.model)) {
        error = "--model needs a non-negative number";
        return false;
      }
    } else if (info->takesFormat && HasPrefix(arg, "--format")) {
      if (!OptionValue(args, i, "--format", value) || (value != "json" && value != "text")) {
        error = "--format needs json or text";
        return false;
      }
      out.format = value;
    } else {
      error = "unknown option '" + arg + "' for " + info->name;
      return false;
    }
  }
  if (out.operands.size() < info->minOperands || out.operands.size() > info->maxOperands) {
    error = std::string(info->name) + " takes " + OperandText(info->command);
    return false;
  }
  return true;
}

const char* HelpText() {
  return R"(Usage:
  mcxml varlist [--bins] [--name NAME]... [--whole] FILE
  mcxml stats [--model N] [--whole] FILE
  mcxml settings-varlist [--bins] [--whole] FILE
  mcxml query [--whole] FILE QUERY...
  mcxml copy IN OUT
  mcxml check [--bins] [--format json|text] [--whole] FILE
  mcxml --help | --version

Reads a PMML or build-settings document with the mcxml library and prints what
the library hands back as one JSON document on standard output.

Commands:
  varlist           variables of the DataDictionary (--bins: with the bins of the
                    TransformationDictionary; --name, repeatable: only these fields)
  stats             univariate statistics of the N-th model element (from 0,
                    default 0), one entry per field
  settings-varlist  variables of a build-settings document's DataDictionary
  query             answers each QUERY from a build-settings document's Parameters
  copy              parses IN and writes the document to the file OUT
  check             every problem the library finds in FILE, with its line and
                    column: the XML parser's first error, the load, each
                    DataField (--bins: with its bins), each model's statistics
                    and, in a build-settings document, each parameter;
                    --format text prints FILE:LINE:COLUMN: error CODE: reason

FILE (and IN) may be '-' for standard input. FILE, IN and OUT are local file
names, never addresses.

Options (--trust is taken by every command, before or after its name):
  --trust           read external entities and DTDs and expand entities without a
                    limit; without it no external resource is read
  --whole           build the whole document in memory (every command but copy
                    builds only the parts it reads, leaving out the body of each
                    model; the output is the same either way)

QUERY is KIND:NAME or KIND:NAME@PATH; KIND ends at the first ':', NAME at the
last '@'. PATH is a '/'-separated chain of ComplexParameter names, resolved from
the top level; the first name not found is reported as an error entry and the
query is not asked.
  string int double bool          the Parameter's value
  type                            its declared type (ParamString ... ParamUnknown)
  complex                         whether the ComplexParameter exists
  array-string array-int array-double       the Parameter as an array
  matrix-string matrix-int matrix-double    the MatrixParmeter's rows
  var vars                        variable names as one text or a list (no PATH)
  target inputs cat-responses cont-responses cat-predictors cont-predictors
  frequency-weight                the role lists; NAME is empty ('target:'), no PATH

Exit status:
  0  every status in the output is OK and the XML parser counted no error
     (check: no problem and no XML error)
  1  otherwise; for query also a PATH that cannot be resolved. The answers of
     'type' and 'complex' carry no status and never count as failures.
  2  a usage error, a FILE or IN that cannot be opened or an OUT that cannot be
     created (a line on standard error, nothing on standard output), or
     standard output that cannot be written; a write to OUT that fails once
     the file is open is reported as "write", exit 1

--help and --version may stand anywhere before '--'. Outside JSON, text from a
document or a file name is escaped (\n, \t, \\, \x1b, \u2028): one problem, one
line.
)";
}

}  // namespace tool
}  // namespace MCXML_1_3
