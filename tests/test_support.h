// Helpers shared by the test programs: a temporary folder of their own, small
// documents parsed inline, files and repeated texts, and a matcher that names
// both the code and the flag of a status.
#ifndef MCXML_TESTS_TEST_SUPPORT_H
#define MCXML_TESTS_TEST_SUPPORT_H

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>

#include <gmock/gmock.h>
#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include "mcxml/common/status.h"

namespace MCCommon_1_3 {

/// Lets failures show a status as its code and flag.
inline void PrintTo(const MCStatus& status, std::ostream* os) {
  *os << "MCStatus(" << status.GetCode() << ", " << (status.IsWarning() ? "true" : "false") << ")";
}

}  // namespace MCCommon_1_3

namespace mcxml_test {

/// Holds one initialisation of the XML platform for its lifetime.
struct XercesPlatform {
  XercesPlatform() { xercesc::XMLPlatformUtils::Initialize(); }
  ~XercesPlatform() { xercesc::XMLPlatformUtils::Terminate(); }
  XercesPlatform(const XercesPlatform&) = delete;
};

/// A folder of its own under the test temporary directory, removed with all it
/// holds when the object goes. A forked child leaves through exit(), which runs
/// static destructors: such a child must not outlive a static TempFolder's owner.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = testing::TempDir() + "mcxml_test_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
      ADD_FAILURE() << "no temporary folder " << pattern;
    else
      m_path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;

  /// The path of `name` inside the folder.
  std::string Path(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

/// A document parsed from a string with a default parser; owns the parser.
class InlineDoc {
 public:
  explicit InlineDoc(const std::string& xml) {
    xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(xml.data()), xml.size(),
                                      "inline");
    m_parser->parse(source);
  }
  xercesc::DOMDocument& doc() const { return *m_parser->getDocument(); }
  xercesc::DOMElement& root() const { return *doc().getDocumentElement(); }

 private:
  XercesPlatform m_platform;
  std::unique_ptr<xercesc::XercesDOMParser> m_parser = std::make_unique<xercesc::XercesDOMParser>();
};

/// The bytes of a file; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

/// What a shell command printed on standard output, and its wait status (-1 when
/// it could not be started).
struct CommandRun {
  std::string output;
  int status = -1;
};
inline CommandRun RunCommand(const std::string& command) {
  CommandRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[65536];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  run.status = pclose(pipe);
  return run;
}

/// Parses `xml` with `parser`, which any class of the library with ParseToDOM is.
template <class Parser>
MCCommon_1_3::MCStatus Load(Parser& parser, const std::string& xml) {
  std::istringstream in(xml);
  return parser.ParseToDOM(in);
}

/// `text` `times` times over.
inline std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

MATCHER_P2(HasCode, code, warning,
           std::string("has code ") + std::to_string(code) + (warning ? " (warning)" : "")) {
  return arg.GetCode() == code && arg.IsWarning() == warning;
}

inline testing::Matcher<MCCommon_1_3::MCStatus> IsOk() {
  return HasCode(0L, false);
}

}  // namespace mcxml_test

#endif  // MCXML_TESTS_TEST_SUPPORT_H
