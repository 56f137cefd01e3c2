// LocalFileSource and FileTarget: a file descriptor under the parser and under
// the serializer, each call of which is checked.
#include "mcxml/xml/local_file_internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include <xercesc/util/IOException.hpp>
#include <xercesc/util/PlatformUtils.hpp>

namespace MCXML_1_3 {
namespace {

namespace xc = XERCES_CPP_NAMESPACE;

constexpr std::size_t kTargetBuffer = 64 * 1024;

// Reads the source's descriptor, which it does not own.
class DescriptorStream : public xc::BinInputStream {
 public:
  explicit DescriptorStream(int fd) : m_fd(fd) {}

  XMLFilePos curPos() const override { return m_position; }

  // A read error throws what the platform's own file stream throws for one (a
  // directory opens, and fails only here).
  XMLSize_t readBytes(XMLByte* const toFill, const XMLSize_t maxToRead) override {
    for (;;) {
      const ssize_t got = read(m_fd, toFill, maxToRead);
      if (got >= 0) {
        m_position += static_cast<XMLFilePos>(got);
        return static_cast<XMLSize_t>(got);
      }
      if (errno != EINTR) {
        ThrowXMLwithMemMgr(xc::XMLPlatformUtilsException, xc::XMLExcepts::File_CouldNotReadFromFile,
                           xc::XMLPlatformUtils::fgMemoryManager);
      }
    }
  }

  const XMLCh* getContentType() const override { return nullptr; }

 private:
  int m_fd;
  XMLFilePos m_position = 0;
};

}  // namespace

LocalFileSource::LocalFileSource(const char* path)
    : xc::InputSource(path, xc::XMLPlatformUtils::fgMemoryManager),
      m_fd(open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY)) {
  struct stat info {};
  if (m_fd < 0) {
    m_error = errno;
  } else if (fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(m_fd);
    m_fd = -1;
    m_error = EISDIR;
  }
}

LocalFileSource::~LocalFileSource() {
  if (m_fd >= 0) close(m_fd);
}

bool LocalFileSource::StartsWithUtf8Mark() const {
  // Only a regular file can be looked into without taking from the parser what
  // it reads next: what is read from a pipe or a device is gone.
  struct stat info {};
  if (m_fd < 0 || fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  unsigned char first = 0;
  return pread(m_fd, &first, 1, 0) == 1 && first == 0xEF;
}

xc::BinInputStream* LocalFileSource::makeStream() const {
  if (m_fd < 0) return nullptr;
  // The parser owns and deletes the stream, through the platform's memory manager.
  return new (xc::XMLPlatformUtils::fgMemoryManager) DescriptorStream(m_fd);
}

FileTarget::FileTarget(const char* path)
    : m_fd(open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666)) {
  if (m_fd < 0) {
    ThrowXMLwithMemMgr1(xc::IOException, xc::XMLExcepts::File_CouldNotOpenFile, path,
                        xc::XMLPlatformUtils::fgMemoryManager);
  }
  m_buffer.reserve(kTargetBuffer);
}

FileTarget::~FileTarget() {
  if (m_fd >= 0) close(m_fd);
}

void FileTarget::writeChars(const XMLByte* const toWrite, const XMLSize_t count,
                            xc::XMLFormatter* const) {
  if (m_error != 0) Fail(m_error, xc::XMLExcepts::File_CouldNotWriteToFile);
  m_buffer.insert(m_buffer.end(), toWrite, toWrite + count);
  if (m_buffer.size() >= kTargetBuffer) flush();
}

void FileTarget::flush() {
  if (m_error != 0) Fail(m_error, xc::XMLExcepts::File_CouldNotWriteToFile);
  const XMLByte* next = m_buffer.data();
  std::size_t left = m_buffer.size();
  while (left > 0) {
    const ssize_t written = write(m_fd, next, left);
    if (written < 0 && errno == EINTR) continue;
    // Nothing written of something is a refusal without a reason.
    if (written <= 0) Fail(written < 0 ? errno : EIO, xc::XMLExcepts::File_CouldNotWriteToFile);
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  m_buffer.clear();
}

void FileTarget::Close() {
  flush();
  const int fd = m_fd;
  if (fd < 0) return;
  m_fd = -1;
  // Linux releases the descriptor even when close is interrupted.
  if (close(fd) != 0 && errno != EINTR) Fail(errno, xc::XMLExcepts::File_CouldNotCloseFile);
}

void FileTarget::Fail(int error, xc::XMLExcepts::Codes code) {
  // What was buffered cannot reach the file any more; every later call fails too.
  m_error = error;
  m_buffer.clear();
  ThrowXMLwithMemMgr(xc::IOException, code, xc::XMLPlatformUtils::fgMemoryManager);
}

}  // namespace MCXML_1_3
