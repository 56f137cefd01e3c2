// The commands that read a build-settings document with MCSettingsParser:
// settings-varlist and query.
#ifndef MCXML_TOOLS_MCXML_SETTINGS_COMMANDS_H
#define MCXML_TOOLS_MCXML_SETTINGS_COMMANDS_H

#include <ostream>
#include <string>

#include "command_line.h"

namespace MCXML_1_3 {
namespace tool {

/// Each writes its JSON document to `out` and returns the exit status: 0 all OK,
/// 1 a status that is not OK, parse errors or (query) a path that cannot be
/// resolved, 2 (with `error` set and nothing written) for a QUERY that does not
/// follow the usage or a document that cannot be opened.
int RunSettingsVarList(const Invocation& invocation, std::ostream& out, std::string& error);
int RunQuery(const Invocation& invocation, std::ostream& out, std::string& error);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_SETTINGS_COMMANDS_H
