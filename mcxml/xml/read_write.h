// MCXMLReadWrite: parses any XML file or stream into a DOM document it owns, and
// writes a DOM document to a file.
#ifndef MCXML_XML_READ_WRITE_H
#define MCXML_XML_READ_WRITE_H

#include <istream>
#include <memory>
#include <optional>
#include <string>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>

#include "mcxml/common/diagnostics.h"

#include "mcxml/common/export.h"
#include "mcxml/common/status.h"
#include "mcxml/xml/parser_owner.h"

namespace MCXML_1_3 {

using MCCommon_1_3::MCStatus;
using XERCES_CPP_NAMESPACE::DOMDocument;
using XERCES_CPP_NAMESPACE::DOMElement;

/// Reads any XML document, from a file or a stream, into a DOM document it owns, and
/// writes a DOM document to a file. Each object holds one initialisation of the XML
/// platform for its whole life and makes a new parser for each parse.
class MCXML_EXPORT MCXMLReadWrite {
 public:
  /// Initialises the XML platform; a failure shows as GetInitStatus() 103.
  MCXMLReadWrite();
  ~MCXMLReadWrite();
  MCXMLReadWrite(const MCXMLReadWrite&) = delete;
  MCXMLReadWrite& operator=(const MCXMLReadWrite&) = delete;

  /// OK, or 103 when the constructor could not initialise the XML platform; every
  /// parse and write of such an object returns 103 and changes nothing.
  MCStatus GetInitStatus() const;
  /// The text of the last parser or writer exception; empty otherwise.
  std::string GetXercesMessage() const;
  /// The document of the last successful parse, or null. It belongs to this object
  /// and is valid until the next parse or the object's destruction.
  DOMDocument* GetDocument();
  /// As above, read-only.
  const DOMDocument* GetDocument() const;
  /// Errors the XML parser counted during the last parse; 0 before any parse and
  /// after a failed one. A document that is not well-formed (truncated, bad bytes,
  /// mismatched tags) does not make the parse fail: the document holds what was read
  /// before the first fatal error. Callers who want to refuse such a document test
  /// this after a successful load.
  unsigned GetErrorCount() const;
  /// When on, later parses read nothing from outside the document and build
  /// nothing a document could inflate: a document type declaration, an element
  /// with more than 256 attributes, more than 10,000 distinct element and
  /// attribute names, an XML version the DOM refuses, or more than 160 MB of
  /// memory held by the parse (the DOM it builds above all; a flat run of empty
  /// elements costs about 53 bytes a byte, PMML 15 to 18) end the parse with a
  /// counted error (see GetErrorCount). It does not limit document size or depth
  /// otherwise.
  /// Off by default.
  void SetSecureProcessing(bool on);
  /// When on, later parses record where each element starts, for GetElementPlace.
  /// Off by default; it changes nothing else.
  void SetElementPlaces(bool on);
  /// The first error the XML parser reported during the last parse, with the line
  /// and column where it stood; none before any parse, after a clean one and after
  /// a failed one.
  std::optional<MCXMLError> GetFirstXMLError() const;
  /// Where `elmt` starts in the text of the last document parsed with element
  /// places on; unknown (line 0) otherwise, and for elements made after the parse.
  MCPlace GetElementPlace(const DOMElement& elmt) const;

  /// Parses the named file: 103 platform or parser set-up failed, 104 the parse
  /// threw (message kept) or gave no document. Under secure processing the name is
  /// a local path and nothing else: the file the system opens for it is read, with
  /// no scheme, no base and no rewriting of its "." and ".."; a name that cannot be
  /// opened so, or names a folder, gives 104 with the parser's message and the
  /// system's reason. Otherwise the name goes to the parser, which reads one with a
  /// scheme ("file:", "http:") as a URL.
  MCStatus ParseToDOM(const std::string& fileName);
  /// Parses the stream from where it stands; statuses as above.
  MCStatus ParseToDOM(std::istream& in);
  /// Writes `doc`, or the held document when `doc` is null, to the named file,
  /// without pretty-printing. OK without writing when there is nothing to write;
  /// 118 when the write threw, or when the document is nested deeper than the
  /// calling thread's remaining stack lets the platform's recursive writer go
  /// (about 5,000 levels on a 1 MB stack) or holds runs of comments that would cost
  /// the platform's writer more than 100 million steps (it looks for an element
  /// among each comment's siblings, so a run of N costs N squared; the file is
  /// left empty either way), or when the system refuses a write or the closing of the file (a full
  /// disk), the message then ending with the system's reason. A file that cannot be created throws
  /// the platform's XMLException, before anything is written: it passes to the caller.
  MCStatus WriteFromDOM(const std::string& fileName, const DOMDocument* doc) const;

 private:
  MCStatus ParseToDOM(const char* fileName, std::istream* in);

  MCStatus m_initStatus;
  MCParserOwner m_parser;
  mutable std::string m_xercesMessage;
  DOMDocument* m_document = nullptr;
  bool m_secure = false;
  bool m_places = false;
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_READ_WRITE_H
