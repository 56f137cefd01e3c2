// Escape: UTF-8 sequences and the visible forms of what would break a line.
#include "escape.h"

namespace MCXML_1_3 {
namespace tool {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendHex(std::string& out, const char* prefix, unsigned long value, int digits) {
  out += prefix;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

// The code point of a valid sequence of `length` bytes.
unsigned long CodePoint(std::string_view sequence, std::size_t length) {
  static const unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  unsigned long value = static_cast<unsigned char>(sequence[0]) & kLeadMask[length];
  for (std::size_t i = 1; i < length; ++i) {
    value = value << 6 | (static_cast<unsigned char>(sequence[i]) & 0x3F);
  }
  return value;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text.substr(i));
      if (length == 0) {
        AppendHex(out, "\\x", c, 2);
        ++i;
        continue;
      }
      const unsigned long point = CodePoint(text.substr(i), length);
      if (point <= 0x9F || point == 0x2028 || point == 0x2029) {
        AppendHex(out, "\\u", point, 4);
      } else {
        out.append(text.substr(i, length));
      }
      i += length;
      continue;
    }
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          AppendHex(out, "\\x", c, 2);
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  return out;
}

}  // namespace tool
}  // namespace MCXML_1_3
