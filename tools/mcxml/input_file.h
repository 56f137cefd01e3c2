// InputFile: the document a command reads, a named file or standard input ("-").
#ifndef MCXML_TOOLS_MCXML_INPUT_FILE_H
#define MCXML_TOOLS_MCXML_INPUT_FILE_H

#include <fstream>
#include <istream>
#include <string>

namespace MCXML_1_3 {
namespace tool {

class InputFile {
 public:
  /// Opens `path` for binary reading, or takes standard input for "-". False, with
  /// a one-line `error`, when the file cannot be opened or is a directory.
  bool Open(const std::string& path, std::string& error);
  bool IsStandardInput() const { return m_standardInput; }
  /// The opened stream; valid after a successful Open.
  std::istream& Stream();

 private:
  std::ifstream m_file;
  bool m_standardInput = false;
};

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_INPUT_FILE_H
