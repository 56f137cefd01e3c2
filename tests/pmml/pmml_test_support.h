// Helpers for the PMML and settings tests: documents built from their parts, a
// parser that shows its protected state, and values and variable lists as one
// line of text, so that one expected string covers all they hold.
#ifndef MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
#define MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H

#include <cfloat>
#include <string>
#include <type_traits>
#include <vector>

#include "mcxml/common/format.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/pmml_parser.h"
#include "test_support.h"

namespace mcxml_test {

using Str = const std::string&;

/// A PMML document with this DataDictionary content and `rest` after it.
inline std::string Pmml(Str dict, Str rest = "") {
  return "<PMML><DataDictionary>" + dict + "</DataDictionary>" + rest + "</PMML>";
}
/// An attribute with a leading blank, or nothing when `value` is empty.
inline std::string Attr(Str name, Str value) {
  return value.empty() ? "" : " " + name + "='" + value + "'";
}
inline std::string Field(Str name, Str attrs, Str kids = "") {
  return "<DataField name='" + name + "' " + attrs + ">" + kids + "</DataField>";
}
inline std::string Cat(Str name, Str type, Str kids = "") {
  return Field(name, "optype='categorical' dataType='" + type + "'", kids);
}
inline std::string Cont(Str name, Str type, Str kids = "") {
  return Field(name, "optype='continuous' dataType='" + type + "'", kids);
}
/// An Interval; an empty margin or closure is left out.
inline std::string Iv(Str l, Str r, Str c = "closedOpen") {
  return "<Interval" + Attr("closure", c) + Attr("leftMargin", l) + Attr("rightMargin", r) + "/>";
}
/// A bin with one Interval, a Discretize of `field` (none when empty) in its own
/// DerivedField, and the dictionary around those.
inline std::string Bin(Str label, Str left, Str right) {
  return "<DiscretizeBin" + Attr("binValue", label) + ">" + Iv(left, right, "") +
         "</DiscretizeBin>";
}
inline std::string Derived(Str field, Str bins) {
  return "<DerivedField><Discretize" + Attr("field", field) + ">" + bins +
         "</Discretize></DerivedField>";
}
inline std::string Trans(Str derived) {
  return "<TransformationDictionary>" + derived + "</TransformationDictionary>";
}

/// What CheckDocument lists after a secured load of `xml` with element places.
template <class Parser>
std::vector<MCXML_1_3::MCProblem> Checked(Parser& parser, Str xml, bool bins = false) {
  parser.SetSecureProcessing(true);
  parser.SetElementPlaces(true);
  static_cast<void>(Load(parser, xml));
  return parser.CheckDocument(bins);
}

struct ProbeParser : MCXML_1_3::MCPMMLParser {
  using MCPMMLParser::FillCutPointsFreqs;
  using MCPMMLParser::m_dataDictElmt;
  using MCPMMLParser::m_modelElmt;
  using MCPMMLParser::m_status;
  using MCPMMLParser::m_transDictElmt;
  using MCPMMLParser::SetBinsFrTransDict;
};

// clang-format off
inline std::string Text(Str v) { return v; }
inline std::string Text(int v) { return std::to_string(v); }
inline std::string Text(bool v) { return v ? "true" : "false"; }
// clang-format on
/// The open ends as "max" and "-max" (the missing value is "-max" too).
inline std::string Text(double v) {
  return v == DBL_MAX ? "max" : v == -DBL_MAX ? "-max" : MCXML_1_3::Format(v, false, nullptr);
}
/// Values joined by ","; rows each in brackets.
template <class T>
std::string Text(const std::vector<T>& items) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if constexpr (std::is_class_v<T> && !std::is_same_v<T, std::string>) {
      out += "[" + Text(items[i]) + "]";
    } else {
      out += (i ? "," : "") + Text(items[i]);
    }
  }
  return out;
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
    if (info.dataType) out += "#" + Text(*info.dataType);
    if (info.kind == MCXML_1_3::MCVariableInfo::Kind::Categorical)
      out += "{" + (info.textValues ? Text(info.texts) : Text(info.numbers)) + "}";
    if (info.valueLabels && !info.valueLabels->empty()) out += "<" + Text(*info.valueLabels) + ">";
    if (info.range) {
      out += "[" + Text(info.range->first) + "," + Text(info.range->second) +
             (info.isDiscrete.value_or(false) ? "d" : "") + (info.precision != -1 ? "p" : "") + "]";
    }
    if (info.cutPoints) out += "|" + Text(*info.cutPoints) + "|";
    if (encoder.GetBinLabels()) out += "(" + Text(*encoder.GetBinLabels()) + ")";
    if (info.rounding) out += "w" + Text(*info.rounding);
    for (const MCXML_1_3::MCInvalidValue& v : encoder.GetInvalidValues())
      out += " !" + (v.isText ? v.text : Text(v.number)) + "=" + v.label;
    if (const auto& r = encoder.GetInvalidRange())
      out += " ![" + Text(r->first) + "," + Text(r->second) + "]";
    if (info.role != 4) out += "@" + Text(info.role);
  }
  return out;
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_PMML_PMML_TEST_SUPPORT_H
