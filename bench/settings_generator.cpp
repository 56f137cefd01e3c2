// The build-settings document generator for the benchmarks. Every value comes
// from the parameter's index, so the output depends on the argument alone.
#include <string>
#include <vector>

#include "generator.h"
#include "generator_parts.h"

namespace mcxml_bench {
namespace {

constexpr int kParamsPerGroup = 10;
constexpr int kGroupChain = 4;  // a top-level group and three nested below it

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
      return FieldName(PmmlShape(), static_cast<int>(Mix(i, k) % 400));
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
  w.Raw(kPmmlHeader);
  w.Open(1, "MiningBuildTask").End();
  w.Open(2, "Extension").Attr("extender", "mcxml").Attr("name", "buildSettings").End();
  w.Open(3, "Parameters").End();
  writer.Parameters(4);
  w.Close(3, "Parameters").Close(2, "Extension").Close(1, "MiningBuildTask");
  w.Open(1, "DataDictionary").Attr("numberOfFields", 4).End();
  for (int i = 0; i < 4; ++i) WriteDataField(w, PmmlShape(), i);
  w.Close(1, "DataDictionary");
  w.Raw("</PMML>\n");
  return doc;
}

}  // namespace mcxml_bench
