// Report: key names and key order of the tool's output.
#include "report.h"

#include <vector>

namespace MCXML_1_3 {
namespace tool {

namespace {

void WriteNumbers(JsonWriter& json, const std::vector<double>& values) {
  json.BeginArray();
  for (double value : values) json.Number(value);
  json.EndArray();
}

void WriteTexts(JsonWriter& json, const std::vector<std::string>& texts) {
  json.BeginArray();
  for (const std::string& text : texts) json.String(text);
  json.EndArray();
}

const char* KindName(MCVariableInfo::Kind kind) {
  switch (kind) {
    case MCVariableInfo::Kind::Categorical:
      return "categorical";
    case MCVariableInfo::Kind::Continuous:
      return "continuous";
    case MCVariableInfo::Kind::Weight:
      return "weight";
  }
  return "";
}

const char* KindName(MCUniStats::Kind kind) {
  switch (kind) {
    case MCUniStats::Kind::Empty:
      return "empty";
    case MCUniStats::Kind::Categorical:
      return "categorical";
    case MCUniStats::Kind::Continuous:
      return "continuous";
  }
  return "";
}

void WriteVariable(JsonWriter& json, const MCVariableInfo& info, const IMCEncoder& encoder) {
  json.BeginObject();
  json.Key("name").String(info.name);
  json.Key("label").String(info.label);
  json.Key("role").Integer(info.role);
  json.Key("kind").String(KindName(info.kind));
  if (info.dataType) json.Key("dataType").Integer(*info.dataType);
  switch (info.kind) {
    case MCVariableInfo::Kind::Categorical:
      json.Key("values");
      if (info.textValues) {
        WriteTexts(json, info.texts);
      } else {
        WriteNumbers(json, info.numbers);
      }
      if (info.valueLabels) WriteTexts(json.Key("valueLabels"), *info.valueLabels);
      break;
    case MCVariableInfo::Kind::Continuous:
      if (info.range) {
        json.Key("min").Number(info.range->first);
        json.Key("max").Number(info.range->second);
      }
      if (info.isDiscrete) {
        json.Key("isDiscrete").Bool(*info.isDiscrete);
        json.Key("precision").Integer(info.precision);
      }
      if (info.cutPoints) {
        WriteNumbers(json.Key("cutPoints"), *info.cutPoints);
        json.Key("isBinned").Bool(info.isBinned);
      }
      break;
    case MCVariableInfo::Kind::Weight:
      if (info.rounding) json.Key("rounding").Integer(*info.rounding);
      break;
  }
  if (const auto& labels = encoder.GetBinLabels()) WriteTexts(json.Key("binLabels"), *labels);
  if (const auto& invalid = encoder.GetInvalidValues(); !invalid.empty()) {
    json.Key("invalidValues").BeginArray();
    for (const MCInvalidValue& value : invalid) {
      json.BeginObject().Key("value");
      if (value.isText) {
        json.String(value.text);
      } else {
        json.Number(value.number);
      }
      json.Key("label").String(value.label).EndObject();
    }
    json.EndArray();
  }
  if (const auto& range = encoder.GetInvalidRange()) {
    json.Key("invalidRange").BeginArray().Number(range->first).Number(range->second).EndArray();
  }
  json.EndObject();
}

}  // namespace

void WriteStatus(JsonWriter& json, const MCCommon_1_3::MCStatus& status) {
  json.BeginObject();
  json.Key("code").Integer(status.GetCode());
  json.Key("warning").Bool(status.IsWarning());
  json.EndObject();
}

void WriteLoad(JsonWriter& json, Outcome& outcome, const MCCommon_1_3::MCStatus& load,
               const std::string& message, unsigned parseErrors) {
  WriteStatus(json.Key("load"), load);
  json.Key("message").String(message);
  json.Key("parseErrors").Integer(parseErrors);
  outcome.Note(load);
  if (parseErrors != 0) outcome.Fail();
}

void SetUp(MCPMMLParser& parser, const Invocation& invocation) {
  if (!invocation.trust) parser.SetSecureProcessing(true);
  if (!invocation.whole) parser.SetLeanReading(true);
}

void LoadDocument(MCPMMLParser& parser, const Invocation& invocation, std::istream& in,
                  JsonWriter& json, Outcome& outcome) {
  SetUp(parser, invocation);
  const MCStatus load = parser.ParseToDOM(in);
  WriteLoad(json, outcome, load, parser.GetXercesMessage(), parser.GetErrorCount());
}

void WriteVariables(JsonWriter& json, const MCVarList& varList) {
  json.Key("variables").BeginArray();
  for (int i = 0; i < varList.GetCount(); ++i) {
    WriteVariable(json, varList.GetVarAt(i)->GetInfo(), *varList.GetEncoderAt(i));
  }
  json.EndArray();
}

void WriteUniStats(JsonWriter& json, const MCUniStats& stats) {
  json.BeginObject();
  json.Key("name").String(stats.GetName());
  json.Key("totalFreq").Number(stats.GetTotalFreq());
  json.Key("kind").String(KindName(stats.GetKind()));
  switch (stats.GetKind()) {
    case MCUniStats::Kind::Empty:
      break;
    case MCUniStats::Kind::Categorical:
      WriteNumbers(json.Key("counts"), stats.GetCounts());
      break;
    case MCUniStats::Kind::Continuous: {
      const MCUniStats::SummStats& summary = stats.GetSummStats();
      json.Key("summary").BeginObject();
      json.Key("minimum").Number(summary.minimum);
      json.Key("maximum").Number(summary.maximum);
      json.Key("mean").Number(summary.mean);
      json.Key("standardDeviation").Number(summary.standardDeviation);
      json.EndObject();
      WriteNumbers(json.Key("cutPoints"), stats.GetCutPoints());
      WriteNumbers(json.Key("freqs"), stats.GetFreqs());
      break;
    }
  }
  json.Key("valid").Bool(stats.IsValid());
  json.EndObject();
}

}  // namespace tool
}  // namespace MCXML_1_3
