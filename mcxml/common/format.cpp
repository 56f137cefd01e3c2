// Format: shortest round-trip text of a double.
#include "mcxml/common/format.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "mcxml/common/missing_value.h"

namespace MCXML_1_3 {

std::string Format(double value, bool scientific, char* buffer) {
  std::string text;
  if (value == MCCommon_1_3::MCMV::gMissingValue || std::isnan(value)) {
    text = "NaN";
  } else if (std::isinf(value)) {
    text = value > 0 ? "INF" : "-INF";
  } else {
    char digits[kFormatBufferSize];
    const auto result = scientific ? std::to_chars(digits, digits + sizeof digits, value,
                                                   std::chars_format::scientific)
                                   : std::to_chars(digits, digits + sizeof digits, value);
    text.assign(digits, result.ptr);
  }
  if (buffer != nullptr) {
    std::memcpy(buffer, text.c_str(), text.size() + 1);
  }
  return text;
}

}  // namespace MCXML_1_3
