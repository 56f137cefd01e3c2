// The check command: every problem the library finds in PMML and build-settings
// documents, with its place, in the forms people and CI systems read.
#ifndef MCXML_TOOLS_MCXML_CHECK_COMMAND_H
#define MCXML_TOOLS_MCXML_CHECK_COMMAND_H

#include <ostream>
#include <string>

#include "command_line.h"

namespace MCXML_1_3 {
namespace tool {

/// Checks every FILE (a folder stands for the .pmml and .xml files under it, in
/// the order of their names), each loaded with element places and read as the
/// kind GetDocumentKind gives, on `-j` threads, and prints them in the order given
/// as each is done. Exit status: 0 when no document has an error, 1 when one has
/// (a document that cannot be opened has one), 2 (with `error` set) when a single
/// FILE cannot be opened.
int RunCheck(const Invocation& invocation, std::ostream& out, std::string& error);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_CHECK_COMMAND_H
