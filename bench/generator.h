// Deterministic generators of large PMML and build-settings documents for the
// benchmarks: the same arguments always give the same bytes.
#ifndef MCXML_BENCH_GENERATOR_H
#define MCXML_BENCH_GENERATOR_H

#include <functional>
#include <string>
#include <vector>

namespace mcxml_bench {

/// The shape of a generated PMML document; the defaults make the benchmark's own.
struct PmmlShape {
  /// DataFields, and UnivariateStats in the model.
  int fields = 20000;
  /// Valid values of a categorical field: from two fewer to two more, at least one.
  int values = 10;
  /// Characters in a field's name: 11 gives "field000123"; fewer, "f" and the
  /// number (longer where the number needs it); more, a longer stem before it.
  int nameLength = 11;
  /// Bins of a continuous field, and intervals of its histogram.
  int bins = 5;
  /// Trees of a forest: with more than 0, the model is a MiningModel whose
  /// Segmentation holds this many TreeModels ...
  int trees = 0;
  /// ... each a complete binary tree of this many levels of splits.
  int depth = 10;
};

/// A PMML document of `shape.fields` DataFields: the even ones categorical (valid
/// values with labels, one invalid and one missing value), the odd ones continuous
/// (an Interval, and bins in the TransformationDictionary; every fourth with
/// invalid values and an invalid range). The model's ModelStats holds one
/// UnivariateStats per field, a histogram for each continuous one. A few labels
/// and values are not ASCII. A forest's trees split on the continuous fields and
/// carry a score distribution in each leaf.
std::string GeneratePmml(const PmmlShape& shape);
/// The same document in pieces as it is written, at most one tree a piece, so that
/// a forest of gigabytes is never held whole.
void GeneratePmml(const PmmlShape& shape, const std::function<void(const std::string&)>& sink);

/// The name of the i-th DataField of GeneratePmml(shape).
std::string FieldName(const PmmlShape& shape, int i);

/// When `arg` is `name`=VALUE, puts VALUE in `value`; false otherwise.
bool TakeOption(const char* arg, const char* name, std::string& value);
/// Reads the shape options (--fields=N, --values=N, --name-length=N, --bins=N,
/// --trees=N, --depth=N)
/// from `arg` into `shape`; false when `arg` is none of them.
bool TakeShapeOption(const char* arg, PmmlShape& shape);
/// The options that make `shape`, for another run of a program.
std::vector<std::string> ShapeOptions(const PmmlShape& shape);

/// The getter that a generated settings parameter calls for.
enum class ParamKind {
  kString,
  kInteger,
  kDouble,
  kBoolean,
  kEnum,
  kFieldName,
  kNameList,  ///< "isList" with a ListValue of names; top level only
  kArrayString,
  kArrayInteger,
  kArrayDouble,
  kMatrixInteger,
  kMatrixDouble,
  kMatrixString,
};

/// A ComplexParameter: `parent` is the index of the enclosing group, -1 at the top.
struct SettingsGroup {
  std::string name;
  int parent;
};

/// A parameter and the group that holds it (-1 at the top).
struct SettingsParam {
  std::string name;
  ParamKind kind;
  int group;
};

/// A build-settings document and what it holds, groups listed before their members.
struct SettingsDocument {
  std::string text;
  std::vector<SettingsGroup> groups;
  std::vector<SettingsParam> params;
};

/// A build-settings document of `params` parameters cycling through every kind; one
/// in five stands in a ComplexParameter, some of which are nested three deep. Its
/// DataDictionary holds a handful of fields.
SettingsDocument GenerateSettings(int params);

}  // namespace mcxml_bench

#endif  // MCXML_BENCH_GENERATOR_H
