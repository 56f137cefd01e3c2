// The manual page keeps up with the tool: every command, option, QUERY kind and
// exit status that --help names is in the page as man shows it, each in its
// section, and every command has an example there.
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// What `command` prints on standard output.
std::string Output(const std::string& command) {
  const mcxml_test::CommandRun run = mcxml_test::RunCommand(command);
  EXPECT_EQ(run.status, 0) << command;
  return run.output;
}

// The lines of `text` from the one that starts with `first` up to the next one
// that matches `end` (excluded).
std::string Block(const std::string& text, const std::string& first, const std::string& end) {
  std::istringstream in(text);
  std::string block;
  for (std::string line; std::getline(in, line);) {
    if (!block.empty() && std::regex_search(line, std::regex(end))) break;
    if (!block.empty() || line.rfind(first, 0) == 0) block += line + '\n';
  }
  return block;
}

// The first group of every match of `pattern`, whose ^ matches at each line.
std::set<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::set<std::string> found;
  const std::regex regex(pattern, std::regex::ECMAScript | std::regex::multiline);
  for (std::sregex_iterator it(text.begin(), text.end(), regex), end; it != end; ++it) {
    found.insert((*it)[1]);
  }
  return found;
}

bool Has(const std::string& text, const std::string& pattern) {
  return std::regex_search(text,
                           std::regex(pattern, std::regex::ECMAScript | std::regex::multiline));
}

bool HasWord(const std::string& text, const std::string& word) {
  return Has(text, "(^|[^-a-z])" + word + "([^-a-z]|$)");
}

TEST(ManPage, NamesEveryCommandOptionQueryKindAndExitStatusOfTheHelp) {
  const std::string help = Output("'" MCXML_TOOL_PATH "' --help");
  EXPECT_EQ(Output("'" MCXML_TOOL_PATH "' -h"), help);
  const std::set<std::string> commands = Matches(help, "^  mcxml ([a-z][-a-z]*)");
  const std::set<std::string> options = Matches(help, "(?:^|[\\s\\[(|])(--?[a-z][-a-z]*)");
  const std::set<std::string> exits = Matches(Block(help, "Exit status:", "^$"), "^  ([0-9])  ");
  std::set<std::string> kinds;
  // A line of the QUERY block names kinds up to the gap before its description.
  for (const std::string& line :
       Matches(Block(help, "QUERY is", "^Exit status:"), "^  ([a-z][-a-z ]*[a-z])")) {
    std::istringstream words(line.substr(0, line.find("  ")));
    for (std::string kind; words >> kind;) kinds.insert(kind);
  }
  ASSERT_FALSE(commands.empty() || options.empty() || exits.empty() || kinds.empty()) << help;

  const std::string page = Output("MANWIDTH=200 man -E ascii -l '" MCXML_MAN_PAGE "'");
  // A section runs from its heading to the next one, a line in capitals.
  const auto section = [&page](const std::string& heading) {
    return Block(page, heading, "^[A-Z][A-Z ]+$");
  };
  for (const std::string& name : commands) {
    EXPECT_TRUE(HasWord(section("SYNOPSIS"), "mcxml " + name)) << name;
    EXPECT_TRUE(Has(section("COMMANDS"), "^ +mcxml " + name + " ")) << name << " has no example";
  }
  for (const std::string& option : options) {
    EXPECT_TRUE(HasWord(section("OPTIONS"), option)) << option;
  }
  for (const std::string& kind : kinds) EXPECT_TRUE(HasWord(section("QUERIES"), kind)) << kind;
  for (const std::string& exit : exits)
    EXPECT_TRUE(Has(section("EXIT STATUS"), "^ +" + exit + " "));
}

}  // namespace
