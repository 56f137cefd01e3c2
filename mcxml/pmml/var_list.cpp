// MCPMMLParser::FillVarList: one variable per DataField of the data dictionary.
#include <string>
#include <unordered_set>

#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

MCStatus MCPMMLParser::FillVarList(MCVarList& varList, const std::vector<std::string>& names,
                                   bool useBins) const {
  MCStatus result = m_status;
  if (result.IsOK() && m_document == nullptr) result = MCStatus(107, false);
  if (!result.IsOK()) return result;

  // One set per call, so that a field costs the same however many names are asked;
  // the names go through the same conversion as an exact one-by-one comparison.
  std::unordered_set<std::u16string> wanted;
  for (const std::string& name : names) {
    wanted.emplace(ToUTF16(name.c_str()).data());
  }
  MCBinsIndex bins(m_transDictElmt);
  // One record for every field, so that its vectors are allocated once per call.
  MCDataField field;

  for (const DOMElement* elmt = GetFirstChildElmt(*m_dataDictElmt, "DataField"); elmt != nullptr;
       elmt = GetNextSiblingElmt(*elmt, "DataField")) {
    // A nameless field is an error even when the filter would leave it out.
    const XMLCh* name = GetAttribute(*elmt, "name");
    if (name == nullptr) return MCStatus(108, false);
    if (!names.empty() && wanted.count(name) == 0) continue;

    field.Clear();
    MCStatus status = ReadDataField(*elmt, name, kPmmlFieldRules, field);
    if (!status.IsOK()) return status;

    int index = -1;
    status = AddField(varList, bins, field, useBins, AddUnrangedContVar, index);
    if (!status.IsOK()) return status;
  }
  return result;
}

}  // namespace MCXML_1_3
