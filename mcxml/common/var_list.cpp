// MCVarList: storage of variables and the rules by which the list refuses one.
#include "mcxml/common/var_list.h"

namespace MCXML_1_3 {

class MCVarList::Entry final : public IMCVariable, public IMCEncoder {
 public:
  explicit Entry(MCVariableInfo info) : m_info(std::move(info)) {}

  void SetDataType(int code) override { m_info.dataType = code; }
  const MCVariableInfo& GetInfo() const override { return m_info; }

  void SetBinLabels(const std::vector<std::string>& labels) override { m_binLabels = labels; }
  void ClearInvalid() override {
    m_invalidValues.clear();
    m_invalidRange.reset();
  }
  void AddInvalidValue(double value, const std::string& label) override {
    MCInvalidValue invalid;
    invalid.number = value;
    invalid.label = label;
    m_invalidValues.push_back(std::move(invalid));
  }
  void AddInvalidValue(const std::string& value, const std::string& label) override {
    MCInvalidValue invalid;
    invalid.isText = true;
    invalid.text = value;
    invalid.label = label;
    m_invalidValues.push_back(std::move(invalid));
  }
  void SetInvalidRange(double lower, double upper) override {
    m_invalidRange.emplace(lower, upper);
  }
  const std::optional<std::vector<std::string>>& GetBinLabels() const override {
    return m_binLabels;
  }
  const std::vector<MCInvalidValue>& GetInvalidValues() const override { return m_invalidValues; }
  const std::optional<std::pair<double, double>>& GetInvalidRange() const override {
    return m_invalidRange;
  }

