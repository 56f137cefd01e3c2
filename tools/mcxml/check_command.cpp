// check: each document loaded once, with element places, by the parser that
// reads either kind; several documents on a pool of threads, one parser each,
// printed in the order given as each is done.
#include "check_command.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "check_formats.h"
#include "input_file.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/settings/settings_parser.h"
#include "report.h"

namespace MCXML_1_3 {
namespace tool {

namespace {

namespace fs = std::filesystem;

// One load serves either kind: the settings parser reads a model document's parts
// as the PMML parser does, and the library answers for the kind it is read as.
void Check(std::istream& in, const Invocation& invocation, Checked& checked) {
  MCSettingsParser parser;
  SetUp(parser, invocation);
  parser.SetElementPlaces(true);
  static_cast<void>(parser.ParseToDOM(in));
  const DOMElement* root = parser.GetRootElement();
  const MCDocumentKind kind = root != nullptr ? GetDocumentKind(*root) : MCDocumentKind::PMML;
  checked.kind = kind == MCDocumentKind::Settings ? "settings" : "pmml";
  checked.load = parser.GetStatus(kind);
  checked.message = parser.GetXercesMessage();
  checked.parseErrors = parser.GetErrorCount();
  checked.problems = parser.CheckDocument(invocation.bins, kind);
}

// A document of several that cannot be opened is its own problem, as a secured
// load of a name that cannot be opened is: the parser's exception, with the reason.
constexpr long kCannotOpen = 104;

Checked CheckFile(const std::string& file, const Invocation& invocation) {
  Checked checked;
  checked.file = file;
  InputFile input;
  std::string error;
  if (!input.Open(file, error)) {
    checked.load = MCStatus(kCannotOpen, false);
    checked.message = error;
    MCProblem problem;
    problem.status = checked.load;
    problem.reason = error;
    checked.problems.push_back(std::move(problem));
    return checked;
  }
  Check(input.Stream(), invocation, checked);
  return checked;
}

bool IsDocumentName(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".pmml" || extension == ".xml";
}

// The operands with each folder replaced by the documents under it, sorted by name;
// a folder that cannot be read all through stands for what could be.
std::vector<std::string> Documents(const std::vector<std::string>& operands) {
  std::vector<std::string> documents;
  for (const std::string& operand : operands) {
    std::error_code error;
    if (operand == "-" || !fs::is_directory(operand, error)) {
      documents.push_back(operand);
      continue;
    }
    std::vector<std::string> found;
    const auto options = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(operand, options, error), end; !error && it != end;
         it.increment(error)) {
      if (it->is_regular_file(error) && IsDocumentName(it->path())) {
        found.push_back(it->path().string());
      }
    }
    std::sort(found.begin(), found.end());
    documents.insert(documents.end(), found.begin(), found.end());
  }
  return documents;
}

// Documents checked on `threads` threads, handed to `print` in order as each is
// done. Of the next documents in line, the largest is taken first, so that a
// large one does not hold up the end of a run; a bounded number of them wait to
// be printed, so that a run over a million documents holds only those.
class Pool {
 public:
  Pool(const std::vector<std::string>& documents, const Invocation& invocation,
       const CheckFormat& format)
      : m_documents(documents), m_invocation(invocation), m_format(format) {}

  template <class Print>
  void Run(unsigned threads, Print print) {
    m_window = kWindowPerThread * threads;
    m_done.resize(m_window);
    m_claimed.assign(m_documents.size(), false);
    m_sizes.reserve(m_documents.size());
    for (const std::string& document : m_documents) {
      std::error_code unknown;
      const std::uintmax_t size = fs::file_size(document, unknown);
      m_sizes.push_back(unknown ? 0 : size);
    }
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i) workers.emplace_back([this] { Work(); });
    std::exception_ptr failure;
    for (std::size_t i = 0; i < m_documents.size() && !failure; ++i) {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [&] { return m_done[i % m_window].has_value(); });
      Done done = std::move(*m_done[i % m_window]);
      m_done[i % m_window].reset();
      m_printed = i + 1;
      lock.unlock();
      m_changed.notify_all();
      if (done.failure) {
        failure = done.failure;
      } else {
        print(done.checked, done.text);
      }
    }
    {
      const std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
    }
    m_changed.notify_all();
    for (std::thread& worker : workers) worker.join();
    if (failure) std::rethrow_exception(failure);
  }

 private:
  struct Done {
    Checked checked;
    std::string text;
    std::exception_ptr failure;
  };

  static constexpr std::size_t kWindowPerThread = 64;

  // The largest document not yet taken of those that may be done now; called
  // under the lock, false when none is left.
  bool Claim(std::size_t& i) {
    const std::size_t end = std::min(m_documents.size(), m_printed + m_window);
    bool found = false;
    for (std::size_t j = m_next; j < end; ++j) {
      if (!m_claimed[j] && (!found || m_sizes[j] > m_sizes[i])) {
        i = j;
        found = true;
      }
    }
    if (!found) return false;
    m_claimed[i] = true;
    while (m_next < m_documents.size() && m_claimed[m_next]) ++m_next;
    return true;
  }

  void Work() {
    for (;;) {
      std::size_t i = 0;
      {
        std::unique_lock<std::mutex> lock(m_mutex);
        bool claimed = false;
        m_changed.wait(
            lock, [&] { return m_stop || (claimed = Claim(i)) || m_next == m_documents.size(); });
        if (!claimed) return;
      }
      Done done;
      try {
        done.checked = CheckFile(m_documents[i], m_invocation);
        done.text = m_format.Document(done.checked);
      } catch (...) {
        done.failure = std::current_exception();
      }
      {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_done[i % m_window] = std::move(done);
      }
      m_changed.notify_all();
    }
  }

  const std::vector<std::string>& m_documents;
  const Invocation& m_invocation;
  const CheckFormat& m_format;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::optional<Done>> m_done;
  std::size_t m_window = 0;
  std::vector<bool> m_claimed;
  std::vector<std::uintmax_t> m_sizes;
  // Every document before it is taken.
  std::size_t m_next = 0;
  std::size_t m_printed = 0;
  bool m_stop = false;
};

}  // namespace

int RunCheck(const Invocation& invocation, std::ostream& out, std::string& error) {
  const std::vector<std::string>& operands = invocation.operands;
  std::error_code ignored;
  const bool single =
      operands.size() == 1 && (operands[0] == "-" || !fs::is_directory(operands[0], ignored));
  const std::unique_ptr<CheckFormat> format = MakeCheckFormat(invocation.format, single);
  Summary summary;
  bool shown = false;
  const auto print = [&](const Checked& checked, const std::string& text) {
    summary.Add(checked);
    if (text.empty()) return;
    out << format->Between(!shown) << text;
    shown = true;
    // Each document reaches the reader as soon as it is done.
    out.flush();
  };
  if (single) {
    // One document that cannot be opened is a usage-level failure, as it always was.
    InputFile input;
    if (!input.Open(operands[0], error)) return 2;
    Checked checked;
    checked.file = operands[0];
    Check(input.Stream(), invocation, checked);
    format->Begin(out);
    print(checked, format->Document(checked));
  } else {
    const std::vector<std::string> documents = Documents(operands);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const unsigned threads = invocation.jobs > 0 ? static_cast<unsigned>(invocation.jobs) : cores;
    format->Begin(out);
    Pool(documents, invocation, *format)
        .Run(static_cast<unsigned>(std::min<std::size_t>(threads, documents.size())), print);
  }
  format->End(summary, shown, out);
  return summary.withErrors == 0 ? 0 : 1;
}

}  // namespace tool
}  // namespace MCXML_1_3
