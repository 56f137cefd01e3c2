// MCPMMLParser's statistics reader: one UnivariateStats element of the model's
// ModelStats per call, read into an MCUniStats record.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "mcxml/common/missing_value.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/pmml/problems_internal.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_access_internal.h"
#include "mcxml/xml/plain_text_internal.h"
#include "mcxml/xml/status_codes_internal.h"

namespace MCXML_1_3 {
namespace {

using MCCommon_1_3::MCMV::gMissingValue;

// GetDoubleAttribute's answers.
constexpr int kAbsent = -1;
constexpr int kRead = 0;
constexpr int kNotANumber = 1;

// An absent number is the missing value; the answer is GetDoubleAttribute's for
// the attribute whose value is `text`, so that the caller can tell "read" from
// "absent".
int ReadOptionalDouble(const XMLCh* text, double& value) {
  if (text == nullptr) {
    value = gMissingValue;
    return kAbsent;
  }
  return XStrToDouble(text, value) ? kRead : kNotANumber;
}

// The attribute names of an Interval of a histogram, matched by address once
// seen: one set serves every Interval of one ContStats.
struct IntervalNames {
  PooledName attributes[3] = {PooledName(u"leftMargin"), PooledName(u"rightMargin"),
                              PooledName(u"closure")};
};

// The children of a UnivariateStats that its reading uses, the first of each tag.
struct StatsChildren {
  const DOMElement* counts;
  const DOMElement* numericInfo;
  const DOMElement* discrStats;
  const DOMElement* contStats;
};

StatsChildren ChildrenOf(const DOMElement& univariateStats) {
  PooledName tags[4] = {PooledName(u"Counts"), PooledName(u"NumericInfo"),
                        PooledName(u"DiscrStats"), PooledName(u"ContStats")};
  const DOMElement* found[4];
  GetFirstChildElmt(univariateStats, tags, found);
  return {found[0], found[1], found[2], found[3]};
}

// Why a record that was read whole is not valid, as far as the reading can tell.
std::string WhyInvalid(const MCUniStats& stats, const DOMElement& univariateStats) {
  if (stats.GetKind() == MCUniStats::Kind::Empty) {
    return "NumericInfo without ContStats leaves the record empty, and an empty record is not "
           "valid";
  }
  if (stats.GetName().empty()) {
    return "field " + Quoted(GetAttribute(univariateStats, "field")) + " is not valid text";
  }
  const MCUniStats::SummStats& summary = stats.GetSummStats();
  if (stats.GetKind() == MCUniStats::Kind::Continuous && summary.minimum != gMissingValue &&
      summary.maximum != gMissingValue && summary.minimum > summary.maximum) {
    return "NumericInfo minimum " + NumberText(summary.minimum) + " lies above its maximum " +
           NumberText(summary.maximum);
  }
  return "the statistics read do not form a valid record";
}

// Counts and frequencies: an "Array" of "real" or "int" numbers, none negative.
// The not-a-number literal reads as the missing value, which is negative too.
MCStatus ReadNonNegativeArray(std::vector<double>& values, const DOMElement& array,
                              MCFaults* faults) {
  const XMLCh* type = GetAttribute(array, "type");
  if (type == nullptr) {
    return Fault(faults, kAttributeMissing, array,
                 [] { return std::string("Array has no \"type\""); });
  }
  if (!TextIs(type, u"real") && !TextIs(type, u"int")) {
    return Fault(faults, kAttributeBad, array,
                 [&] { return "Array type " + Quoted(type) + " is neither \"real\" nor \"int\""; });
  }
  if (!AssembleDoublesList(array, values)) {
    return Fault(faults, kBadArray, array, [&] {
      const DOMNode* text = array.getFirstChild();
      return text != nullptr && text->getNextSibling() == nullptr &&
                     text->getNodeType() == DOMNode::TEXT_NODE
                 ? "Array text " + Quoted(text->getNodeValue()) + " is not a list of numbers"
                 : std::string("Array holds something other than one text of numbers");
    });
  }
  for (const double value : values) {
    if (value < 0.0) {
      return Fault(faults, kBadArray, array, [&] {
        return value == gMissingValue ? std::string("Array holds NaN, which counts as negative")
                                      : "Array holds the negative number " + NumberText(value);
      });
    }
  }
  return MCStatus();
}

MCStatus ExtractIntervalOf(double& left, double& right, bool& leftOpen, const DOMElement& interval,
                           IntervalNames& names, MCFaults* faults) {
  const XMLCh* attributes[3];
  ReadAttributes(interval, names.attributes, attributes);
  // Named apart rather than bound as a structure: lambdas below capture them.
  const XMLCh* const leftText = attributes[0];
  const XMLCh* const rightText = attributes[1];
  const XMLCh* const closure = attributes[2];
  const auto notANumber = [&](const char* margin, const XMLCh* text) {
    return Fault(faults, kAttributeBad, interval, [&] {
      return std::string("Interval ") + margin + " " + Quoted(text) + " is not a finite number";
    });
  };
  if (ReadOptionalDouble(leftText, left) == kNotANumber) return notANumber("leftMargin", leftText);
  const int rightAnswer = ReadOptionalDouble(rightText, right);
  if (rightAnswer == kNotANumber) return notANumber("rightMargin", rightText);
  if (rightAnswer == kAbsent) {
    if (left == gMissingValue) {
      return Fault(faults, kAttributeMissing, interval, [] {
        return std::string("Interval has neither \"leftMargin\" nor \"rightMargin\"");
      });
    }
  } else if (left != gMissingValue && left >= right) {
    return Fault(faults, kAttributeBad, interval, [&] {
      return "Interval leftMargin " + Quoted(leftText) + " is not below its rightMargin " +
             Quoted(rightText);
    });
  }

  if (closure == nullptr) {
    return Fault(faults, kAttributeMissing, interval,
                 [] { return std::string("Interval has no \"closure\""); });
  }
  // Only the left side of the closure matters here.
  leftOpen = TextIs(closure, u"openOpen") || TextIs(closure, u"openClosed");
  return MCStatus();
}

// The Interval children of `contStats`, counted in one pass that also finds its
// first Array, so that the cut points can be allocated once.
std::size_t CountIntervals(const DOMElement& contStats, PooledName& intervalTag,
                           const DOMElement*& array) {
  PooledName arrayTag(u"Array");
  std::size_t intervals = 0;
  array = nullptr;
  for (const DOMNode* node = contStats.getFirstChild(); node != nullptr;
       node = node->getNextSibling()) {
    if (node->getNodeType() != DOMNode::ELEMENT_NODE) continue;
    const XMLCh* tag = node->getNodeName();
    if (intervalTag.Matches(tag)) {
      ++intervals;
    } else if (array == nullptr && arrayTag.Matches(tag)) {
      array = static_cast<const DOMElement*>(node);
    }
  }
  return intervals;
}

// An interval after the first, whose left margin `left` joins the cut points: it
// has the first one's closure and starts at or after the boundary before it. A gap
// between two intervals becomes a bucket of its own; touching intervals share
// their boundary.
MCStatus JoinInterval(std::vector<double>& cutPoints, double left, bool intervalLeftOpen,
                      bool leftOpen, const DOMElement& interval, MCFaults* faults) {
  if (intervalLeftOpen != leftOpen) {
    return Fault(faults, kBadHistogram, interval, [&] {
      return "Interval closure " + Quoted(GetAttribute(interval, "closure")) + " is " +
             (intervalLeftOpen ? "open" : "closed") + " on the left, the first interval's " +
             (leftOpen ? "open" : "closed");
    });
  }
  if (left == gMissingValue) {
    return Fault(faults, kBadHistogram, interval, [] {
      return std::string("Interval has no left margin, which only the first may lack");
    });
  }
  if (left < cutPoints.back()) {
    return Fault(faults, kBadHistogram, interval, [&] {
      return "Interval leftMargin " + Quoted(GetAttribute(interval, "leftMargin")) +
             " lies below the boundary before it, " + NumberText(cutPoints.back());
    });
  }
  if (left > cutPoints.back()) cutPoints.push_back(left);
  return MCStatus();
}

// The frequencies of the histogram of `contStats` from its Array, one for each of
// the buckets between `cutCount` cut points.
MCStatus ReadBucketFreqs(std::vector<double>& freqs, const DOMElement* array,
                         const DOMElement& contStats, std::size_t cutCount, MCFaults* faults) {
  if (array == nullptr) {
    return Fault(faults, kElementMissing, contStats,
                 [] { return std::string("ContStats has intervals but no Array of frequencies"); });
  }
  const MCStatus status = ReadNonNegativeArray(freqs, *array, faults);
  if (!status.IsOK()) return status;
  if (freqs.size() + 1 != cutCount) {
    return Fault(faults, kBadHistogram, *array, [&] {
      return "Array holds " + std::to_string(freqs.size()) + " frequencies for " +
             std::to_string(cutCount - 1) + " buckets";
    });
  }
  return MCStatus();
}

MCStatus FillCutPointsFreqsOf(std::vector<double>& cutPoints, std::vector<double>& freqs,
                              bool& leftOpen, const DOMElement& contStats, MCFaults* faults) {
  cutPoints.clear();
  freqs.clear();
  leftOpen = true;
  PooledName intervalTag(u"Interval");
  const DOMElement* array = nullptr;
  const std::size_t intervals = CountIntervals(contStats, intervalTag, array);
  if (intervals == 0) return MCStatus();
  // A gap between intervals adds one more.
  cutPoints.reserve(intervals + 1);

  IntervalNames names;
  bool openRightSeen = false;
  bool first = true;
  for (const DOMElement* interval = GetFirstChildElmt(contStats, intervalTag); interval != nullptr;
       interval = GetNextSiblingElmt(*interval, intervalTag)) {
    // Only the last boundary of a histogram may be open.
    if (openRightSeen) {
      return Fault(faults, kBadHistogram, *interval, [] {
        return std::string("Interval follows one without a right margin, which must be the last");
      });
    }
    double left = gMissingValue;
    double right = gMissingValue;
    bool intervalLeftOpen = false;
    MCStatus status = ExtractIntervalOf(left, right, intervalLeftOpen, *interval, names, faults);
    if (!status.IsOK()) return status;
    if (first) {
      leftOpen = intervalLeftOpen;
      cutPoints.push_back(left);
      first = false;
    } else {
      status = JoinInterval(cutPoints, left, intervalLeftOpen, leftOpen, *interval, faults);
      if (!status.IsOK()) return status;
    }
    if (right == gMissingValue) openRightSeen = true;
    cutPoints.push_back(right);
  }
  return ReadBucketFreqs(freqs, array, contStats, cutPoints.size(), faults);
}

// `discrStats` is the first DiscrStats child of `univariateStats`, or null.
MCStatus FillUniStatsCatOf(MCUniStats& stats, std::string name, double totalFreq,
                           const DOMElement& univariateStats, const DOMElement* discrStats,
                           MCFaults* faults) {
  const DOMElement* array =
      discrStats == nullptr ? nullptr : GetFirstChildElmt(*discrStats, "Array");
  if (array == nullptr) {
    return Fault(faults, kElementMissing, discrStats == nullptr ? univariateStats : *discrStats,
                 [&] {
                   return discrStats == nullptr ? std::string("no NumericInfo and no DiscrStats")
                                                : std::string("DiscrStats has no Array of counts");
                 });
  }

  std::vector<double> counts;
  const MCStatus status = ReadNonNegativeArray(counts, *array, faults);
  if (!status.IsOK()) return status;

  stats = MCUniStats(std::move(name), totalFreq, std::move(counts));
  return MCStatus();
}

// `numericInfo` and `contStats` are the first such children of `univariateStats`,
// or null.
MCStatus FillUniStatsContOf(MCUniStats& stats, std::string name, double totalFreq,
                            const DOMElement& univariateStats, const DOMElement* numericInfo,
                            const DOMElement* contStats, MCFaults* faults) {
  if (numericInfo == nullptr) {
    return Fault(faults, kElementMissing, univariateStats,
                 [] { return std::string("no NumericInfo"); });
  }

  // Read in this order; the first text that is not a number stops the reading.
  PooledName names[4] = {PooledName(u"minimum"), PooledName(u"maximum"), PooledName(u"mean"),
                         PooledName(u"standardDeviation")};
  const XMLCh* texts[4];
  ReadAttributes(*numericInfo, names, texts);
  MCUniStats::SummStats summStats;
  struct Summary {
    const char* attribute;
    double& value;
  };
  const Summary summaries[] = {{"minimum", summStats.minimum},
                               {"maximum", summStats.maximum},
                               {"mean", summStats.mean},
                               {"standardDeviation", summStats.standardDeviation}};
  int deviationAnswer = kAbsent;
  for (int i = 0; i < 4; ++i) {
    deviationAnswer = ReadOptionalDouble(texts[i], summaries[i].value);
    if (deviationAnswer == kNotANumber) {
      return Fault(faults, kAttributeBad, *numericInfo, [&] {
        return std::string("NumericInfo ") + summaries[i].attribute + " " + Quoted(texts[i]) +
               " is not a finite number";
      });
    }
  }
  // Only a number actually read is tested; the not-a-number literal reads as
  // the missing value, which lies below zero.
  if (deviationAnswer == kRead && summStats.standardDeviation < 0.0) {
    return Fault(faults, kInvalidStats, *numericInfo, [&] {
      return "NumericInfo standardDeviation " + Quoted(texts[3]) + " is negative";
    });
  }

  // A continuous field without a histogram leaves the caller's record alone.
  if (contStats == nullptr) return MCStatus();

  std::vector<double> cutPoints;
  std::vector<double> freqs;
  bool leftOpen = true;
  const MCStatus status = FillCutPointsFreqsOf(cutPoints, freqs, leftOpen, *contStats, faults);
  if (!status.IsOK()) return status;

  stats = MCUniStats(std::move(name), totalFreq, summStats, std::move(cutPoints), std::move(freqs));
  return MCStatus();
}

}  // namespace

MCStatus ReadUniStatsElement(MCUniStats& stats, const DOMElement& univariateStats,
                             MCFaults* faults) {
  const XMLCh* field = GetAttribute(univariateStats, "field");
  if (field == nullptr) {
    return Fault(faults, kAttributeMissing, univariateStats,
                 [] { return std::string("\"field\" is missing"); });
  }

  const StatsChildren children = ChildrenOf(univariateStats);
  const DOMElement* counts = children.counts;
  if (counts == nullptr) {
    return Fault(faults, kElementMissing, univariateStats, [] { return std::string("no Counts"); });
  }
  double totalFreq = 0.0;
  const int answer = GetDoubleAttribute(*counts, "totalFreq", totalFreq);
  if (answer == kAbsent) {
    return Fault(faults, kAttributeMissing, *counts,
                 [] { return std::string("Counts has no \"totalFreq\""); });
  }
  if (answer == kNotANumber || totalFreq < 0.0) {
    return Fault(faults, kAttributeBad, *counts, [&] {
      return "Counts totalFreq " + Quoted(GetAttribute(*counts, "totalFreq")) +
             (answer == kNotANumber ? " is not a finite number" : " is negative");
    });
  }

  // NumericInfo decides, even when DiscrStats is present as well.
  MCStatus status = children.numericInfo != nullptr
                        ? FillUniStatsContOf(stats, ToUTF8(field), totalFreq, univariateStats,
                                             children.numericInfo, children.contStats, faults)
                        : FillUniStatsCatOf(stats, ToUTF8(field), totalFreq, univariateStats,
                                            children.discrStats, faults);
  if (status.IsOK() && !stats.IsValid()) {
    status = Fault(faults, kInvalidStats, univariateStats,
                   [&] { return WhyInvalid(stats, univariateStats); });
  }
  return status;
}

MCStatus MCPMMLParser::FillUniStats(MCUniStats& stats, const DOMElement*& cursor) const {
  const MCStatus ready = QueryStart(m_status, m_document != nullptr);
  if (!ready.IsOK()) return ready;
  if (m_modelElmt == nullptr) return kNoModel;

  // The cursor moves before the element is checked, so that a caller can step
  // past a bad element with the next call.
  PooledName statsTag(u"UnivariateStats");
  if (cursor != nullptr) {
    const DOMElement* previous = cursor;
    cursor = GetNextSiblingElmt(*cursor, statsTag);
    if (cursor != nullptr) PrefetchNextLike(previous, cursor);
  } else {
    const DOMElement* modelStats = GetFirstChildElmt(*m_modelElmt, "ModelStats");
    cursor = modelStats == nullptr ? nullptr : GetFirstChildElmt(*modelStats, statsTag);
  }
  if (cursor == nullptr) return MCStatus();
  return ReadUniStatsElement(stats, *cursor, nullptr);
}

MCStatus MCPMMLParser::FillUniStatsCat(MCUniStats& stats, const std::string& name, double totalFreq,
                                       const DOMElement& univariateStats) const {
  return FillUniStatsCatOf(stats, name, totalFreq, univariateStats,
                           GetFirstChildElmt(univariateStats, "DiscrStats"), nullptr);
}

MCStatus MCPMMLParser::FillUniStatsCont(MCUniStats& stats, const std::string& name,
                                        double totalFreq, const DOMElement& univariateStats) const {
  return FillUniStatsContOf(stats, name, totalFreq, univariateStats,
                            GetFirstChildElmt(univariateStats, "NumericInfo"),
                            GetFirstChildElmt(univariateStats, "ContStats"), nullptr);
}

MCStatus MCPMMLParser::FillCutPointsFreqs(std::vector<double>& cutPoints,
                                          std::vector<double>& freqs, bool& leftOpen,
                                          const DOMElement& contStats) const {
  return FillCutPointsFreqsOf(cutPoints, freqs, leftOpen, contStats, nullptr);
}

MCStatus MCPMMLParser::ExtractInterval(double& left, double& right, bool& leftOpen,
                                       const DOMElement& interval) const {
  IntervalNames names;
  return ExtractIntervalOf(left, right, leftOpen, interval, names, nullptr);
}

}  // namespace MCXML_1_3
