// Standard output as the tool writes it: through the system's own write, so that
// a refused write (a full disk, a closed pipe's reader gone) is seen and said.
#ifndef MCXML_TOOLS_MCXML_STANDARD_OUTPUT_H
#define MCXML_TOOLS_MCXML_STANDARD_OUTPUT_H

#include <array>
#include <streambuf>
#include <string>

namespace MCXML_1_3 {
namespace tool {

/// A stream buffer over standard output that keeps the first failure's reason.
class StandardOutput : public std::streambuf {
 public:
  StandardOutput() { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;

  /// Writes what is buffered and closes standard output (a file system may refuse
  /// only then); false, with `error` set, when anything written was refused.
  bool Close(std::string& error);

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Drain();

  std::array<char, 1 << 16> m_buffer{};
  bool m_wrote = false;
  int m_error = 0;
};

}  // namespace tool
}  // namespace MCXML_1_3

#endif  // MCXML_TOOLS_MCXML_STANDARD_OUTPUT_H
