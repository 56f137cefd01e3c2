// MCVarList: the list of model variables that the parsers fill, with the
// variable (IMCVariable) and encoder (IMCEncoder) interfaces of each entry.
#ifndef MCXML_COMMON_VAR_LIST_H
#define MCXML_COMMON_VAR_LIST_H

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "mcxml/common/export.h"

namespace MCXML_1_3 {

/// One invalid value of a variable: a number or a text, with its label.
struct MCInvalidValue {
  bool isText = false;  ///< True for a text, false for a number.
  double number = 0.0;  ///< The number, when not a text.
  std::string text;     ///< The text, when a text.
  std::string label;    ///< Its label; may be empty.
};

/// Encoding details of a variable: bin labels, invalid values, invalid range.
class MCXML_EXPORT IMCEncoder {
 public:
  IMCEncoder() = default;
  IMCEncoder(const IMCEncoder&) = delete;
  IMCEncoder& operator=(const IMCEncoder&) = delete;

  /// Replaces the bin labels.
  virtual void SetBinLabels(const std::vector<std::string>& labels) = 0;
  /// Forgets the invalid values and the invalid range.
  virtual void ClearInvalid() = 0;
  /// Appends an invalid number with its label.
  virtual void AddInvalidValue(double value, const std::string& label) = 0;
  /// Appends an invalid text with its label.
  virtual void AddInvalidValue(const std::string& value, const std::string& label) = 0;
  /// Sets the range of invalid numbers, replacing an earlier one.
  virtual void SetInvalidRange(double lower, double upper) = 0;

  /// The bin labels, when SetBinLabels was called.
  virtual const std::optional<std::vector<std::string>>& GetBinLabels() const = 0;
  /// The invalid values in the order they were added.
  virtual const std::vector<MCInvalidValue>& GetInvalidValues() const = 0;
  /// The invalid range (lower, upper), when SetInvalidRange was called.
  virtual const std::optional<std::pair<double, double>>& GetInvalidRange() const = 0;

 protected:
  ~IMCEncoder() = default;
};

/// What a variable holds; the fields that do not apply to its kind stay empty.
struct MCVariableInfo {
  /// Which add operation made the variable.
  enum class Kind {
    Categorical,  ///< MCVarList::AddCatVar.
    Continuous,   ///< MCVarList::AddContVar.
    Weight        ///< MCVarList::SetWeightVar.
  };

  std::string name;               ///< Unique in the list, never empty.
  std::string label;              ///< May be empty.
  int role = 0;                   ///< An IMCVariable::VariableRole.
  Kind kind = Kind::Categorical;  ///< Which add operation made it.
  std::optional<int> dataType;    ///< Set by IMCVariable::SetDataType.

  /// Categorical: true when the values are texts (`texts`), false for numbers.
  bool textValues = false;
  std::vector<std::string> texts;                       ///< Categorical text values.
  std::vector<double> numbers;                          ///< Categorical number values.
  std::optional<std::vector<std::string>> valueLabels;  ///< Only from the overloads with labels.

  /// Continuous: (min, max), from the range or the bins overload.
  std::optional<std::pair<double, double>> range;
  std::optional<bool> isDiscrete;  ///< Continuous, range overload only.
  int precision = -1;              ///< Continuous, range overload; -1 means unknown.
  /// Continuous, bins overload only: the inner cut points.
  std::optional<std::vector<double>> cutPoints;
  bool isBinned = false;  ///< Continuous, bins overload only.

  std::optional<int> rounding;  ///< Weight: an IMCVariable::WRoundingOption.
};

/// A variable of the list.
class MCXML_EXPORT IMCVariable {
 public:
  /// Roles; the parsers give every variable kInput.
  enum VariableRole {
    kNone = 0,       ///< No role.
    kTarget = 1,     ///< A target.
    kWeight = 2,     ///< A case weight.
    kFrequency = 3,  ///< A frequency weight.
    kInput = 4       ///< An input (predictor).
  };
  /// Rounding of a weight variable; the parsers ask for kRoundNearest.
  enum WRoundingOption {
    kNoRounding = 0,   ///< Weights used as they are.
    kRoundDown = 1,    ///< Weights rounded down.
    kRoundNearest = 2  ///< Weights rounded to the nearest integer.
  };

  IMCVariable() = default;
  IMCVariable(const IMCVariable&) = delete;
  IMCVariable& operator=(const IMCVariable&) = delete;

