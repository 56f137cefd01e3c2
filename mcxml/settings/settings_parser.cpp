// Loading a settings document, the readiness check and named lookup shared by
// every getter, the scalar getters, declared types and nested parameter groups.
#include "mcxml/settings/settings_parser.h"

#include <utility>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/settings/settings_internal.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::XMLString;

MCStatus Rejected(const DOMElement& elmt, MCFaults* faults, const char* wanted) {
  return Fault(faults, kAttributeBad, elmt, [&] {
    return "value " + Quoted(GetAttribute(elmt, "value")) + " is not " + wanted;
  });
}

namespace {

// A parameter found without "value": a ListValue child means a list, which the
// scalar getters do not read.
MCStatus NoScalarValue(const DOMElement& param, MCFaults* faults) {
  if (ListValueOf(param) != nullptr) {
    return Fault(faults, kHoldsList, param,
                 [] { return std::string("has no \"value\" but a ListValue: it holds a list"); });
  }
  return Fault(faults, kNoValue, param, [] { return std::string("has no \"value\""); });
}

const std::pair<unsigned int, const char*> kParamTypes[] = {
    {MCSettingsParser::ParamString, "string"},      {MCSettingsParser::ParamDouble, kDoubleType},
    {MCSettingsParser::ParamInteger, kIntegerType}, {MCSettingsParser::ParamBoolean, kBooleanType},
    {MCSettingsParser::ParamEnum, "enum"},          {MCSettingsParser::ParamFieldName, "fieldName"},
    {MCSettingsParser::ParamUnknown, nullptr}};

}  // namespace

const DOMElement* ListValueOf(const DOMElement& param) {
  PooledName tag(u"ListValue");
  return GetFirstChildElmt(param, tag);
}

MCStatus SettingsQuery::CheckReady(const MCSettingsParser& parser) {
  const MCStatus ready = QueryStart(parser.m_status, parser.m_document != nullptr);
  if (ready.IsOK() && parser.m_parametersElmt == nullptr) return kNoParameters;
  return ready;
}

namespace {

constexpr XMLCh kNameAttr[] = u"name";

// The "name" of `elmt` as GetAttribute reads it: the first attribute so named.
// ReadAttributes gives the same, but its bookkeeping for several names costs a
// query over a large scope several per cent.
const XMLCh* NameOf(const DOMElement& elmt, PooledName& nameAttr) {
  const XERCES_CPP_NAMESPACE::DOMNamedNodeMap* attributes = elmt.getAttributes();
  if (attributes == nullptr) return nullptr;
  // item() answers null past the end.
  for (XMLSize_t i = 0;; ++i) {
    const DOMNode* attr = attributes->item(i);
    if (attr == nullptr) return nullptr;
    if (nameAttr.Matches(attr->getNodeName())) {
      return AttributeValue(static_cast<const XERCES_CPP_NAMESPACE::DOMAttr*>(attr));
    }
  }
}

}  // namespace

// Every lookup walks the scope from its first child and reads each name again: a
// caller holding a handle may have changed anything since the last one, and the
// DOM has no record of every kind of change (removing or adding an attribute
// node, renaming a node, editing an attribute's text) by which an index could
// tell that it has gone stale.
MCStatus SettingsQuery::Find(const MCSettingsParser& parser, const XMLCh* tag,
                             const char* paramName, void* context, const DOMElement*& match) {
  const MCStatus ready = CheckReady(parser);
  if (!ready.IsOK()) return ready;
  const DOMElement* scope =
      context != nullptr ? static_cast<const DOMElement*>(context) : parser.m_parametersElmt;
  PooledName tagMatch(tag);
  const Utf16Name wanted(paramName);
  PooledName nameAttr(kNameAttr);
  for (const DOMElement* elmt = GetFirstChildElmt(*scope, tagMatch); elmt != nullptr;
       elmt = GetNextSiblingElmt(*elmt, tagMatch)) {
    // An empty "name" counts as absent, so the empty name is never found.
    const XMLCh* name = NameOf(*elmt, nameAttr);
    if (name != nullptr && XMLString::equals(name, wanted.get())) {
      match = elmt;
      return ready;
    }
  }
  return kNoSuchParameter;
}

