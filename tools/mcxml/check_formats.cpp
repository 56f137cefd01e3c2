// The check's output forms. Every text from a document reaches a line-based form
// escaped, and JSON through the writer's own escaping.
#include "check_formats.h"

#include <map>
#include <sstream>
#include <utility>

#include "escape.h"
#include "json_writer.h"
#include "mcxml/version.h"
#include "report.h"

namespace MCXML_1_3 {
namespace tool {

namespace {

// The codes a check can give, with what each says, for the rules of a SARIF log.
const std::pair<long, const char*> kCodes[] = {
    {0, "the XML parser found the document not well-formed"},
    {103, "setting up the XML platform or the XML parser failed"},
    {104, "the document could not be read, or the parse gave no document"},
    {105, "the document has no root element, or the root is not PMML"},
    {106, "the PMML root has no DataDictionary child"},
    {107, "a query before any load"},
    {108, "a required attribute is absent or empty"},
    {109, "an attribute's text is not acceptable"},
    {110, "bins asked for a continuous field, and none found"},
    {111, "the variable list refused a variable"},
    {112, "statistics asked before a model element was set"},
    {113, "a required child element is missing"},
    {114, "an array is not a list of non-negative numbers"},
    {115, "the intervals of a histogram do not fit together"},
    {116, "the statistics are invalid"},
    {118, "writing a document failed"},
    {119, "the settings path MiningBuildTask / Extension / Parameters is missing"},
    {120, "no parameter of that name"},
    {121, "a single value asked of a parameter that holds a list"},
    {122, "isList is true but there is no ListValue"},
    {123, "the parameter has no value"},
};

std::string RuleId(long code) {
  return code == 0 ? "mcxml/xml" : "mcxml/" + std::to_string(code);
}

const char* Level(const MCProblem& problem) {
  return problem.status.IsWarning() ? "warning" : "error";
}

void WriteProblem(JsonWriter& json, const MCProblem& problem) {
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
  json.Key("line");
  if (problem.place.IsKnown()) {
    json.Integer(static_cast<long long>(problem.place.line));
    json.Key("column").Integer(static_cast<long long>(problem.place.column));
  } else {
    json.Null().Key("column").Null();
  }
  json.EndObject();
}

// The check object of one document: the keys a single check has always printed,
// and the file, the kind and the counts.
void WriteCheckObject(JsonWriter& json, const Checked& checked, bool withFile) {
  Outcome outcome;
  json.BeginObject();
  if (withFile) json.Key("file").String(checked.file);
  WriteLoad(json, outcome, checked.load, checked.message, checked.parseErrors);
  json.Key("kind").String(checked.kind);
  json.Key("errors").Integer(static_cast<long long>(checked.Errors()));
  json.Key("warnings").Integer(static_cast<long long>(checked.Warnings()));
  json.Key("problems").BeginArray();
  for (const MCProblem& problem : checked.problems) WriteProblem(json, problem);
  json.EndArray();
  json.EndObject();
}

void WriteSummary(JsonWriter& json, const Summary& summary) {
  json.BeginObject();
  json.Key("documents").Integer(static_cast<long long>(summary.documents));
  json.Key("documentsWithErrors").Integer(static_cast<long long>(summary.withErrors));
  json.Key("errors").Integer(static_cast<long long>(summary.errors));
  json.Key("warnings").Integer(static_cast<long long>(summary.warnings));
  json.EndObject();
}

std::string Plural(unsigned long count, const char* one, const char* many) {
  return std::to_string(count) + (count == 1 ? one : many);
}

class JsonFormat final : public CheckFormat {
 public:
  explicit JsonFormat(bool single) : m_single(single) {}
  void Begin(std::ostream& out) const override {
    if (!m_single) out << "{\n  \"documents\": [";
  }
  std::string Document(const Checked& checked) const override {
    std::ostringstream out;
    if (m_single) {
      JsonWriter json(out);
      WriteCheckObject(json, checked, false);
      json.Finish();
    } else {
      JsonWriter json(out, 2, false);
      WriteCheckObject(json, checked, true);
    }
    return out.str();
  }
  const char* Between(bool first) const override {
    return m_single ? "" : first ? "\n    " : ",\n    ";
  }
  void End(const Summary& summary, bool shown, std::ostream& out) const override {
    if (m_single) return;
    out << (shown ? "\n  ]" : "]") << ",\n  \"summary\": ";
    JsonWriter json(out, 1, false);
    WriteSummary(json, summary);
    out << "\n}\n";
  }

