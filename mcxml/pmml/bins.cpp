// Discretization bins: a continuous field's cut points and bin labels, read from
// the Discretize of the transformation dictionary that names the field, and the
// step that hands them to a variable list.
#include <cfloat>

#include <xercesc/dom/DOMNode.hpp>

#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/plain_text_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

bool MCPMMLParser::SetBinsFrTransDict(const std::string& fieldName, std::vector<double>& cutPoints,
                                      std::vector<std::string>& binLabels) const {
  cutPoints.clear();
  binLabels.clear();
  // Converted once for the whole walk rather than once per Discretize.
  const Utf16Name wanted(fieldName.c_str());
  PooledName derivedTag(u"DerivedField");
  PooledName discretizeTag(u"Discretize");
  for (const DOMElement* derived = GetFirstChildElmt(*m_transDictElmt, derivedTag);
       derived != nullptr; derived = GetNextSiblingElmt(*derived, derivedTag)) {
    for (const DOMElement* discretize = GetFirstChildElmt(*derived, discretizeTag);
         discretize != nullptr; discretize = GetNextSiblingElmt(*discretize, discretizeTag)) {
      if (TextIs(GetAttribute(*discretize, "field"), wanted.get())) {
        ReadBins(*discretize, cutPoints, binLabels);
        return true;
      }
    }
  }
  return false;
}

bool MCBinsIndex::Extend() {
  if (m_complete) return false;
  if (!m_started) {
    m_started = true;
    m_derived = GetFirstChildElmt(*m_transDict, m_derivedTag);
  }
  for (; m_derived != nullptr; m_derived = GetNextSiblingElmt(*m_derived, m_derivedTag)) {
    m_discretize = m_discretize == nullptr ? GetFirstChildElmt(*m_derived, m_discretizeTag)
                                           : GetNextSiblingElmt(*m_discretize, m_discretizeTag);
    if (m_discretize == nullptr) continue;
    const XMLCh* field[1];
    ReadAttributes(*m_discretize, m_fieldAttr, field);
    // emplace keeps the first: later DerivedFields for the same field never count.
    // Absent and empty are alike.
    const bool first =
        m_byField.emplace(field[0] != nullptr ? field[0] : u"", m_inOrder.size()).second;
    m_inOrder.push_back({m_discretize, field[0], first});
    return true;
  }
  m_complete = true;
  return false;
}

const DOMElement* MCBinsIndex::Find(const std::string& fieldName) {
  if (m_transDict == nullptr) return nullptr;
  if (m_next == m_inOrder.size()) Extend();
  // The first Discretize of its "field" is what the lookup below would find for
  // that name, so when the next one in order names the field it is the answer.
  if (m_next < m_inOrder.size() && m_inOrder[m_next].firstOfItsField &&
      XStrEqualsUTF8Str(m_inOrder[m_next].field, fieldName.c_str())) {
    return m_inOrder[m_next++].elmt;
  }
  while (Extend()) {
  }
  // The same conversion the exact comparison uses, so both agree on every name.
  const std::vector<XMLCh> key = ToUTF16(fieldName.c_str());
  const auto found = m_byField.find(std::u16string_view(key.data()));
  if (found == m_byField.end()) return nullptr;
  m_next = found->second + 1;
  return m_inOrder[found->second].elmt;
}

void ReadBins(const DOMElement& discretize, std::vector<double>& cutPoints,
              std::vector<std::string>& binLabels) {
  cutPoints.assign(1, 0.0);
  binLabels.clear();
  PooledName binTag(u"DiscretizeBin");
  PooledName intervalTag(u"Interval");
  PooledName binValueAttr[1] = {PooledName(u"binValue")};
  PooledName marginAttrs[2] = {PooledName(u"leftMargin"), PooledName(u"rightMargin")};
  ReadAhead ahead;
  ahead.At(&discretize);
  bool firstInterval = true;
  for (const DOMElement* bin = GetFirstChildElmt(discretize, binTag); bin != nullptr;
       bin = GetNextSiblingElmt(*bin, binTag)) {
    ahead.At(bin);
    const XMLCh* binValue[1];
    ReadAttributes(*bin, binValueAttr, binValue);
    if (binValue[0] != nullptr) binLabels.push_back(ToUTF8(binValue[0]));
    for (const DOMElement* interval = GetFirstChildElmt(*bin, intervalTag); interval != nullptr;
         interval = GetNextSiblingElmt(*interval, intervalTag)) {
      const XMLCh* margins[2];
      ReadAttributes(*interval, marginAttrs, margins);
      double right = 0.0;
      cutPoints.push_back(margins[1] != nullptr && XStrToDouble(margins[1], right) ? right
                                                                                   : DBL_MAX);
      // Only the first Interval of the whole Discretize gives the left end,
      // whichever bin it stands in.
      if (firstInterval) {
        firstInterval = false;
        double left = 0.0;
        cutPoints[0] = margins[0] != nullptr && XStrToDouble(margins[0], left) ? left : -DBL_MAX;
      }
    }
  }
}

MCStatus AddBinnedContVar(MCVarList& varList, MCBinsIndex& bins, MCDataField& field, bool& added,
                          int& index) {
  added = false;
  const DOMElement* discretize = bins.Find(field.name);
  if (discretize == nullptr) return kNoBins;
  std::vector<double>& cutPoints = field.cutPoints;
  ReadBins(*discretize, cutPoints, field.binLabels);
  // No interval or a single bin: no binning worth keeping.
  if (cutPoints.size() <= 2) return MCStatus();

  const double min = cutPoints.front();
  const double max = cutPoints.back();
  const std::size_t binCount = cutPoints.size() - 1;
  index = varList.AddContVar(field.name, field.label, min, max,
                             std::vector<double>(cutPoints.begin() + 1, cutPoints.end() - 1), true,
                             IMCVariable::kInput);
  added = true;
  if (index >= 0 && field.binLabels.size() == binCount && field.binLabels.front() != "0") {
    varList.GetEncoderAt(index)->SetBinLabels(field.binLabels);
  }
  return MCStatus();
}

}  // namespace MCXML_1_3
