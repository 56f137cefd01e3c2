// Format: the text of a double, as written into documents and read back.
#ifndef MCXML_COMMON_FORMAT_H
#define MCXML_COMMON_FORMAT_H

#include <cstddef>
#include <string>

#include "mcxml/common/export.h"

namespace MCXML_1_3 {

/// Size a buffer passed to Format must have at least.
constexpr std::size_t kFormatBufferSize = 32;

/// The text of `value`: the shortest text that reads back to the same double
/// ("2.5", "10", "1e+300"), in exponent form ("2.5e+00") when `scientific` is true.
/// The missing value and NaN give "NaN", infinities "INF" and "-INF" (the XML
/// Schema literals). Never depends on the locale. When `buffer` is not null the
/// text is also copied there, zero-terminated; it must hold kFormatBufferSize bytes.
MCXML_EXPORT std::string Format(double value, bool scientific, char* buffer);

}  // namespace MCXML_1_3

#endif  // MCXML_COMMON_FORMAT_H
