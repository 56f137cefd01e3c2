// MCSettingsParser: loads a build-settings document (a PMML document whose
// MiningBuildTask holds Extension/Parameters) and answers typed queries for its
// named parameters; also fills a variable list from its DataDictionary.
#ifndef MCXML_SETTINGS_SETTINGS_PARSER_H
#define MCXML_SETTINGS_SETTINGS_PARSER_H

#include <istream>
#include <string>
#include <unordered_map>
#include <vector>

#include <xercesc/dom/DOMElement.hpp>

#include "mcxml/common/export.h"
#include "mcxml/common/status.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/pmml/pmml_parser.h"

namespace MCXML_1_3 {

class SettingsQuery;

/// Every getter first answers the stored status when it is not OK, 107 before any
/// load and 119 when the document has no Parameters; then looks up the first
/// element of the wanted kind whose "name" equals `paramName` among the direct
/// children of the scope (120, warning, when there is none). `paramName` is UTF-8
/// and must not be null. `context` is null for the top-level Parameters, or a
/// handle from GetComplexParameter of this parser, valid until the next load.
class MCXML_EXPORT MCSettingsParser : public MCPMMLParser {
 public:
  /// The declared "type" of a parameter; information only, no getter consults it.
  enum ParamType {
    ParamString = 0,     ///< "string".
    ParamDouble = 1,     ///< "double".
    ParamInteger = 2,    ///< "integer".
    ParamBoolean = 3,    ///< "boolean".
    ParamEnum = 4,       ///< "enum".
    ParamFieldName = 5,  ///< "fieldName".
    ParamUnknown = 6     ///< Any other text, no "type", or a failed lookup.
  };

  /// As MCPMMLParser(): a failure to set up the XML platform is kept as 103.
  MCSettingsParser();
  /// Releases the document and the XML platform initialisation.
  ~MCSettingsParser() override;

  /// Loads as MCPMMLParser does, then finds the first MiningBuildTask of the root,
  /// its first Extension and that one's first Parameters: 119 when one is missing.
  /// Returns and keeps the status.
  MCStatus ParseToDOM(std::istream& in) override;

  /// The "value" text. 121 no value but a ListValue, 123 (warning) neither.
  /// `out` is written only on success.
  MCStatus GetParameter(const char* paramName, std::string& out, void* context) const;
  /// The "value" as an integer >= 0. 109 not such an integer (`out` holds a negative
  /// integer that was read, else is untouched), 121 or 123 as for text.
  MCStatus GetParameter(const char* paramName, int& out, void* context) const;
  /// The "value" as a double; NaN gives the missing value. 109 not a finite number
  /// or NaN, 121 or 123 as for text. `out` is written only on success.
  MCStatus GetParameter(const char* paramName, double& out, void* context) const;
  /// The "value" exactly "true" or "false". 109 any other text, 121 or 123 as for
  /// text. `out` is written only on success.
  MCStatus GetParameter(const char* paramName, bool& out, void* context) const;

  /// The declared type of the named Parameter; ParamUnknown on every failure.
  ParamType GetParameterType(const char* paramName, void* context);
  /// A handle to the named ComplexParameter, to pass as `context`; null on every
  /// failure. It belongs to the current document.
  void* GetComplexParameter(const char* paramName, void* context);

  /// The named Parameter as an array: the "value" of each Value of its first
  /// ListValue, or its own "value" when it has no ListValue. Once the parameter is
  /// found `out` is emptied and keeps what was read before a failure. 123 (warning)
  /// no value, an empty ListValue or a Value without "value" (ends the walk); 109 a
  /// value the type does not accept (ends the walk). Empty texts are not appended.
  MCStatus GetArray(const char* paramName, std::vector<std::string>& out, void* context) const;
  /// As GetArray for texts, each value an integer >= 0 (109 otherwise).
  MCStatus GetArray(const char* paramName, std::vector<int>& out, void* context) const;
  /// As GetArray for texts, each value a double; NaN gives the missing value, any
  /// other text that is not a finite number gives 109.
  MCStatus GetArray(const char* paramName, std::vector<double>& out, void* context) const;

  /// The named "MatrixParmeter": one row per ArrayParameter child, holding the
  /// acceptable "value" of each Value child; anything else is passed over. Once
  /// the matrix is found `out` is replaced and the result is OK.
  /// Values are integers >= 0. Before the matrix is found, the common failures apply
  /// (the stored status, 107, 119, 120) and `out` is untouched.
  MCStatus GetMatrix(const char* paramName, std::vector<std::vector<int> >& out, void* context);
  /// As GetMatrix for integers, values are doubles (NaN gives the missing value).
  MCStatus GetMatrix(const char* paramName, std::vector<std::vector<double> >& out, void* context);
  /// As GetMatrix for integers, values are non-empty texts.
  MCStatus GetMatrix(const char* paramName, std::vector<std::vector<std::string> >& out,
                     void* context);

