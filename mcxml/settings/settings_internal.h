// Shared by the settings units: the readiness check and the named lookup that
// open every parameter getter, and the reading steps behind the getters.
#ifndef MCXML_SETTINGS_SETTINGS_INTERNAL_H
#define MCXML_SETTINGS_SETTINGS_INTERNAL_H

#include <string>
#include <vector>

#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>

#include "mcxml/common/status.h"
#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/pmml/problems_internal.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

/// Tag names of a settings document.
inline constexpr XMLCh kParameterTag[] = u"Parameter";
inline constexpr XMLCh kComplexParameterTag[] = u"ComplexParameter";
inline constexpr XMLCh kMatrixTag[] = u"MatrixParmeter";
inline constexpr XMLCh kValueTag[] = u"Value";

/// The top-level parameters the role getters read, and the declared types whose
/// getters read something other than text.
inline constexpr char kTargetParam[] = "target";
inline constexpr char kInputsParam[] = "inputs";
inline constexpr char kCatResponsesParam[] = "CatResponses";
inline constexpr char kContResponsesParam[] = "ContResponses";
inline constexpr char kCatPredictorsParam[] = "CatPredictors";
inline constexpr char kContPredictorsParam[] = "ContPredictors";
inline constexpr char kFrequencyWeightParam[] = "FrequencyWeightVar";
inline constexpr char kIntegerType[] = "integer";
inline constexpr char kDoubleType[] = "double";
inline constexpr char kBooleanType[] = "boolean";

/// How the settings builder reads a DataField: the date and time types too (as
/// numbers), and Interval ranges.
inline constexpr MCDataFieldRules kSettingsFieldRules{true, true};
/// How it adds a continuous field without bins: over the range of the field's
/// last Interval.
int AddRangedContVar(MCVarList& varList, const MCDataField& field);

/// One "value" of `elmt` read as the type of `value`, answering as GetIntAttribute
/// does: -1 absent or empty, 1 rejected, 0 read.
int ReadValue(const DOMElement& elmt, std::string& value);
int ReadValue(const DOMElement& elmt, int& value);
int ReadValue(const DOMElement& elmt, double& value);
/// What a "value" of that type must be, for a reason.
const char* Wanted(const std::string&);
const char* Wanted(int);
const char* Wanted(double);
/// 109 for a "value" of `elmt` that is not `wanted`, recorded in `faults`.
MCStatus Rejected(const DOMElement& elmt, MCFaults* faults, const char* wanted);

/// The reading steps of the getters once the named lookup has found the element:
/// each returns what its getter returns then and writes `out` as it does,
/// recording every failure in `faults` when a check asks (null otherwise).
MCStatus ReadParameter(const DOMElement& param, std::string& out, MCFaults* faults);
MCStatus ReadParameter(const DOMElement& param, int& out, MCFaults* faults);
MCStatus ReadParameter(const DOMElement& param, double& out, MCFaults* faults);
MCStatus ReadParameter(const DOMElement& param, bool& out, MCFaults* faults);
MCStatus ReadArrayParameter(const DOMElement& param, std::vector<std::string>& out,
                            MCFaults* faults);
MCStatus ReadArrayParameter(const DOMElement& param, std::vector<int>& out, MCFaults* faults);
MCStatus ReadArrayParameter(const DOMElement& param, std::vector<double>& out, MCFaults* faults);
MCStatus ReadVariables(const DOMElement& param, std::string& out, MCFaults* faults);
MCStatus ReadVariables(const DOMElement& param, std::vector<std::string>& out, MCFaults* faults);

/// The first ListValue child of `param`, or null: where a parameter holds a list.
const DOMElement* ListValueOf(const DOMElement& param);

/// The two steps that open every getter; a friend of MCSettingsParser.
class SettingsQuery {
 public:
  /// The stored status when it is not OK; 107 before any load; 119 without
  /// Parameters; otherwise OK.
  static MCStatus CheckReady(const MCSettingsParser& parser);
  /// CheckReady, then the first `tag` child of the scope (`context`, or the
  /// top-level Parameters when null) whose "name" equals `paramName`: 120
  /// (warning) when there is none. `match` is set only on success. The scope is
  /// walked afresh on every call: the caller may have edited it through a handle.
  static MCStatus Find(const MCSettingsParser& parser, const XMLCh* tag, const char* paramName,
                       void* context, const DOMElement*& match);
};

}  // namespace MCXML_1_3

#endif  // MCXML_SETTINGS_SETTINGS_INTERNAL_H
