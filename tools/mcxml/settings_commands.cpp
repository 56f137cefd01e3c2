// settings-varlist and query: one MCSettingsParser per run; each QUERY names one
// getter, and its output variable starts from a known value so that what the
// getter wrote (or left alone) shows.
#include "settings_commands.h"

#include <cstddef>
#include <vector>

#include "input_file.h"
#include "json_writer.h"
#include "mcxml/settings/settings_parser.h"
#include "report.h"

namespace MCXML_1_3 {
namespace tool {

namespace {

enum class QueryKind {
  kString,
  kInt,
  kDouble,
  kBool,
  kType,
  kComplex,
  kArrayString,
  kArrayInt,
  kArrayDouble,
  kMatrixString,
  kMatrixInt,
  kMatrixDouble,
  kVar,
  kVars,
  kTarget,
  kInputs,
  kCatResponses,
  kContResponses,
  kCatPredictors,
  kContPredictors,
  kFrequencyWeight,
};

// What a kind takes: the getters without a context handle cannot use a PATH, and
// the role getters fix the parameter name themselves.
enum class Takes { kNameAndPath, kName, kNothing };

struct KindInfo {
  const char* text;
  QueryKind kind;
  Takes takes;
};

const KindInfo kKinds[] = {
    {"string", QueryKind::kString, Takes::kNameAndPath},
    {"int", QueryKind::kInt, Takes::kNameAndPath},
    {"double", QueryKind::kDouble, Takes::kNameAndPath},
    {"bool", QueryKind::kBool, Takes::kNameAndPath},
    {"type", QueryKind::kType, Takes::kNameAndPath},
    {"complex", QueryKind::kComplex, Takes::kNameAndPath},
    {"array-string", QueryKind::kArrayString, Takes::kNameAndPath},
    {"array-int", QueryKind::kArrayInt, Takes::kNameAndPath},
    {"array-double", QueryKind::kArrayDouble, Takes::kNameAndPath},
    {"matrix-string", QueryKind::kMatrixString, Takes::kNameAndPath},
    {"matrix-int", QueryKind::kMatrixInt, Takes::kNameAndPath},
    {"matrix-double", QueryKind::kMatrixDouble, Takes::kNameAndPath},
    {"var", QueryKind::kVar, Takes::kName},
    {"vars", QueryKind::kVars, Takes::kName},
    {"target", QueryKind::kTarget, Takes::kNothing},
    {"inputs", QueryKind::kInputs, Takes::kNothing},
    {"cat-responses", QueryKind::kCatResponses, Takes::kNothing},
    {"cont-responses", QueryKind::kContResponses, Takes::kNothing},
    {"cat-predictors", QueryKind::kCatPredictors, Takes::kNothing},
    {"cont-predictors", QueryKind::kContPredictors, Takes::kNothing},
    {"frequency-weight", QueryKind::kFrequencyWeight, Takes::kNothing},
};

struct Query {
  std::string text;
  QueryKind kind = QueryKind::kString;
  std::string name;
  std::vector<std::string> path;
};

bool ParseQuery(const std::string& text, Query& query, std::string& error) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) {
    error = "QUERY '" + text + "' is not KIND:NAME";
    return false;
  }
  const std::string kind = text.substr(0, colon);
  const KindInfo* info = nullptr;
  for (const KindInfo& candidate : kKinds) {
    if (kind == candidate.text) info = &candidate;
  }
  if (info == nullptr) {
    error = "QUERY '" + text + "' has an unknown KIND '" + kind + "'";
    return false;
  }
  query.text = text;
  query.kind = info->kind;
  const std::string rest = text.substr(colon + 1);
  const std::size_t at = rest.rfind('@');
  query.name = rest.substr(0, at);
  if (at != std::string::npos) {
    const std::string path = rest.substr(at + 1);
    std::size_t start = 0;
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', start)) {
      query.path.push_back(path.substr(start, slash - start));
      start = slash + 1;
    }
    query.path.push_back(path.substr(start));
  }
  const bool hasPath = at != std::string::npos;
  if (info->takes == Takes::kNothing && (hasPath || !query.name.empty())) {
    error = "QUERY '" + text + "': " + kind + " takes no NAME and no PATH";
    return false;
  }
  if (info->takes == Takes::kName && hasPath) {
    error = "QUERY '" + text + "': " + kind + " takes no PATH";
    return false;
  }
  return true;
}

const char* TypeName(MCSettingsParser::ParamType type) {
  switch (type) {
    case MCSettingsParser::ParamString:
      return "ParamString";
    case MCSettingsParser::ParamDouble:
      return "ParamDouble";
    case MCSettingsParser::ParamInteger:
      return "ParamInteger";
    case MCSettingsParser::ParamBoolean:
      return "ParamBoolean";
    case MCSettingsParser::ParamEnum:
      return "ParamEnum";
    case MCSettingsParser::ParamFieldName:
      return "ParamFieldName";
    case MCSettingsParser::ParamUnknown:
      return "ParamUnknown";
  }
  return "ParamUnknown";
}

void WriteValue(JsonWriter& json, const std::string& value) {
  json.String(value);
}
void WriteValue(JsonWriter& json, int value) {
  json.Integer(value);
}
void WriteValue(JsonWriter& json, double value) {
  json.Number(value);
}
void WriteValue(JsonWriter& json, bool value) {
  json.Bool(value);
}
template <class T>
void WriteValue(JsonWriter& json, const std::vector<T>& values) {
  json.BeginArray();
  for (const T& value : values) WriteValue(json, value);
  json.EndArray();
}

