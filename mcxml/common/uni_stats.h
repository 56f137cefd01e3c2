// MCUniStats: the univariate statistics of one field, categorical or continuous.
#ifndef MCXML_COMMON_UNI_STATS_H
#define MCXML_COMMON_UNI_STATS_H

#include <string>
#include <vector>

#include "mcxml/common/export.h"
#include "mcxml/common/missing_value.h"

namespace MCXML_1_3 {

/// The univariate statistics of one field, as MCPMMLParser::FillUniStats reads them:
/// either the counts of a categorical field, or the summary values and histogram of
/// a continuous one. A record stores what it is given; IsValid() judges it.
class MCXML_EXPORT MCUniStats {
 public:
  /// Summary values of a continuous field; each is the missing value when unknown.
  struct SummStats {
    double minimum = MCCommon_1_3::MCMV::gMissingValue;            ///< Smallest value.
    double maximum = MCCommon_1_3::MCMV::gMissingValue;            ///< Largest value.
    double mean = MCCommon_1_3::MCMV::gMissingValue;               ///< Mean.
    double standardDeviation = MCCommon_1_3::MCMV::gMissingValue;  ///< Standard deviation.
  };

  /// Which constructor made the record.
  enum class Kind {
    Empty,        ///< The default constructor: no field.
    Categorical,  ///< Counts per category.
    Continuous    ///< Summary values and a histogram.
  };

  /// An empty record: no name, total frequency 0, not valid.
  MCUniStats();
  /// A categorical record: one count per category.
  MCUniStats(const std::string& name, double totalFreq, const std::vector<double>& counts);
  /// A continuous record: summary values and a histogram of freqs between cut points.
  MCUniStats(const std::string& name, double totalFreq, const SummStats& summStats,
             const std::vector<double>& cutPoints, const std::vector<double>& freqs);

  /// The two above, taking over the name and the numbers rather than copying them.
  MCUniStats(std::string&& name, double totalFreq, std::vector<double>&& counts);
  /// As above, for a continuous record.
  MCUniStats(std::string&& name, double totalFreq, const SummStats& summStats,
             std::vector<double>&& cutPoints, std::vector<double>&& freqs);

  /// True when the record names a field, its total frequency is finite and not
  /// negative, and: categorical, no count is negative; continuous, the histogram is
  /// empty or has one frequency fewer than cut points, no frequency is negative, the
  /// cut points increase strictly (an open end may be the missing value), the
  /// standard deviation is missing or not negative and the minimum is not above the
  /// maximum when both are known. False for an empty record.
  bool IsValid() const;

  /// Which constructor made the record.
  Kind GetKind() const { return m_kind; }
  /// The field's name; empty for an empty record.
  const std::string& GetName() const { return m_name; }
  /// The total frequency; 0 for an empty record.
  double GetTotalFreq() const { return m_totalFreq; }
  /// The counts per category; empty unless categorical.
  const std::vector<double>& GetCounts() const { return m_counts; }
  /// The summary values; all missing unless continuous.
  const SummStats& GetSummStats() const { return m_summStats; }
  /// The histogram's cut points, ends included (an open end is the missing value);
  /// empty unless continuous with a histogram.
  const std::vector<double>& GetCutPoints() const { return m_cutPoints; }
  /// The frequency between each pair of neighbouring cut points.
  const std::vector<double>& GetFreqs() const { return m_freqs; }

 private:
  bool IsValidContinuous() const;

  Kind m_kind = Kind::Empty;
  std::string m_name;
  double m_totalFreq = 0.0;
  std::vector<double> m_counts;
  SummStats m_summStats;
  std::vector<double> m_cutPoints;
  std::vector<double> m_freqs;
};

}  // namespace MCXML_1_3

#endif  // MCXML_COMMON_UNI_STATS_H
