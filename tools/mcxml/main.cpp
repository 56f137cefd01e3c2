// mcxml: prints as JSON what the mcxml library reads from a document.

#include <cstddef>
#include <exception>
#include <iostream>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>

#include "check_command.h"
#include "command_line.h"
#include "copy_command.h"
#include "escape.h"
#include "mcxml/version.h"
#include "mcxml/xml/dom_access.h"
#include "pmml_commands.h"
#include "settings_commands.h"
#include "standard_output.h"

namespace {

using MCXML_1_3::tool::Command;
using MCXML_1_3::tool::Invocation;

int Run(const Invocation& invocation, std::ostream& out, std::string& error) {
  switch (invocation.command) {
    case Command::kHelp:
      out << MCXML_1_3::tool::HelpText();
      return 0;
    case Command::kVersion:
      out << MCXML_VERSION_STRING << '\n';
      return 0;
    case Command::kVarList:
      return MCXML_1_3::tool::RunVarList(invocation, out, error);
    case Command::kStats:
      return MCXML_1_3::tool::RunStats(invocation, out, error);
    case Command::kSettingsVarList:
      return MCXML_1_3::tool::RunSettingsVarList(invocation, out, error);
    case Command::kQuery:
      return MCXML_1_3::tool::RunQuery(invocation, out, error);
    case Command::kCopy:
      return MCXML_1_3::tool::RunCopy(invocation, out, error);
    case Command::kCheck:
      return MCXML_1_3::tool::RunCheck(invocation, out, error);
  }
  return 2;
}

// The library lets the parser's other exceptions through (a DOMException for an XML
// version the DOM refuses, and exhausted memory, when secure processing is off);
// the tool reports them as a failure on one line instead of dying with half a
// document on standard output.
// Returns -1 when the command threw, with `error` set. The tool holds its own
// platform initialisation so that the message can still be converted once the
// command's parser is gone; one that fails is reported like the rest.
int RunGuarded(const Invocation& invocation, std::ostream& out, std::string& error) {
  struct Platform {
    Platform() { xercesc::XMLPlatformUtils::Initialize(); }
    ~Platform() { xercesc::XMLPlatformUtils::Terminate(); }
  };
  std::optional<Platform> platform;
  // Without the platform a message converts only as far as it is ASCII.
  const auto text = [&platform](const XMLCh* message) {
    if (platform) return MCXML_1_3::ToUTF8(message);
    std::string ascii;
    for (; message != nullptr && *message != 0; ++message) {
      ascii += *message < 0x80 ? static_cast<char>(*message) : '?';
    }
    return ascii;
  };
  try {
    platform.emplace();
    return Run(invocation, out, error);
  } catch (const xercesc::DOMException& e) {
    error = "the XML parser failed: " + text(e.getMessage());
  } catch (const xercesc::XMLException& e) {
    error = "the XML parser failed: " + text(e.getMessage());
  } catch (const xercesc::OutOfMemoryException&) {
    error = "the XML parser ran out of memory";
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  } catch (const std::exception& e) {
    error = std::string("failed: ") + e.what();
  }
  return -1;
}

// The commands whose failures the check can place.
bool PointsToCheck(Command command) {
  return command == Command::kVarList || command == Command::kStats ||
         command == Command::kSettingsVarList || command == Command::kQuery;
}

// Every line on standard error is escaped: it quotes file names, arguments and the
// XML parser's messages.
void SayError(const std::string& text) {
  std::cerr << "mcxml: " << MCXML_1_3::tool::Escaped(text) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  Invocation invocation;
  std::string error;
  if (!MCXML_1_3::tool::ParseCommandLine(args, invocation, error)) {
    SayError(error + " (see mcxml --help)");
    return 2;
  }
  // Nothing reaches standard output unless the command ran to its end, but for
  // check, which prints each document as it is done.
  MCXML_1_3::tool::StandardOutput standardOutput;
  std::ostream direct(&standardOutput);
  std::ostringstream buffered;
  const bool streams = invocation.command == Command::kCheck;
  const int status =
      RunGuarded(invocation, streams ? static_cast<std::ostream&>(direct) : buffered, error);
  if (status == 2 || status < 0) {
    SayError(error);
    std::string ignored;
    static_cast<void>(standardOutput.Close(ignored));
    return status < 0 ? 1 : status;
  }
  // Output that did not reach its destination is the tool's own failure.
  direct << buffered.str();
  direct.flush();
  if (!standardOutput.Close(error)) {
    SayError("write error: " + error);
    return 2;
  }
  if (status == 1 && PointsToCheck(invocation.command)) {
    // With the options that change what is read, so that check meets the same
    // problem; standard input cannot be read a second time.
    const std::string options =
        std::string(invocation.bins ? "--bins " : "") + (invocation.trust ? "--trust " : "");
    const std::string& file = invocation.operands[0];
    SayError(file == "-"
                 ? "save the input to a file and run 'mcxml check " + options + "FILE' to see where"
                 : "run 'mcxml check " + options + file + "' to see where");
  }
  return status;
}
