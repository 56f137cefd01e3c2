// MCXInputSource: lets the XML parser read a std::istream.
#ifndef MCXML_XML_INPUT_SOURCE_H
#define MCXML_XML_INPUT_SOURCE_H

#include <istream>

#include <xercesc/sax/InputSource.hpp>
#include <xercesc/util/BinInputStream.hpp>

#include "mcxml/common/export.h"

namespace MCXML_1_3 {

/// An input source over a caller's stream, which must outlive the parse. Its system
/// identifier is "istream"; the parser detects the encoding from the document.
/// The constructor converts: `MCXInputSource source = stream;` makes one.
class MCXML_EXPORT MCXInputSource : public XERCES_CPP_NAMESPACE::InputSource {
 public:
  /// Reads `in`, which is not owned.
  MCXInputSource(std::istream& in);
  ~MCXInputSource() override;
  MCXInputSource(const MCXInputSource&) = delete;
  MCXInputSource& operator=(const MCXInputSource&) = delete;

  /// A new stream object reading on from wherever the stream stands; the caller
  /// (the parser) owns it.
  XERCES_CPP_NAMESPACE::BinInputStream* makeStream() const override;

 private:
  std::istream& m_in;
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_INPUT_SOURCE_H
