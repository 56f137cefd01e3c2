// The forms check prints its findings in: JSON, the compilers' text lines, JSON
// lines, SARIF and workflow commands. Each document is written on its own, so
// that documents checked at once are printed as each is done, in order.
#ifndef MCXML_TOOLS_MCXML_CHECK_FORMATS_H
#define MCXML_TOOLS_MCXML_CHECK_FORMATS_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "mcxml/common/diagnostics.h"
#include "mcxml/common/status.h"

namespace MCXML_1_3 {
namespace tool {

/// What the check of one document found.
struct Checked {
  /// The name as given or found under a folder; "-" for standard input.
  std::string file;
  /// "pmml" or "settings".
  std::string kind = "pmml";
  MCCommon_1_3::MCStatus load;
  std::string message;
  unsigned parseErrors = 0;
  std::vector<MCProblem> problems;

  unsigned long Errors() const;
  unsigned long Warnings() const;
};

/// What a run of several documents found, for the formats' summaries.
struct Summary {
  unsigned long documents = 0;
  unsigned long withErrors = 0;
  unsigned long errors = 0;
  unsigned long warnings = 0;

  void Add(const Checked& checked);
};

/// One output form. Document() may be called from several threads at once; Begin
/// and End from one, around all of them.
class CheckFormat {
 public:
  virtual ~CheckFormat() = default;
  /// What opens the output.
  virtual void Begin(std::ostream& out) const { static_cast<void>(out); }
  /// The output of one document; empty when it shows nothing.
  virtual std::string Document(const Checked& checked) const = 0;
  /// What stands before the output of a document that shows something: the first
  /// of them when `first`.
  virtual const char* Between(bool first) const {
    static_cast<void>(first);
    return "";
  }
  /// What closes the output; `shown` when some document showed something.
  virtual void End(const Summary& summary, bool shown, std::ostream& out) const = 0;
};

/// The format named `name` (json, text, jsonl, sarif, github), for a run of one
/// document (`single`: the check object alone, as a single check prints it) or of
/// several.
std::unique_ptr<CheckFormat> MakeCheckFormat(const std::string& name, bool single);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_CHECK_FORMATS_H
