// Report: the JSON form of what the library hands back (statuses, the load
// header, variable lists, univariate statistics records), shared by the commands.
#ifndef MCXML_TOOLS_MCXML_REPORT_H
#define MCXML_TOOLS_MCXML_REPORT_H

#include <istream>
#include <ostream>
#include <string>

#include "command_line.h"
#include "input_file.h"
#include "json_writer.h"
#include "mcxml/common/status.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/pmml_parser.h"

namespace MCXML_1_3 {
namespace tool {

/// Collects whether everything a command printed succeeded, for its exit status.
class Outcome {
 public:
  void Note(const MCCommon_1_3::MCStatus& status) { m_ok = m_ok && status.IsOK(); }
  void Fail() { m_ok = false; }
  /// 0 when every noted status was OK and nothing failed, else 1.
  int ExitStatus() const { return m_ok ? 0 : 1; }

 private:
  bool m_ok = true;
};

/// `{"code": C, "warning": W}` as the value of the current key or array slot.
void WriteStatus(JsonWriter& json, const MCCommon_1_3::MCStatus& status);

/// The keys every output opens with: "load", "message", "parseErrors". Notes the
/// load status, and a failure when the parser counted errors.
void WriteLoad(JsonWriter& json, Outcome& outcome, const MCCommon_1_3::MCStatus& load,
               const std::string& message, unsigned parseErrors);

/// Sets `parser` up as every command reads: secured unless --trust, lean unless
/// --whole.
void SetUp(MCPMMLParser& parser, const Invocation& invocation);

/// Loads `in` as SetUp sets the parser up, then writes the opening keys.
void LoadDocument(MCPMMLParser& parser, const Invocation& invocation, std::istream& in,
                  JsonWriter& json, Outcome& outcome);

/// The frame of every command that reads FILE (the first operand): opens it (2 when it cannot be
/// opened, with `error` set, before anything is written), loads it into a fresh
/// `Parser`, writes the opening keys, lets `body(parser, json, outcome)` write the
/// rest of the object, and returns the exit status.
template <class Parser, class Body>
int RunOnDocument(const Invocation& invocation, std::ostream& out, std::string& error, Body body) {
  InputFile input;
  if (!input.Open(invocation.operands[0], error)) return 2;
  Parser parser;
  JsonWriter json(out);
  Outcome outcome;
  json.BeginObject();
  LoadDocument(parser, invocation, input.Stream(), json, outcome);
  body(parser, json, outcome);
  json.EndObject();
  json.Finish();
  return outcome.ExitStatus();
}

/// The "variables" key: every variable of `varList` as the stand-in holds it, with
/// the keys that do not apply to a variable left out.
void WriteVariables(JsonWriter& json, const MCVarList& varList);

/// One statistics record as an object.
void WriteUniStats(JsonWriter& json, const MCUniStats& stats);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_REPORT_H
