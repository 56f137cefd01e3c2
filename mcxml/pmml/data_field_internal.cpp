// Reading a DataField and adding it to a variable list; see data_field_internal.h.
#include "mcxml/pmml/data_field_internal.h"

#include <unordered_set>

#include <xercesc/dom/DOMNode.hpp>

#include "mcxml/pmml/problems_internal.h"
#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {

namespace {

struct DataTypeEntry {
  const char* text;
  int code;
  bool numeric;
  bool dateTime;
};

constexpr DataTypeEntry kDataTypes[] = {
    {"integer", 1, true, false}, {"double", 2, true, false}, {"float", 2, true, false},
    {"string", 3, false, false}, {"date", 4, true, true},    {"time", 5, true, true},
    {"dateTime", 6, true, true},
};

const DataTypeEntry* FindDataType(const XMLCh* text, const MCDataFieldRules& rules) {
  for (const DataTypeEntry& entry : kDataTypes) {
    if ((rules.dateTimeTypes || !entry.dateTime) && XStrEqualsUTF8Str(text, entry.text)) {
      return &entry;
    }
  }
  return nullptr;
}

void ReadValue(const DOMElement& value, MCDataField& field) {
  // A Value without any attribute has nothing to give.
  if (!value.hasAttributes()) return;
  const XMLCh* property = GetAttribute(value, "property");
  const bool valid = property == nullptr || XStrEqualsUTF8Str(property, "valid");
  if (field.numeric) {
    double number = 0.0;
    if (GetDoubleAttribute(value, "value", number) == 0) {
      (valid ? field.validNumbers : field.invalidNumbers).push_back(number);
    }
  } else if (const XMLCh* text = GetAttribute(value, "value")) {
    (valid ? field.validTexts : field.invalidTexts).push_back(ToUTF8(text));
  }
  // Kept even when the value itself was dropped: labels pair with values by
  // position only, so a dropped value unbalances the counts on purpose.
  if (const XMLCh* display = GetAttribute(value, "displayValue")) {
    (valid ? field.validDisplays : field.invalidDisplays).push_back(ToUTF8(display));
  }
}

void ReadInvalidRangeBound(const DOMElement& extension, MCDataField& field) {
  double bound = 0.0;
  if (GetDoubleAttribute(extension, "value", bound) != 0) return;
  const XMLCh* name = GetAttribute(extension, "name");
  if (XStrEqualsUTF8Str(name, "invalidRangeLower")) {
    field.invalidLower = bound;
  } else if (XStrEqualsUTF8Str(name, "invalidRangeUpper")) {
    field.invalidUpper = bound;
  }
}

MCStatus ReadInterval(const DOMElement& interval, MCDataField& field, MCFaults* faults) {
  double lower = -DBL_MAX;
  double upper = DBL_MAX;
  for (const char* margin : {"leftMargin", "rightMargin"}) {
    if (GetDoubleAttribute(interval, margin, margin[0] == 'l' ? lower : upper) == 1) {
      return Fault(faults, MCStatus(109, false), interval, [&] {
        return std::string("Interval ") + margin + " " + Quoted(GetAttribute(interval, margin)) +
               " is not a finite number";
      });
    }
  }
  if (lower > upper) {
    return Fault(faults, MCStatus(109, false), interval, [&] {
      return "Interval leftMargin " + Quoted(GetAttribute(interval, "leftMargin")) +
             " lies above its rightMargin " + Quoted(GetAttribute(interval, "rightMargin"));
    });
  }
  field.lower = lower;
  field.upper = upper;
  return MCStatus();
}

// The accepted texts of "dataType", for a reason.
std::string DataTypeTexts(const MCDataFieldRules& rules) {
  std::string texts;
  for (const DataTypeEntry& entry : kDataTypes) {
    if (rules.dateTimeTypes || !entry.dateTime)
      texts += (texts.empty() ? "" : ", ") + std::string(entry.text);
  }
  return texts;
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

MCStatus ReadDataField(const DOMElement& elmt, const XMLCh* name, const MCDataFieldRules& rules,
                       MCDataField& field, MCFaults* faults) {
  // A check goes on past a failure to what the next attribute tells; the first
  // failure is the field's status either way.
  MCStatus first;
  const auto fail = [&](const MCStatus& status, const DOMElement& at, auto reason) {
    if (first.IsOK()) first = status;
    static_cast<void>(Fault(faults, status, at, reason));
    return faults == nullptr;
  };
  if (name == nullptr) {
    if (fail(MCStatus(108, false), elmt, [] { return std::string("\"name\" is missing"); })) {
      return first;
    }
  } else {
    field.name = ToUTF8(name);
  }
  field.label = ToUTF8(GetAttribute(elmt, "displayName"));

  const XMLCh* dataType = GetAttribute(elmt, "dataType");
  const DataTypeEntry* type = nullptr;
  if (dataType == nullptr) {
    if (fail(MCStatus(108, false), elmt, [] { return std::string("\"dataType\" is missing"); })) {
      return first;
    }
  } else if ((type = FindDataType(dataType, rules)) == nullptr) {
    if (fail(MCStatus(109, false), elmt, [&] {
          return "dataType " + Quoted(dataType) + " is not a known data type (" +
                 DataTypeTexts(rules) + ")";
        })) {
      return first;
    }
  } else {
    field.numeric = type->numeric;
    field.dataTypeCode = type->code;
  }

  const XMLCh* optype = GetAttribute(elmt, "optype");
  if (optype == nullptr) {
    if (fail(MCStatus(108, false), elmt, [] { return std::string("\"optype\" is missing"); })) {
      return first;
    }
  } else {
    field.continuous = XStrEqualsUTF8Str(optype, "continuous");
  }
  // Without a known type the values cannot be read.
  if (type == nullptr) return first;

  for (const DOMNode* node = elmt.getFirstChild(); node != nullptr; node = node->getNextSibling()) {
    const DOMElement* child = AsElement(*node, nullptr);
    if (child == nullptr) continue;
    if (TagNameEquals(*child, "Value")) {
      ReadValue(*child, field);
    } else if (!field.numeric) {
      continue;
    } else if (TagNameEquals(*child, "Extension")) {
      ReadInvalidRangeBound(*child, field);
    } else if (rules.readIntervals && TagNameEquals(*child, "Interval")) {
      const MCStatus status = ReadInterval(*child, field, faults);
      if (!status.IsOK()) {
        if (first.IsOK()) first = status;
        if (faults == nullptr) return first;
      }
    }
  }
  return first;
}

int AddCatField(MCVarList& varList, const MCDataField& field) {
  const IMCVariable::VariableRole role = IMCVariable::kInput;
  int index = -1;
  if (field.numeric) {
    index = field.validDisplays.size() == field.validNumbers.size()
                ? varList.AddCatVar(field.name, field.label, field.validNumbers,
                                    field.validDisplays, role)
                : varList.AddCatVar(field.name, field.label, field.validNumbers, role);
  } else {
    index = field.validDisplays.size() == field.validTexts.size()
                ? varList.AddCatVar(field.name, field.label, field.validTexts, field.validDisplays,
                                    role)
                : varList.AddCatVar(field.name, field.label, field.validTexts, role);
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

int AddRangedContVar(MCVarList& varList, const MCDataField& field) {
  return varList.AddContVar(field.name, field.label, field.lower, field.upper, IMCVariable::kInput,
                            false, -1);
}

MCStatus AddField(MCVarList& varList, MCBinsIndex& bins, const MCDataField& field, bool useBins,
                  MCPlainContAdd addPlain, int& index) {
  index = -1;
  if (!field.continuous) {
    index = AddCatField(varList, field);
  } else {
    bool added = false;
    if (useBins) {
      const MCStatus status =
          AddBinnedContVar(varList, bins, field.name, field.label, added, index);
      if (!status.IsOK()) return status;
    }
    if (!added) index = addPlain(varList, field);
    if (index >= 0) AddInvalid(varList, index, field);
  }
  return index < 0 ? MCStatus(111, false) : MCStatus();
}

namespace {

bool Increasing(const std::vector<double>& cutPoints) {
  for (std::size_t i = 1; i < cutPoints.size(); ++i) {
    if (!(cutPoints[i - 1] < cutPoints[i])) return false;
  }
  return true;
}

std::string Listed(const std::vector<double>& values) {
  std::string text;
  for (const double value : values) text += (text.empty() ? "" : ", ") + NumberText(value);
  return text;
}

// Why the list refused a field that was read whole, and where.
MCFault Refusal(const DOMElement& elmt, const MCDataField& field, MCBinsIndex& bins,
                const std::unordered_set<std::string>& added, bool useBins) {
  const MCStatus refused(111, false);
  if (field.name.empty()) {
    return {refused, &elmt, "\"name\" does not convert to UTF-8 text"};
  }
  if (added.count(field.name) != 0) {
    return {refused, &elmt, "an earlier DataField has the same name"};
  }
  if (useBins && field.continuous) {
    if (const DOMElement* discretize = bins.Find(field.name)) {
      std::vector<double> cutPoints;
      std::vector<std::string> labels;
      ReadBins(*discretize, cutPoints, labels);
      if (!Increasing(cutPoints)) {
        return {refused, discretize,
                "the cut points " + Listed(cutPoints) + " of its Discretize do not increase"};
      }
    }
  }
  return {refused, &elmt, "the variable list refused it"};
}

}  // namespace

void CheckDataFields(const DOMElement& dataDict, const DOMElement* transDict, bool useBins,
                     const MCDataFieldRules& rules, MCPlainContAdd addPlain,
                     ProblemList& problems) {
  MCVarList varList;
  MCBinsIndex bins(transDict);
  std::unordered_set<std::string> added;
  MCDataField field;
  for (const DOMElement* elmt = GetFirstChildElmt(dataDict, "DataField"); elmt != nullptr;
       elmt = GetNextSiblingElmt(*elmt, "DataField")) {
    const XMLCh* name = GetAttribute(*elmt, "name");
    MCFaults faults;
    field.Clear();
    MCStatus status = ReadDataField(*elmt, name, rules, field, &faults);
    if (status.IsOK()) {
      int index = -1;
      status = AddField(varList, bins, field, useBins, addPlain, index);
      if (status.GetCode() == 110) {
        faults.push_back({status, elmt,
                          transDict == nullptr
                              ? "continuous and bins are asked for, but the document has no "
                                "TransformationDictionary"
                              : "continuous and bins are asked for, but no Discretize of the "
                                "TransformationDictionary names it"});
      } else if (status.GetCode() == 111) {
        faults.push_back(Refusal(*elmt, field, bins, added, useBins));
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