// Runs one getter into a value that starts empty, and writes status and value.
template <class T, class Getter>
void Answer(JsonWriter& json, Outcome& outcome, Getter getter) {
  T value{};
  const MCStatus status = getter(value);
  outcome.Note(status);
  WriteStatus(json.Key("status"), status);
  WriteValue(json.Key("value"), value);
}

// The handle of the innermost ComplexParameter of `query.path`, or false with the
// first name that was not found.
bool ResolvePath(MCSettingsParser& parser, const Query& query, void*& context,
                 std::string& missing) {
  context = nullptr;
  for (const std::string& name : query.path) {
    context = parser.GetComplexParameter(name.c_str(), context);
    if (context == nullptr) {
      missing = name;
      return false;
    }
  }
  return true;
}

void AnswerQuery(MCSettingsParser& parser, const Query& query, JsonWriter& json, Outcome& outcome) {
  json.BeginObject();
  json.Key("query").String(query.text);
  void* context = nullptr;
  std::string missing;
  if (!ResolvePath(parser, query, context, missing)) {
    json.Key("error").String("no ComplexParameter \"" + missing + "\"");
    json.EndObject();
    outcome.Fail();
    return;
  }
  const char* name = query.name.c_str();
  using Texts = std::vector<std::string>;
  switch (query.kind) {
    case QueryKind::kString:
      Answer<std::string>(json, outcome,
                          [&](auto& v) { return parser.GetParameter(name, v, context); });
      break;
    case QueryKind::kInt:
      Answer<int>(json, outcome, [&](auto& v) { return parser.GetParameter(name, v, context); });
      break;
    case QueryKind::kDouble:
      Answer<double>(json, outcome, [&](auto& v) { return parser.GetParameter(name, v, context); });
      break;
    case QueryKind::kBool:
      Answer<bool>(json, outcome, [&](auto& v) { return parser.GetParameter(name, v, context); });
      break;
    case QueryKind::kType:
      json.Key("value").String(TypeName(parser.GetParameterType(name, context)));
      break;
    case QueryKind::kComplex:
      json.Key("value").Bool(parser.GetComplexParameter(name, context) != nullptr);
      break;
    case QueryKind::kArrayString:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetArray(name, v, context); });
      break;
    case QueryKind::kArrayInt:
      Answer<std::vector<int>>(json, outcome,
                               [&](auto& v) { return parser.GetArray(name, v, context); });
      break;
    case QueryKind::kArrayDouble:
      Answer<std::vector<double>>(json, outcome,
                                  [&](auto& v) { return parser.GetArray(name, v, context); });
      break;
    case QueryKind::kMatrixString:
      Answer<std::vector<Texts>>(json, outcome,
                                 [&](auto& v) { return parser.GetMatrix(name, v, context); });
      break;
    case QueryKind::kMatrixInt:
      Answer<std::vector<std::vector<int>>>(
          json, outcome, [&](auto& v) { return parser.GetMatrix(name, v, context); });
      break;
    case QueryKind::kMatrixDouble:
      Answer<std::vector<std::vector<double>>>(
          json, outcome, [&](auto& v) { return parser.GetMatrix(name, v, context); });
      break;
    case QueryKind::kVar:
      Answer<std::string>(json, outcome, [&](auto& v) { return parser.GetVariables(name, v); });
      break;
    case QueryKind::kVars:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetVariables(name, v); });
      break;
    case QueryKind::kTarget:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetTargetVars(v); });
      break;
    case QueryKind::kInputs:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetPredictors(v); });
      break;
    case QueryKind::kCatResponses:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetCatResponseVars(v); });
      break;
    case QueryKind::kContResponses:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetContResponseVars(v); });
      break;
    case QueryKind::kCatPredictors:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetCatPredictors(v); });
      break;
    case QueryKind::kContPredictors:
      Answer<Texts>(json, outcome, [&](auto& v) { return parser.GetContPredictors(v); });
      break;
    case QueryKind::kFrequencyWeight:
      Answer<std::string>(json, outcome, [&](auto& v) { return parser.GetFrequencyWeight(v); });
      break;
  }
  json.EndObject();
}

}  // namespace

int RunSettingsVarList(const Invocation& invocation, std::ostream& out, std::string& error) {
  return RunOnDocument<MCSettingsParser>(
      invocation, out, error, [&](MCSettingsParser& parser, JsonWriter& json, Outcome& outcome) {
        MCVarList varList;
        const MCStatus status = parser.FillVarList(varList, invocation.bins);
        outcome.Note(status);
        WriteStatus(json.Key("status"), status);
        WriteVariables(json, varList);
      });
}

int RunQuery(const Invocation& invocation, std::ostream& out, std::string& error) {
  // Every QUERY is checked before the document is read: a usage error prints nothing.
  std::vector<Query> queries(invocation.operands.size() - 1);
  for (std::size_t i = 0; i < queries.size(); ++i) {
    if (!ParseQuery(invocation.operands[i + 1], queries[i], error)) return 2;
  }
  return RunOnDocument<MCSettingsParser>(
      invocation, out, error, [&](MCSettingsParser& parser, JsonWriter& json, Outcome& outcome) {
        json.Key("results").BeginArray();
        for (const Query& query : queries) AnswerQuery(parser, query, json, outcome);
        json.EndArray();
      });
}

}  // namespace tool
}  // namespace MCXML_1_3
