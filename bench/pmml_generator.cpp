// The PMML document generator for the benchmarks. Every number comes from the
// field's index, so the output depends on the shape alone.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "generator.h"
#include "generator_parts.h"

namespace mcxml_bench {
namespace {

// The name of the default shape: "field" and six digits.
constexpr int kDefaultNameLength = 11;
// What longer names carry before "field" and the number.
constexpr char kLongStem[] = "customer_account_measurement_";

bool IsContinuous(int i) {
  return i % 2 == 1;
}

// Every 25th field carries text that is not ASCII, so the general conversion
// path runs too.
bool HasWideText(int i) {
  return i % 25 == 0;
}

// The valid values of categorical field i.
int ValueCount(const PmmlShape& shape, int i) {
  const int count = shape.values - 2 + static_cast<int>(Mix(i, 1) % 5);
  return count < 1 ? 1 : count;
}

// The cut points of continuous field i: shape.bins + 1 increasing numbers.
std::vector<double> CutPoints(const PmmlShape& shape, int i) {
  const double start = (i % 7) * 10.0;
  const double width = 50.0 + (i % 13) * 2.5;
  std::vector<double> cuts;
  for (int k = 0; k <= shape.bins; ++k) cuts.push_back(start + k * width);
  return cuts;
}

void WriteCategoricalField(Writer& w, const PmmlShape& shape, int i) {
  const bool numeric = i % 3 == 0;
  const int values = ValueCount(shape, i);
  w.Open(2, "DataField")
      .Attr("name", FieldName(shape, i))
      .Attr("displayName", (HasWideText(i) ? "Cat\xC3\xA9gorie " : "Segment ") + std::to_string(i))
      .Attr("optype", "categorical")
      .Attr("dataType", numeric ? "integer" : "string")
      .End();
  for (int k = 0; k < values; ++k) {
    const std::string value = numeric ? std::to_string(k + 1)
                                      : (HasWideText(i) && k == 0 ? std::string("caf\xC3\xA9")
                                                                  : "level_" + std::to_string(k));
    w.Open(3, "Value")
        .Attr("value", value)
        .Attr("displayValue", "Level " + std::to_string(k) + " of " + std::to_string(i))
        .EndEmpty();
  }
  w.Open(3, "Value")
      .Attr("value", numeric ? "-1" : "unknown")
      .Attr("property", "invalid")
      .Attr("displayValue", "Not stated")
      .EndEmpty();
  w.Open(3, "Value").Attr("value", numeric ? "99" : "NA").Attr("property", "missing").EndEmpty();
  w.Close(2, "DataField");
}

void WriteContinuousField(Writer& w, const PmmlShape& shape, int i) {
  const std::vector<double> cuts = CutPoints(shape, i);
  const bool invalid = i % 4 == 1;
  w.Open(2, "DataField")
      .Attr("name", FieldName(shape, i))
      .Attr("displayName",
            (HasWideText(i) ? "Temp\xC3\xA9rature \xC2\xB0" : "Measure ") + std::to_string(i))
      .Attr("optype", "continuous")
      .Attr("dataType", i % 3 == 0 ? "integer" : "double")
      .End();
  if (invalid) {
    w.Open(3, "Extension")
        .Attr("extender", "mcxml")
        .Attr("name", "invalidRangeLower")
        .Attr("value", -100.0)
        .EndEmpty();
    w.Open(3, "Extension")
        .Attr("extender", "mcxml")
        .Attr("name", "invalidRangeUpper")
        .Attr("value", -2.0)
        .EndEmpty();
  }
  w.Open(3, "Interval")
      .Attr("closure", "closedClosed")
      .Attr("leftMargin", cuts.front())
      .Attr("rightMargin", cuts.back())
      .EndEmpty();
  if (invalid) {
    w.Open(3, "Value")
        .Attr("value", -1.0)
        .Attr("property", "invalid")
        .Attr("displayValue", "Refused")
        .EndEmpty();
    w.Open(3, "Value").Attr("value", 9999.0).Attr("property", "missing").EndEmpty();
  }
  w.Close(2, "DataField");
}

void WriteDiscretize(Writer& w, const PmmlShape& shape, int i) {
  const std::vector<double> cuts = CutPoints(shape, i);
  w.Open(2, "DerivedField")
      .Attr("name", FieldName(shape, i) + "_bin")
      .Attr("optype", "categorical")
      .Attr("dataType", "string")
      .End();
  w.Open(3, "Discretize").Attr("field", FieldName(shape, i)).End();
  for (int k = 0; k < shape.bins; ++k) {
    w.Open(4, "DiscretizeBin").Attr("binValue", "bin_" + std::to_string(k + 1)).Raw(">");
    // Open outer ends, as binning of a whole real line has.
    w.Open(0, "Interval").Attr("closure", k + 1 == shape.bins ? "openOpen" : "openClosed");
    if (k > 0) w.Attr("leftMargin", cuts[k]);
    if (k + 1 < shape.bins) w.Attr("rightMargin", cuts[k + 1]);
    w.Raw("/>").Close(0, "DiscretizeBin");
  }
  w.Close(3, "Discretize");
  w.Close(2, "DerivedField");
}

void WriteStats(Writer& w, const PmmlShape& shape, int i) {
  const unsigned total = 1000 + Mix(i, 2) % 9000;
  w.Open(3, "UnivariateStats").Attr("field", FieldName(shape, i)).End();
  w.Open(4, "Counts")
      .Attr("totalFreq", static_cast<double>(total))
      .Attr("missingFreq", static_cast<double>(Mix(i, 3) % 50))
      .EndEmpty();
  std::string freqs;
  if (!IsContinuous(i)) {
    const int values = ValueCount(shape, i);
    for (int k = 0; k < values; ++k) {
      if (k > 0) freqs += ' ';
      freqs += std::to_string(Mix(i * 16 + k, 4) % (total / values + 1));
    }
    w.Open(4, "DiscrStats").End();
    w.Open(5, "Array").Attr("n", values).Attr("type", "int").Raw(">" + freqs + "</Array>\n");
    w.Close(4, "DiscrStats");
  } else {
    const std::vector<double> cuts = CutPoints(shape, i);
    w.Open(4, "NumericInfo")
        .Attr("minimum", cuts.front())
        .Attr("maximum", cuts.back())
        .Attr("mean", (cuts.front() + cuts.back()) / 2 + (Mix(i, 5) % 100) / 8.0)
        .Attr("standardDeviation", (cuts.back() - cuts.front()) / 3.5)
        .Attr("median", (cuts.front() + cuts.back()) / 2)
        .EndEmpty();
    w.Open(4, "ContStats").End();
    for (int k = 0; k < shape.bins; ++k) {
      w.Open(5, "Interval")
          .Attr("closure", k + 1 == shape.bins ? "closedClosed" : "closedOpen")
          .Attr("leftMargin", cuts[k])
          .Attr("rightMargin", cuts[k + 1])
          .EndEmpty();
      if (k > 0) freqs += ' ';
      freqs += std::to_string(Mix(i * 16 + k, 6) % (total / shape.bins + 1));
    }
    w.Open(5, "Array").Attr("n", shape.bins).Attr("type", "int").Raw(">" + freqs + "</Array>\n");
    w.Close(4, "ContStats");
  }
  w.Close(3, "UnivariateStats");
}

// A split of tree `tree` at node `id`, `level` levels below the root: on a
// continuous field, at one of its cut points.
void WriteNode(Writer& w, const PmmlShape& shape, int tree, unsigned id, int level,
               const char* op) {
  const int indent = 5 + level;
  const int field =
      1 + 2 * static_cast<int>(Mix(id, tree) % (shape.fields / 2 > 0 ? shape.fields / 2 : 1));
  w.Open(indent, "Node")
      .Attr("id", std::to_string(id))
      .Attr("score", Mix(id, tree + 1) % 2 == 0 ? "yes" : "no")
      .Attr("recordCount", static_cast<double>(Mix(id, 7) % 500 + 1))
      .End();
  const std::vector<double> cuts = CutPoints(shape, field);
  w.Open(indent + 1, "SimplePredicate")
      .Attr("field", FieldName(shape, field))
      .Attr("operator", op)
      .Attr("value", cuts[Mix(id, 8) % cuts.size()])
      .EndEmpty();
  if (level == shape.depth) {
    w.Open(indent + 1, "ScoreDistribution")
        .Attr("value", "yes")
        .Attr("recordCount", static_cast<double>(Mix(id, 9) % 100))
        .EndEmpty();
  } else {
    WriteNode(w, shape, tree, 2 * id, level + 1, "lessOrEqual");
    WriteNode(w, shape, tree, 2 * id + 1, level + 1, "greaterThan");
  }
  w.Close(indent, "Node");
}

void WriteTree(Writer& w, const PmmlShape& shape, int tree) {
  w.Open(3, "Segment").Attr("id", std::to_string(tree + 1)).End();
  w.Open(4, "True").EndEmpty();
  w.Open(4, "TreeModel").Attr("functionName", "classification").End();
  w.Open(5, "MiningSchema").End();
  w.Open(6, "MiningField").Attr("name", FieldName(shape, 1)).EndEmpty();
  w.Close(5, "MiningSchema");
  w.Open(5, "Node").Attr("id", "1").End().Open(6, "True").EndEmpty();
  if (shape.depth > 0) {
    WriteNode(w, shape, tree, 2, 1, "lessOrEqual");
    WriteNode(w, shape, tree, 3, 1, "greaterThan");
  }
  w.Close(5, "Node");
  w.Close(4, "TreeModel");
  w.Close(3, "Segment");
}

bool TakeInt(const char* arg, const char* name, int& value) {
  std::string text;
  if (!TakeOption(arg, name, text)) return false;
  value = std::atoi(text.c_str());
  return true;
}

}  // namespace

void WriteDataField(Writer& w, const PmmlShape& shape, int i) {
  if (IsContinuous(i)) {
    WriteContinuousField(w, shape, i);
  } else {
    WriteCategoricalField(w, shape, i);
  }
}

std::string FieldName(const PmmlShape& shape, int i) {
  if (shape.nameLength < kDefaultNameLength) {
    return Padded("f", i, shape.nameLength > 1 ? shape.nameLength - 1 : 1);
  }
  std::string stem;
  while (stem.size() + kDefaultNameLength < static_cast<std::size_t>(shape.nameLength)) {
    stem += kLongStem[stem.size() % (sizeof kLongStem - 1)];
  }
  return stem + Padded("field", i, 6);
}

std::string GeneratePmml(const PmmlShape& shape) {
  std::string text;
  text.reserve(static_cast<std::size_t>(shape.fields) *
                   (600 + 70 * static_cast<std::size_t>(shape.values + shape.bins) +
                    3 * static_cast<std::size_t>(shape.nameLength)) +
               4096);
  GeneratePmml(shape, [&text](const std::string& piece) { text += piece; });
  return text;
}

void GeneratePmml(const PmmlShape& shape, const std::function<void(const std::string&)>& sink) {
  std::string text;
  Writer w(text);
  w.Raw(kPmmlHeader);
  w.Open(1, "DataDictionary").Attr("numberOfFields", shape.fields).End();
  for (int i = 0; i < shape.fields; ++i) WriteDataField(w, shape, i);
  w.Close(1, "DataDictionary");
  w.Open(1, "TransformationDictionary").End();
  for (int i = 1; i < shape.fields; i += 2) WriteDiscretize(w, shape, i);
  w.Close(1, "TransformationDictionary");

  const char* model = shape.trees > 0 ? "MiningModel" : "TreeModel";
  w.Open(1, model).Attr("modelName", "bench").Attr("functionName", "classification").End();
  w.Open(2, "MiningSchema").End();
  for (int i = 0; i < shape.fields; ++i) {
    w.Open(3, "MiningField").Attr("name", FieldName(shape, i)).EndEmpty();
  }
  w.Close(2, "MiningSchema");
  w.Open(2, "ModelStats").End();
  for (int i = 0; i < shape.fields; ++i) WriteStats(w, shape, i);
  w.Close(2, "ModelStats");
  if (shape.trees == 0) {
    w.Open(2, "Node").Attr("score", "0").End().Open(3, "True").EndEmpty().Close(2, "Node");
  } else {
    w.Open(2, "Segmentation").Attr("multipleModelMethod", "majorityVote").End();
    for (int t = 0; t < shape.trees; ++t) {
      sink(text);
      text.clear();
      WriteTree(w, shape, t);
    }
    w.Close(2, "Segmentation");
  }
  w.Close(1, model);
  w.Raw("</PMML>\n");
  sink(text);
}

bool TakeOption(const char* arg, const char* name, std::string& value) {
  const std::size_t length = std::strlen(name);
  if (std::strncmp(arg, name, length) != 0 || arg[length] != '=') return false;
  value = arg + length + 1;
  return true;
}

bool TakeShapeOption(const char* arg, PmmlShape& shape) {
  return TakeInt(arg, "--fields", shape.fields) || TakeInt(arg, "--values", shape.values) ||
         TakeInt(arg, "--name-length", shape.nameLength) || TakeInt(arg, "--bins", shape.bins) ||
         TakeInt(arg, "--trees", shape.trees) || TakeInt(arg, "--depth", shape.depth);
}

std::vector<std::string> ShapeOptions(const PmmlShape& shape) {
  return {"--fields=" + std::to_string(shape.fields),
          "--values=" + std::to_string(shape.values),
          "--name-length=" + std::to_string(shape.nameLength),
          "--bins=" + std::to_string(shape.bins),
          "--trees=" + std::to_string(shape.trees),
          "--depth=" + std::to_string(shape.depth)};
}

}  // namespace mcxml_bench
