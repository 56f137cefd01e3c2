// Definition of the missing value.
#include "mcxml/common/missing_value.h"

#include <limits>

namespace MCCommon_1_3 {
namespace MCMV {

const double gMissingValue = std::numeric_limits<double>::lowest();

}  // namespace MCMV
}  // namespace MCCommon_1_3
