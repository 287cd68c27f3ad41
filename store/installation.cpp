#include "store/installation.h"

#include "platform/platform.h"
#include "store/globals.h"

namespace layout {

std::string CustomizationDir() { return g_strHelpRoot + "\\customization"; }
std::string BackupDir() { return CustomizationDir() + "\\backup"; }
std::string PackageDir() { return CustomizationDir() + "\\package"; }
std::string InBackup(std::string_view name) { return BackupDir() + "\\" + std::string(name); }
std::string InCustomization(std::string_view name) {
  return CustomizationDir() + "\\" + std::string(name);
}
std::string ButtonScriptPath() { return g_strHelpRoot + "\\" + kButtonScript; }

std::array<DataFile, 3> BackedUpFiles() {
  return {{{kMachineTable, &g_strCsvFile},
           {kConfigFile, &g_strConfigFile},
           {kTextFile, &g_strTextFile}}};
}

std::optional<std::string> ReadButtonApplication() {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                           platform::Access::Read);
  if (!key) return std::nullopt;
  return key->QueryString(kButtonValue, kButtonValueBuffer).value_or("");
}

bool WriteButtonApplication(const std::string& path) {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                           platform::Access::Write);
  return key && key->SetString(kButtonValue, path);
}

}  // namespace layout
