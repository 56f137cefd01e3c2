// A transcript of what the library hands back: statuses, variable lists,
// statistics records and problems written out as one text, so that two loads of
// the same bytes (the whole document and the lean reading) can be compared whole.
#ifndef MCXML_FUZZ_TRANSCRIPT_H
#define MCXML_FUZZ_TRANSCRIPT_H

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mcxml/common/diagnostics.h"
#include "mcxml/common/status.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/common/var_list.h"

namespace mcxml_fuzz {

class Transcript {
 public:
  Transcript& operator<<(const std::string& text) {
    m_text += text;
    m_text += '|';
    return *this;
  }
  Transcript& operator<<(const char* text) { return *this << std::string(text); }
  Transcript& operator<<(long long value) { return *this << std::to_string(value); }
  Transcript& operator<<(int value) { return *this << static_cast<long long>(value); }
  Transcript& operator<<(unsigned long value) { return *this << std::to_string(value); }
  Transcript& operator<<(unsigned value) { return *this << static_cast<unsigned long>(value); }
  Transcript& operator<<(bool value) { return *this << (value ? "T" : "F"); }
  // Exact: two doubles print alike only when they are the same.
  Transcript& operator<<(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return *this << std::string(text);
  }
  template <class T>
  Transcript& operator<<(const std::vector<T>& values) {
    *this << "[" << static_cast<long long>(values.size());
    for (const T& value : values) *this << value;
    return *this << "]";
  }
  template <class T>
  Transcript& operator<<(const std::optional<T>& value) {
    if (!value) return *this << "-";
    return *this << *value;
  }
  template <class A, class B>
  Transcript& operator<<(const std::pair<A, B>& pair) {
    return *this << pair.first << pair.second;
  }

  Transcript& operator<<(const MCCommon_1_3::MCStatus& status) {
    return *this << "status" << static_cast<long long>(status.GetCode()) << status.IsWarning();
  }
  Transcript& operator<<(const MCXML_1_3::MCPlace& place) {
    return *this << place.line << place.column;
  }
  Transcript& operator<<(const MCXML_1_3::MCVarList& list) {
    *this << "variables" << list.GetCount();
    for (int i = 0; i < list.GetCount(); ++i) {
      const MCXML_1_3::MCVariableInfo& info = list.GetVarAt(i)->GetInfo();
      *this << info.name << info.label << info.role << static_cast<int>(info.kind) << info.dataType
            << info.textValues << info.texts << info.numbers << info.valueLabels << info.range
            << info.isDiscrete << info.precision << info.cutPoints << info.isBinned
            << info.rounding;
      const MCXML_1_3::IMCEncoder& encoder = *list.GetEncoderAt(i);
      *this << encoder.GetBinLabels() << encoder.GetInvalidRange();
      for (const MCXML_1_3::MCInvalidValue& invalid : encoder.GetInvalidValues()) {
        *this << invalid.isText << invalid.number << invalid.text << invalid.label;
      }
    }
    return *this;
  }
  Transcript& operator<<(const MCXML_1_3::MCUniStats& stats) {
    const MCXML_1_3::MCUniStats::SummStats& summary = stats.GetSummStats();
    return *this << "stats" << stats.GetName() << stats.GetTotalFreq()
                 << static_cast<int>(stats.GetKind()) << stats.GetCounts() << summary.minimum
                 << summary.maximum << summary.mean << summary.standardDeviation
                 << stats.GetCutPoints() << stats.GetFreqs() << stats.IsValid();
  }
  Transcript& operator<<(const std::vector<MCXML_1_3::MCProblem>& problems) {
    *this << "problems" << static_cast<long long>(problems.size());
    for (const MCXML_1_3::MCProblem& problem : problems) {
      *this << problem.status << problem.reason << problem.name << problem.place << problem.path;
    }
    return *this;
  }

  const std::string& Text() const { return m_text; }

 private:
  std::string m_text;
};

/// Stops the run when the two transcripts differ, showing where.
inline void CheckSame(const Transcript& whole, const Transcript& lean);

/// Whether a secured load ended at its memory budget.
inline bool OutgrewBudget(const std::optional<MCXML_1_3::MCXMLError>& error) {
  return error && error->message.rfind("the document needs more than ", 0) == 0;
}

/// Runs `readAll(text, lean, trusted, transcript)` on the whole document and on
/// the lean reading, both secured, and stops the run when they read differently.
/// `readAll` returns whether its load outgrew the memory budget. What the lean
/// reading skips does not count against the budget, so a document that outgrows
/// it only whole is held to its whole reading without secure processing.
template <class ReadAll>
void ReadBothWays(const std::string& text, ReadAll readAll) {
  Transcript whole;
  Transcript lean;
  const bool wholeOutgrew = readAll(text, false, false, whole);
  const bool leanOutgrew = readAll(text, true, false, lean);
  if (!wholeOutgrew || leanOutgrew) return CheckSame(whole, lean);
  Transcript trusted;
  static_cast<void>(readAll(text, false, true, trusted));
  CheckSame(trusted, lean);
}

inline void CheckSame(const Transcript& whole, const Transcript& lean) {
  const std::string& a = whole.Text();
  const std::string& b = lean.Text();
  if (a == b) return;
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const std::size_t from = at > 80 ? at - 80 : 0;
  std::fprintf(stderr, "whole and lean readings differ at %zu:\n  whole: %s\n  lean:  %s\n", at,
               a.substr(from, 200).c_str(), b.substr(from, 200).c_str());
  std::abort();
}

}  // namespace mcxml_fuzz

#endif  // MCXML_FUZZ_TRANSCRIPT_H
