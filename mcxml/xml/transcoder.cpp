// MCXTranscoder: block-wise conversion through a transcoder of the XML platform;
// also the whole-text UTF-8 conversions behind ToUTF8 and ToUTF16.
#include "mcxml/xml/transcoder.h"

#include <cstring>
#include <memory>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/xml/transcoder_internal.h"

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

// Given in UTF-16, the default name spares the service a conversion through the
// local code page on every construction (the library makes one per conversion
// of text that is not plain ASCII).
constexpr XMLCh kDefaultEncoding[] = u"UTF-8";
constexpr XMLSize_t kTranscoderBlockSize = 4000;
constexpr XMLSize_t kOutputBlock = 1000;

std::unique_ptr<xc::XMLTranscoder> Open(const char* encoding) {
  xc::XMLTransService::Codes result = xc::XMLTransService::Ok;
  xc::XMLTransService& service = *xc::XMLPlatformUtils::fgTransService;
  std::unique_ptr<xc::XMLTranscoder> transcoder(
      encoding != nullptr
          ? service.makeNewTranscoderFor(encoding, result, kTranscoderBlockSize,
                                         xc::XMLPlatformUtils::fgMemoryManager)
          : service.makeNewTranscoderFor(kDefaultEncoding, result, kTranscoderBlockSize,
                                         xc::XMLPlatformUtils::fgMemoryManager));
  if (result != xc::XMLTransService::Ok) transcoder.reset();
  return transcoder;
}

// The loops below append what each step produces. A step that consumes nothing (a
// high surrogate or a cut multi-byte sequence at the end) would repeat forever, so
// it ends the loop; they answer whether the whole input was consumed. What the
// transcoder throws (an unrepresentable character, bad bytes) passes on.
bool AppendTo(xc::XMLTranscoder& transcoder, const XMLCh* source, std::string& result) {
  const XMLCh* position = source;
  XMLSize_t left = source != nullptr ? xc::XMLString::stringLen(source) : 0;
  XMLByte block[kOutputBlock];
  while (left > 0) {
    XMLSize_t eaten = 0;
    const XMLSize_t produced = transcoder.transcodeTo(position, left, block, kOutputBlock, eaten,
                                                      xc::XMLTranscoder::UnRep_Throw);
    result.append(reinterpret_cast<const char*>(block), produced);
    if (eaten == 0) return false;
    position += eaten;
    left -= eaten;
  }
  return true;
}

bool AppendFrom(xc::XMLTranscoder& transcoder, const char* source, std::vector<XMLCh>& result) {
  const XMLByte* position = reinterpret_cast<const XMLByte*>(source);
  XMLSize_t left = std::strlen(source);
  XMLCh block[kOutputBlock];
  unsigned char charSizes[kOutputBlock];
  while (left > 0) {
    XMLSize_t eaten = 0;
    const XMLSize_t produced =
        transcoder.transcodeFrom(position, left, block, kOutputBlock, eaten, charSizes);
    result.insert(result.end(), block, block + produced);
    if (eaten == 0) return false;
    position += eaten;
    left -= eaten;
  }
  return true;
}

// A failure yields no partial text; with `whole`, neither does a stop short of the end.
std::string ConvertTo(xc::XMLTranscoder* transcoder, const XMLCh* source, bool whole) {
  std::string result;
  if (transcoder == nullptr) return result;
  try {
    if (!AppendTo(*transcoder, source, result) && whole) result.clear();
  } catch (...) {
    result.clear();
  }
  return result;
}

std::vector<XMLCh> ConvertFrom(xc::XMLTranscoder* transcoder, const char* source, bool whole) {
  std::vector<XMLCh> result;
  if (transcoder != nullptr) {
    try {
      if (!AppendFrom(*transcoder, source, result) && whole) result.clear();
    } catch (...) {
      result.clear();
    }
  }
  result.push_back(0);
  return result;
}

}  // namespace

void MCXTranscoder::Deleter::operator()(xc::XMLTranscoder* transcoder) const noexcept {
  delete transcoder;
}

MCXTranscoder::MCXTranscoder(const char* encoding) : m_transcoder(Open(encoding).release()) {}

MCXTranscoder::~MCXTranscoder() = default;

bool MCXTranscoder::isValid() const {
  return m_transcoder != nullptr;
}

std::string MCXTranscoder::TranscodeTo(const XMLCh* source) const {
  return ConvertTo(m_transcoder.get(), source, false);
}

std::vector<XMLCh> MCXTranscoder::TranscodeFrom(const char* source) const {
  return ConvertFrom(m_transcoder.get(), source, false);
}

std::string WholeToUTF8(const XMLCh* text) {
  return ConvertTo(Open(nullptr).get(), text, true);
}

std::vector<XMLCh> WholeFromUTF8(const char* text) {
  return ConvertFrom(Open(nullptr).get(), text, true);
}

}  // namespace MCXML_1_3