  /// The single "value" of the named top-level Parameter. 121 no value and
  /// "isList" is "true", 108 no value otherwise. `out` is written only on success.
  MCStatus GetVariables(const char* paramName, std::string& out) const;
  /// The named top-level Parameter as a list of names: with "isList" exactly
  /// "true", the "value" of each Value of its first ListValue (122 no ListValue, 108
  /// a Value without "value", which ends the walk); otherwise its one "value" (108
  /// when absent). Once the parameter is found `out` is emptied and keeps what was
  /// read before a failure. Empty names are not appended.
  MCStatus GetVariables(const char* paramName, std::vector<std::string>& out) const;

  /// GetArray("target", out, nullptr).
  MCStatus GetTargetVars(std::vector<std::string>& out) const;
  /// GetArray("inputs", out, nullptr).
  MCStatus GetPredictors(std::vector<std::string>& out) const;
  /// GetVariables("CatResponses", out).
  MCStatus GetCatResponseVars(std::vector<std::string>& out) const;
  /// GetVariables("ContResponses", out).
  MCStatus GetContResponseVars(std::vector<std::string>& out) const;
  /// GetVariables("CatPredictors", out).
  MCStatus GetCatPredictors(std::vector<std::string>& out) const;
  /// GetVariables("ContPredictors", out).
  MCStatus GetContPredictors(std::vector<std::string>& out) const;
  /// GetVariables("FrequencyWeightVar", out).
  MCStatus GetFrequencyWeight(std::string& out) const;

  /// Every problem the operations of this class would meet: the XML error and the
  /// load as MCPMMLParser::CheckDocument gives them, and 119 with the missing step
  /// of the MiningBuildTask / Extension / Parameters path; then every DataField
  /// read and added as this class's FillVarList does, the statistics of every
  /// model, and every Parameter of every scope at every depth that a lookup can
  /// reach (the first of its name), read with the getter its kind calls for: at
  /// the top level "target" and "inputs" with GetArray for texts, the response and
  /// predictor lists with GetVariables for a list, "FrequencyWeightVar" with
  /// GetVariables for one text; a parameter with a ListValue with GetArray of its
  /// declared type (integer, double, else texts); any other with GetParameter of
  /// its declared type (integer, double, boolean, else text). A missing value is
  /// listed with its warning status (123). Matrices give no problem: GetMatrix
  /// passes over what it cannot use.
  std::vector<MCProblem> CheckDocument(bool useBins) const override;

  /// The outcome of the last load read as a document of `kind` (GetDocumentKind):
  /// the stored status for Settings; for PMML, what MCPMMLParser::ParseToDOM gives
  /// for the same bytes, which is the stored status but OK where this class found
  /// no Parameters path (119).
  MCStatus GetStatus(MCDocumentKind kind) const;
  using MCPMMLParser::GetStatus;
  /// The check of the last load read as a document of `kind`: CheckDocument(useBins)
  /// for Settings; for PMML, what MCPMMLParser::CheckDocument gives for the same
  /// bytes, so that one load serves a document of either kind.
  std::vector<MCProblem> CheckDocument(bool useBins, MCDocumentKind kind) const;

  /// Appends one variable per DataField in document order, with bins when
  /// `useBins`, and records each variable's data type code (1 integer, 2 double or
  /// float, 3 string, 4 date, 5 time, 6 dateTime). A continuous field without bins
  /// spans the bounds of its last Interval. Stops at the first failure: 107 no
  /// document, 108 missing attribute, 109 unknown data type or bad Interval, 110 no
  /// bins for a continuous field, 111 refused by the list; earlier variables stay.
  MCStatus FillVarList(MCVarList& varList, bool useBins) const;

 protected:
  /// Field name to code, consulted for each continuous field.
  using FieldCodes = std::unordered_map<std::string, int>;
  /// The continuous field whose code in `fieldCodes` is this makes the weight variable.
  static constexpr int kWeightFieldCode = 3;

  /// FillVarList with a table of field codes: a continuous field listed with
  /// kWeightFieldCode becomes the list's weight variable (rounding to nearest; no
  /// bins, invalid values or data type; 111 when refused) instead of a continuous
  /// variable. The public
  /// FillVarList passes an empty table; this overload is the seam that reaches the
  /// weight path.
  MCStatus FillVarList(MCVarList& varList, bool useBins, const FieldCodes& fieldCodes) const;

  /// The Parameters element of the current document; null unless the last load
  /// succeeded.
  const DOMElement* m_parametersElmt = nullptr;

 private:
  friend class SettingsQuery;
};

}  // namespace MCXML_1_3

#endif  // MCXML_SETTINGS_SETTINGS_PARSER_H
