// The check command: every problem the library finds in a PMML or build-settings
// document, with its place, as JSON or in the form compilers use.
#ifndef MCXML_TOOLS_MCXML_CHECK_COMMAND_H
#define MCXML_TOOLS_MCXML_CHECK_COMMAND_H

#include <ostream>
#include <string>

#include "command_line.h"

namespace MCXML_1_3 {
namespace tool {

/// Loads FILE with element places (a build-settings document, one whose root holds
/// a MiningBuildTask, with MCSettingsParser; any other with MCPMMLParser), checks
/// it and prints every problem. Exit status: 0 when there is no problem and no
/// parse error, 1 otherwise, 2 (with `error` set) when FILE cannot be opened.
int RunCheck(const Invocation& invocation, std::ostream& out, std::string& error);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_CHECK_COMMAND_H
