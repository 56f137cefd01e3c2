// Reading a DataField and adding it to a variable list; see data_field_internal.h.
#include "mcxml/pmml/data_field_internal.h"

#include <xercesc/dom/DOMNode.hpp>

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

MCStatus ReadInterval(const DOMElement& interval, MCDataField& field) {
  double lower = -DBL_MAX;
  double upper = DBL_MAX;
  if (GetDoubleAttribute(interval, "leftMargin", lower) == 1) return MCStatus(109, false);
  if (GetDoubleAttribute(interval, "rightMargin", upper) == 1) return MCStatus(109, false);
  if (lower > upper) return MCStatus(109, false);
  field.lower = lower;
  field.upper = upper;
  return MCStatus();
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
                       MCDataField& field) {
  if (name == nullptr) return MCStatus(108, false);
  field.name = ToUTF8(name);
  field.label = ToUTF8(GetAttribute(elmt, "displayName"));

  const XMLCh* dataType = GetAttribute(elmt, "dataType");
  if (dataType == nullptr) return MCStatus(108, false);
  const DataTypeEntry* type = FindDataType(dataType, rules);
  if (type == nullptr) return MCStatus(109, false);
  field.numeric = type->numeric;
  field.dataTypeCode = type->code;

  const XMLCh* optype = GetAttribute(elmt, "optype");
  if (optype == nullptr) return MCStatus(108, false);
  field.continuous = XStrEqualsUTF8Str(optype, "continuous");

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
      const MCStatus status = ReadInterval(*child, field);
      if (!status.IsOK()) return status;
    }
  }
  return MCStatus();
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

}  // namespace MCXML_1_3
