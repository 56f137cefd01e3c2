// Escape: the one form in which the tool prints, outside JSON, a text it did not
// write itself (names and values from a document, file names, the XML parser's
// messages), so that it stays on its line and cannot drive a terminal.
#ifndef MCXML_TOOLS_MCXML_ESCAPE_H
#define MCXML_TOOLS_MCXML_ESCAPE_H

#include <cstddef>
#include <string>
#include <string_view>

namespace MCXML_1_3 {
namespace tool {

/// Length of the valid UTF-8 sequence that starts `text`, or 0 when its first byte
/// does not start one (overlong forms, surrogates and values past U+10FFFF count
/// as invalid).
std::size_t Utf8SequenceLength(std::string_view text);

/// `text` with every character that could end a line or reach a terminal as a
/// control written visibly: a backslash as `\\`; line feed, carriage return and
/// tab as `\n`, `\r`, `\t`; any other C0 control and DEL as `\xNN`; the C1
/// controls U+0080..U+009F and the separators U+2028 and U+2029 as `\uNNNN`;
/// each byte that is not part of valid UTF-8 as `\xNN`. Anything else passes.
std::string Escaped(std::string_view text);

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_ESCAPE_H
