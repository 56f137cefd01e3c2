// Deterministic generators of large PMML and build-settings documents for the
// benchmarks: the same arguments always give the same bytes.
#ifndef MCXML_BENCH_GENERATOR_H
#define MCXML_BENCH_GENERATOR_H

#include <string>
#include <vector>

namespace mcxml_bench {

/// A PMML document of `fields` DataFields: the even ones categorical (about ten
/// valid values with labels, one invalid and one missing value), the odd ones
/// continuous (an Interval, and five bins in the TransformationDictionary; every
/// fourth with invalid values and an invalid range). The model's ModelStats holds
/// one UnivariateStats per field. A few labels and values are not ASCII.
std::string GeneratePmml(int fields);

/// The name of the i-th DataField of GeneratePmml.
std::string FieldName(int i);

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
