// Exactly the named local file, read or written through a file descriptor whose
// every call is checked: a name is never taken for an address, and a write the
// system refuses, however late, is never taken for a success.
#ifndef MCXML_XML_LOCAL_FILE_INTERNAL_H
#define MCXML_XML_LOCAL_FILE_INTERNAL_H

#include <vector>

#include <xercesc/framework/XMLFormatter.hpp>
#include <xercesc/sax/InputSource.hpp>
#include <xercesc/util/BinInputStream.hpp>
#include <xercesc/util/XMLExceptMsgs.hpp>

namespace MCXML_1_3 {

/// The file of one local path, opened as the system opens that path: no scheme,
/// no base, no rewriting of "." or "..". Its system identifier is the name, for
/// the parser's messages.
class LocalFileSource : public XERCES_CPP_NAMESPACE::InputSource {
 public:
  /// Opens `path` for reading; see Error().
  explicit LocalFileSource(const char* path);
  ~LocalFileSource() override;
  LocalFileSource(const LocalFileSource&) = delete;
  LocalFileSource& operator=(const LocalFileSource&) = delete;

  /// The system's error code when the path could not be opened (a folder gives
  /// EISDIR: it opens, but nothing can be read from it); 0 when it is open.
  int Error() const { return m_error; }
  /// Whether the file is a regular one whose first byte starts a UTF-8 byte order
  /// mark; reads nothing the parser then misses (other files are not looked into).
  bool StartsWithUtf8Mark() const;
  /// A stream reading on from where the file stands, or null when it is not open;
  /// the caller (the parser) owns it, the source keeps the descriptor.
  XERCES_CPP_NAMESPACE::BinInputStream* makeStream() const override;

 private:
  int m_fd;
  int m_error = 0;
};

/// A format target writing to the named file. The platform's own file target
/// keeps the error of its last write and of closing to itself; this one throws.
class FileTarget : public XERCES_CPP_NAMESPACE::XMLFormatTarget {
 public:
  /// Creates or truncates `path`; throws the platform's IOException when it
  /// cannot, as the platform's own target does.
  explicit FileTarget(const char* path);
  /// Closes the file if Close() was not called, without a word.
  ~FileTarget() override;
  FileTarget(const FileTarget&) = delete;
  FileTarget& operator=(const FileTarget&) = delete;

  /// Buffers; a full buffer is written as flush() writes.
  void writeChars(const XMLByte* const toWrite, const XMLSize_t count,
                  XERCES_CPP_NAMESPACE::XMLFormatter* const formatter) override;
  /// Writes what is buffered; throws the platform's IOException when the system
  /// refuses it. After a failure everything later is dropped.
  void flush() override;
  /// Writes what is left and closes the file; throws as flush() does, and when
  /// closing fails (some file systems report a failed write only then).
  void Close();
  /// The system's error code of the call that failed; 0 while none has.
  int Error() const { return m_error; }

 private:
  [[noreturn]] void Fail(int error, XERCES_CPP_NAMESPACE::XMLExcepts::Codes code);

  int m_fd;
  int m_error = 0;
  std::vector<XMLByte> m_buffer;
};

}  // namespace MCXML_1_3

#endif  // MCXML_XML_LOCAL_FILE_INTERNAL_H
