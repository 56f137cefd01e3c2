// MCXInputSource and the stream object through which the XML parser reads a
// std::istream.
#include "mcxml/xml/input_source.h"

#include <xercesc/util/PlatformUtils.hpp>

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

constexpr char kSystemId[] = "istream";

// Reads straight from the caller's stream; keeps no buffer or counter of its own.
class MCXBinInputStream : public xc::BinInputStream {
 public:
  explicit MCXBinInputStream(std::istream& in) : m_in(&in) {}
  ~MCXBinInputStream() override = default;
  MCXBinInputStream(const MCXBinInputStream&) = delete;
  MCXBinInputStream& operator=(const MCXBinInputStream&) = delete;

  // After a read that hit the end the stream has failed and tellg() gives -1, so
  // the position is then all bits set.
  XMLFilePos curPos() const override { return static_cast<XMLFilePos>(m_in->tellg()); }

  // The state flags are neither tested nor cleared: once the end is reached every
  // further read gives 0, which ends the parser's input.
  XMLSize_t readBytes(XMLByte* const toFill, const XMLSize_t maxToRead) override {
    m_in->read(reinterpret_cast<char*>(toFill), static_cast<std::streamsize>(maxToRead));
    return static_cast<XMLSize_t>(m_in->gcount());
  }

  const XMLCh* getContentType() const override { return nullptr; }

 private:
  std::istream* m_in;
};

}  // namespace

MCXInputSource::MCXInputSource(std::istream& in)
    : xc::InputSource(kSystemId, xc::XMLPlatformUtils::fgMemoryManager), m_in(in) {}

MCXInputSource::~MCXInputSource() = default;

xc::BinInputStream* MCXInputSource::makeStream() const {
  // The parser owns and deletes the stream, through the platform's memory manager.
  return new (xc::XMLPlatformUtils::fgMemoryManager) MCXBinInputStream(m_in);
}

}  // namespace MCXML_1_3
