#include "store/backup.h"

#include <string_view>

#include "platform/platform.h"
#include "store/globals.h"
#include "store/profile.h"

void BackupHelpFiles() {
  auto& files = *platform::Os().files;
  const std::string backup = g_strHelpRoot + "\\customization\\backup";
  // Existing directories are the normal case from the second run on.
  (void)files.MakeDirectory(g_strHelpRoot + "\\customization");
  (void)files.MakeDirectory(backup);

  // Fail-if-exists keeps the first run's copies; a missing source simply
  // has no backup.
  (void)files.Copy(g_strCsvFile, backup + "\\machine-specifics.csv", true);
  (void)files.Copy(g_strConfigFile, backup + "\\lumen-config.ini", true);
  (void)files.Copy(g_strTextFile, backup + "\\lumen-text.ini", true);

  std::string application;
  if (auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                               platform::Access::Read)) {
    application = key->QueryString("File", 255).value_or("");
  }
  // The store shows a failed write to the user.
  (void)WriteButtonScript(g_strHelpRoot + "\\lbbutton.reg", application);
  // The backup keeps the path as /restore and the changes report read it,
  // backslashes single, as earlier versions wrote it: it is a record for
  // them, not a script to import.
  const std::string kept = backup + "\\lbbutton.reg";
  if (!files.Exists(kept)) {
    (void)files.WriteFileAtomic(kept, "[" + std::string(kButtonScriptSection) + "]\r\n" +
                                          kButtonScriptKey + "=\"" + application + "\"\r\n");
  }
}

namespace {

constexpr std::string_view kScriptHeader = "REGEDIT4\r\n\r\n";

std::string DoubleBackslashes(const std::string& path) {
  std::string out;
  for (char c : path) {
    out += c;
    if (c == '\\') out += c;
  }
  return out;
}

}  // namespace

platform::Status WriteButtonScript(const std::string& path, const std::string& application) {
  auto status = store::WriteString(kButtonScriptSection, kButtonScriptKey,
                                   "\"" + DoubleBackslashes(application) + "\"", path);
  if (!status) return status;
  // After the entry: the store may write the file back from what it read
  // before. The profile functions skip lines before the first section.
  auto& files = *platform::Os().files;
  const auto text = files.ReadFile(path);
  if (!text || text->starts_with("REGEDIT4\r\n") || text->starts_with("REGEDIT4\n")) return status;
  // The file was just written: a failure here would be a race, and the
  // script still gives the button its application to INI readers.
  (void)files.WriteFileAtomic(path, std::string(kScriptHeader) + *text);
  return status;
}
