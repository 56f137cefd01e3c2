// MCXTranscoder: block-wise conversion through a transcoder of the XML platform.
#include "mcxml/xml/transcoder.h"

#include <cstring>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLString.hpp>

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

// Given in UTF-16, the default name spares the service a conversion through the
// local code page on every construction (the library makes one per ToUTF8 call).
constexpr XMLCh kDefaultEncoding[] = u"UTF-8";
constexpr XMLSize_t kTranscoderBlockSize = 4000;
constexpr XMLSize_t kOutputBlock = 1000;

}  // namespace

void MCXTranscoder::Deleter::operator()(xc::XMLTranscoder* transcoder) const noexcept {
  delete transcoder;
}

MCXTranscoder::MCXTranscoder(const char* encoding) {
  xc::XMLTransService::Codes result = xc::XMLTransService::Ok;
  xc::XMLTransService& service = *xc::XMLPlatformUtils::fgTransService;
  m_transcoder.reset(encoding != nullptr
                         ? service.makeNewTranscoderFor(encoding, result, kTranscoderBlockSize,
                                                        xc::XMLPlatformUtils::fgMemoryManager)
                         : service.makeNewTranscoderFor(kDefaultEncoding, result,
                                                        kTranscoderBlockSize,
                                                        xc::XMLPlatformUtils::fgMemoryManager));
  if (result != xc::XMLTransService::Ok) m_transcoder.reset();
}

MCXTranscoder::~MCXTranscoder() = default;

bool MCXTranscoder::isValid() const {
  return m_transcoder != nullptr;
}

std::string MCXTranscoder::TranscodeTo(const XMLCh* source) const {
  std::string result;
  if (!m_transcoder) return result;
  const XMLCh* position = source;
  XMLSize_t left = source != nullptr ? xc::XMLString::stringLen(source) : 0;
  XMLByte block[kOutputBlock];
  try {
    while (left > 0) {
      XMLSize_t eaten = 0;
      const XMLSize_t produced = m_transcoder->transcodeTo(position, left, block, kOutputBlock,
                                                           eaten, xc::XMLTranscoder::UnRep_Throw);
      result.append(reinterpret_cast<const char*>(block), produced);
      // A step that consumes nothing would repeat forever; keep what was made so far.
      if (eaten == 0) break;
      position += eaten;
      left -= eaten;
    }
  } catch (...) {
    // An unrepresentable character or a failed append: a failure yields no partial text.
    result.clear();
  }
  return result;
}

std::vector<XMLCh> MCXTranscoder::TranscodeFrom(const char* source) const {
  std::vector<XMLCh> result;
  if (m_transcoder) {
    const XMLByte* position = reinterpret_cast<const XMLByte*>(source);
    XMLSize_t left = std::strlen(source);
    XMLCh block[kOutputBlock];
    unsigned char charSizes[kOutputBlock];
    try {
      while (left > 0) {
        XMLSize_t eaten = 0;
        const XMLSize_t produced =
            m_transcoder->transcodeFrom(position, left, block, kOutputBlock, eaten, charSizes);
        result.insert(result.end(), block, block + produced);
        // An incomplete sequence at the end is not consumed; keep what was made so far.
        if (eaten == 0) break;
        position += eaten;
        left -= eaten;
      }
    } catch (...) {
      result.clear();
    }
  }
  result.push_back(0);
  return result;
}

}  // namespace MCXML_1_3
