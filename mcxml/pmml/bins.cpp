// Discretization bins: a continuous field's cut points and bin labels, read from
// the Discretize of the transformation dictionary that names the field, and the
// step that hands them to a variable list.
#include <cfloat>

#include <xercesc/dom/DOMNode.hpp>

#include "mcxml/pmml/data_field_internal.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

namespace {

// The first Discretize child of `derivedField` whose "field" is `fieldName`.
const DOMElement* MatchingDiscretize(const DOMElement& derivedField, const char* fieldName) {
  for (const DOMNode* node = derivedField.getFirstChild(); node != nullptr;
       node = node->getNextSibling()) {
    const DOMElement* discretize = AsElement(*node, "Discretize");
    if (discretize != nullptr && XStrEqualsUTF8Str(GetAttribute(*discretize, "field"), fieldName)) {
      return discretize;
    }
  }
  return nullptr;
}

// The key under which a "field" value is found: absent and empty are alike.
std::u16string FieldKey(const XMLCh* field) {
  return field == nullptr ? std::u16string() : std::u16string(field);
}

}  // namespace

bool MCPMMLParser::SetBinsFrTransDict(const std::string& fieldName, std::vector<double>& cutPoints,
                                      std::vector<std::string>& binLabels) const {
  cutPoints.clear();
  binLabels.clear();
  for (const DOMNode* node = m_transDictElmt->getFirstChild(); node != nullptr;
       node = node->getNextSibling()) {
    const DOMElement* derivedField = AsElement(*node, "DerivedField");
    if (derivedField == nullptr) continue;
    if (const DOMElement* discretize = MatchingDiscretize(*derivedField, fieldName.c_str())) {
      ReadBins(*discretize, cutPoints, binLabels);
      return true;
    }
  }
  return false;
}

const DOMElement* MCBinsIndex::Find(const std::string& fieldName) {
  if (m_transDict == nullptr) return nullptr;
  if (!m_built) {
    m_built = true;
    for (const DOMNode* node = m_transDict->getFirstChild(); node != nullptr;
         node = node->getNextSibling()) {
      const DOMElement* derivedField = AsElement(*node, "DerivedField");
      if (derivedField == nullptr) continue;
      for (const DOMNode* child = derivedField->getFirstChild(); child != nullptr;
           child = child->getNextSibling()) {
        if (const DOMElement* discretize = AsElement(*child, "Discretize")) {
          // emplace keeps the first: later DerivedFields for the same field never count.
          const bool first =
              m_byField.emplace(FieldKey(GetAttribute(*discretize, "field")), m_inOrder.size())
                  .second;
          m_inOrder.push_back({discretize, first});
        }
      }
    }
  }
  // The first Discretize of its "field" is what the lookup below would find for
  // that name, so when the next one in order names the field it is the answer.
  if (m_next < m_inOrder.size() && m_inOrder[m_next].firstOfItsField &&
      XStrEqualsUTF8Str(GetAttribute(*m_inOrder[m_next].elmt, "field"), fieldName.c_str())) {
    return m_inOrder[m_next++].elmt;
  }
  // The same conversion the exact comparison uses, so both agree on every name.
  const std::vector<XMLCh> key = ToUTF16(fieldName.c_str());
  const auto found = m_byField.find(std::u16string(key.data()));
  if (found == m_byField.end()) return nullptr;
  m_next = found->second + 1;
  return m_inOrder[found->second].elmt;
}

void ReadBins(const DOMElement& discretize, std::vector<double>& cutPoints,
              std::vector<std::string>& binLabels) {
  cutPoints.assign(1, 0.0);
  binLabels.clear();
  bool firstInterval = true;
  for (const DOMNode* node = discretize.getFirstChild(); node != nullptr;
       node = node->getNextSibling()) {
    const DOMElement* bin = AsElement(*node, "DiscretizeBin");
    if (bin == nullptr) continue;
    if (const XMLCh* binValue = GetAttribute(*bin, "binValue")) {
      binLabels.push_back(ToUTF8(binValue));
    }
    for (const DOMNode* child = bin->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
      const DOMElement* interval = AsElement(*child, "Interval");
      if (interval == nullptr) continue;
      double right = 0.0;
      cutPoints.push_back(GetDoubleAttribute(*interval, "rightMargin", right) == 0 ? right
                                                                                   : DBL_MAX);
      // Only the first Interval of the whole Discretize gives the left end,
      // whichever bin it stands in.
      if (firstInterval) {
        firstInterval = false;
        double left = 0.0;
        cutPoints[0] = GetDoubleAttribute(*interval, "leftMargin", left) == 0 ? left : -DBL_MAX;
      }
    }
  }
}

MCStatus AddBinnedContVar(MCVarList& varList, MCBinsIndex& bins, const std::string& name,
                          const std::string& label, bool& added, int& index) {
  added = false;
  const DOMElement* discretize = bins.Find(name);
  if (discretize == nullptr) return MCStatus(110, false);
  std::vector<double> cutPoints;
  std::vector<std::string> binLabels;
  ReadBins(*discretize, cutPoints, binLabels);
  // No interval or a single bin: no binning worth keeping.
  if (cutPoints.size() <= 2) return MCStatus();

  const std::vector<double> inner(cutPoints.begin() + 1, cutPoints.end() - 1);
  index = varList.AddContVar(name, label, cutPoints.front(), cutPoints.back(), inner, true,
                             IMCVariable::kInput);
  added = true;
  if (index >= 0 && binLabels.size() == inner.size() + 1 && binLabels.front() != "0") {
    varList.GetEncoderAt(index)->SetBinLabels(binLabels);
  }
  return MCStatus();
}

}  // namespace MCXML_1_3
