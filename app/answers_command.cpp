#include "app/answers_command.h"

#include "platform/ascii.h"

namespace answers {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

Parsed ParseCommandLine(std::string_view commandLine) {
  using Verb = Command::Verb;
  const auto is = [](const std::string& word, std::string_view option) {
    return platform::EqualsNoCaseAscii(word, option);
  };
  const std::vector<std::string> words = SplitCommandLine(commandLine);
  Parsed parsed;
  for (const std::string& word : words) parsed.quiet = parsed.quiet || is(word, "/quiet");
  Command command;
  bool verb = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    std::optional<Verb> named;
    if (is(word, "/export")) named = Verb::Export;
    if (is(word, "/apply")) named = Verb::Apply;
    if (is(word, "/verify")) named = Verb::Verify;
    if (named) {
      if (verb) {
        parsed.refusal = "Give one of /export, /apply and /verify, not several.";
        return parsed;
      }
      if (i + 1 == words.size() || words[i + 1].starts_with('/')) {
        parsed.refusal = word + " needs the answers file's path after it.";
        return parsed;
      }
      verb = true;
      command.verb = *named;
      command.file = words[++i];
    } else if (is(word, "/quiet")) {
      command.quiet = true;
    } else if (is(word, "/package")) {
      command.package = true;
    } else {
      parsed.refusal = "OKAPI does not know \"" + word + "\" on its command line.";
    }
  }
  if (!verb) return {};
  if (parsed.refusal.empty() && command.package && command.verb != Verb::Apply) {
    parsed.refusal = "/package goes with /apply only.";
  }
  if (parsed.refusal.empty()) parsed.command = command;
  return parsed;
}

}  // namespace answers
