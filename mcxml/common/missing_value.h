// The missing value: stands for an absent or not-a-number double.
#ifndef MCXML_COMMON_MISSING_VALUE_H
#define MCXML_COMMON_MISSING_VALUE_H

#include "mcxml/common/export.h"

namespace MCCommon_1_3 {
namespace MCMV {

/// The lowest finite double (-1.7976931348623157e308); compare with ==.
MCXML_EXPORT extern const double gMissingValue;

}  // namespace MCMV
}  // namespace MCCommon_1_3

#endif  // MCXML_COMMON_MISSING_VALUE_H
