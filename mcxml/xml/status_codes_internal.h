// Every status the library gives, by name, so that a code is found where it is
// made; docs/status_codes.md says which operations give each. The flag is part of
// the code: 120 and 123 carry it, every other code is made without it.
#ifndef MCXML_XML_STATUS_CODES_INTERNAL_H
#define MCXML_XML_STATUS_CODES_INTERNAL_H

#include "mcxml/common/status.h"

namespace MCXML_1_3 {

using MCCommon_1_3::MCStatus;

inline constexpr MCStatus kSetupFailed{103, false};       ///< the XML platform or parser
inline constexpr MCStatus kParseFailed{104, false};       ///< the parse threw or gave nothing
inline constexpr MCStatus kNotPmml{105, false};           ///< no root, or not "PMML"
inline constexpr MCStatus kNoDataDictionary{106, false};  ///< the root has none
inline constexpr MCStatus kNoDocument{107, false};        ///< a query before any load
inline constexpr MCStatus kAttributeMissing{108, false};  ///< absent or empty
inline constexpr MCStatus kAttributeBad{109, false};      ///< a text not acceptable
inline constexpr MCStatus kNoBins{110, false};            ///< bins asked, none found
inline constexpr MCStatus kVariableRefused{111, false};   ///< by the variable list
inline constexpr MCStatus kNoModel{112, false};           ///< statistics before a model
inline constexpr MCStatus kElementMissing{113, false};    ///< a required child
inline constexpr MCStatus kBadArray{114, false};          ///< not non-negative numbers
inline constexpr MCStatus kBadHistogram{115, false};      ///< intervals that do not fit
inline constexpr MCStatus kInvalidStats{116, false};      ///< the record is not valid
inline constexpr MCStatus kWriteFailed{118, false};       ///< writing a document
inline constexpr MCStatus kNoParameters{119, false};      ///< no settings Parameters path
inline constexpr MCStatus kNoSuchParameter{120, true};    ///< none of that name in scope
inline constexpr MCStatus kHoldsList{121, false};         ///< a single value of a list
inline constexpr MCStatus kNoListValue{122, false};       ///< isList without a ListValue
inline constexpr MCStatus kNoValue{123, true};            ///< the parameter has no value

/// Where every query of a parser starts: the stored status of the last load when
/// it is not OK, kNoDocument when nothing is loaded, else OK.
constexpr MCStatus QueryStart(const MCStatus& stored, bool loaded) {
  return !stored.IsOK() ? stored : loaded ? MCStatus() : kNoDocument;
}

}  // namespace MCXML_1_3

#endif  // MCXML_XML_STATUS_CODES_INTERNAL_H
