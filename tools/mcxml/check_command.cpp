// check: loads the document with element places, picks the parser that reads its
// kind, and prints the problems of the library's own check.
#include "check_command.h"

#include <istream>
#include <vector>

#include "escape.h"
#include "input_file.h"
#include "json_writer.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "report.h"

namespace MCXML_1_3 {
namespace tool {

namespace {

struct Checked {
  MCStatus load;
  std::string message;
  unsigned parseErrors = 0;
  std::vector<MCProblem> problems;
};

// One load serves either kind: the settings parser reads the model document's
// parts as the PMML parser does, and the library answers for the kind the document
// is read as.
Checked Check(std::istream& in, const Invocation& invocation) {
  MCSettingsParser parser;
  SetUp(parser, invocation);
  parser.SetElementPlaces(true);
  static_cast<void>(parser.ParseToDOM(in));
  const DOMElement* root = parser.GetRootElement();
  const MCDocumentKind kind = root != nullptr ? GetDocumentKind(*root) : MCDocumentKind::PMML;
  Checked checked;
  checked.load = parser.GetStatus(kind);
  checked.message = parser.GetXercesMessage();
  checked.parseErrors = parser.GetErrorCount();
  checked.problems = parser.CheckDocument(invocation.bins, kind);
  return checked;
}

void WriteJson(const Checked& checked, std::ostream& out) {
  JsonWriter json(out);
  Outcome outcome;
  json.BeginObject();
  WriteLoad(json, outcome, checked.load, checked.message, checked.parseErrors);
  json.Key("problems").BeginArray();
  for (const MCProblem& problem : checked.problems) {
    json.BeginObject();
    json.Key("code").Integer(problem.status.GetCode());
    json.Key("warning").Bool(problem.status.IsWarning());
    json.Key("reason").String(problem.reason);
    json.Key("path").String(problem.path);
    json.Key("name");
    if (problem.name) {
      json.String(*problem.name);
    } else {
      json.Null();
    }
    if (problem.place.IsKnown()) {
      json.Key("line").Integer(static_cast<long long>(problem.place.line));
      json.Key("column").Integer(static_cast<long long>(problem.place.column));
    } else {
      json.Key("line").Null();
      json.Key("column").Null();
    }
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  json.Finish();
}

// FILE:LINE:COLUMN: error 109: reason, as compilers print; a problem of the XML
// parser has no code, and one without a place has no line and column. The file
// name and the reason, which quotes the document, are escaped: a problem is one
// line, whatever a name holds.
void WriteText(const Checked& checked, const std::string& fileName, std::ostream& out) {
  const std::string file = Escaped(fileName);
  unsigned long errors = 0;
  unsigned long warnings = 0;
  for (const MCProblem& problem : checked.problems) {
    out << file << ':';
    if (problem.place.IsKnown()) out << problem.place.line << ':' << problem.place.column << ':';
    const bool warning = problem.status.IsWarning();
    ++(warning ? warnings : errors);
    out << (warning ? " warning" : " error");
    if (problem.status.GetCode() != 0) out << ' ' << problem.status.GetCode();
    out << ": " << Escaped(problem.reason) << '\n';
  }
  out << file << ": ";
  if (checked.problems.empty()) {
    out << "no problems";
  } else {
    out << errors << (errors == 1 ? " error" : " errors") << ", " << warnings
        << (warnings == 1 ? " warning" : " warnings");
  }
  out << '\n';
}

}  // namespace

int RunCheck(const Invocation& invocation, std::ostream& out, std::string& error) {
  const std::string& file = invocation.operands[0];
  InputFile input;
  if (!input.Open(file, error)) return 2;
  const Checked checked = Check(input.Stream(), invocation);
  if (invocation.format == "text") {
    WriteText(checked, input.IsStandardInput() ? "<stdin>" : file, out);
  } else {
    WriteJson(checked, out);
  }
  return checked.problems.empty() && checked.parseErrors == 0 ? 0 : 1;
}

}  // namespace tool
}  // namespace MCXML_1_3
