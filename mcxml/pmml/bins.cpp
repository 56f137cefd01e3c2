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

namespace {

// The first Discretize child of `derivedField` whose "field" is `fieldName`, or
// `converted` when that is its UTF-16 form (a name that is not ASCII, converted once
// for the whole walk rather than once per Discretize).
const DOMElement* MatchingDiscretize(const DOMElement& derivedField, const char* fieldName,
                                     const std::vector<XMLCh>& converted) {
  for (const DOMNode* node = derivedField.getFirstChild(); node != nullptr;
       node = node->getNextSibling()) {
    const DOMElement* discretize = AsElement(*node, "Discretize");
    if (discretize == nullptr) continue;
    const XMLCh* field = GetAttribute(*discretize, "field");
    if (converted.empty() ? XStrEqualsUTF8Str(field, fieldName) : TextIs(field, converted.data())) {
      return discretize;
    }
  }
  return nullptr;
}

}  // namespace

bool MCPMMLParser::SetBinsFrTransDict(const std::string& fieldName, std::vector<double>& cutPoints,
                                      std::vector<std::string>& binLabels) const {
  cutPoints.clear();
  binLabels.clear();
  const std::vector<XMLCh> converted =
      IsAscii(fieldName.c_str()) ? std::vector<XMLCh>() : ToUTF16(fieldName.c_str());
  for (const DOMNode* node = m_transDictElmt->getFirstChild(); node != nullptr;
       node = node->getNextSibling()) {
    const DOMElement* derivedField = AsElement(*node, "DerivedField");
    if (derivedField == nullptr) continue;
    if (const DOMElement* discretize =
            MatchingDiscretize(*derivedField, fieldName.c_str(), converted)) {
      ReadBins(*discretize, cutPoints, binLabels);
      return true;
    }
  }
  return false;
}

bool MCBinsIndex::Extend() {
  if (m_complete) return false;
  if (!m_started) {
    m_started = true;
    m_derived = ElementFrom(m_transDict->getFirstChild(), m_derivedTag);
  }
  for (; m_derived != nullptr; m_derived = ElementFrom(m_derived->getNextSibling(), m_derivedTag)) {
    m_discretize = ElementFrom(
        m_discretize == nullptr ? m_derived->getFirstChild() : m_discretize->getNextSibling(),
        m_discretizeTag);
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
  for (const DOMElement* bin = ElementFrom(discretize.getFirstChild(), binTag); bin != nullptr;
       bin = ElementFrom(bin->getNextSibling(), binTag)) {
    ahead.At(bin);
    const XMLCh* binValue[1];
    ReadAttributes(*bin, binValueAttr, binValue);
    if (binValue[0] != nullptr) binLabels.push_back(ToUTF8(binValue[0]));
    for (const DOMElement* interval = ElementFrom(bin->getFirstChild(), intervalTag);
         interval != nullptr; interval = ElementFrom(interval->getNextSibling(), intervalTag)) {
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
