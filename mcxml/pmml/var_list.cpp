// MCPMMLParser::FillVarList: one variable per DataField of the data dictionary.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

MCStatus MCPMMLParser::FillVarList(MCVarList& varList, const std::vector<std::string>& names,
                                   bool useBins) const {
  const MCStatus ready = QueryStart(m_status, m_document != nullptr);
  if (!ready.IsOK()) return ready;

  // One set per call, so that a field costs the same however many names are asked;
  // the names go through the same conversion as an exact one-by-one comparison.
  std::vector<std::vector<XMLCh>> converted;
  converted.reserve(names.size());
  std::unordered_set<std::u16string_view> wanted;
  for (const std::string& name : names) {
    converted.push_back(ToUTF16(name.c_str()));
    wanted.emplace(converted.back().data());
  }
  MCBinsIndex bins(m_transDictElmt);
  MCDataFieldReader reader(kPmmlFieldRules);
  PooledName fieldTag(u"DataField");
  // One record for every field, so that its vectors are allocated once per call.
  MCDataField field;

  for (const DOMElement* elmt = GetFirstChildElmt(*m_dataDictElmt, fieldTag); elmt != nullptr;
       elmt = GetNextSiblingElmt(*elmt, fieldTag)) {
    const MCDataFieldAttributes attributes = reader.Attributes(*elmt);
    // A nameless field is an error even when the filter would leave it out.
    if (attributes.name == nullptr) return kAttributeMissing;
    if (!names.empty() && wanted.count(attributes.name) == 0) continue;

    field.Clear();
    MCStatus status = reader.Read(*elmt, attributes, field);
    if (!status.IsOK()) return status;

    int index = -1;
    status = AddField(varList, bins, field, useBins, AddUnrangedContVar, index);
    if (!status.IsOK()) return status;
  }
  return ready;
}

}  // namespace MCXML_1_3
