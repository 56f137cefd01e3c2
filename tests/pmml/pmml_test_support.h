// Helpers for the PMML tests (the settings tests use them too): documents built
// from their parts, a parser that shows its protected state, and a variable list
// as one line of text, so that one expected string covers all the list holds.
#ifndef MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
#define MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H

#include <cfloat>
#include <sstream>
#include <string>
#include <vector>

#include "mcxml/common/format.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/pmml_parser.h"
#include "test_support.h"

namespace mcxml_test {

/// A PMML document with this DataDictionary content and `rest` after it.
inline std::string Pmml(const std::string& dict, const std::string& rest = "") {
  return "<PMML><DataDictionary>" + dict + "</DataDictionary>" + rest + "</PMML>";
}

/// An attribute with a leading blank, or nothing when `value` is empty.
inline std::string Attr(const std::string& name, const std::string& value) {
  return value.empty() ? "" : " " + name + "='" + value + "'";
}

class ProbeParser : public MCXML_1_3::MCPMMLParser {
 public:
  using MCPMMLParser::FillCutPointsFreqs;
  using MCPMMLParser::m_dataDictElmt;
  using MCPMMLParser::m_modelElmt;
  using MCPMMLParser::m_status;
  using MCPMMLParser::m_transDictElmt;
  using MCPMMLParser::SetBinsFrTransDict;

  MCCommon_1_3::MCStatus Load(const std::string& xml) {
    std::istringstream in(xml);
    return ParseToDOM(in);
  }
};

/// The open ends as "max" and "-max" (the missing value is "-max" too).
inline std::string Num(double v) {
  return v == DBL_MAX ? "max" : v == -DBL_MAX ? "-max" : MCXML_1_3::Format(v, false, nullptr);
}

inline std::string Join(const std::vector<std::string>& items, const char* open,
                        const char* close) {
  std::string out = open;
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
  return out + close;
}

inline std::string Nums(const std::vector<double>& values, const char* open, const char* close) {
  std::vector<std::string> texts;
  for (double v : values) texts.push_back(Num(v));
  return Join(texts, open, close);
}

/// Per variable, joined by ";": name'label'#dataType{values}<value labels>
/// [min,max] (d: discrete, p: a precision other than -1) |inner cut points|
/// (bin labels) w<rounding> !invalid=label ![invalid range] @role (when not 4);
/// each part only where the variable has it, value labels only when not empty.
inline std::string VarListText(const MCXML_1_3::MCVarList& list) {
  std::string out;
  for (int i = 0; i < list.GetCount(); ++i) {
    const MCXML_1_3::MCVariableInfo& info = list.GetVarAt(i)->GetInfo();
    const MCXML_1_3::IMCEncoder& encoder = *list.GetEncoderAt(i);
    out += (i ? ";" : "") + info.name + (info.label.empty() ? "" : "'" + info.label + "'");
    if (info.dataType) out += "#" + std::to_string(*info.dataType);
    if (info.kind == MCXML_1_3::MCVariableInfo::Kind::Categorical)
      out += info.textValues ? Join(info.texts, "{", "}") : Nums(info.numbers, "{", "}");
    if (info.valueLabels && !info.valueLabels->empty()) out += Join(*info.valueLabels, "<", ">");
    if (info.range) {
      out += "[" + Num(info.range->first) + "," + Num(info.range->second) +
             (info.isDiscrete.value_or(false) ? "d" : "") + (info.precision != -1 ? "p" : "") + "]";
    }
    if (info.cutPoints) out += Nums(*info.cutPoints, "|", "|");
    if (encoder.GetBinLabels()) out += Join(*encoder.GetBinLabels(), "(", ")");
    if (info.rounding) out += "w" + std::to_string(*info.rounding);
    for (const MCXML_1_3::MCInvalidValue& v : encoder.GetInvalidValues())
      out += " !" + (v.isText ? v.text : Num(v.number)) + "=" + v.label;
    if (const auto& r = encoder.GetInvalidRange())
      out += " ![" + Num(r->first) + "," + Num(r->second) + "]";
    if (info.role != 4) out += "@" + std::to_string(info.role);
  }
  return out;
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
