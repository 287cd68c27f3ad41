#include "app/answers_run.h"

#include <variant>

#include "app/dated_log.h"
#include "app/discovery.h"
#include "app/okapi_app.h"
#include "framework/framework.h"
#include "package/finish.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "store/seed.h"

namespace answers {

namespace {

std::string& RunningFile() {
  static std::string file;
  return file;
}

std::string LogPath() { return layout::InCustomization("okapi.log"); }

const char* VerbName(Command::Verb verb) {
  switch (verb) {
    case Command::Verb::Export:
      return "/export";
    case Command::Verb::Apply:
      return "/apply";
    case Command::Verb::Verify:
      return "/verify";
  }
  return "";
}

// What the pages show now; their loads write nothing meanwhile, so each
// file's stamp need only be checked once (under Wine each check is a round
// trip to the server, and the pages read some hundred entries).
Answers Current() {
  const store::WritesHeld held;
  const store::UnchangedFilesScope unchanged;
  Answers now;
  for (const PageAnswers& page : Pages()) {
    if (!page.skipped || !page.skipped(Answers{})) page.exportTo(now);
  }
  return now;
}

// The run after the installation is found; `log` gets what it did.
Exit RunFound(const Command& command, RunLog& log) {
  auto& files = *platform::Os().files;
  if (command.verb == Command::Verb::Export) {
    const std::string text =
        Format(Current(), {"Answers for OKAPI, written by okapi.exe /export on " + Now() + ".",
                           "Apply them with: okapi.exe /apply \"" + command.file + "\" /quiet"});
    if (auto status = files.WriteFileAtomic(command.file, text); !status) {
      log.Add("not exported to " + command.file + ": " + status.reason);
      return Exit::WriteFailed;
    }
    log.Add("exported to " + command.file);
    return Exit::Done;
  }

  const auto bytes = files.ReadFile(command.file);
  if (!bytes) {
    log.Add("refused: " + command.file + " cannot be read");
    return Exit::Refused;
  }
  const auto parsed = Parse(*bytes, PagesSchema());
  if (const auto* refusal = std::get_if<Refusal>(&parsed)) {
    log.Add("refused: " + command.file +
            (refusal->line ? " line " + std::to_string(refusal->line) : std::string()) + ": " +
            refusal->text);
    return Exit::Refused;
  }
  Answers wanted = std::get<Answers>(parsed);

  // Every page checks before any page writes; their loads write nothing.
  std::vector<std::pair<const PageAnswers*, const Section*>> applied;
  std::optional<store::WritesHeld> held(std::in_place);
  std::vector<std::string_view> skipped;
  for (const PageAnswers& page : Pages()) {
    Section* section = wanted.FindSection(page.section);
    if (!section) continue;
    if (auto why = page.skipped ? page.skipped(wanted) : std::nullopt) {
      log.Add("left out [" + std::string(page.section) + "]: " + *why);
      skipped.push_back(page.section);
      continue;
    }
    if (page.leftOut) {
      for (const auto& [key, why] : page.leftOut(wanted)) {
        if (section->Erase(key))
          log.Add("left out [" + std::string(page.section) + "] " + key + ": " + why);
      }
    }
    if (auto refusal = page.check(*section)) {
      log.Add("refused [" + std::string(page.section) + "] " + refusal->key + ": " +
              refusal->message);
      if (command.verb == Command::Verb::Apply) log.Add("nothing was written");
      return Exit::Refused;
    }
    applied.emplace_back(&page, section);
  }

  held.reset();

  if (command.verb == Command::Verb::Verify) {
    // What this computer leaves out is no difference either.
    for (std::string_view section : skipped) wanted.Erase(section);
    const auto differences = Differences(wanted, Current());
    for (const std::string& line : differences) log.Add("not in place: " + line);
    if (differences.empty()) log.Add("every answer of " + command.file + " is in place");
    return differences.empty() ? Exit::Done : Exit::Differences;
  }

  bool whole = true;
  for (const auto& [page, section] : applied) whole = page->apply(*section, log) && whole;
  if (whole && command.package) {
    whole = package::Finish(
        [&log](const std::string& text, const std::string&) { log.Add("Finish: " + text); });
    log.Add(whole ? "package assembled in " + package::Root() : "package not whole");
  }
  return whole ? Exit::Done : Exit::WriteFailed;
}

}  // namespace

Schema PagesSchema() {
  Schema schema;
  for (const PageAnswers& page : Pages()) schema.push_back({page.section, page.keys});
  return schema;
}

namespace {
// The answers give a numbered family ("Name" of "Name#") at all.
bool wantedHasFamily(const Section& section, std::string_view stem) {
  for (const Answer& answer : section.answers) {
    if (answer.key.starts_with(stem) && answer.key.size() > stem.size()) return true;
  }
  return false;
}
}  // namespace

std::vector<std::string> Differences(const Answers& wanted, const Answers& now) {
  std::vector<std::string> lines;
  for (const Section& section : wanted.Sections()) {
    for (const Answer& answer : section.answers) {
      const Answer* found = now.Find(section.name, answer.key);
      if (found && found->value == answer.value) continue;
      lines.push_back("[" + section.name + "] " + answer.key + ": " +
                      (found ? "\"" + found->value + "\"" : std::string("nothing")) +
                      " instead of \"" + answer.value + "\"");
    }
    // A list means exactly that list: what the file leaves out differs too.
    const Section* current = now.FindSection(section.name);
    if (!current) continue;
    const auto family = [&section](const std::string& key) {
      for (const PageAnswers& page : Pages()) {
        if (page.section != section.name) continue;
        for (std::string_view k : page.keys) {
          if (k.ends_with('#') && key.starts_with(k.substr(0, k.size() - 1)) &&
              key.size() > k.size() - 1)
            return wantedHasFamily(section, k.substr(0, k.size() - 1));
        }
      }
      return false;
    };
    for (const Answer& extra : current->answers) {
      if (family(extra.key) && !wanted.Find(section.name, extra.key)) {
        lines.push_back("[" + section.name + "] " + extra.key + ": \"" + extra.value +
                        "\", which the answers do not list");
      }
    }
  }
  return lines;
}

std::string PackageAnswersText() {
  return Format(Current(), {"Answers for OKAPI, written at Finish on " + Now() + ".",
                            "Apply them on another computer with: okapi.exe /apply "
                            "\\\\server\\share\\package\\answers.ini /quiet"});
}

Exit Run(const Command& command) {
  if (platform::Os().instances->ClaimMutex(COkapiApp::kMutexName)) return RunAlone(command);
  if (!command.quiet) {
    AfxMessageBox(
        "The OKAPI wizard or another okapi.exe is running. Close it, then run "
        "okapi.exe " +
        std::string(VerbName(command.verb)) + " again.\n\nNothing was changed.");
  }
  return Exit::AlreadyRunning;
}

const std::string& AnswersFile() { return RunningFile(); }

Exit RunAlone(const Command& command) {
  RunningFile() = command.file;
  const auto tell = [&command](const std::string& text) {
    if (!command.quiet) AfxMessageBox(text);
  };
  std::string missing;
  if (!CheckInstallation([&missing](const std::string& text) { missing = text; })) {
    tell(missing);
    return Exit::NoInstallation;
  }
  RunLog log;
  log.Add(std::string(VerbName(command.verb)) + " " + command.file);
  package::SetPackageAnswers(PackageAnswersText);
  store::SetWriteFailureReporter([&log](const std::string& file, const std::string& reason) {
    log.Add("not saved: " + file + ": " + reason + " (the file was left as it was)");
  });
  store::SetReadBackReporter([&log](const std::vector<store::ReadBackMismatch>& mismatches) {
    for (const auto& m : mismatches) log.Add("does not read back: " + store::DescribeEntry(m));
  });
  // A run that only looks leaves the backup, the package and the files alone.
  if (command.verb == Command::Verb::Apply) {
    BackupHelpFiles();
    package::PrepareTree();
  }
  SeedMapFile();
  const Exit exit = RunFound(command, log);
  log.Add("exit code " + std::to_string(static_cast<int>(exit)));
  (void)AppendDatedLines(LogPath(), log.Lines());  // the outcome stands without its log
  std::string told;
  for (const std::string& line : log.Lines()) told += line + "\n";
  tell(told);
  return exit;
}

}  // namespace answers
