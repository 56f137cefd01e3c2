// JsonWriter: streams one JSON document, pretty-printed with two-space indents,
// in the order the caller writes keys and values.
#ifndef MCXML_TOOLS_MCXML_JSON_WRITER_H
#define MCXML_TOOLS_MCXML_JSON_WRITER_H

#include <ostream>
#include <string_view>
#include <vector>

namespace MCXML_1_3 {
namespace tool {

/// Writes values as they come; the caller pairs every Begin with its End and
/// precedes each value inside an object with Key. Empty containers print as
/// `[]` and `{}`. Nothing is checked beyond what keeps the output well-formed.
class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : m_out(out) {}
  /// A writer whose document starts `depth` levels in, for a value printed inside
  /// another document; or, `oneLine`, with no line breaks or indents at all.
  JsonWriter(std::ostream& out, std::size_t depth, bool oneLine)
      : m_out(out), m_depth(depth), m_oneLine(oneLine) {}
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);

  /// Valid UTF-8 passes through; quotes, backslashes and control characters are
  /// escaped, and each byte that is not part of valid UTF-8 becomes U+FFFD.
  JsonWriter& String(std::string_view text);
  /// The shortest text that reads back to the same double; null when not finite.
  JsonWriter& Number(double value);
  JsonWriter& Integer(long long value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  /// Ends the document with a newline; call once, after the outermost End.
  void Finish();

 private:
  struct Level {
    bool isObject;
    bool empty;
  };

  void BeforeValue();
  void Close(char bracket);
  void NewLine(std::size_t depth);
  void Quoted(std::string_view text);

  std::ostream& m_out;
  std::size_t m_depth = 0;
  bool m_oneLine = false;
  std::vector<Level> m_levels;
  bool m_afterKey = false;
};

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_JSON_WRITER_H
