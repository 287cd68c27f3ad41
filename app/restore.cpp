#include "app/restore.h"

#include <algorithm>
#include <ctime>
#include <set>
#include <string_view>
#include <utility>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "framework/framework.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/profile.h"

namespace restore {
namespace {

std::string BackupDir() { return g_strHelpRoot + "\\customization\\backup"; }

// Stands for "no such entry": the files never hold a control character.
constexpr std::string_view kAbsent = "\x01";

std::string ValueOf(const std::string& file, const std::string& section, const std::string& key) {
  return store::ReadString(section, key, kAbsent, store::kWholeValue, file);
}

// Entries whose value differs, or that only one of the files has.
int DifferingEntries(const std::string& a, const std::string& b) {
  std::set<std::pair<std::string, std::string>> seen;
  int differing = 0;
  for (const std::string* file : {&a, &b}) {
    for (const std::string& section : store::ReadSectionNames(*file)) {
      for (const std::string& key : store::ReadKeyNames(section, *file)) {
        if (!seen.emplace(platform::ToLowerAscii(section), platform::ToLowerAscii(key)).second) {
          continue;
        }
        if (ValueOf(a, section, key) != ValueOf(b, section, key)) ++differing;
      }
    }
  }
  return differing;
}

std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

int DifferingLines(std::string_view a, std::string_view b) {
  const auto la = Lines(a), lb = Lines(b);
  int differing = static_cast<int>(std::max(la.size(), lb.size()) - std::min(la.size(), lb.size()));
  for (std::size_t i = 0; i < std::min(la.size(), lb.size()); ++i) {
    if (la[i] != lb[i]) ++differing;
  }
  return differing;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  char text[32] = {};
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  }
  return text;
}

std::optional<std::string> CurrentButtonApplication() {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                           platform::Access::Read);
  if (!key) return std::nullopt;
  return key->QueryString("File", 1024).value_or("");
}

}  // namespace

bool IsRestoreCommand(const std::string& commandLine) {
  std::string_view s = commandLine;
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return platform::EqualsNoCaseAscii(s, "/restore");
}

bool Plan::HasBackup() const {
  return buttonApplication ||
         std::any_of(files.begin(), files.end(), [](const FilePlan& f) { return f.inBackup; });
}

std::string Plan::Describe() const {
  std::string text =
      "OKAPI will put back the first contents of these files, as kept in " + BackupDir() + ":\n";
  std::vector<std::string> notKept;
  for (const FilePlan& file : files) {
    if (!file.inBackup) {
      notKept.push_back(file.name);
      continue;
    }
    const bool table = file.name.ends_with(".csv");
    const char* what = file.differing == 1 ? (table ? " line differs now" : " entry differs now")
                                           : (table ? " lines differ now" : " entries differ now");
    std::string state =
        file.differing == 0 ? std::string("unchanged") : std::to_string(file.differing) + what;
    if (file.unreadable) {
      state =
          "cannot be read now, so OKAPI cannot tell what differs: close any program that has it "
          "open, or it cannot be put back either";
    }
    text += "\n    " + file.name + " (" + state + ")";
  }
  if (!notKept.empty()) text += "\n\nNot in the backup, left as they are: " + Joined(notKept);
  if (buttonApplication) {
    text += "\n\nThe Larkbook button will start " +
            (buttonApplication->empty() ? std::string("nothing") : *buttonApplication) +
            " again (now: " + currentButtonApplication.value_or("") + ").";
  }
  text += "\n\nThe backup and the package stay as they are.";
  return text;
}

