// The commands that read a PMML document with MCPMMLParser: varlist and stats.
#ifndef MCXML_TOOLS_MCXML_PMML_COMMANDS_H
#define MCXML_TOOLS_MCXML_PMML_COMMANDS_H

#include <ostream>
#include <string>

#include "command_line.h"

namespace MCXML_1_3 {
namespace tool {

/// Each writes its JSON document to `out` and returns the exit status: 0 all OK,
/// 1 a status that is not OK or parse errors, 2 (with `error` set and nothing
/// written) when the document cannot be opened.
int RunVarList(const Invocation& invocation, std::ostream& out, std::string& error);
int RunStats(const Invocation& invocation, std::ostream& out, std::string& error);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_PMML_COMMANDS_H
