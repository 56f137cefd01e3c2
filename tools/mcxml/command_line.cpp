// Command line of the mcxml tool: option parsing and the help text.
#include "command_line.h"

#include <cstddef>
#include <limits>

namespace MCXML_1_3 {
namespace tool {

namespace {

// The options, one bit each, so that a command lists those it takes.
enum Option : unsigned {
  kTrust = 1,
  kBins = 2,
  kWhole = 4,
  kName = 8,
  kModel = 16,
  kFormat = 32,
  kJobs = 64,
};

struct CommandInfo {
  const char* name;
  Command command;
  unsigned options;
  std::size_t minOperands;
  std::size_t maxOperands;
  const char* operandText;
};

constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();

const CommandInfo kCommands[] = {
    {"varlist", Command::kVarList, kTrust | kBins | kWhole | kName, 1, 1, "one FILE"},
    {"stats", Command::kStats, kTrust | kWhole | kModel, 1, 1, "one FILE"},
    {"settings-varlist", Command::kSettingsVarList, kTrust | kBins | kWhole, 1, 1, "one FILE"},
    {"query", Command::kQuery, kTrust | kWhole, 2, kUnbounded, "FILE and at least one QUERY"},
    {"copy", Command::kCopy, kTrust, 2, 2, "IN and OUT"},
    {"check", Command::kCheck, kTrust | kBins | kWhole | kFormat | kJobs, 1, kUnbounded,
     "at least one FILE"},
};

constexpr const char* kFormats[] = {"json", "text", "jsonl", "sarif", "github"};

// Digits only, at most `digits` of them: a sign or a blank would make an option
// silently mean something else.
bool ParseCount(const std::string& text, std::size_t digits, int& out) {
  if (text.empty() || text.size() > digits) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  out = value;
  return true;
}

// Each option: its spellings, and what its value (if it takes one) sets.
struct OptionInfo {
  Option option;
  const char* name;
  const char* shortName;   // "-j", or null
  const char* valueError;  // null when the option takes no value
  bool (*take)(const std::string& value, Invocation& out);
};

const OptionInfo kOptions[] = {
    {kTrust, "--trust", nullptr, nullptr,
     [](const std::string&, Invocation& out) { return out.trust = true; }},
    {kBins, "--bins", nullptr, nullptr,
     [](const std::string&, Invocation& out) { return out.bins = true; }},
    {kWhole, "--whole", nullptr, nullptr,
     [](const std::string&, Invocation& out) { return out.whole = true; }},
    {kName, "--name", nullptr, "--name needs a NAME",
     [](const std::string& value, Invocation& out) {
       out.names.push_back(value);
       return true;
     }},
    {kModel, "--model", nullptr, "--model needs a non-negative number",
     [](const std::string& value, Invocation& out) { return ParseCount(value, 9, out.model); }},
    {kFormat, "--format", nullptr, "--format needs json, text, jsonl, sarif or github",
     [](const std::string& value, Invocation& out) {
       for (const char* format : kFormats) {
         if (value == format) out.format = value;
       }
       return out.format == value;
     }},
    {kJobs, "--jobs", "-j", "-j needs a number of threads from 1 to 999",
     [](const std::string& value, Invocation& out) {
       return ParseCount(value, 3, out.jobs) && out.jobs > 0;
     }},
};

// The option `arg` spells, given as "--opt", "--opt=VALUE", "-j" or "-jVALUE", with
// `inline` set to the value it carries itself, if any.
const OptionInfo* Spelled(const std::string& arg, std::string& value, bool& carried) {
  for (const OptionInfo& info : kOptions) {
    for (const char* spelling : {info.name, info.shortName}) {
      if (spelling == nullptr) continue;
      const std::size_t length = std::string(spelling).size();
      if (arg.compare(0, length, spelling) != 0) continue;
      if (arg.size() == length) {
        carried = false;
        return &info;
      }
      const bool isShort = spelling == info.shortName;
      if (info.valueError != nullptr && (isShort || arg[length] == '=')) {
        value = arg.substr(length + (isShort ? 0 : 1));
        carried = true;
        return &info;
      }
    }
  }
  return nullptr;
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
    std::string value;
    bool carried = false;
    const OptionInfo* option = Spelled(arg, value, carried);
    if (option != nullptr && option->valueError != nullptr && !carried) ++i;
  }
  return false;
}

// The command, after any --trust before it (which means the same for every
// command); `first` is then where the command stands.
const CommandInfo* FindCommand(const std::vector<std::string>& args, std::size_t& first,
                               std::string& error) {
  first = 0;
  while (first < args.size() && args[first] == "--trust") ++first;
  for (const CommandInfo& candidate : kCommands) {
    if (first < args.size() && args[first] == candidate.name) return &candidate;
  }
  error = first < args.size() ? "unknown command '" + args[first] + "'" : "no command given";
  return nullptr;
}

// The options and operands after the command.
bool ReadArguments(const std::vector<std::string>& args, std::size_t first,
                   const CommandInfo& command, Invocation& out, std::string& error) {
  bool optionsEnded = false;
  for (std::size_t i = first + 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      out.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string value;
    bool carried = false;
    const OptionInfo* option = Spelled(arg, value, carried);
    if (option == nullptr || (command.options & option->option) == 0) {
      error = "unknown option '" + arg + "' for " + command.name;
      return false;
    }
    if (option->valueError != nullptr && !carried) {
      if (i + 1 >= args.size()) {
        error = option->valueError;
        return false;
      }
      value = args[++i];
    }
    if (!option->take(value, out)) {
      error = option->valueError;
      return false;
    }
  }
  if (out.operands.size() < command.minOperands || out.operands.size() > command.maxOperands) {
    error = std::string(command.name) + " takes " + command.operandText;
    return false;
  }
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, Invocation& out, std::string& error) {
  out = Invocation();
  if (InformationAsked(args, out.command)) return true;
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  std::size_t first = 0;
  const CommandInfo* command = FindCommand(args, first, error);
  if (command == nullptr) return false;
  out.command = command->command;
  out.trust = first > 0;
  return ReadArguments(args, first, *command, out, error);
}

const char* HelpText() {
  return R"(Usage:
  mcxml varlist [--bins] [--name NAME]... [--whole] FILE
  mcxml stats [--model N] [--whole] FILE
  mcxml settings-varlist [--bins] [--whole] FILE
  mcxml query [--whole] FILE QUERY...
  mcxml copy IN OUT
  mcxml check [--bins] [-j N] [--format F] [--whole] FILE...
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
  check             every problem the library finds in each FILE, with its line
                    and column: the XML parser's first error, the load, each
                    DataField (--bins: with its bins), each model's statistics
                    and, in a build-settings document, each parameter. A folder
                    stands for the .pmml and .xml files under it; documents are
                    checked on -j N threads (default: one a core) and printed
                    in order. --format json (default), text
                    (FILE:LINE:COLUMN: error CODE: reason), jsonl (a line a
                    document), sarif (SARIF 2.1.0) or github (workflow
                    commands)

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
     (check: no document has an error; warnings do not count)
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
