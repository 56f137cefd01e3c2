// MCXTranscoder: converts between DOM (UTF-16) strings and bytes of one encoding.
#ifndef MCXML_XML_TRANSCODER_H
#define MCXML_XML_TRANSCODER_H

#include <memory>
#include <string>
#include <vector>

#include <xercesc/util/XercesDefs.hpp>

#include "mcxml/common/export.h"

XERCES_CPP_NAMESPACE_BEGIN
class XMLTranscoder;
XERCES_CPP_NAMESPACE_END

namespace MCXML_1_3 {

/// A transcoder for one named encoding ("UTF-8" when the name is null). Needs an
/// initialised XML platform (any live parser or MCXMLReadWrite holds one). The
/// constructor converts, so an array can be initialised from encoding names:
/// `MCXTranscoder t[2] = {"ISO-8859-1"};` (the second is UTF-8).
class MCXML_EXPORT MCXTranscoder {
 public:
  /// Opens the named encoding; isValid() tells whether that worked.
  MCXTranscoder(const char* encoding = nullptr);
  ~MCXTranscoder();
  MCXTranscoder(const MCXTranscoder&) = delete;
  MCXTranscoder& operator=(const MCXTranscoder&) = delete;

  /// True when the encoding could be opened.
  bool isValid() const;
  /// `source` (zero-terminated, null counts as empty) in the encoding's bytes; empty
  /// when the object is invalid or a character cannot be represented. A conversion
  /// that stops before the end (a high surrogate last) gives what came before.
  std::string TranscodeTo(const XMLCh* source) const;
  /// The zero-terminated bytes `source` (not null) decoded into UTF-16, always
  /// followed by one zero unit; just that unit when invalid or the bytes are bad.
  /// A sequence cut short at the end is left out; what came before is kept.
  std::vector<XMLCh> TranscodeFrom(const char* source) const;

 private:
  struct Deleter {
    void operator()(XERCES_CPP_NAMESPACE::XMLTranscoder* transcoder) const noexcept;
  };
  std::unique_ptr<XERCES_CPP_NAMESPACE::XMLTranscoder, Deleter> m_transcoder;
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_TRANSCODER_H
