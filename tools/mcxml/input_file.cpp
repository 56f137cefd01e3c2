// InputFile: opening a command's document before anything is printed, so that a
// file that cannot be read is a usage-level failure with an empty standard output.
#include "input_file.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include <sys/stat.h>

namespace MCXML_1_3 {
namespace tool {

bool InputFile::Open(const std::string& path, std::string& error) {
  if (path == "-") {
    m_standardInput = true;
    return true;
  }
  // A directory opens as a stream on Linux and fails only on the first read,
  // which the parser would report as an empty document.
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    error = "cannot open '" + path + "': " + std::strerror(EISDIR);
    return false;
  }
  errno = 0;
  m_file.open(path, std::ios::in | std::ios::binary);
  if (!m_file.is_open()) {
    const int code = errno;
    error =
        "cannot open '" + path + "'" + (code != 0 ? std::string(": ") + std::strerror(code) : "");
    return false;
  }
  return true;
}

std::istream& InputFile::Stream() {
  if (m_standardInput) return std::cin;
  return m_file;
}

}  // namespace tool
}  // namespace MCXML_1_3
