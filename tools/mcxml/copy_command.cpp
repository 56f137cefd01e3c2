// The copy command. IN is parsed from the stream opened for it: its name is never
// given to the parser, which would read one that looks like a URL as an address.
#include "copy_command.h"

#include <xercesc/util/XMLException.hpp>

#include "input_file.h"
#include "json_writer.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "report.h"

namespace MCXML_1_3 {
namespace tool {

int RunCopy(const Invocation& invocation, std::ostream& out, std::string& error) {
  const std::string& inName = invocation.operands[0];
  const std::string& outName = invocation.operands[1];
  InputFile input;
  if (!input.Open(inName, error)) return 2;

  MCXMLReadWrite readWrite;
  if (!invocation.trust) readWrite.SetSecureProcessing(true);
  const MCStatus load = readWrite.ParseToDOM(input.Stream());
  // Taken before the write, which replaces the message.
  const std::string message = readWrite.GetXercesMessage();
  const unsigned parseErrors = readWrite.GetErrorCount();
  MCStatus write;
  try {
    write = readWrite.WriteFromDOM(outName, nullptr);
  } catch (const xercesc::XMLException& e) {
    // Opening OUT happens before the guarded write and throws to the caller.
    error = "cannot open '" + outName + "' for writing: " + ToUTF8(e.getMessage());
    return 2;
  }

  JsonWriter json(out);
  Outcome outcome;
  json.BeginObject();
  WriteLoad(json, outcome, load, message, parseErrors);
  WriteStatus(json.Key("write"), write);
  outcome.Note(write);
  json.Key("writeMessage").String(write.IsOK() ? std::string() : readWrite.GetXercesMessage());
  json.EndObject();
  json.Finish();
  return outcome.ExitStatus();
}

}  // namespace tool
}  // namespace MCXML_1_3
