// Reading a DataField and adding it to a variable list; see data_field_internal.h.
#include "mcxml/pmml/data_field_internal.h"

#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include <xercesc/dom/DOMNode.hpp>

#include "mcxml/pmml/problems_internal.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/plain_text_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {

namespace {

struct DataTypeEntry {
  const XMLCh* text;
  int code;
  bool numeric;
  bool dateTime;
};

constexpr DataTypeEntry kDataTypes[] = {
    {u"integer", 1, true, false}, {u"double", 2, true, false}, {u"float", 2, true, false},
    {u"string", 3, false, false}, {u"date", 4, true, true},    {u"time", 5, true, true},
    {u"dateTime", 6, true, true},
};

const DataTypeEntry* FindDataType(const XMLCh* text, const MCDataFieldRules& rules) {
  for (const DataTypeEntry& entry : kDataTypes) {
    if ((rules.dateTimeTypes || !entry.dateTime) && TextIs(text, entry.text)) {
      return &entry;
    }
  }
  return nullptr;
}

// The accepted texts of "dataType", for a reason.
std::string DataTypeTexts(const MCDataFieldRules& rules) {
  std::string texts;
  for (const DataTypeEntry& entry : kDataTypes) {
    if (rules.dateTimeTypes || !entry.dateTime)
      texts += (texts.empty() ? "" : ", ") + ToUTF8(entry.text);
  }
  return texts;
}

// The values of `from`, moved into a vector of their own: the list takes exactly
// what it needs, and `from` keeps its storage for the next field.
template <class T>
std::vector<T> HandOver(std::vector<T>& from) {
  return std::vector<T>(std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// The i-th invalid value's label: the i-th invalid display value, or "".
const std::string& InvalidLabel(const MCDataField& field, size_t i) {
  static const std::string kNoLabel;
  return i < field.invalidDisplays.size() ? field.invalidDisplays[i] : kNoLabel;
}

}  // namespace

void MCDataField::Clear() {
  name.clear();
  label.clear();
  numeric = false;
  continuous = false;
  dataTypeCode = 0;
  validNumbers.clear();
  invalidNumbers.clear();
  validTexts.clear();
  invalidTexts.clear();
  validDisplays.clear();
  invalidDisplays.clear();
  invalidLower = -DBL_MAX;
  invalidUpper = DBL_MAX;
  lower = -DBL_MAX;
  upper = DBL_MAX;
}

MCDataFieldAttributes MCDataFieldReader::Attributes(const DOMElement& elmt) {
  m_ahead.At(&elmt);
  const XMLCh* values[4];
  ReadAttributes(elmt, m_fieldAttrs, values);
  return {values[0], values[1], values[2], values[3]};
}

void MCDataFieldReader::ReadValue(const DOMElement& value, MCDataField& field) {
  const XMLCh* attributes[3];
  ReadAttributes(value, m_valueAttrs, attributes);
  const auto [property, text, display] = attributes;
  const bool valid = property == nullptr || TextIs(property, u"valid");
  if (field.numeric) {
    double number = 0.0;
    if (text != nullptr && XStrToDouble(text, number)) {
      (valid ? field.validNumbers : field.invalidNumbers).push_back(number);
    }
  } else if (text != nullptr) {
    (valid ? field.validTexts : field.invalidTexts).push_back(ToUTF8(text));
  }
  // Kept even when the value itself was dropped: labels pair with values by
  // position only, so a dropped value unbalances the counts on purpose.
  if (display != nullptr) {
    (valid ? field.validDisplays : field.invalidDisplays).push_back(ToUTF8(display));
  }
}

void MCDataFieldReader::ReadInvalidRangeBound(const DOMElement& extension, MCDataField& field) {
  const XMLCh* attributes[2];
  ReadAttributes(extension, m_boundAttrs, attributes);
  const auto [text, name] = attributes;
  double bound = 0.0;
  if (text == nullptr || !XStrToDouble(text, bound)) return;
  if (TextIs(name, u"invalidRangeLower")) {
    field.invalidLower = bound;
  } else if (TextIs(name, u"invalidRangeUpper")) {
    field.invalidUpper = bound;
  }
}

MCStatus MCDataFieldReader::ReadInterval(const DOMElement& interval, MCDataField& field,
                                         MCFaults* faults) {
  const XMLCh* margins[2];
  ReadAttributes(interval, m_marginAttrs, margins);
  double bounds[2] = {-DBL_MAX, DBL_MAX};
  for (int side = 0; side < 2; ++side) {
    if (margins[side] != nullptr && !XStrToDouble(margins[side], bounds[side])) {
      return Fault(faults, kAttributeBad, interval, [&] {
        return std::string("Interval ") + (side == 0 ? "leftMargin " : "rightMargin ") +
               Quoted(margins[side]) + " is not a finite number";
      });
    }
  }
  if (bounds[0] > bounds[1]) {
    return Fault(faults, kAttributeBad, interval, [&] {
      return "Interval leftMargin " + Quoted(margins[0]) + " lies above its rightMargin " +
             Quoted(margins[1]);
    });
  }
  field.lower = bounds[0];
  field.upper = bounds[1];
  return MCStatus();
}

namespace {

// A field's failures: the first is its status. A check (with `faults`) goes on
// past each to what the next attribute tells; a plain read stops at the first.
struct FieldFailures {
  MCFaults* faults;
  MCStatus first;

  /// Records `status`, already listed; true when the read stops there.
  bool Stop(const MCStatus& status) {
    if (first.IsOK()) first = status;
    return faults == nullptr;
  }
  /// Lists `status` at `at` for `reason` and records it.
  template <class Reason>
  bool Stop(const MCStatus& status, const DOMElement& at, Reason reason) {
    static_cast<void>(Fault(faults, status, at, reason));
    return Stop(status);
  }
};

// The field's name, label, data type and optype from its attributes; `type` is
// the data type's entry, null when unknown. False when the read stops.
bool ReadHead(const DOMElement& elmt, const MCDataFieldAttributes& attributes,
              const MCDataFieldRules& rules, MCDataField& field, const DataTypeEntry*& type,
              FieldFailures& failures) {
  if (attributes.name == nullptr) {
    if (failures.Stop(kAttributeMissing, elmt, [] { return std::string("\"name\" is missing"); })) {
      return false;
    }
  } else {
    field.name = ToUTF8(attributes.name);
  }
  field.label = ToUTF8(attributes.displayName);

  const XMLCh* dataType = attributes.dataType;
  type = nullptr;
  if (dataType == nullptr) {
    if (failures.Stop(kAttributeMissing, elmt,
                      [] { return std::string("\"dataType\" is missing"); })) {
      return false;
    }
  } else if ((type = FindDataType(dataType, rules)) == nullptr) {
    if (failures.Stop(kAttributeBad, elmt, [&] {
          return "dataType " + Quoted(dataType) + " is not a known data type (" +
                 DataTypeTexts(rules) + ")";
        })) {
      return false;
    }
  } else {
    field.numeric = type->numeric;
    field.dataTypeCode = type->code;
  }

  if (attributes.optype == nullptr) {
    return !failures.Stop(kAttributeMissing, elmt,
                          [] { return std::string("\"optype\" is missing"); });
  }
  field.continuous = TextIs(attributes.optype, u"continuous");
  return true;
}

}  // namespace

MCStatus MCDataFieldReader::Read(const DOMElement& elmt, const MCDataFieldAttributes& attributes,
                                 MCDataField& field, MCFaults* faults) {
  FieldFailures failures{faults, MCStatus()};
  const DataTypeEntry* type = nullptr;
  // Without a known type the values cannot be read.
  if (!ReadHead(elmt, attributes, m_rules, field, type, failures) || type == nullptr) {
    return failures.first;
  }
  for (const DOMNode* node = elmt.getFirstChild(); node != nullptr; node = node->getNextSibling()) {
    m_ahead.At(node);
    if (node->getNodeType() != DOMNode::ELEMENT_NODE) continue;
    const DOMElement& child = static_cast<const DOMElement&>(*node);
    const XMLCh* tag = child.getNodeName();
    if (m_valueTag.Matches(tag)) {
      ReadValue(child, field);
    } else if (!field.numeric) {
      continue;
    } else if (m_extensionTag.Matches(tag)) {
      ReadInvalidRangeBound(child, field);
    } else if (m_rules.readIntervals && m_intervalTag.Matches(tag)) {
      const MCStatus status = ReadInterval(child, field, faults);
      if (!status.IsOK() && failures.Stop(status)) return failures.first;
    }
  }
  return failures.first;
}

int AddCatField(MCVarList& varList, MCDataField& field) {
  const IMCVariable::VariableRole role = IMCVariable::kInput;
  int index = -1;
  if (field.numeric) {
    index = field.validDisplays.size() == field.validNumbers.size()
                ? varList.AddCatVar(field.name, field.label, HandOver(field.validNumbers),
                                    HandOver(field.validDisplays), role)
                : varList.AddCatVar(field.name, field.label, HandOver(field.validNumbers), role);
  } else {
    index = field.validDisplays.size() == field.validTexts.size()
                ? varList.AddCatVar(field.name, field.label, HandOver(field.validTexts),
                                    HandOver(field.validDisplays), role)
                : varList.AddCatVar(field.name, field.label, HandOver(field.validTexts), role);
  }
  if (index >= 0) AddInvalid(varList, index, field);
  return index;
}

void AddInvalid(MCVarList& varList, int index, const MCDataField& field) {
  IMCEncoder* encoder = varList.GetEncoderAt(index);
  if (!field.numeric && !field.continuous) {
    for (size_t i = 0; i < field.invalidTexts.size(); ++i) {
      encoder->AddInvalidValue(field.invalidTexts[i], InvalidLabel(field, i));
    }
    return;
  }
  for (size_t i = 0; i < field.invalidNumbers.size(); ++i) {
    encoder->AddInvalidValue(field.invalidNumbers[i], InvalidLabel(field, i));
  }
  if (field.invalidLower != -DBL_MAX || field.invalidUpper != DBL_MAX) {
    encoder->SetInvalidRange(field.invalidLower, field.invalidUpper);
  }
}

int AddUnrangedContVar(MCVarList& varList, const MCDataField& field) {
  return varList.AddContVar(field.name, field.label, IMCVariable::kInput);
}

MCStatus AddField(MCVarList& varList, MCBinsIndex& bins, MCDataField& field, bool useBins,
                  MCPlainContAdd addPlain, int& index) {
  index = -1;
  if (!field.continuous) {
    index = AddCatField(varList, field);
  } else {
    bool added = false;
    if (useBins) {
      const MCStatus status = AddBinnedContVar(varList, bins, field, added, index);
      if (!status.IsOK()) return status;
    }
    if (!added) index = addPlain(varList, field);
    if (index >= 0) AddInvalid(varList, index, field);
  }
  return index < 0 ? kVariableRefused : MCStatus();
}

namespace {

bool Increasing(const std::vector<double>& cutPoints) {
  for (std::size_t i = 1; i < cutPoints.size(); ++i) {
    if (!(cutPoints[i - 1] < cutPoints[i])) return false;
  }
  return true;
}

// Cut points that do not increase, for a reason: a short list whole; of a longer
// one the first that does not, so that a reason stays short however many bins.
std::string NotIncreasing(const std::vector<double>& cutPoints) {
  constexpr std::size_t kListedMax = 12;
  if (cutPoints.size() <= kListedMax) {
    std::string text;
    for (const double value : cutPoints) text += (text.empty() ? "" : ", ") + NumberText(value);
    return "the cut points " + text + " of its Discretize do not increase";
  }
  std::size_t i = 1;
  while (i < cutPoints.size() && cutPoints[i - 1] < cutPoints[i]) ++i;
  return "the " + std::to_string(cutPoints.size()) +
         " cut points of its Discretize do not increase: cut point " + std::to_string(i + 1) +
         " is " + NumberText(cutPoints[i]) + ", after " + NumberText(cutPoints[i - 1]);
}

// Why the list refused a field that was read whole and handed to AddField, and
// where: with bins, AddField has read them into the field.
MCFault Refusal(const DOMElement& elmt, const MCDataField& field, MCBinsIndex& bins,
                const std::unordered_set<std::string>& added, bool useBins) {
  if (field.name.empty()) {
    return {kVariableRefused, &elmt, "\"name\" does not convert to UTF-8 text"};
  }
  if (added.count(field.name) != 0) {
    return {kVariableRefused, &elmt, "an earlier DataField has the same name"};
  }
  if (useBins && field.continuous) {
    if (const DOMElement* discretize = bins.Find(field.name)) {
      if (!Increasing(field.cutPoints))
        return {kVariableRefused, discretize, NotIncreasing(field.cutPoints)};
    }
  }
  return {kVariableRefused, &elmt, "the variable list refused it"};
}

// What AddField gives a field whose name the list already holds, without adding
// it: the list refuses such a name whatever else the field brings, so only the
// bins lookup that comes first can end it otherwise, and the bins, which a name
// repeated N times would have read N times, stay unread.
MCStatus RepeatedNameStatus(MCBinsIndex& bins, const MCDataField& field, bool useBins) {
  if (useBins && field.continuous && bins.Find(field.name) == nullptr) {
    return kNoBins;
  }
  return kVariableRefused;
}

}  // namespace

void CheckDataFields(const DOMElement& dataDict, const DOMElement* transDict, bool useBins,
                     const MCDataFieldRules& rules, MCPlainContAdd addPlain,
                     ProblemList& problems) {
  MCVarList varList;
  MCBinsIndex bins(transDict);
  MCDataFieldReader reader(rules);
  PooledName fieldTag(u"DataField");
  std::unordered_set<std::string> added;
  // Names whose bins the list refused: the same name finds the same Discretize,
  // so a later continuous field of it is refused alike, and its bins stay unread.
  std::unordered_map<std::string, MCFault> refusedBins;
  MCDataField field;
  for (const DOMElement* elmt = GetFirstChildElmt(dataDict, fieldTag); elmt != nullptr;
       elmt = GetNextSiblingElmt(*elmt, fieldTag)) {
    const MCDataFieldAttributes attributes = reader.Attributes(*elmt);
    const XMLCh* name = attributes.name;
    MCFaults faults;
    field.Clear();
    MCStatus status = reader.Read(*elmt, attributes, field, &faults);
    const bool repeated = status.IsOK() && added.count(field.name) != 0;
    const auto refusal = status.IsOK() && !repeated && useBins && field.continuous
                             ? refusedBins.find(field.name)
                             : refusedBins.end();
    if (refusal != refusedBins.end()) {
      faults.push_back(refusal->second);
    } else if (status.IsOK()) {
      int index = -1;
      // `added` holds exactly the names the list took.
      status = repeated ? RepeatedNameStatus(bins, field, useBins)
                        : AddField(varList, bins, field, useBins, addPlain, index);
      if (status == kNoBins) {
        faults.push_back({status, elmt,
                          transDict == nullptr
                              ? "continuous and bins are asked for, but the document has no "
                                "TransformationDictionary"
                              : "continuous and bins are asked for, but no Discretize of the "
                                "TransformationDictionary names it"});
      } else if (status == kVariableRefused) {
        faults.push_back(Refusal(*elmt, field, bins, added, useBins));
        // Bins of more than two cut points are what the list was given.
        if (faults.back().element != elmt && field.cutPoints.size() > 2) {
          refusedBins.emplace(field.name, faults.back());
        }
      } else {
        added.insert(field.name);
      }
    }
    if (faults.empty()) continue;
    problems.Add(
        faults, *elmt,
        name != nullptr ? "DataField " + Quoted(name) + ": " : "DataField: ", NameFor(name));
  }
}

}  // namespace MCXML_1_3