  /// Records the data type: 1 integer, 2 double or float, 3 string, 4 date, 5 time,
  /// 6 dateTime.
  virtual void SetDataType(int code) = 0;
  /// Everything the variable was given.
  virtual const MCVariableInfo& GetInfo() const = 0;

 protected:
  ~IMCVariable() = default;
};

/// An ordered list of variables with unique names and at most one weight variable.
/// Every add operation returns the new variable's index, or -1 when the variable is
/// refused: an empty name, a name already in the list, min > max, inner cut points
/// that are not strictly increasing inside (min, max), value labels whose count
/// differs from the values', or a second weight variable. A refused variable leaves
/// the list unchanged.
class MCXML_EXPORT MCVarList {
 public:
  /// An empty list without weight variable.
  MCVarList();
  /// Destroys the variables and their encoders.
  ~MCVarList();
  MCVarList(const MCVarList&) = delete;
  MCVarList& operator=(const MCVarList&) = delete;

  /// A categorical variable with text values.
  int AddCatVar(const std::string& name, const std::string& label,
                const std::vector<std::string>& values, IMCVariable::VariableRole role);
  /// A categorical variable with text values and one label per value.
  int AddCatVar(const std::string& name, const std::string& label,
                const std::vector<std::string>& values, const std::vector<std::string>& valueLabels,
                IMCVariable::VariableRole role);
  /// A categorical variable with number values.
  int AddCatVar(const std::string& name, const std::string& label,
                const std::vector<double>& values, IMCVariable::VariableRole role);
  /// A categorical variable with number values and one label per value.
  int AddCatVar(const std::string& name, const std::string& label,
                const std::vector<double>& values, const std::vector<std::string>& valueLabels,
                IMCVariable::VariableRole role);
  /// The four above, taking over the values and labels rather than copying them.
  int AddCatVar(const std::string& name, const std::string& label,
                std::vector<std::string>&& values, IMCVariable::VariableRole role);
  /// As above, with one label per value.
  int AddCatVar(const std::string& name, const std::string& label,
                std::vector<std::string>&& values, std::vector<std::string>&& valueLabels,
                IMCVariable::VariableRole role);
  /// As above, with number values.
  int AddCatVar(const std::string& name, const std::string& label, std::vector<double>&& values,
                IMCVariable::VariableRole role);
  /// As above, with number values and one label per value.
  int AddCatVar(const std::string& name, const std::string& label, std::vector<double>&& values,
                std::vector<std::string>&& valueLabels, IMCVariable::VariableRole role);
  /// A continuous variable without range.
  int AddContVar(const std::string& name, const std::string& label, IMCVariable::VariableRole role);
  /// A continuous variable over [min, max]; precision -1 means unknown.
  int AddContVar(const std::string& name, const std::string& label, double min, double max,
                 IMCVariable::VariableRole role, bool isDiscrete, int precision);
  /// A continuous variable over [min, max] cut at the inner cut points.
  int AddContVar(const std::string& name, const std::string& label, double min, double max,
                 const std::vector<double>& innerCutPoints, bool isBinned,
                 IMCVariable::VariableRole role);
  /// As above, taking over the inner cut points rather than copying them.
  int AddContVar(const std::string& name, const std::string& label, double min, double max,
                 std::vector<double>&& innerCutPoints, bool isBinned,
                 IMCVariable::VariableRole role);
  /// Adds the weight variable; -1 when one is already set (or as for the adds above).
  int SetWeightVar(const std::string& name, const std::string& label,
                   IMCVariable::WRoundingOption rounding);

  /// The encoder of the variable at `index`; null only for an index outside the list.
  IMCEncoder* GetEncoderAt(int index);
  /// The variable at `index`, or null for an index outside the list.
  IMCVariable* GetVarAt(int index);
  /// The variable at `index`, or null for an index outside the list.
  const IMCVariable* GetVarAt(int index) const;
  /// The encoder of the variable at `index`; null only for an index outside the list.
  const IMCEncoder* GetEncoderAt(int index) const;

  /// The number of variables; indexes run from 0 to GetCount() - 1.
  int GetCount() const;
  /// The index of the weight variable, or -1.
  int GetWeightVarIndex() const;

 private:
  class Entry;
  int Add(MCVariableInfo info);

  std::vector<std::unique_ptr<Entry>> m_entries;
  /// The names of the entries, viewed where each entry keeps its own.
  std::unordered_set<std::string_view> m_names;
  int m_weightIndex = -1;
};

}  // namespace MCXML_1_3

#endif  // MCXML_COMMON_VAR_LIST_H
