#include "store/backup.h"

#include "store/globals.h"
#include "platform/platform.h"
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
  const std::string script = g_strHelpRoot + "\\lbbutton.reg";
  // The store shows a failed write to the user; the copy below then keeps
  // whatever script was there.
  (void)store::WriteString(kButtonScriptSection, kButtonScriptKey, "\"" + application + "\"",
                                  script);
  (void)files.Copy(script, backup + "\\lbbutton.reg", true);
}
