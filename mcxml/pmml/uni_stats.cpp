// MCPMMLParser's statistics reader: one UnivariateStats element of the model's
// ModelStats per call, read into an MCUniStats record.
#include <string>
#include <vector>

#include "mcxml/common/missing_value.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"

namespace MCXML_1_3 {
namespace {

using MCCommon_1_3::MCMV::gMissingValue;

constexpr long kNoDocument = 107;
constexpr long kAttributeAbsent = 108;
constexpr long kAttributeBad = 109;
constexpr long kNoModel = 112;
constexpr long kElementMissing = 113;
constexpr long kBadArray = 114;
constexpr long kBadHistogram = 115;
constexpr long kInvalidStats = 116;

// GetDoubleAttribute's answers.
constexpr int kAbsent = -1;
constexpr int kRead = 0;
constexpr int kNotANumber = 1;

// Every failure of this unit carries the flag false.
MCStatus Failure(long code) {
  return MCStatus(code, false);
}

// An absent number is the missing value; the answer of GetDoubleAttribute is
// passed on so that the caller can tell "read" from "absent".
int ReadOptionalDouble(const DOMElement& elmt, const char* name, double& value) {
  const int answer = GetDoubleAttribute(elmt, name, value);
  if (answer == kAbsent) value = gMissingValue;
  return answer;
}

// Counts and frequencies: an "Array" of "real" or "int" numbers, none negative.
// The not-a-number literal reads as the missing value, which is negative too.
MCStatus ReadNonNegativeArray(std::vector<double>& values, const DOMElement& array) {
  const XMLCh* type = GetAttribute(array, "type");
  if (type == nullptr) return Failure(kAttributeAbsent);
  if (!XStrEqualsUTF8Str(type, "real") && !XStrEqualsUTF8Str(type, "int")) {
    return Failure(kAttributeBad);
  }
  if (!AssembleDoublesList(array, values)) return Failure(kBadArray);
  for (const double value : values) {
    if (value < 0.0) return Failure(kBadArray);
  }
  return MCStatus();
}

}  // namespace

MCStatus MCPMMLParser::FillUniStats(MCUniStats& stats, const DOMElement*& cursor) const {
  const MCStatus stored = m_status;
  if (!stored.IsOK()) return stored;
  if (m_document == nullptr) return Failure(kNoDocument);
  if (m_modelElmt == nullptr) return Failure(kNoModel);

  // The cursor moves before the element is checked, so that a caller can step
  // past a bad element with the next call.
  if (cursor != nullptr) {
    cursor = GetNextSiblingElmt(*cursor, "UnivariateStats");
  } else {
    const DOMElement* modelStats = GetFirstChildElmt(*m_modelElmt, "ModelStats");
    cursor = modelStats == nullptr ? nullptr : GetFirstChildElmt(*modelStats, "UnivariateStats");
  }
  if (cursor == nullptr) return MCStatus();
  const DOMElement& univariateStats = *cursor;

  const XMLCh* field = GetAttribute(univariateStats, "field");
  if (field == nullptr) return Failure(kAttributeAbsent);
  const std::string name = ToUTF8(field);

  const DOMElement* counts = GetFirstChildElmt(univariateStats, "Counts");
  if (counts == nullptr) return Failure(kElementMissing);
  double totalFreq = 0.0;
  const int answer = GetDoubleAttribute(*counts, "totalFreq", totalFreq);
  if (answer == kAbsent) return Failure(kAttributeAbsent);
  if (answer == kNotANumber || totalFreq < 0.0) return Failure(kAttributeBad);

  // NumericInfo decides, even when DiscrStats is present as well.
  MCStatus status = GetFirstChildElmt(univariateStats, "NumericInfo") != nullptr
                        ? FillUniStatsCont(stats, name, totalFreq, univariateStats)
                        : FillUniStatsCat(stats, name, totalFreq, univariateStats);
  if (status.IsOK() && !stats.IsValid()) status = Failure(kInvalidStats);
  return status;
}

MCStatus MCPMMLParser::FillUniStatsCat(MCUniStats& stats, const std::string& name, double totalFreq,
                                       const DOMElement& univariateStats) const {
  const DOMElement* discrStats = GetFirstChildElmt(univariateStats, "DiscrStats");
  const DOMElement* array =
      discrStats == nullptr ? nullptr : GetFirstChildElmt(*discrStats, "Array");
  if (array == nullptr) return Failure(kElementMissing);

  std::vector<double> counts;
  const MCStatus status = ReadNonNegativeArray(counts, *array);
  if (!status.IsOK()) return status;

  stats = MCUniStats(name, totalFreq, counts);
  return MCStatus();
}

MCStatus MCPMMLParser::FillUniStatsCont(MCUniStats& stats, const std::string& name,
                                        double totalFreq, const DOMElement& univariateStats) const {
  const DOMElement* numericInfo = GetFirstChildElmt(univariateStats, "NumericInfo");
  if (numericInfo == nullptr) return Failure(kElementMissing);

  // Read in this order; the first text that is not a number stops the reading.
  double minimum = gMissingValue;
  double maximum = gMissingValue;
  double mean = gMissingValue;
  double deviation = gMissingValue;
  if (ReadOptionalDouble(*numericInfo, "minimum", minimum) == kNotANumber ||
      ReadOptionalDouble(*numericInfo, "maximum", maximum) == kNotANumber ||
      ReadOptionalDouble(*numericInfo, "mean", mean) == kNotANumber) {
    return Failure(kAttributeBad);
  }
  const int deviationAnswer = ReadOptionalDouble(*numericInfo, "standardDeviation", deviation);
  if (deviationAnswer == kNotANumber) return Failure(kAttributeBad);
  // Only a number actually read is tested; the not-a-number literal reads as
  // the missing value, which lies below zero.
  if (deviationAnswer == kRead && deviation < 0.0) return Failure(kInvalidStats);

  // A continuous field without a histogram leaves the caller's record alone.
  const DOMElement* contStats = GetFirstChildElmt(univariateStats, "ContStats");
  if (contStats == nullptr) return MCStatus();

  std::vector<double> cutPoints;
  std::vector<double> freqs;
  bool leftOpen = true;
  const MCStatus status = FillCutPointsFreqs(cutPoints, freqs, leftOpen, *contStats);
  if (!status.IsOK()) return status;

  MCUniStats::SummStats summStats;
  summStats.minimum = minimum;
  summStats.maximum = maximum;
  summStats.mean = mean;
  summStats.standardDeviation = deviation;
  stats = MCUniStats(name, totalFreq, summStats, cutPoints, freqs);
  return MCStatus();
}

MCStatus MCPMMLParser::FillCutPointsFreqs(std::vector<double>& cutPoints,
                                          std::vector<double>& freqs, bool& leftOpen,
                                          const DOMElement& contStats) const {
  cutPoints.clear();
  freqs.clear();
  leftOpen = true;
  bool openRightSeen = false;
  bool first = true;
  for (const DOMElement* interval = GetFirstChildElmt(contStats, "Interval"); interval != nullptr;
       interval = GetNextSiblingElmt(*interval, "Interval")) {
    // Only the last boundary of a histogram may be open.
    if (openRightSeen) return Failure(kBadHistogram);
    double left = gMissingValue;
    double right = gMissingValue;
    bool intervalLeftOpen = false;
    const MCStatus status = ExtractInterval(left, right, intervalLeftOpen, *interval);
    if (!status.IsOK()) return status;

    if (first) {
      leftOpen = intervalLeftOpen;
      cutPoints.push_back(left);
    } else {
      if (intervalLeftOpen != leftOpen) return Failure(kBadHistogram);
      // A gap between two intervals becomes a bucket of its own; touching
      // intervals share their boundary.
      if (left == gMissingValue || left < cutPoints.back()) return Failure(kBadHistogram);
      if (left > cutPoints.back()) cutPoints.push_back(left);
    }
    if (right == gMissingValue) openRightSeen = true;
    cutPoints.push_back(right);
    first = false;
  }
  if (cutPoints.empty()) return MCStatus();

  const DOMElement* array = GetFirstChildElmt(contStats, "Array");
  if (array == nullptr) return Failure(kElementMissing);
  const MCStatus status = ReadNonNegativeArray(freqs, *array);
  if (!status.IsOK()) return status;
  if (freqs.size() + 1 != cutPoints.size()) return Failure(kBadHistogram);
  return MCStatus();
}

MCStatus MCPMMLParser::ExtractInterval(double& left, double& right, bool& leftOpen,
                                       const DOMElement& interval) const {
  if (ReadOptionalDouble(interval, "leftMargin", left) == kNotANumber) {
    return Failure(kAttributeBad);
  }
  const int rightAnswer = ReadOptionalDouble(interval, "rightMargin", right);
  if (rightAnswer == kNotANumber) return Failure(kAttributeBad);
  if (rightAnswer == kAbsent) {
    if (left == gMissingValue) return Failure(kAttributeAbsent);
  } else if (left != gMissingValue && left >= right) {
    return Failure(kAttributeBad);
  }

  const XMLCh* closure = GetAttribute(interval, "closure");
  if (closure == nullptr) return Failure(kAttributeAbsent);
  // Only the left side of the closure matters here.
  leftOpen = XStrEqualsUTF8Str(closure, "openOpen") || XStrEqualsUTF8Str(closure, "openClosed");
  return MCStatus();
}

}  // namespace MCXML_1_3