MCSettingsParser::MCSettingsParser() = default;

MCSettingsParser::~MCSettingsParser() = default;

MCStatus MCSettingsParser::ParseToDOM(std::istream& in) {
  m_parametersElmt = nullptr;
  const MCStatus loaded = MCPMMLParser::ParseToDOM(in);
  if (!loaded.IsOK()) return loaded;
  // Only the first MiningBuildTask and its first Extension are looked at.
  const DOMElement* task = GetFirstChildElmt(*m_rootElmt, "MiningBuildTask");
  const DOMElement* extension = task ? GetFirstChildElmt(*task, "Extension") : nullptr;
  const DOMElement* params = extension ? GetFirstChildElmt(*extension, "Parameters") : nullptr;
  if (params == nullptr) {
    m_status = kNoParameters;
  } else {
    m_parametersElmt = params;
  }
  return m_status;
}

namespace {

// A negative integer is rejected after GetIntAttribute has already stored it.
template <class T>
MCStatus ReadScalar(const DOMElement& param, T& out, MCFaults* faults) {
  const int answer = ReadValue(param, out);
  if (answer < 0) return NoScalarValue(param, faults);
  if (answer > 0) return Rejected(param, faults, Wanted(out));
  return MCStatus();
}

}  // namespace

MCStatus ReadParameter(const DOMElement& param, std::string& out, MCFaults* faults) {
  return ReadScalar(param, out, faults);
}

MCStatus ReadParameter(const DOMElement& param, int& out, MCFaults* faults) {
  return ReadScalar(param, out, faults);
}

MCStatus ReadParameter(const DOMElement& param, double& out, MCFaults* faults) {
  return ReadScalar(param, out, faults);
}

MCStatus ReadParameter(const DOMElement& param, bool& out, MCFaults* faults) {
  const XMLCh* value = GetAttribute(param, "value");
  if (value == nullptr) return NoScalarValue(param, faults);
  if (XStrEqualsUTF8Str(value, "true")) {
    out = true;
  } else if (XStrEqualsUTF8Str(value, "false")) {
    out = false;
  } else {
    return Rejected(param, faults, "\"true\" or \"false\"");
  }
  return MCStatus();
}

namespace {

// The named Parameter of the scope, read as `T`.
template <class T>
MCStatus GetScalar(const MCSettingsParser& parser, const char* paramName, T& out, void* context) {
  const DOMElement* param = nullptr;
  const MCStatus found = SettingsQuery::Find(parser, kParameterTag, paramName, context, param);
  if (!found.IsOK()) return found;
  return ReadParameter(*param, out, nullptr);
}

}  // namespace

MCStatus MCSettingsParser::GetParameter(const char* paramName, std::string& out,
                                        void* context) const {
  return GetScalar(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetParameter(const char* paramName, int& out, void* context) const {
  return GetScalar(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetParameter(const char* paramName, double& out, void* context) const {
  return GetScalar(*this, paramName, out, context);
}

MCStatus MCSettingsParser::GetParameter(const char* paramName, bool& out, void* context) const {
  return GetScalar(*this, paramName, out, context);
}

MCSettingsParser::ParamType MCSettingsParser::GetParameterType(const char* paramName,
                                                               void* context) {
  const DOMElement* param = nullptr;
  if (!SettingsQuery::Find(*this, kParameterTag, paramName, context, param).IsOK()) {
    return ParamUnknown;
  }
  const XMLCh* type = GetAttribute(*param, "type");
  if (type == nullptr) return ParamUnknown;
  const int pos = FindXStrInList(type, kParamTypes);
  return pos < 0 ? ParamUnknown : static_cast<ParamType>(kParamTypes[pos].first);
}

void* MCSettingsParser::GetComplexParameter(const char* paramName, void* context) {
  const DOMElement* group = nullptr;
  if (!SettingsQuery::Find(*this, kComplexParameterTag, paramName, context, group).IsOK()) {
    return nullptr;
  }
  // The handle is the element itself; callers only hand it back to the getters.
  return const_cast<DOMElement*>(group);
}

}  // namespace MCXML_1_3
