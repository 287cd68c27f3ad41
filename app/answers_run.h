// The answers file applied, exported and verified: the pages' models driven
// without their dialogs, told into customization\okapi.log.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/answers_command.h"
#include "app/answers_file.h"

namespace answers {

// What a run did, appended to customization\okapi.log in one write at the end.
class RunLog {
 public:
  void Add(std::string line) { m_lines.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
};

// A page's answer refused: which key, and the page's own message.
struct KeyRefusal {
  std::string key;
  std::string message;
};

// One page as the answers see it. A page whose answers this computer skips
// (the fourth menu on 3.0, a notebook without the button) says why.
struct PageAnswers {
  std::string_view section;
  std::vector<std::string_view> keys;
  // Both see the answers being applied (none for an export), since an
  // earlier page's answer may change what a later page offers.
  std::function<std::optional<std::string>(const Answers&)> skipped;
  // Keys of the page that this computer leaves out, each with why.
  std::function<std::vector<std::pair<std::string, std::string>>(const Answers&)> leftOut;
  // The page's values now, as its boxes would show them.
  std::function<void(Answers&)> exportTo;
  // Run on every page before anything is written; puts the values it takes
  // in the form the export writes, so that a verify compares like with like.
  std::function<std::optional<KeyRefusal>(Section&)> check;
  // False when a write failed (the store has told the log).
  std::function<bool(const Section&, RunLog&)> apply;
};

// The answers file of the command running now (its folder may hold files
// the answers name).
const std::string& AnswersFile();

// The pages in the wizard's order.
const std::vector<PageAnswers>& Pages();
// Their sections and keys, for reading a file.
Schema PagesSchema();

// The answers the file holds that the installation does not hold now, as
// "[Section] Key: "found" instead of "answer"" lines; empty when all do.
std::vector<std::string> Differences(const Answers& wanted, const Answers& now);

// This installation's answers as an answers file, for a package's answers.ini.
std::string PackageAnswersText();

// The whole command; the process's exit code.
Exit Run(const Command& command);
// The same once this process holds the wizard's mutex.
Exit RunAlone(const Command& command);

}  // namespace answers