Plan MakePlan() {
  auto& files = *platform::Os().files;
  Plan plan;
  const std::pair<const char*, const std::string*> kept[] = {
      {"machine-specifics.csv", &g_strCsvFile},
      {"lumen-config.ini", &g_strConfigFile},
      {"lumen-text.ini", &g_strTextFile},
  };
  for (const auto& [name, target] : kept) {
    FilePlan file{name, BackupDir() + "\\" + name, *target};
    file.inBackup = files.Exists(file.backup) && !files.IsDirectory(file.backup);
    file.unreadable = files.Exists(file.target) && !files.ReadFile(file.target);
    if (file.inBackup && !file.unreadable) {
      if (file.name.ends_with(".csv")) {
        file.differing = DifferingLines(files.ReadFile(file.backup).value_or(""),
                                        files.ReadFile(file.target).value_or(""));
      } else {
        file.differing = DifferingEntries(file.backup, file.target);
      }
    }
    plan.files.push_back(std::move(file));
  }
  // The backup's script names the application the button had at the first run.
  const std::string script = BackupDir() + "\\lbbutton.reg";
  if (auto current = CurrentButtonApplication(); current && files.Exists(script)) {
    const std::string first = ValueOf(script, kButtonScriptSection, kButtonScriptKey);
    if (first != kAbsent && !first.empty()) {
      plan.buttonApplication = first;
      plan.currentButtonApplication = current;
    }
  }
  return plan;
}

std::string Outcome::Describe() const {
  std::string text;
  if (!restored.empty())
    text += "Put back as they were before OKAPI first ran: " + Joined(restored) + ".";
  if (!missing.empty()) {
    text += (text.empty() ? "" : "\n\n") + std::string("Not in the backup, left as they are: ") +
            Joined(missing) + ".";
  }
  if (!failed.empty()) {
    text += (text.empty() ? "" : "\n\n") + std::string("Could not be put back: ") + Joined(failed) +
            ".";
  }
  text += "\n\nThis is recorded in " + g_strHelpRoot + "\\customization\\restore.log.";
  return text;
}

Outcome Apply(const Plan& plan) {
  auto& files = *platform::Os().files;
  Outcome outcome;
  for (const FilePlan& file : plan.files) {
    if (!file.inBackup) {
      outcome.missing.push_back(file.name);
      continue;
    }
    const auto bytes = files.ReadFile(file.backup);
    platform::Status status = bytes
                                  ? files.WriteFileAtomic(file.target, *bytes)
                                  : platform::Status::Fail("its copy in the backup cannot be read");
    if (status) {
      outcome.restored.push_back(file.name);
    } else {
      outcome.failed.push_back(file.name + " (" + status.reason + ")");
    }
  }
  // The engine must not serve what it read before the files went back.
  store::ForgetCachedFiles();
  if (plan.buttonApplication) {
    auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                             platform::Access::Write);
    if (key && key->SetString("File", *plan.buttonApplication)) {
      outcome.restored.push_back("the Larkbook button");
    } else {
      outcome.failed.push_back("the Larkbook button (Windows refused the registry change)");
    }
  }

  const std::string log = g_strHelpRoot + "\\customization\\restore.log";
  std::string entry = Now() + " restored: " + Joined(outcome.restored);
  if (!outcome.missing.empty()) entry += "; not in the backup: " + Joined(outcome.missing);
  if (!outcome.failed.empty()) entry += "; failed: " + Joined(outcome.failed);
  std::string bytes = files.ReadFile(log).value_or("");
  if (auto status = files.WriteFileAtomic(log, bytes + entry + "\r\n"); !status) {
    outcome.failed.push_back("restore.log (" + status.reason + ")");
  }
  return outcome;
}

int RunRestore() {
  if (!platform::Os().instances->ClaimMutex(COkapiApp::kMutexName)) {
    AfxMessageBox(
        "The OKAPI wizard is running. Close it, then run okapi.exe /restore again.\n\n"
        "Nothing was restored.");
    return 1;
  }
  return ConfirmAndRestore();
}

int ConfirmAndRestore() {
  if (CheckInstallation([](const std::string& text) { AfxMessageBox(text); })) return 1;
  const Plan plan = MakePlan();
  if (!plan.HasBackup()) {
    AfxMessageBox("There is no backup to restore: " + BackupDir() +
                  " holds none of the help application's files.\n\nOKAPI makes that backup "
                  "the first time the wizard runs. Nothing was changed.");
    return 1;
  }
  if (AfxMessageBox(plan.Describe() + "\n\nPut these back now?", MB_YESNO) != IDYES) return 0;
  const Outcome outcome = Apply(plan);
  AfxMessageBox(outcome.Describe());
  return outcome.failed.empty() ? 0 : 1;
}

}  // namespace restore