 private:
  MCVariableInfo m_info;
  std::optional<std::vector<std::string>> m_binLabels;
  std::vector<MCInvalidValue> m_invalidValues;
  std::optional<std::pair<double, double>> m_invalidRange;
};

namespace {

// The refusal rules that depend only on what one variable carries.
bool IsAcceptable(const MCVariableInfo& info) {
  if (info.name.empty()) return false;
  if (info.valueLabels) {
    const size_t count = info.textValues ? info.texts.size() : info.numbers.size();
    if (info.valueLabels->size() != count) return false;
  }
  if (info.range) {
    const auto [min, max] = *info.range;
    if (min > max) return false;
    if (info.cutPoints) {
      double previous = min;
      for (double cut : *info.cutPoints) {
        if (!(cut > previous) || !(cut < max)) return false;
        previous = cut;
      }
    }
  }
  return true;
}

MCVariableInfo Named(const std::string& name, const std::string& label, int role,
                     MCVariableInfo::Kind kind) {
  MCVariableInfo info;
  info.name = name;
  info.label = label;
  info.role = role;
  info.kind = kind;
  return info;
}

MCVariableInfo Categorical(const std::string& name, const std::string& label, int role) {
  return Named(name, label, role, MCVariableInfo::Kind::Categorical);
}

MCVariableInfo Continuous(const std::string& name, const std::string& label, int role) {
  return Named(name, label, role, MCVariableInfo::Kind::Continuous);
}

}  // namespace

MCVarList::MCVarList() = default;
MCVarList::~MCVarList() = default;

int MCVarList::Add(MCVariableInfo info) {
  if (!IsAcceptable(info)) return -1;
  // The set views the name the entry keeps, so the entry comes first; one lookup
  // both refuses a name already listed and records a new one.
  m_entries.push_back(std::make_unique<Entry>(std::move(info)));
  bool added = false;
  try {
    added = m_names.insert(m_entries.back()->GetInfo().name).second;
  } catch (...) {
    m_entries.pop_back();
    throw;
  }
  if (!added) {
    m_entries.pop_back();
    return -1;
  }
  return static_cast<int>(m_entries.size() - 1);
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         const std::vector<std::string>& values, IMCVariable::VariableRole role) {
  return AddCatVar(name, label, std::vector<std::string>(values), role);
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         const std::vector<std::string>& values,
                         const std::vector<std::string>& valueLabels,
                         IMCVariable::VariableRole role) {
  return AddCatVar(name, label, std::vector<std::string>(values),
                   std::vector<std::string>(valueLabels), role);
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         const std::vector<double>& values, IMCVariable::VariableRole role) {
  return AddCatVar(name, label, std::vector<double>(values), role);
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         const std::vector<double>& values,
                         const std::vector<std::string>& valueLabels,
                         IMCVariable::VariableRole role) {
  return AddCatVar(name, label, std::vector<double>(values), std::vector<std::string>(valueLabels),
                   role);
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         std::vector<std::string>&& values, IMCVariable::VariableRole role) {
  MCVariableInfo info = Categorical(name, label, role);
  info.textValues = true;
  info.texts = std::move(values);
  return Add(std::move(info));
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         std::vector<std::string>&& values, std::vector<std::string>&& valueLabels,
                         IMCVariable::VariableRole role) {
  MCVariableInfo info = Categorical(name, label, role);
  info.textValues = true;
  info.texts = std::move(values);
  info.valueLabels = std::move(valueLabels);
  return Add(std::move(info));
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         std::vector<double>&& values, IMCVariable::VariableRole role) {
  MCVariableInfo info = Categorical(name, label, role);
  info.numbers = std::move(values);
  return Add(std::move(info));
}

int MCVarList::AddCatVar(const std::string& name, const std::string& label,
                         std::vector<double>&& values, std::vector<std::string>&& valueLabels,
                         IMCVariable::VariableRole role) {
  MCVariableInfo info = Categorical(name, label, role);
  info.numbers = std::move(values);
  info.valueLabels = std::move(valueLabels);
  return Add(std::move(info));
}

int MCVarList::AddContVar(const std::string& name, const std::string& label,
                          IMCVariable::VariableRole role) {
  return Add(Continuous(name, label, role));
}

int MCVarList::AddContVar(const std::string& name, const std::string& label, double min, double max,
                          IMCVariable::VariableRole role, bool isDiscrete, int precision) {
  MCVariableInfo info = Continuous(name, label, role);
  info.range.emplace(min, max);
  info.isDiscrete = isDiscrete;
  info.precision = precision;
  return Add(std::move(info));
}

int MCVarList::AddContVar(const std::string& name, const std::string& label, double min, double max,
                          const std::vector<double>& innerCutPoints, bool isBinned,
                          IMCVariable::VariableRole role) {
  return AddContVar(name, label, min, max, std::vector<double>(innerCutPoints), isBinned, role);
}

int MCVarList::AddContVar(const std::string& name, const std::string& label, double min, double max,
                          std::vector<double>&& innerCutPoints, bool isBinned,
                          IMCVariable::VariableRole role) {
  MCVariableInfo info = Continuous(name, label, role);
  info.range.emplace(min, max);
  info.cutPoints = std::move(innerCutPoints);
  info.isBinned = isBinned;
  return Add(std::move(info));
}

int MCVarList::SetWeightVar(const std::string& name, const std::string& label,
                            IMCVariable::WRoundingOption rounding) {
  if (m_weightIndex >= 0) return -1;
  MCVariableInfo info = Named(name, label, IMCVariable::kWeight, MCVariableInfo::Kind::Weight);
  info.rounding = rounding;
  const int index = Add(std::move(info));
  if (index >= 0) m_weightIndex = index;
  return index;
}

IMCEncoder* MCVarList::GetEncoderAt(int index) {
  return index >= 0 && index < GetCount() ? m_entries[index].get() : nullptr;
}

const IMCEncoder* MCVarList::GetEncoderAt(int index) const {
  return index >= 0 && index < GetCount() ? m_entries[index].get() : nullptr;
}

IMCVariable* MCVarList::GetVarAt(int index) {
  return index >= 0 && index < GetCount() ? m_entries[index].get() : nullptr;
}

const IMCVariable* MCVarList::GetVarAt(int index) const {
  return index >= 0 && index < GetCount() ? m_entries[index].get() : nullptr;
}

int MCVarList::GetCount() const {
  return static_cast<int>(m_entries.size());
}

int MCVarList::GetWeightVarIndex() const {
  return m_weightIndex;
}

}  // namespace MCXML_1_3
