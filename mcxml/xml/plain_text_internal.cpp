// Plain ASCII and plain decimals read as they stand; see plain_text_internal.h.
#include "mcxml/xml/plain_text_internal.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <system_error>

#include <xercesc/util/NumberFormatException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLBigInteger.hpp>
#include <xercesc/util/XMLDouble.hpp>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/common/missing_value.h"

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

// int's bounds; a number of fewer digits always fits.
constexpr XMLCh kIntMax[] = u"2147483647";
constexpr XMLCh kIntMin[] = u"-2147483648";
constexpr unsigned kIntDigits = 10;

// The longest text that ReadPlainDecimal takes: far from the ends of double's
// range and from its subnormal numbers, in either direction.
constexpr std::size_t kPlainDecimalMax = 40;

// Powers of ten that a double holds exactly, and the most digits that an integer
// can have and still be held exactly (every 15-digit integer lies below 2^53).
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kExactDigits = 15;

// Reads [begin, end) when it is a plain decimal (an optional minus, digits, and
// optionally a point and more digits), the form nearly every number in a document
// has; false for anything else. Such a number is neither special, nor out of
// range, nor subnormal, so XMLDouble reads it as Normal with the correctly rounded
// value (a minus zero included), which is what this gives too.
bool ReadPlainDecimal(const XMLCh* begin, const XMLCh* end, double& value) {
  const std::size_t length = static_cast<std::size_t>(end - begin);
  if (length == 0 || length > kPlainDecimalMax) return false;
  std::uint64_t mantissa = 0;
  const XMLCh* unit = begin;
  // Wraps past 19 digits, but is then not used.
  const auto digits = [&] {
    const XMLCh* first = unit;
    for (; unit != end && *unit >= u'0' && *unit <= u'9'; ++unit) {
      mantissa = mantissa * 10 + (*unit - u'0');
    }
    return static_cast<int>(unit - first);
  };
  const bool negative = *unit == u'-';
  if (negative) ++unit;
  const int integerDigits = digits();
  if (integerDigits == 0) return false;
  int fractionDigits = 0;
  if (unit != end && *unit == u'.') {
    ++unit;
    fractionDigits = digits();
    if (fractionDigits == 0) return false;
  }
  if (unit != end) return false;
  if (integerDigits + fractionDigits <= kExactDigits) {
    // Both operands are exact, so the division's one rounding is the correct one.
    const double magnitude = static_cast<double>(mantissa) / kExactPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
  }
  // Every unit is a digit, a minus or a point by now.
  char text[kPlainDecimalMax];
  for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>(begin[i]);
  const std::from_chars_result read = std::from_chars(text, text + length, value);
  return read.ec == std::errc() && read.ptr == text + length;
}

// The delimiters of a default XMLStringTokenizer, which splits number lists.
bool IsListDelimiter(XMLCh unit) {
  return unit == u' ' || unit == u'\t' || unit == u'\n' || unit == u'\r';
}

// How many tokens XStrToDoublesList will read, so that the list grows once.
std::size_t CountTokens(const XMLCh* unit) {
  std::size_t count = 0;
  bool inToken = false;
  for (; *unit != 0; ++unit) {
    const bool delimiter = IsListDelimiter(*unit);
    if (!delimiter && !inToken) ++count;
    inToken = !delimiter;
  }
  return count;
}

}  // namespace

bool IsAscii(const char* text) {
  for (; *text != 0; ++text) {
    if (static_cast<unsigned char>(*text) >= 0x80) return false;
  }
  return true;
}

bool EqualsAscii(const XMLCh* text, const char* ascii) {
  const unsigned char* byte = reinterpret_cast<const unsigned char*>(ascii);
  for (; *byte != 0 && *text == *byte; ++byte, ++text) {
  }
  return *byte == 0 && *text == 0;
}

bool XStrToInt(const XMLCh* text, int& value) {
  try {
    const xc::XMLBigInteger number(text, xc::XMLPlatformUtils::fgMemoryManager);
    // intValue() wraps silently outside the range of int, so the range is ours.
    const unsigned digits = number.getTotalDigit();
    if (digits > kIntDigits) return false;
    if (digits == kIntDigits) {
      const bool negative = number.getSign() < 0;
      const xc::XMLBigInteger bound(negative ? kIntMin : kIntMax,
                                    xc::XMLPlatformUtils::fgMemoryManager);
      const int order =
          xc::XMLBigInteger::compareValues(&number, &bound, xc::XMLPlatformUtils::fgMemoryManager);
      if (negative ? order < 0 : order > 0) return false;
    }
    value = number.intValue();
    return true;
  } catch (const xc::NumberFormatException&) {
    return false;
  }
}

bool XStrToDouble(const XMLCh* text, double& value) {
  if (ReadPlainDecimal(text, text + xc::XMLString::stringLen(text), value)) return true;
  try {
    const xc::XMLDouble number(text, xc::XMLPlatformUtils::fgMemoryManager);
    switch (number.getType()) {
      case xc::XMLAbstractDoubleFloat::Normal:
        value = number.getValue();
        return true;
      case xc::XMLAbstractDoubleFloat::NaN:
        value = MCCommon_1_3::MCMV::gMissingValue;
        return true;
      default:
        return false;
    }
  } catch (const xc::NumberFormatException&) {
    return false;
  }
}

// Splits as a default XMLStringTokenizer does, without its copy of every token.
bool XStrToDoublesList(const XMLCh* text, std::vector<double>& values) {
  values.reserve(values.size() + CountTokens(text));
  const XMLCh* unit = text;
  std::vector<XMLCh> token;
  for (;;) {
    while (*unit != 0 && IsListDelimiter(*unit)) ++unit;
    if (*unit == 0) return true;
    const XMLCh* begin = unit;
    while (*unit != 0 && !IsListDelimiter(*unit)) ++unit;
    double value = 0.0;
    if (!ReadPlainDecimal(begin, unit, value)) {
      token.assign(begin, unit);
      token.push_back(0);
      if (!XStrToDouble(token.data(), value)) {
        values.clear();
        return false;
      }
    }
    values.push_back(value);
  }
}

}  // namespace MCXML_1_3
