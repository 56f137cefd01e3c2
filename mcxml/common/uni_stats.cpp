// MCUniStats: storage and the validity rule of a statistics record.
#include "mcxml/common/uni_stats.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace MCXML_1_3 {
namespace {

using MCCommon_1_3::MCMV::gMissingValue;

bool NoneNegative(const std::vector<double>& values) {
  return std::none_of(values.begin(), values.end(), [](double v) { return !(v >= 0.0); });
}

bool IsKnown(double value) {
  return value != gMissingValue;
}

}  // namespace

MCUniStats::MCUniStats() = default;

MCUniStats::MCUniStats(const std::string& name, double totalFreq, const std::vector<double>& counts)
    : MCUniStats(std::string(name), totalFreq, std::vector<double>(counts)) {}

MCUniStats::MCUniStats(const std::string& name, double totalFreq, const SummStats& summStats,
                       const std::vector<double>& cutPoints, const std::vector<double>& freqs)
    : MCUniStats(std::string(name), totalFreq, summStats, std::vector<double>(cutPoints),
                 std::vector<double>(freqs)) {}

MCUniStats::MCUniStats(std::string&& name, double totalFreq, std::vector<double>&& counts)
    : m_kind(Kind::Categorical),
      m_name(std::move(name)),
      m_totalFreq(totalFreq),
      m_counts(std::move(counts)) {}

MCUniStats::MCUniStats(std::string&& name, double totalFreq, const SummStats& summStats,
                       std::vector<double>&& cutPoints, std::vector<double>&& freqs)
    : m_kind(Kind::Continuous),
      m_name(std::move(name)),
      m_totalFreq(totalFreq),
      m_summStats(summStats),
      m_cutPoints(std::move(cutPoints)),
      m_freqs(std::move(freqs)) {}

bool MCUniStats::IsValid() const {
  if (m_kind == Kind::Empty || m_name.empty()) return false;
  if (!std::isfinite(m_totalFreq) || m_totalFreq < 0.0) return false;
  return m_kind == Kind::Categorical ? NoneNegative(m_counts) : IsValidContinuous();
}

bool MCUniStats::IsValidContinuous() const {
  const SummStats& s = m_summStats;
  if (IsKnown(s.standardDeviation) && !(s.standardDeviation >= 0.0)) return false;
  if (IsKnown(s.minimum) && IsKnown(s.maximum) && s.minimum > s.maximum) return false;
  if (m_cutPoints.empty() && m_freqs.empty()) return true;
  if (m_freqs.size() + 1 != m_cutPoints.size() || !NoneNegative(m_freqs)) return false;
  // Open ends are stored as the missing value; only the known cut points must increase.
  const size_t last = m_cutPoints.size() - 1;
  bool havePrevious = false;
  double previous = 0.0;
  for (size_t i = 0; i <= last; ++i) {
    const double cut = m_cutPoints[i];
    if ((i == 0 || i == last) && !IsKnown(cut)) continue;
    if (havePrevious && !(cut > previous)) return false;
    previous = cut;
    havePrevious = true;
  }
  return true;
}

}  // namespace MCXML_1_3
