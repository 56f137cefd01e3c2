// A variable list as one line of text, so that a test compares everything the
// list holds with one expected string. Shared by the PMML and settings tests.
#ifndef MCXML_TESTS_PMML_VAR_LIST_TEXT_H
#define MCXML_TESTS_PMML_VAR_LIST_TEXT_H

#include <cfloat>
#include <string>
#include <vector>

#include "mcxml/common/format.h"
#include "mcxml/common/var_list.h"

namespace mcxml_test {

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

/// Per variable, joined by ";": name'label'#dataType{values}<value labels>
/// [min,max] (d: discrete, p: a precision other than -1) |inner cut points|
/// (bin labels) w<rounding> !invalid=label ![invalid range] @role (when not 4);
/// each part only where the variable has it, value labels only when not empty.
inline std::string VarListText(const MCXML_1_3::MCVarList& list) {
  std::string out;
  for (int i = 0; i < list.GetCount(); ++i) {
    const MCXML_1_3::MCVariableInfo& info = list.GetVarAt(i)->GetInfo();
    const MCXML_1_3::IMCEncoder& encoder = *list.GetEncoderAt(i);
    std::vector<std::string> numbers;
    for (double v : info.numbers) numbers.push_back(Num(v));
    out += (i ? ";" : "") + info.name + (info.label.empty() ? "" : "'" + info.label + "'");
    if (info.dataType) out += "#" + std::to_string(*info.dataType);
    if (info.kind == MCXML_1_3::MCVariableInfo::Kind::Categorical)
      out += Join(info.textValues ? info.texts : numbers, "{", "}");
    if (info.valueLabels && !info.valueLabels->empty()) out += Join(*info.valueLabels, "<", ">");
    if (info.range) {
      out += "[" + Num(info.range->first) + "," + Num(info.range->second) +
             (info.isDiscrete.value_or(false) ? "d" : "") + (info.precision != -1 ? "p" : "") + "]";
    }
    if (info.cutPoints) {
      numbers.clear();
      for (double v : *info.cutPoints) numbers.push_back(Num(v));
      out += Join(numbers, "|", "|");
    }
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

#endif  // MCXML_TESTS_PMML_VAR_LIST_TEXT_H
