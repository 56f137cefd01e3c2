// The UTF-8 conversions that ToUTF8 and ToUTF16 make when the text is not plain
// ASCII. They need the whole text: one that stops short could pass for another.
#ifndef MCXML_XML_TRANSCODER_INTERNAL_H
#define MCXML_XML_TRANSCODER_INTERNAL_H

#include <string>
#include <vector>

#include <xercesc/util/XercesDefs.hpp>

namespace MCXML_1_3 {

/// `text` (not null) in UTF-8, as a default MCXTranscoder's TranscodeTo makes it,
/// but empty also when the conversion stops before the end (a high surrogate last).
std::string WholeToUTF8(const XMLCh* text);
/// The UTF-8 `text` (not null) in UTF-16 with one zero unit, as a default
/// MCXTranscoder's TranscodeFrom makes it, but the zero unit alone also when the
/// conversion stops before the end (a sequence cut short).
std::vector<XMLCh> WholeFromUTF8(const char* text);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_TRANSCODER_INTERNAL_H
