// Variable names of the top-level scope, as one text or as a list, and the role
// getters that fix the parameter name of each role.
#include <string>
#include <vector>

#include "mcxml/settings/settings_internal.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

namespace {

// Only "isList" marks the list form here; a ListValue alone does not.
bool IsListForm(const DOMElement& param) {
  return XStrEqualsUTF8Str(GetAttribute(param, "isList"), "true");
}

void AppendName(const XMLCh* text, std::vector<std::string>& out) {
  std::string name = ToUTF8(text);
  if (!name.empty()) out.push_back(std::move(name));
}

}  // namespace

MCStatus ReadVariables(const DOMElement& param, std::string& out, MCFaults* faults) {
  const XMLCh* value = GetAttribute(param, "value");
  if (value != nullptr) {
    out = ToUTF8(value);
    return MCStatus();
  }
  if (IsListForm(param)) {
    return Fault(faults, kHoldsList, param, [] {
      return std::string("has no \"value\" and isList is \"true\": it holds a list");
    });
  }
  return Fault(faults, kAttributeMissing, param, [] { return std::string("has no \"value\""); });
}

MCStatus ReadVariables(const DOMElement& param, std::vector<std::string>& out, MCFaults* faults) {
  out.clear();
  if (!IsListForm(param)) {
    const XMLCh* value = GetAttribute(param, "value");
    if (value == nullptr) {
      return Fault(faults, kAttributeMissing, param,
                   [] { return std::string("has no \"value\""); });
    }
    AppendName(value, out);
    return MCStatus();
  }
  const DOMElement* list = ListValueOf(param);
  if (list == nullptr) {
    return Fault(faults, kNoListValue, param,
                 [] { return std::string("isList is \"true\" but there is no ListValue"); });
  }
  PooledName valueTag(kValueTag);
  for (const DOMElement* entry = GetFirstChildElmt(*list, valueTag); entry != nullptr;
       entry = GetNextSiblingElmt(*entry, valueTag)) {
    const XMLCh* value = GetAttribute(*entry, "value");
    if (value == nullptr) {
      return Fault(faults, kAttributeMissing, *entry,
                   [] { return std::string("a Value has no \"value\""); });
    }
    AppendName(value, out);
  }
  return MCStatus();
}

MCStatus MCSettingsParser::GetVariables(const char* paramName, std::string& out) const {
  const DOMElement* param = nullptr;
  const MCStatus found = SettingsQuery::Find(*this, kParameterTag, paramName, nullptr, param);
  if (!found.IsOK()) return found;
  return ReadVariables(*param, out, nullptr);
}

MCStatus MCSettingsParser::GetVariables(const char* paramName,
                                        std::vector<std::string>& out) const {
  const DOMElement* param = nullptr;
  const MCStatus found = SettingsQuery::Find(*this, kParameterTag, paramName, nullptr, param);
  if (!found.IsOK()) return found;
  return ReadVariables(*param, out, nullptr);
}

MCStatus MCSettingsParser::GetTargetVars(std::vector<std::string>& out) const {
  return GetArray(kTargetParam, out, nullptr);
}

MCStatus MCSettingsParser::GetPredictors(std::vector<std::string>& out) const {
  return GetArray(kInputsParam, out, nullptr);
}

MCStatus MCSettingsParser::GetCatResponseVars(std::vector<std::string>& out) const {
  return GetVariables(kCatResponsesParam, out);
}

MCStatus MCSettingsParser::GetContResponseVars(std::vector<std::string>& out) const {
  return GetVariables(kContResponsesParam, out);
}

MCStatus MCSettingsParser::GetCatPredictors(std::vector<std::string>& out) const {
  return GetVariables(kCatPredictorsParam, out);
}

MCStatus MCSettingsParser::GetContPredictors(std::vector<std::string>& out) const {
  return GetVariables(kContPredictorsParam, out);
}

MCStatus MCSettingsParser::GetFrequencyWeight(std::string& out) const {
  return GetVariables(kFrequencyWeightParam, out);
}

}  // namespace MCXML_1_3
