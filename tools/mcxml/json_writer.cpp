// JsonWriter: separators, indentation, string escaping and number texts.
#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "escape.h"

namespace MCXML_1_3 {
namespace tool {

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  m_out << '{';
  m_levels.push_back({true, true});
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  Close('}');
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  m_out << '[';
  m_levels.push_back({false, true});
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  Close(']');
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  Level& level = m_levels.back();
  if (!level.empty) m_out << ',';
  level.empty = false;
  NewLine(m_levels.size());
  Quoted(key);
  m_out << (m_oneLine ? ":" : ": ");
  m_afterKey = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  Quoted(text);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    m_out << "null";
    return *this;
  }
  char buffer[32];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  m_out.write(buffer, result.ptr - buffer);
  return *this;
}

JsonWriter& JsonWriter::Integer(long long value) {
  BeforeValue();
  m_out << value;
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  m_out << (value ? "true" : "false");
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  m_out << "null";
  return *this;
}

void JsonWriter::Finish() {
  m_out << '\n';
}

void JsonWriter::BeforeValue() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (m_levels.empty()) return;
  Level& level = m_levels.back();
  if (!level.empty) m_out << ',';
  level.empty = false;
  NewLine(m_levels.size());
}

void JsonWriter::Close(char bracket) {
  const bool empty = m_levels.back().empty;
  m_levels.pop_back();
  if (!empty) NewLine(m_levels.size());
  m_out << bracket;
}

void JsonWriter::NewLine(std::size_t depth) {
  if (m_oneLine) return;
  m_out << '\n';
  for (std::size_t i = 0; i < m_depth + depth; ++i) m_out << "  ";
}

void JsonWriter::Quoted(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  m_out << '"';
  // Plain runs are written in one piece; names and labels are mostly plain.
  std::size_t run = 0;
  std::size_t i = 0;
  const auto flush = [&] { m_out.write(text.data() + run, static_cast<std::streamsize>(i - run)); };
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
      ++i;
      continue;
    }
    if (c >= 0x80) {
      if (const std::size_t length = Utf8SequenceLength(text.substr(i)); length != 0) {
        i += length;
        continue;
      }
    }
    flush();
    if (c == '"' || c == '\\') {
      m_out << '\\' << static_cast<char>(c);
    } else if (c < 0x20) {
      m_out << "\\u00" << kHex[c >> 4] << kHex[c & 0xF];
    } else {
      m_out << "\\ufffd";
    }
    run = ++i;
  }
  flush();
  m_out << '"';
}

}  // namespace tool
}  // namespace MCXML_1_3
