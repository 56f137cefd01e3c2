// What both document generators write with: a small hash for numbers that differ
// from item to item, number and name texts, an XML writer, and the DataFields that
// both kinds of document hold.
#ifndef MCXML_BENCH_GENERATOR_PARTS_H
#define MCXML_BENCH_GENERATOR_PARTS_H

#include <charconv>
#include <cstdio>
#include <string>

#include "generator.h"

namespace mcxml_bench {

/// A small integer hash, so that counts and values differ from item to item.
inline unsigned Mix(unsigned value, unsigned salt) {
  unsigned x = value * 2654435761u + salt * 40503u + 0x9e3779b9u;
  x ^= x >> 15;
  x *= 2246822519u;
  x ^= x >> 13;
  return x;
}

/// The shortest text that reads back to `value`.
inline std::string Number(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

/// `prefix` and `i` with zeros in front, `width` digits at least.
inline std::string Padded(const char* prefix, int i, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%0*d", prefix, width, i);
  return buffer;
}

/// Appends text with attributes, XML-escaped where the generated text can need it.
class Writer {
 public:
  explicit Writer(std::string& out) : m_out(out) {}

  Writer& Raw(const std::string& text) {
    m_out += text;
    return *this;
  }
  Writer& Open(int depth, const char* tag) {
    m_out.append(depth, ' ');
    m_out += '<';
    m_out += tag;
    return *this;
  }
  Writer& Attr(const char* name, const std::string& value) {
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    for (const char c : value) {
      if (c == '&') {
        m_out += "&amp;";
      } else if (c == '"') {
        m_out += "&quot;";
      } else if (c == '<') {
        m_out += "&lt;";
      } else {
        m_out += c;
      }
    }
    m_out += '"';
    return *this;
  }
  Writer& Attr(const char* name, double value) { return Attr(name, Number(value)); }
  /// Ends the start tag, with or without children.
  Writer& End() {
    m_out += ">\n";
    return *this;
  }
  Writer& EndEmpty() {
    m_out += "/>\n";
    return *this;
  }
  Writer& Close(int depth, const char* tag) {
    m_out.append(depth, ' ');
    m_out += "</";
    m_out += tag;
    m_out += ">\n";
    return *this;
  }

 private:
  std::string& m_out;
};

/// The XML declaration, the PMML root's start tag and a Header.
inline constexpr char kPmmlHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<PMML xmlns=\"http://www.dmg.org/PMML-4_4\" version=\"4.4\">\n"
    " <Header copyright=\"Generated for the mcxml benchmarks\"/>\n";

/// The i-th DataField of a document of `shape`: the odd ones continuous, the even
/// ones categorical.
void WriteDataField(Writer& w, const PmmlShape& shape, int i);

}  // namespace mcxml_bench

#endif  // MCXML_BENCH_GENERATOR_PARTS_H
