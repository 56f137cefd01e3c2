// MCSettingsParser::FillVarList: one variable per DataField of a settings
// document, read by the shared DataField reader with the settings rules, each
// told its data type afterwards.
#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/settings/settings_internal.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

int AddRangedContVar(MCVarList& varList, const MCDataField& field) {
  return varList.AddContVar(field.name, field.label, field.lower, field.upper, IMCVariable::kInput,
                            false, -1);
}

MCStatus MCSettingsParser::FillVarList(MCVarList& varList, bool useBins) const {
  // Nothing in the library fills the table of field codes.
  return FillVarList(varList, useBins, FieldCodes());
}

MCStatus MCSettingsParser::FillVarList(MCVarList& varList, bool useBins,
                                       const FieldCodes& fieldCodes) const {
  const MCStatus ready = QueryStart(m_status, m_document != nullptr);
  if (!ready.IsOK()) return ready;

  MCBinsIndex bins(m_transDictElmt);
  MCDataFieldReader reader(kSettingsFieldRules);
  PooledName fieldTag(u"DataField");
  // One record for every field, so that its vectors are allocated once per call.
  MCDataField field;
  for (const DOMElement* elmt = GetFirstChildElmt(*m_dataDictElmt, fieldTag); elmt != nullptr;
       elmt = GetNextSiblingElmt(*elmt, fieldTag)) {
    field.Clear();
    MCStatus status = reader.Read(*elmt, reader.Attributes(*elmt), field);
    if (!status.IsOK()) return status;

    if (field.continuous && !fieldCodes.empty()) {
      const auto code = fieldCodes.find(field.name);
      if (code != fieldCodes.end() && code->second == kWeightFieldCode) {
        // The weight variable takes no bins, invalid values or data type.
        if (varList.SetWeightVar(field.name, field.label, IMCVariable::kRoundNearest) < 0) {
          return kVariableRefused;
        }
        continue;
      }
    }

    int index = -1;
    status = AddField(varList, bins, field, useBins, AddRangedContVar, index);
    if (!status.IsOK()) return status;
    IMCVariable* variable = varList.GetVarAt(index);
    if (variable == nullptr) return kVariableRefused;
    variable->SetDataType(field.dataTypeCode);
  }
  return ready;
}

}  // namespace MCXML_1_3
