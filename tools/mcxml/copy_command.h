// The copy command: MCXMLReadWrite parses IN and writes the document to OUT.
#ifndef MCXML_TOOLS_MCXML_COPY_COMMAND_H
#define MCXML_TOOLS_MCXML_COPY_COMMAND_H

#include <ostream>
#include <string>

#include "command_line.h"

namespace MCXML_1_3 {
namespace tool {

/// Writes the JSON document to `out` and returns the exit status: 0 both steps OK
/// and no parse errors, 1 otherwise (a write that fails part-way included), 2 (with
/// `error` set and nothing written) when IN cannot be opened or OUT not created.
int RunCopy(const Invocation& invocation, std::ostream& out, std::string& error);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_COPY_COMMAND_H
