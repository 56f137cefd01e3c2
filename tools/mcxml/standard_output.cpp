// StandardOutput: buffered writes to descriptor 1, every failure kept.
#include "standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace MCXML_1_3 {
namespace tool {

bool StandardOutput::Drain() {
  const char* data = pbase();
  const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
  for (std::size_t done = 0; done < size && m_error == 0;) {
    const ssize_t written = write(STDOUT_FILENO, data + done, size - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      m_error = written < 0 ? errno : EIO;
      break;
    }
    done += static_cast<std::size_t>(written);
  }
  m_wrote = m_wrote || size != 0;
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  return m_error == 0;
}

StandardOutput::int_type StandardOutput::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int StandardOutput::sync() {
  return Drain() ? 0 : -1;
}

bool StandardOutput::Close(std::string& error) {
  Drain();
  // Some file systems report a failed write only when the file is closed.
  if (close(STDOUT_FILENO) != 0 && errno != EINTR && m_wrote && m_error == 0) m_error = errno;
  if (m_error != 0) error = std::strerror(m_error);
  return m_error == 0;
}

}  // namespace tool
}  // namespace MCXML_1_3
