#include "store/backup.h"

#include "app/globals.h"
#include "platform/platform.h"
#include "store/profile.h"

void BackupHelpFiles() {
  auto& files = *platform::Os().files;
  const std::string backup = g_strHelpRoot + "\\customization\\backup";
  // Existing directories are the normal case from the second run on.
  (void)files.CreateDirectory(g_strHelpRoot + "\\customization");
  (void)files.CreateDirectory(backup);

  // Fail-if-exists keeps the first run's copies; a missing source simply
  // has no backup.
  (void)files.CopyFile(g_strCsvFile, backup + "\\machine-specifics.csv", true);
  (void)files.CopyFile(g_strConfigFile, backup + "\\lumen-config.ini", true);
  (void)files.CopyFile(g_strTextFile, backup + "\\lumen-text.ini", true);

  std::string application;
  if (auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                               platform::Access::Read)) {
    application = key->QueryString("File", 255).value_or("");
  }
  const std::string script = g_strHelpRoot + "\\lbbutton.reg";
  // The store shows a failed write to the user; the copy below then keeps
  // whatever script was there.
  (void)store::WriteProfileString(kButtonScriptSection, kButtonScriptKey, "\"" + application + "\"",
                                  script);
  (void)files.CopyFile(script, backup + "\\lbbutton.reg", true);
}
