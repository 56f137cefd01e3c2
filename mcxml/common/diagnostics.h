// Diagnostics beside the statuses: where an element stands in its document, the
// first error the XML parser reported, and one problem that a check of a whole
// document found.
#ifndef MCXML_COMMON_DIAGNOSTICS_H
#define MCXML_COMMON_DIAGNOSTICS_H

#include <optional>
#include <string>

#include "mcxml/common/status.h"

namespace MCXML_1_3 {

/// A place in a document's text: 1-based line and column, both 0 when unknown.
struct MCPlace {
  unsigned long line = 0;    ///< 1-based line; 0 when unknown
  unsigned long column = 0;  ///< 1-based column, counted in characters; 0 when unknown

  /// True when the place was recorded.
  bool IsKnown() const { return line != 0; }
};

/// The first error the XML parser reported while it read a document.
struct MCXMLError {
  std::string message;  ///< the parser's own text, in UTF-8
  MCPlace place;        ///< where the parser stood when it found the error
};

/// One problem that a check of a whole document found.
struct MCProblem {
  /// The status that the library's operation for this part of the document returns:
  /// the load, the variable list, the statistics walk or a settings getter. Code 0
  /// marks an error of the XML parser, which no operation turns into a status.
  MCCommon_1_3::MCStatus status;
  /// One line in plain English that names the attribute or element at fault and
  /// quotes the offending text; when the element at fault lies below (or, for a
  /// Discretize, outside) the part in `path`, it ends with where that element
  /// stands: `(at ContStats/Interval[2], line 17)`.
  std::string reason;
  /// The part the operation fails on (a DataField, a UnivariateStats, a Parameter;
  /// for a failed load the root or the step of the settings path that is missing;
  /// for an XML error the element open where it was found), as a path from the
  /// root: `/PMML/DataDictionary/DataField[3]`. `[n]` counts, from 1, the elements
  /// of that name under the same parent, and is left out when there is one. A path
  /// of more than 16 steps keeps its first 8 and last 8 with `/...` between them
  /// (`place` still names the element), so that its length does not grow with
  /// the depth of the document.
  std::string path;
  /// The name of the field, statistics or parameter concerned, when it has one that
  /// converts to UTF-8 text.
  std::optional<std::string> name;
  /// Where that part starts, when element places were recorded during the load; for
  /// an XML error, where the parser stood.
  MCPlace place;
};

}  // namespace MCXML_1_3

#endif  // MCXML_COMMON_DIAGNOSTICS_H
