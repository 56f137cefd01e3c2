// Reading a DataField of the data dictionary and handing it to a variable list:
// shared by the two variable-list builders (MCPMMLParser::FillVarList and
// MCSettingsParser::FillVarList), which differ only in the rules below.
//
// How a builder uses it, once per call and then per DataField element `elmt`,
// stopping at the first status that is not OK:
//
//   MCBinsIndex bins(m_transDictElmt);                      // once per call
//   MCDataFieldReader reader(kPmmlFieldRules);              // once per call
//   MCDataField field;                                      // once per call
//   ...
//   const MCDataFieldAttributes attributes = reader.Attributes(elmt);
//   field.Clear();
//   MCStatus status = reader.Read(elmt, attributes, field);
//   if (!status.IsOK()) return status;                      // 108 or 109
//   int index = -1;
//   status = AddField(varList, bins, field, useBins, AddUnrangedContVar, index);
//   if (!status.IsOK()) return status;                      // 110 or 111
//
// The bins lookup goes through an index built once per call rather than
// MCPMMLParser::SetBinsFrTransDict, whose walk of the whole transformation
// dictionary per field would make a builder quadratic; both find the same
// Discretize and read it with the same ReadBins (defined in bins.cpp).
#ifndef MCXML_PMML_DATA_FIELD_INTERNAL_H
#define MCXML_PMML_DATA_FIELD_INTERNAL_H

#include <cfloat>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <xercesc/dom/DOMElement.hpp>

#include "mcxml/common/status.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/problems_internal.h"
#include "mcxml/xml/dom_access_internal.h"

namespace MCXML_1_3 {

using MCCommon_1_3::MCStatus;
using XERCES_CPP_NAMESPACE::DOMElement;

/// Which "dataType" texts a builder accepts and which children it reads.
struct MCDataFieldRules {
  /// Also accept "date", "time" and "dateTime" (numeric fields).
  bool dateTimeTypes = false;
  /// Read the Interval children of numeric fields into the field's range: a margin
  /// that is present but not a number, or a lower bound above the upper, is 109.
  bool readIntervals = false;
};

/// The PMML builder: string, double, float, integer; Interval children ignored.
inline constexpr MCDataFieldRules kPmmlFieldRules{false, false};

/// Everything read from one DataField.
struct MCDataField {
  std::string name;   ///< UTF-8 "name"
  std::string label;  ///< UTF-8 "displayName", empty when absent
  bool numeric = false;
  bool continuous = false;
  /// 1 integer, 2 double or float, 3 string, 4 date, 5 time, 6 dateTime.
  int dataTypeCode = 0;

  /// Values of a numeric field (texts stay empty) ...
  std::vector<double> validNumbers;
  std::vector<double> invalidNumbers;
  /// ... or of a string field (numbers stay empty), in document order.
  std::vector<std::string> validTexts;
  std::vector<std::string> invalidTexts;
  /// "displayValue" of valid and of invalid Value elements, in document order.
  std::vector<std::string> validDisplays;
  std::vector<std::string> invalidDisplays;

  /// The invalid range from the Extension children of a numeric field.
  double invalidLower = -DBL_MAX;
  double invalidUpper = DBL_MAX;
  /// The range of the last Interval child (only with readIntervals).
  double lower = -DBL_MAX;
  double upper = DBL_MAX;

  /// Where AddBinnedContVar reads the field's bins, kept across fields.
  std::vector<double> cutPoints;
  std::vector<std::string> binLabels;

  /// Back to the default state, keeping the vectors' storage for the next field.
  void Clear();
};

/// The attributes of a DataField that a reading uses, each as GetAttribute
/// gives it (null when absent or empty).
struct MCDataFieldAttributes {
  const XMLCh* name = nullptr;
  const XMLCh* displayName = nullptr;
  const XMLCh* dataType = nullptr;
  const XMLCh* optype = nullptr;
};

/// Reads the DataFields of one document, one after another, as both builders
/// read them. Each element's attributes are read in one pass, and the names it
/// compares match by address once seen (see PooledName): one reader serves a
/// whole data dictionary, of one document only.
class MCDataFieldReader {
 public:
  explicit MCDataFieldReader(const MCDataFieldRules& rules) : m_rules(rules) {}
  MCDataFieldReader(const MCDataFieldReader&) = delete;
  MCDataFieldReader& operator=(const MCDataFieldReader&) = delete;

  /// The attributes of the DataField `elmt`.
  MCDataFieldAttributes Attributes(const DOMElement& elmt);

  /// Reads the DataField `elmt` with its `attributes` into `field` (expected
  /// default-constructed or cleared): 108 when "name", "dataType" or "optype" is
  /// absent, 109 for a data type the rules do not accept or a bad Interval. On a
  /// failure `field` holds what was read so far. With `faults`, a check's, every
  /// failure is recorded and the reading goes on where it can; the result is the
  /// first failure either way.
  MCStatus Read(const DOMElement& elmt, const MCDataFieldAttributes& attributes, MCDataField& field,
                MCFaults* faults = nullptr);

 private:
  void ReadValue(const DOMElement& value, MCDataField& field);
  void ReadInvalidRangeBound(const DOMElement& extension, MCDataField& field);
  MCStatus ReadInterval(const DOMElement& interval, MCDataField& field, MCFaults* faults);

