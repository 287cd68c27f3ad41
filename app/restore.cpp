#include "app/restore.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "app/dated_log.h"
#include "app/discovery.h"
#include "app/okapi_app.h"
#include "framework/framework.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/profile.h"

namespace restore {
namespace {

std::string RestoreLog() { return layout::InCustomization("restore.log"); }

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
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
  std::string text = "OKAPI will put back the first contents of these files, as kept in " +
                     layout::BackupDir() + ":\n";
  std::vector<std::string> notKept;
  for (const FilePlan& file : files) {
    if (!file.inBackup) {
      notKept.push_back(file.name);
      continue;
    }
    const bool table = file.name == layout::kMachineTable;
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
  for (const auto& [name, target] : layout::BackedUpFiles()) {
    FilePlan file{name, layout::InBackup(name), *target};
    file.inBackup = files.Exists(file.backup) && !files.IsDirectory(file.backup);
    file.unreadable = files.Exists(file.target) && !files.ReadFile(file.target);
    if (file.inBackup && !file.unreadable) {
      std::string was = files.ReadFile(file.backup).value_or("");
      std::string now = files.ReadFile(file.target).value_or("");
      file.differing =
          static_cast<int>(file.name == layout::kMachineTable
                               ? store::DifferingLines(was, now).size()
                               : store::DifferingEntries(std::move(was), std::move(now)).size());
    }
    plan.files.push_back(std::move(file));
  }
  // The backup's script names the application the button had at the first run.
  const std::string script = layout::InBackup(layout::kButtonScript);
  if (auto current = layout::ReadButtonApplication(); current && files.Exists(script)) {
    const std::string first = store::ReadString(
        layout::kButtonScriptSection, layout::kButtonScriptKey, "", store::kWholeValue, script);
    if (!first.empty()) {
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
  text += "\n\nThis is recorded in " + RestoreLog() + ".";
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
    if (layout::WriteButtonApplication(*plan.buttonApplication)) {
      outcome.restored.push_back("the Larkbook button");
    } else {
      outcome.failed.push_back("the Larkbook button (Windows refused the registry change)");
    }
  }

  const std::string log = RestoreLog();
  std::string entry = "restored: " + Joined(outcome.restored);
  if (!outcome.missing.empty()) entry += "; not in the backup: " + Joined(outcome.missing);
  if (!outcome.failed.empty()) entry += "; failed: " + Joined(outcome.failed);
  if (std::string why; !AppendDatedLines(log, {entry}, &why)) {
    outcome.failed.push_back("restore.log (" + why + ")");
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
  if (!CheckInstallation([](const std::string& text) { AfxMessageBox(text); })) return 1;
  const Plan plan = MakePlan();
  if (!plan.HasBackup()) {
    AfxMessageBox("There is no backup to restore: " + layout::BackupDir() +
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
