#include "app/discovery.h"

#include "store/globals.h"
#include "platform/platform.h"

namespace {

constexpr char kInstallKey[] = "Software\\ZAN\\LumenZAN";
constexpr std::size_t kInstallDirBuffer = 260;  // MAX_PATH
constexpr char kHelpRoot[] = "c:\\zantools\\zanhelp";
constexpr std::uint32_t kVersion35 = 0x30005;  // major 3, minor 5

std::string InstallDirectory() {
  std::string directory;
  if (auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kInstallKey,
                                               platform::Access::Read)) {
    directory = key->QueryString("InstallDir", kInstallDirBuffer).value_or("");
  }
  if (directory.empty()) return std::string(kHelpRoot) + "\\";
  // File names are appended to it bare: without the separator they would be
  // glued to the directory's own name.
  if (directory.back() != '\\' && directory.back() != '/') directory += '\\';
  return directory;
}

}  // namespace

void DiscoverInstallation() {
  const std::string directory = InstallDirectory();
  g_strCsvFile = directory + "machine-specifics.csv";
  g_strConfigFile = directory + "lumen-config.ini";
  g_strTextFile = directory + "lumen-text.ini";
  g_strInstallDir = directory;
  g_strHelpRoot = kHelpRoot;
  g_strMapFile = g_strHelpRoot + "\\okapi.ini";
  g_strHelpFile = g_strHelpRoot + "\\customization\\docs\\llb3cust.chm";

  auto& files = *platform::Os().files;
  if (files.Exists(directory + "llb3.exe")) {
    g_strProgramExe = directory + "llb3.exe";
  } else if (files.Exists(directory + "lzan.exe")) {
    g_strProgramExe = directory + "lzan.exe";
  } else {
    g_strProgramExe = directory + "no file found";
  }
}

bool CheckInstallation(const std::function<void(const std::string&)>& tell) {
  DiscoverInstallation();
  g_bVersion35 = false;
  auto info = platform::Os().versions->Read(g_strProgramExe);
  if (!info) {
    tell("Can't find an installation of Lumen ZAN or lumen Larkbook. This application will exit");
    return true;
  }
  g_bVersion35 = info->fixed && info->fixed->fileVersionMS == kVersion35;
  return false;
}
