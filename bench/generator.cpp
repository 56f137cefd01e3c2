// Document generators for the benchmarks. Every number comes from the field's or
// parameter's index, so the output depends on the arguments alone.
#include "generator.h"

#include <charconv>
#include <cstdio>

namespace mcxml_bench {
namespace {

constexpr int kBinsPerField = 5;
constexpr int kParamsPerGroup = 10;
constexpr int kGroupChain = 4;  // a top-level group and three nested below it

// A small integer hash, so that counts and values differ from field to field.
unsigned Mix(unsigned value, unsigned salt) {
  unsigned x = value * 2654435761u + salt * 40503u + 0x9e3779b9u;
  x ^= x >> 15;
  x *= 2246822519u;
  x ^= x >> 13;
  return x;
}

std::string Number(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::string Padded(const char* prefix, int i, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%0*d", prefix, width, i);
  return buffer;
}

// Appends text with attributes, XML-escaped where the generated text can need it.
class Writer {
 public:
  explicit Writer(std::string& out) : m_out(out) {}

  Writer& Raw(const std::string& text) {
    m_out += text;
    return *this;
  }
  Writer& Open(int depth, const char* tag) {
    m_out.append(depth, ' ');
    m_out += '<';
    m_out += tag;
    return *this;
  }
  Writer& Attr(const char* name, const std::string& value) {
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    for (const char c : value) {
      if (c == '&') {
        m_out += "&amp;";
      } else if (c == '"') {
        m_out += "&quot;";
      } else if (c == '<') {
        m_out += "&lt;";
      } else {
        m_out += c;
      }
    }
    m_out += '"';
    return *this;
  }
  Writer& Attr(const char* name, double value) { return Attr(name, Number(value)); }
  // Ends the start tag, with or without children.
  Writer& End() {
    m_out += ">\n";
    return *this;
  }
  Writer& EndEmpty() {
    m_out += "/>\n";
    return *this;
  }
  Writer& Close(int depth, const char* tag) {
    m_out.append(depth, ' ');
    m_out += "</";
    m_out += tag;
    m_out += ">\n";
    return *this;
  }

 private:
  std::string& m_out;
};

bool IsContinuous(int i) {
  return i % 2 == 1;
}

// Every 25th field carries text that is not ASCII, so the general conversion
// path runs too.
bool HasWideText(int i) {
  return i % 25 == 0;
}

// The cut points of continuous field i: kBinsPerField + 1 increasing numbers.
std::vector<double> CutPoints(int i) {
  const double start = (i % 7) * 10.0;
  const double width = 50.0 + (i % 13) * 2.5;
  std::vector<double> cuts;
  for (int k = 0; k <= kBinsPerField; ++k) cuts.push_back(start + k * width);
  return cuts;
}

void WriteCategoricalField(Writer& w, int i) {
  const bool numeric = i % 3 == 0;
  const int values = 8 + static_cast<int>(Mix(i, 1) % 5);
  w.Open(2, "DataField")
      .Attr("name", FieldName(i))
      .Attr("displayName", (HasWideText(i) ? "Cat\xC3\xA9gorie " : "Segment ") + std::to_string(i))
      .Attr("optype", "categorical")
      .Attr("dataType", numeric ? "integer" : "string")
      .End();
  for (int k = 0; k < values; ++k) {
    const std::string value = numeric ? std::to_string(k + 1)
                                      : (HasWideText(i) && k == 0 ? std::string("caf\xC3\xA9")
                                                                  : "level_" + std::to_string(k));
    w.Open(3, "Value")
        .Attr("value", value)
        .Attr("displayValue", "Level " + std::to_string(k) + " of " + std::to_string(i))
        .EndEmpty();
  }
  w.Open(3, "Value")
      .Attr("value", numeric ? "-1" : "unknown")
      .Attr("property", "invalid")
      .Attr("displayValue", "Not stated")
      .EndEmpty();
  w.Open(3, "Value").Attr("value", numeric ? "99" : "NA").Attr("property", "missing").EndEmpty();
  w.Close(2, "DataField");
}

void WriteContinuousField(Writer& w, int i) {
  const std::vector<double> cuts = CutPoints(i);
  const bool invalid = i % 4 == 1;
  w.Open(2, "DataField")
      .Attr("name", FieldName(i))
      .Attr("displayName",
            (HasWideText(i) ? "Temp\xC3\xA9rature \xC2\xB0" : "Measure ") + std::to_string(i))
      .Attr("optype", "continuous")
      .Attr("dataType", i % 3 == 0 ? "integer" : "double")
      .End();
  if (invalid) {
    w.Open(3, "Extension")
        .Attr("extender", "mcxml")
        .Attr("name", "invalidRangeLower")
        .Attr("value", -100.0)
        .EndEmpty();
    w.Open(3, "Extension")
        .Attr("extender", "mcxml")
        .Attr("name", "invalidRangeUpper")
        .Attr("value", -2.0)
        .EndEmpty();
  }
  w.Open(3, "Interval")
      .Attr("closure", "closedClosed")
      .Attr("leftMargin", cuts.front())
      .Attr("rightMargin", cuts.back())
      .EndEmpty();
  if (invalid) {
    w.Open(3, "Value")
        .Attr("value", -1.0)
        .Attr("property", "invalid")
        .Attr("displayValue", "Refused")
        .EndEmpty();
    w.Open(3, "Value").Attr("value", 9999.0).Attr("property", "missing").EndEmpty();
  }
  w.Close(2, "DataField");
}

void WriteDiscretize(Writer& w, int i) {
  const std::vector<double> cuts = CutPoints(i);
  w.Open(2, "DerivedField")
      .Attr("name", FieldName(i) + "_bin")
      .Attr("optype", "categorical")
      .Attr("dataType", "string")
      .End();
  w.Open(3, "Discretize").Attr("field", FieldName(i)).End();
  for (int k = 0; k < kBinsPerField; ++k) {
    w.Open(4, "DiscretizeBin").Attr("binValue", "bin_" + std::to_string(k + 1)).Raw(">");
    // Open outer ends, as binning of a whole real line has.
    w.Open(0, "Interval").Attr("closure", k + 1 == kBinsPerField ? "openOpen" : "openClosed");
    if (k > 0) w.Attr("leftMargin", cuts[k]);
    if (k + 1 < kBinsPerField) w.Attr("rightMargin", cuts[k + 1]);
    w.Raw("/>").Close(0, "DiscretizeBin");
  }
  w.Close(3, "Discretize");
  w.Close(2, "DerivedField");
}

void WriteStats(Writer& w, int i) {
  const unsigned total = 1000 + Mix(i, 2) % 9000;
  w.Open(3, "UnivariateStats").Attr("field", FieldName(i)).End();
  w.Open(4, "Counts")
      .Attr("totalFreq", static_cast<double>(total))
      .Attr("missingFreq", static_cast<double>(Mix(i, 3) % 50))
      .EndEmpty();
  std::string freqs;
  if (!IsContinuous(i)) {
    const int values = 8 + static_cast<int>(Mix(i, 1) % 5);
    for (int k = 0; k < values; ++k) {
      if (k > 0) freqs += ' ';
      freqs += std::to_string(Mix(i * 16 + k, 4) % (total / values + 1));
    }
    w.Open(4, "DiscrStats").End();
    w.Open(5, "Array").Attr("n", values).Attr("type", "int").Raw(">" + freqs + "</Array>\n");
    w.Close(4, "DiscrStats");
  } else {
    const std::vector<double> cuts = CutPoints(i);
    w.Open(4, "NumericInfo")
        .Attr("minimum", cuts.front())
        .Attr("maximum", cuts.back())
        .Attr("mean", (cuts.front() + cuts.back()) / 2 + (Mix(i, 5) % 100) / 8.0)
        .Attr("standardDeviation", (cuts.back() - cuts.front()) / 3.5)
        .Attr("median", (cuts.front() + cuts.back()) / 2)
        .EndEmpty();
    w.Open(4, "ContStats").End();
    for (int k = 0; k < kBinsPerField; ++k) {
      w.Open(5, "Interval")
          .Attr("closure", k + 1 == kBinsPerField ? "closedClosed" : "closedOpen")
          .Attr("leftMargin", cuts[k])
          .Attr("rightMargin", cuts[k + 1])
          .EndEmpty();
      if (k > 0) freqs += ' ';
      freqs += std::to_string(Mix(i * 16 + k, 6) % (total / kBinsPerField + 1));
    }
    w.Open(5, "Array").Attr("n", kBinsPerField).Attr("type", "int").Raw(">" + freqs + "</Array>\n");
    w.Close(4, "ContStats");
  }
  w.Close(3, "UnivariateStats");
}

const char* const kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<PMML xmlns=\"http://www.dmg.org/PMML-4_4\" version=\"4.4\">\n"
    " <Header copyright=\"Generated for the mcxml benchmarks\"/>\n";

// ---- settings ----

std::string ParamName(int i) {
  return Padded("param", i, 5);
}

std::string GroupName(int j) {
  return Padded("group", j, 4);
}

const char* TypeText(ParamKind kind) {
  switch (kind) {
    case ParamKind::kString:
    case ParamKind::kArrayString:
    case ParamKind::kMatrixString:
      return "string";
    case ParamKind::kInteger:
    case ParamKind::kArrayInteger:
    case ParamKind::kMatrixInteger:
      return "integer";
    case ParamKind::kDouble:
    case ParamKind::kArrayDouble:
    case ParamKind::kMatrixDouble:
      return "double";
    case ParamKind::kBoolean:
      return "boolean";
    case ParamKind::kEnum:
      return "enum";
    case ParamKind::kFieldName:
    case ParamKind::kNameList:
      return "fieldName";
  }
  return "string";
}

// The k-th value of parameter i, as the parameter's kind spells it.
std::string ValueText(ParamKind kind, int i, int k) {
  switch (kind) {
    case ParamKind::kInteger:
    case ParamKind::kArrayInteger:
    case ParamKind::kMatrixInteger:
      return std::to_string(Mix(i, k) % 10000);
    case ParamKind::kDouble:
    case ParamKind::kArrayDouble:
    case ParamKind::kMatrixDouble:
      return Number((Mix(i, k) % 100000) / 64.0);
    case ParamKind::kBoolean:
      return Mix(i, k) % 2 == 0 ? "true" : "false";
    case ParamKind::kEnum:
      return k % 2 == 0 ? "gini" : "entropy";
    case ParamKind::kFieldName:
    case ParamKind::kNameList:
      return FieldName(static_cast<int>(Mix(i, k) % 400));
    case ParamKind::kString:
    case ParamKind::kArrayString:
    case ParamKind::kMatrixString:
      break;
  }
  return (i % 40 == 0 ? "r\xC3\xA9glage " : "setting ") + std::to_string(i) + "." +
         std::to_string(k);
}

void WriteParam(Writer& w, int depth, const SettingsParam& param, int i) {
  const ParamKind kind = param.kind;
  switch (kind) {
    case ParamKind::kString:
    case ParamKind::kInteger:
    case ParamKind::kDouble:
    case ParamKind::kBoolean:
    case ParamKind::kEnum:
    case ParamKind::kFieldName:
      w.Open(depth, "Parameter")
          .Attr("name", param.name)
          .Attr("type", TypeText(kind))
          .Attr("value", ValueText(kind, i, 0))
          .EndEmpty();
      return;
    case ParamKind::kNameList:
    case ParamKind::kArrayString:
    case ParamKind::kArrayInteger:
    case ParamKind::kArrayDouble:
      w.Open(depth, "Parameter").Attr("name", param.name).Attr("type", TypeText(kind));
      if (kind == ParamKind::kNameList) w.Attr("isList", "true");
      w.End().Open(depth + 1, "ListValue").End();
      for (int k = 0; k < 5; ++k) {
        w.Open(depth + 2, "Value").Attr("value", ValueText(kind, i, k)).EndEmpty();
      }
      w.Close(depth + 1, "ListValue").Close(depth, "Parameter");
      return;
    case ParamKind::kMatrixInteger:
    case ParamKind::kMatrixDouble:
    case ParamKind::kMatrixString:
      w.Open(depth, "MatrixParmeter").Attr("name", param.name).End();
      for (int row = 0; row < 3; ++row) {
        w.Open(depth + 1, "ArrayParameter").End();
        for (int k = 0; k < 3; ++k) {
          w.Open(depth + 2, "Value").Attr("value", ValueText(kind, i, row * 3 + k)).EndEmpty();
        }
        w.Close(depth + 1, "ArrayParameter");
      }
      w.Close(depth, "MatrixParmeter");
      return;
  }
}

class SettingsWriter {
 public:
  explicit SettingsWriter(SettingsDocument& doc) : m_doc(doc), m_w(doc.text) {
    for (size_t i = 0; i < doc.params.size(); ++i) {
      const int group = doc.params[i].group;
      if (group < 0) continue;
      if (m_members.size() <= static_cast<size_t>(group)) m_members.resize(group + 1);
      m_members[group].push_back(static_cast<int>(i));
    }
  }

  // A group, its members and the group nested in it.
  void Group(int depth, int j) {
    m_w.Open(depth, "ComplexParameter").Attr("name", m_doc.groups[j].name).End();
    for (const int i : m_members[j]) WriteParam(m_w, depth + 1, m_doc.params[i], i);
    if (j + 1 < static_cast<int>(m_doc.groups.size()) && m_doc.groups[j + 1].parent == j) {
      Group(depth + 1, j + 1);
    }
    m_w.Close(depth, "ComplexParameter");
  }

  // Top-level parameters in order; a chain of groups stands where its first
  // member would.
  void Parameters(int depth) {
    int nextGroup = 0;
    for (size_t i = 0; i < m_doc.params.size(); ++i) {
      const SettingsParam& param = m_doc.params[i];
      if (param.group < 0) {
        WriteParam(m_w, depth, param, static_cast<int>(i));
      } else if (param.group == nextGroup) {
        Group(depth, nextGroup);
        nextGroup += kGroupChain;
      }
    }
  }

  Writer& w() { return m_w; }

 private:
  SettingsDocument& m_doc;
  Writer m_w;
  std::vector<std::vector<int>> m_members;
};

}  // namespace

std::string FieldName(int i) {
  return Padded("field", i, 6);
}

std::string GeneratePmml(int fields) {
  std::string text;
  text.reserve(static_cast<size_t>(fields) * 1300 + 4096);
  Writer w(text);
  w.Raw(kHeader);
  w.Open(1, "DataDictionary").Attr("numberOfFields", fields).End();
  for (int i = 0; i < fields; ++i) {
    if (IsContinuous(i)) {
      WriteContinuousField(w, i);
    } else {
      WriteCategoricalField(w, i);
    }
  }
  w.Close(1, "DataDictionary");
  w.Open(1, "TransformationDictionary").End();
  for (int i = 1; i < fields; i += 2) WriteDiscretize(w, i);
  w.Close(1, "TransformationDictionary");

  w.Open(1, "TreeModel").Attr("modelName", "bench").Attr("functionName", "classification").End();
  w.Open(2, "MiningSchema").End();
  for (int i = 0; i < fields; ++i) w.Open(3, "MiningField").Attr("name", FieldName(i)).EndEmpty();
  w.Close(2, "MiningSchema");
  w.Open(2, "ModelStats").End();
  for (int i = 0; i < fields; ++i) WriteStats(w, i);
  w.Close(2, "ModelStats");
  w.Open(2, "Node").Attr("score", "0").End().Open(3, "True").EndEmpty().Close(2, "Node");
  w.Close(1, "TreeModel");
  w.Raw("</PMML>\n");
  return text;
}

SettingsDocument GenerateSettings(int params) {
  SettingsDocument doc;
  constexpr ParamKind kCycle[] = {
      ParamKind::kString,       ParamKind::kInteger,       ParamKind::kDouble,
      ParamKind::kBoolean,      ParamKind::kEnum,          ParamKind::kFieldName,
      ParamKind::kNameList,     ParamKind::kArrayString,   ParamKind::kArrayInteger,
      ParamKind::kArrayDouble,  ParamKind::kMatrixInteger, ParamKind::kMatrixDouble,
      ParamKind::kMatrixString,
  };
  constexpr int kKinds = sizeof kCycle / sizeof kCycle[0];
  int grouped = 0;
  for (int i = 0; i < params; ++i) {
    SettingsParam param{ParamName(i), kCycle[i % kKinds], -1};
    if (i % 5 == 4) {
      param.group = grouped++ / kParamsPerGroup;
      // Names are looked up without a scope only at the top.
      if (param.kind == ParamKind::kNameList) param.kind = ParamKind::kString;
    }
    doc.params.push_back(param);
  }
  const int groups = (grouped + kParamsPerGroup - 1) / kParamsPerGroup;
  for (int j = 0; j < groups; ++j) {
    doc.groups.push_back({GroupName(j), j % kGroupChain == 0 ? -1 : j - 1});
  }

  doc.text.reserve(static_cast<size_t>(params) * 200 + 4096);
  SettingsWriter writer(doc);
  Writer& w = writer.w();
  w.Raw(kHeader);
  w.Open(1, "MiningBuildTask").End();
  w.Open(2, "Extension").Attr("extender", "mcxml").Attr("name", "buildSettings").End();
  w.Open(3, "Parameters").End();
  writer.Parameters(4);
  w.Close(3, "Parameters").Close(2, "Extension").Close(1, "MiningBuildTask");
  w.Open(1, "DataDictionary").Attr("numberOfFields", 4).End();
  for (int i = 0; i < 4; ++i) {
    if (IsContinuous(i)) {
      WriteContinuousField(w, i);
    } else {
      WriteCategoricalField(w, i);
    }
  }
  w.Close(1, "DataDictionary");
  w.Raw("</PMML>\n");
  return doc;
}

}  // namespace mcxml_bench