  const MCDataFieldRules m_rules;
  ReadAhead m_ahead;
  PooledName m_fieldAttrs[4] = {PooledName(u"name"), PooledName(u"displayName"),
                                PooledName(u"dataType"), PooledName(u"optype")};
  PooledName m_valueAttrs[3] = {PooledName(u"property"), PooledName(u"value"),
                                PooledName(u"displayValue")};
  PooledName m_boundAttrs[2] = {PooledName(u"value"), PooledName(u"name")};
  PooledName m_marginAttrs[2] = {PooledName(u"leftMargin"), PooledName(u"rightMargin")};
  PooledName m_valueTag{u"Value"};
  PooledName m_extensionTag{u"Extension"};
  PooledName m_intervalTag{u"Interval"};
};

/// Adds a categorical field with role 4: its valid values, with the valid display
/// values as labels when there are as many, then (when the list took it) its
/// invalid values and range through AddInvalid. Returns the list's index. The
/// valid values and displays are handed over: clear the field before reusing it.
int AddCatField(MCVarList& varList, MCDataField& field);

/// Hands the invalid values of the field to the encoder at `index` (which must be
/// the field's, not negative): invalid texts for a categorical string field;
/// otherwise invalid numbers and, unless both ends are still open, the invalid range.
/// The i-th invalid value is labelled with the i-th invalid display value, or "".
void AddInvalid(MCVarList& varList, int index, const MCDataField& field);

/// The first Discretize per "field" name in a transformation dictionary, in the
/// order SetBinsFrTransDict searches: DerivedField children in document order, and
/// within each its Discretize children in order. Built as far as the lookups need:
/// while fields come in the order of their bins, one Discretize further per field,
/// so that its walk goes along with the builder's. It holds the document's own
/// texts, so it serves one call on an unchanged document.
class MCBinsIndex {
 public:
  /// `transDict` may be null: then nothing is ever found.
  explicit MCBinsIndex(const DOMElement* transDict) : m_transDict(transDict) {}
  MCBinsIndex(const MCBinsIndex&) = delete;
  MCBinsIndex& operator=(const MCBinsIndex&) = delete;

  /// The Discretize whose "field" equals `fieldName` exactly, or null.
  const DOMElement* Find(const std::string& fieldName);

 private:
  struct Discretize {
    const DOMElement* elmt;
    const XMLCh* field;  ///< null when absent or empty
    bool firstOfItsField;
  };

  /// Indexes the next Discretize in search order; false when there is none.
  bool Extend();

  const DOMElement* m_transDict;
  /// Where Extend stands: the DerivedField and the Discretize indexed last.
  const DOMElement* m_derived = nullptr;
  const DOMElement* m_discretize = nullptr;
  bool m_started = false;
  bool m_complete = false;
  PooledName m_derivedTag{u"DerivedField"};
  PooledName m_discretizeTag{u"Discretize"};
  PooledName m_fieldAttr[1] = {PooledName(u"field")};
  std::unordered_map<std::u16string_view, std::size_t> m_byField;
  /// Every Discretize indexed so far in search order, and the one after the last
  /// found: fields mostly come in the order of their bins, and that one is tried
  /// first.
  std::vector<Discretize> m_inOrder;
  std::size_t m_next = 0;
};

/// Reads the cut points and bin labels of `discretize`: the first Interval's left
/// margin, then each Interval's right margin (open ends -/+ DBL_MAX), and each
/// non-empty "binValue". Both vectors are replaced.
void ReadBins(const DOMElement& discretize, std::vector<double>& cutPoints,
              std::vector<std::string>& binLabels);

/// The bin attachment step for a continuous field when bins are asked for: 110 when
/// `bins` has no Discretize for the field's name. Otherwise OK; with more than two
/// cut points the variable is added through the bins overload of AddContVar (role
/// 4), `added` is true and `index` holds the list's answer (negative when refused),
/// and the bin labels go to its encoder when there is one per bin and the first is
/// not "0". With two or fewer, `added` is false and the caller adds the variable as
/// it adds one without bins. The bins are read into the field's cutPoints and
/// binLabels.
MCStatus AddBinnedContVar(MCVarList& varList, MCBinsIndex& bins, MCDataField& field, bool& added,
                          int& index);

/// How a builder adds a continuous field without bins (the PMML builder without a
/// range, the settings builder over the field's Interval range). Returns the index.
using MCPlainContAdd = int (*)(MCVarList& varList, const MCDataField& field);

/// The PMML builder's way: a continuous variable without range.
int AddUnrangedContVar(MCVarList& varList, const MCDataField& field);

/// Adds `field` as both builders do: a categorical field through AddCatField; a
/// continuous one through AddBinnedContVar when `useBins` (110 without bins) and
/// otherwise, or with two cut points or fewer, through `addPlain`, then its invalid
/// values. `index` is the new variable's; 111 when the list refused it. Values are
/// handed over as AddCatField hands them.
MCStatus AddField(MCVarList& varList, MCBinsIndex& bins, MCDataField& field, bool useBins,
                  MCPlainContAdd addPlain, int& index);

/// The check of a data dictionary: every DataField read and added on its own, as
/// a builder with `rules`, `addPlain` and `useBins` reads and adds it (into a list
/// of the check's own, so that a name taken twice is refused as the builder
/// refuses it), so that one bad field hides no other; each failure goes to
/// `problems` under the field's name.
void CheckDataFields(const DOMElement& dataDict, const DOMElement* transDict, bool useBins,
                     const MCDataFieldRules& rules, MCPlainContAdd addPlain, ProblemList& problems);

}  // namespace MCXML_1_3

#endif  // MCXML_PMML_DATA_FIELD_INTERNAL_H