 private:
  bool m_single;
};

class JsonLinesFormat final : public CheckFormat {
 public:
  std::string Document(const Checked& checked) const override {
    std::ostringstream out;
    JsonWriter json(out, 0, true);
    WriteCheckObject(json, checked, true);
    json.Finish();
    return out.str();
  }
  void End(const Summary&, bool, std::ostream&) const override {}
};

// The compilers' form, FILE:LINE:COLUMN: error 109: reason. A reason that more
// than three fields share word for word but for the field's name (a document
// whose continuous fields have no bins) is one line, at the first of them.
class TextFormat final : public CheckFormat {
 public:
  explicit TextFormat(bool single) : m_single(single) {}
  std::string Document(const Checked& checked) const override {
    const std::string file = Escaped(checked.file == "-" ? "<stdin>" : checked.file);
    std::map<std::string, std::size_t> alike;
    for (const MCProblem& problem : checked.problems) ++alike[Alike(problem)];
    std::ostringstream out;
    for (const MCProblem& problem : checked.problems) {
      const std::string key = Alike(problem);
      std::size_t& count = alike[key];
      if (key.empty() || (count > 0 && count <= 3)) {
        Line(out, file, problem, "");
      } else if (count > 3) {
        Line(out, file, problem,
             " (and " + std::to_string(count - 1) + " more alike but for the name)");
        count = 0;  // the rest of them are in this line
      }
    }
    out << file << ": ";
    if (checked.problems.empty()) {
      out << "no problems";
    } else {
      out << Plural(checked.Errors(), " error", " errors") << ", "
          << Plural(checked.Warnings(), " warning", " warnings");
    }
    out << '\n';
    return out.str();
  }
  void End(const Summary& summary, bool, std::ostream& out) const override {
    if (m_single) return;
    out << "mcxml check: " << Plural(summary.documents, " document", " documents") << ", "
        << summary.withErrors << " with errors, " << Plural(summary.errors, " error", " errors")
        << ", " << Plural(summary.warnings, " warning", " warnings") << '\n';
  }

 private:
  // The code and the reason without the name it opens with ("DataField \"age\": "),
  // for a problem that has a name; empty otherwise.
  static std::string Alike(const MCProblem& problem) {
    if (!problem.name) return std::string();
    const std::string& reason = problem.reason;
    const std::size_t quote = reason.find('"');
    const std::size_t end = quote == std::string::npos ? quote : reason.find("\": ", quote + 1);
    if (end == std::string::npos) return std::string();
    return std::to_string(problem.status.GetCode()) + (problem.status.IsWarning() ? "w" : "e") +
           reason.substr(0, quote) + reason.substr(end);
  }
  static void Line(std::ostream& out, const std::string& file, const MCProblem& problem,
                   const std::string& more) {
    out << file << ':';
    if (problem.place.IsKnown()) out << problem.place.line << ':' << problem.place.column << ':';
    out << ' ' << Level(problem);
    if (problem.status.GetCode() != 0) out << ' ' << problem.status.GetCode();
    out << ": " << Escaped(problem.reason) << more << '\n';
  }

  bool m_single;
};

// A URI reference for a file name: the characters a path may hold unescaped as
// they are, every other byte percent-encoded; an absolute name as a file URI.
std::string FileUri(const std::string& file) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = !file.empty() && file[0] == '/' ? "file://" : "";
  for (const char c : file) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9') || std::string("-._~/").find(c) != std::string::npos) {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0xF];
    }
  }
  return uri;
}

