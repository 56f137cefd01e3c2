// Array parameters (a Parameter read as a list of values) and matrices (a
// MatrixParmeter read as rows of values) of texts, integers and doubles.
#include <string>
#include <utility>
#include <vector>

#include "mcxml/settings/settings_internal.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

int ReadValue(const DOMElement& elmt, std::string& value) {
  const XMLCh* text = GetAttribute(elmt, "value");
  if (text == nullptr) return -1;
  value = ToUTF8(text);
  return 0;
}

int ReadValue(const DOMElement& elmt, int& value) {
  return GetIntAttribute(elmt, "value", 0, value);
}

int ReadValue(const DOMElement& elmt, double& value) {
  return GetDoubleAttribute(elmt, "value", value);
}

const char* Wanted(const std::string&) {
  return "a text";
}
const char* Wanted(int) {
  return "an integer of 0 or more within the range of int";
}
const char* Wanted(double) {
  return "a finite number";
}

namespace {

// A text that converts to nothing is not an array element.
bool Keep(const std::string& value) {
  return !value.empty();
}
bool Keep(int) {
  return true;
}
bool Keep(double) {
  return true;
}

template <class T>
MCStatus AppendValue(const DOMElement& elmt, std::vector<T>& out, MCFaults* faults) {
  T value{};
  const int answer = ReadValue(elmt, value);
  if (answer < 0) {
    return Fault(faults, kNoValue, elmt, [&] {
      return TextIs(elmt.getTagName(), kValueTag)
                 ? std::string("a Value has no \"value\"")
                 : std::string("has no \"value\" and no ListValue");
    });
  }
  if (answer > 0) return Rejected(elmt, faults, Wanted(T{}));
  if (Keep(value)) out.push_back(std::move(value));
  return MCStatus();
}

template <class T>
MCStatus ReadArrayOf(const DOMElement& param, std::vector<T>& out, MCFaults* faults) {
  out.clear();
  const DOMElement* list = ListValueOf(param);
  // Without a ListValue the parameter's own "value" is an array of one.
  if (list == nullptr) return AppendValue(param, out, faults);
  PooledName valueTag(kValueTag);
  const DOMElement* value = GetFirstChildElmt(*list, valueTag);
  if (value == nullptr) {
    return Fault(faults, kNoValue, *list, [] { return std::string("its ListValue has no Value"); });
  }
  // 123 carries the warning flag but is not OK, so it ends the walk like 109.
  MCStatus result;
  for (; value != nullptr && result.IsOK(); value = GetNextSiblingElmt(*value, valueTag)) {
    result = AppendValue(*value, out, faults);
  }
  return result;
}

template <class T>
MCStatus ReadArray(const MCSettingsParser& parser, const char* paramName, std::vector<T>& out,
                   void* context) {
  const DOMElement* param = nullptr;
  const MCStatus found = SettingsQuery::Find(parser, kParameterTag, paramName, context, param);
  if (!found.IsOK()) return found;
  return ReadArrayOf(*param, out, nullptr);
}

template <class T>
MCStatus ReadMatrix(const MCSettingsParser& parser, const char* paramName,
                    std::vector<std::vector<T> >& out, void* context) {
  const DOMElement* matrix = nullptr;
  const MCStatus result = SettingsQuery::Find(parser, kMatrixTag, paramName, context, matrix);
  if (!result.IsOK()) return result;
  out.clear();
  PooledName rowTag(u"ArrayParameter");
  PooledName valueTag(kValueTag);
  for (const DOMElement* row = GetFirstChildElmt(*matrix, rowTag); row != nullptr;
       row = GetNextSiblingElmt(*row, rowTag)) {
    std::vector<T> entries;
    for (const DOMElement* value = GetFirstChildElmt(*row, valueTag); value != nullptr;
         value = GetNextSiblingElmt(*value, valueTag)) {
      // A matrix keeps what it can read and reports nothing about the rest.
      T entry{};
      if (ReadValue(*value, entry) == 0) entries.push_back(std::move(entry));
    }
    out.push_back(std::move(entries));
  }
  return result;
}

}  // namespace

MCStatus ReadArrayParameter(const DOMElement& param, std::vector<std::string>& out,
                            MCFaults* faults) {
  return ReadArrayOf(param, out, faults);
}

MCStatus ReadArrayParameter(const DOMElement& param, std::vector<int>& out, MCFaults* faults) {
  return ReadArrayOf(param, out, faults);
}

MCStatus ReadArrayParameter(const DOMElement& param, std::vector<double>& out, MCFaults* faults) {
  return ReadArrayOf(param, out, faults);
}

MCStatus MCSettingsParser::GetArray(const char* paramName, std::vector<std::string>& out,
                                    void* context) const {
  return ReadArray(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetArray(const char* paramName, std::vector<int>& out,
                                    void* context) const {
  return ReadArray(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetArray(const char* paramName, std::vector<double>& out,
                                    void* context) const {
  return ReadArray(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetMatrix(const char* paramName, std::vector<std::vector<int> >& out,
                                     void* context) {
  return ReadMatrix(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetMatrix(const char* paramName, std::vector<std::vector<double> >& out,
                                     void* context) {
  return ReadMatrix(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetMatrix(const char* paramName,
                                     std::vector<std::vector<std::string> >& out, void* context) {
  return ReadMatrix(*this, paramName, out, context);
}

}  // namespace MCXML_1_3
