// MCSettingsParser::FillVarList: one variable per DataField of a settings
// document, read by the shared DataField reader with the settings rules, each
// told its data type afterwards.
#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/settings/settings_internal.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

MCStatus MCSettingsParser::FillVarList(MCVarList& varList, bool useBins) const {
  // Nothing in the library fills the table of field codes.
  return FillVarList(varList, useBins, FieldCodes());
}

MCStatus MCSettingsParser::FillVarList(MCVarList& varList, bool useBins,
                                       const FieldCodes& fieldCodes) const {
  MCStatus result = m_status;
  if (result.IsOK() && m_document == nullptr) result = MCStatus(107, false);
  if (!result.IsOK()) return result;

  MCBinsIndex bins(m_transDictElmt);
  const XName fieldTag("DataField");
  for (const DOMElement* elmt = FirstChildNamed(*m_dataDictElmt, fieldTag); elmt != nullptr;
       elmt = NextSiblingNamed(*elmt, fieldTag)) {
    MCDataField field;
    MCStatus status = ReadDataField(*elmt, GetAttribute(*elmt, "name"), kSettingsFieldRules, field);
    if (!status.IsOK()) return status;

    if (field.continuous && !fieldCodes.empty()) {
      const auto code = fieldCodes.find(field.name);
      if (code != fieldCodes.end() && code->second == kWeightFieldCode) {
        // The weight variable takes no bins, invalid values or data type.
        if (varList.SetWeightVar(field.name, field.label, IMCVariable::kRoundNearest) < 0) {
          return MCStatus(111, false);
        }
        continue;
      }
    }

    int index = -1;
    status = AddField(varList, bins, field, useBins, AddRangedContVar, index);
    if (!status.IsOK()) return status;
    IMCVariable* variable = varList.GetVarAt(index);
    if (variable == nullptr) return MCStatus(111, false);
    variable->SetDataType(field.dataTypeCode);
  }
  return result;
}

}  // namespace MCXML_1_3