// One SARIF 2.1.0 log of one run, a rule per code and a result per problem.
class SarifFormat final : public CheckFormat {
 public:
  void Begin(std::ostream& out) const override {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("$schema").String("https://json.schemastore.org/sarif-2.1.0.json");
    json.Key("version").String("2.1.0");
    // Left open: the results follow as the documents are checked.
    out << ",\n  \"runs\": [\n    {\n      \"tool\": ";
    JsonWriter tool(out, 3, false);
    tool.BeginObject().Key("driver").BeginObject();
    tool.Key("name").String("mcxml");
    tool.Key("version").String(MCXML_VERSION_STRING);
    tool.Key("rules").BeginArray();
    for (const auto& [code, text] : kCodes) {
      tool.BeginObject();
      tool.Key("id").String(RuleId(code));
      tool.Key("shortDescription").BeginObject().Key("text").String(text).EndObject();
      tool.EndObject();
    }
    tool.EndArray().EndObject().EndObject();
    out << ",\n      \"results\": [";
  }
  std::string Document(const Checked& checked) const override {
    std::ostringstream out;
    const std::string uri = checked.file == "-" ? "stdin" : FileUri(checked.file);
    for (const MCProblem& problem : checked.problems) {
      if (&problem != &checked.problems.front()) out << Between(false);
      JsonWriter json(out, 4, false);
      json.BeginObject();
      json.Key("ruleId").String(RuleId(problem.status.GetCode()));
      json.Key("level").String(Level(problem));
      json.Key("message").BeginObject().Key("text").String(problem.reason).EndObject();
      json.Key("locations").BeginArray().BeginObject();
      json.Key("physicalLocation").BeginObject();
      json.Key("artifactLocation").BeginObject().Key("uri").String(uri).EndObject();
      if (problem.place.IsKnown()) {
        json.Key("region").BeginObject();
        json.Key("startLine").Integer(static_cast<long long>(problem.place.line));
        json.Key("startColumn").Integer(static_cast<long long>(problem.place.column));
        json.EndObject();
      }
      json.EndObject();
      if (!problem.path.empty()) {
        json.Key("logicalLocations").BeginArray().BeginObject();
        json.Key("fullyQualifiedName").String(problem.path);
        json.Key("kind").String("element");
        json.EndObject().EndArray();
      }
      json.EndObject().EndArray();
      json.EndObject();
    }
    return out.str();
  }
  const char* Between(bool first) const override { return first ? "\n        " : ",\n        "; }
  void End(const Summary&, bool shown, std::ostream& out) const override {
    out << (shown ? "\n      ]" : "]") << "\n    }\n  ]\n}\n";
  }
};

// A workflow command's property: '%', line ends, ':' and ',' are encoded.
std::string Property(const std::string& text, bool inMessage) {
  std::string out;
  for (const char c : text) {
    if (c == '%') {
      out += "%25";
    } else if (c == '\r') {
      out += "%0D";
    } else if (c == '\n') {
      out += "%0A";
    } else if (!inMessage && c == ':') {
      out += "%3A";
    } else if (!inMessage && c == ',') {
      out += "%2C";
    } else {
      out += c;
    }
  }
  return out;
}

// One workflow command a problem: ::error file=F,line=L,col=C,title=mcxml 109::reason.
class GithubFormat final : public CheckFormat {
 public:
  std::string Document(const Checked& checked) const override {
    std::ostringstream out;
    const std::string file = Property(Escaped(checked.file), false);
    for (const MCProblem& problem : checked.problems) {
      out << "::" << Level(problem) << " file=" << file;
      if (problem.place.IsKnown()) {
        out << ",line=" << problem.place.line << ",col=" << problem.place.column;
      }
      const long code = problem.status.GetCode();
      out << ",title=mcxml " << (code == 0 ? std::string("XML") : std::to_string(code))
          << "::" << Property(Escaped(problem.reason), true) << '\n';
    }
    return out.str();
  }
  void End(const Summary&, bool, std::ostream&) const override {}
};

}  // namespace

unsigned long Checked::Errors() const {
  unsigned long errors = 0;
  for (const MCProblem& problem : problems) errors += problem.status.IsWarning() ? 0 : 1;
  return errors;
}

unsigned long Checked::Warnings() const {
  return problems.size() - Errors();
}

void Summary::Add(const Checked& checked) {
  ++documents;
  const unsigned long found = checked.Errors();
  withErrors += found != 0 || checked.parseErrors != 0 ? 1 : 0;
  errors += found;
  warnings += checked.Warnings();
}

std::unique_ptr<CheckFormat> MakeCheckFormat(const std::string& name, bool single) {
  if (name == "text") return std::make_unique<TextFormat>(single);
  if (name == "jsonl") return std::make_unique<JsonLinesFormat>();
  if (name == "sarif") return std::make_unique<SarifFormat>();
  if (name == "github") return std::make_unique<GithubFormat>();
  return std::make_unique<JsonFormat>(single);
}

}  // namespace tool
}  // namespace MCXML_1_3
