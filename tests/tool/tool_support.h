// Running the built mcxml tool and reading its JSON output.
#ifndef MCXML_TESTS_TOOL_TOOL_SUPPORT_H
#define MCXML_TESTS_TOOL_TOOL_SUPPORT_H

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace tool_test {

/// `json` without its layout: the line breaks with their indents and the blank
/// after each key (no string holds a raw line break, nor a quote before ": ").
/// Tests compare whole outputs in this form against well-formed expected texts,
/// so every key, its order, every value text and every separator is checked.
inline std::string Compact(const std::string& json) {
  return std::regex_replace(std::regex_replace(json, std::regex("\n *"), ""), std::regex("\": "),
                            "\":");
}

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
  std::string json;  // `out` compacted
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

/// `name` in the program's own temporary folder, which goes when the program ends.
inline std::string TempPath(const std::string& name) {
  static const mcxml_test::TempFolder folder;
  return folder.Path(name);
}

inline std::string WriteTemp(const std::string& name, const std::string& content) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

/// The words of a command line without quoting (no argument here holds a blank).
inline std::vector<std::string> Args(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> args;
  for (std::string arg; in >> arg;) args.push_back(arg);
  return args;
}

inline std::string Status(int code, bool warning = false) {
  return R"({"code":)" + std::to_string(code) + R"(,"warning":)" + (warning ? "true" : "false") +
         "}";
}

/// The keys every output opens with, up to the comma after them.
inline std::string Head(const std::string& load = Status(0), int parseErrors = 0) {
  return R"({"load":)" + load + R"(,"message":"","parseErrors":)" + std::to_string(parseErrors) +
         ",";
}

inline std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ",") + item;
  return out;
}

inline std::string Example(const std::string& name) {
  return std::string(MCXML_EXAMPLES_DIR) + "/" + name;
}

/// Runs the tool with `args` and `input` on its standard input.
inline ToolRun RunTool(const std::vector<std::string>& args, const std::string& input = "") {
  const auto quote = [](const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
  };
  const std::string out = TempPath("stdout"), err = TempPath("stderr");
  const std::string in = WriteTemp("stdin", input);
  std::string command = quote(MCXML_TOOL_PATH);
  for (const std::string& arg : args) command += " " + quote(arg);
  command += " <" + quote(in) + " >" + quote(out) + " 2>" + quote(err);
  const int wait = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  run.out = ReadFile(out);
  run.err = ReadFile(err);
  for (const std::string& path : {in, out, err}) std::remove(path.c_str());
  run.json = Compact(run.out);
  return run;
}

}  // namespace tool_test

#endif  // MCXML_TESTS_TOOL_TOOL_SUPPORT_H
