#include "app/discovery.h"

#include "platform/platform.h"
#include "store/globals.h"
#include "store/installation.h"

namespace {

constexpr std::size_t kInstallDirBuffer = 260;  // MAX_PATH
constexpr std::uint32_t kVersion35 = 0x30005;   // major 3, minor 5

std::string InstallDirectory() {
  std::string directory;
  if (auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, layout::kInstallKey,
                                               platform::Access::Read)) {
    directory = key->QueryString(layout::kInstallDirValue, kInstallDirBuffer).value_or("");
  }
  if (directory.empty()) return std::string(layout::kHelpRoot) + "\\";
  // File names are appended to it bare: without the separator they would be
  // glued to the directory's own name.
  if (directory.back() != '\\' && directory.back() != '/') directory += '\\';
  return directory;
}

}  // namespace

void DiscoverInstallation() {
  const std::string directory = InstallDirectory();
  g_strCsvFile = directory + layout::kMachineTable;
  g_strConfigFile = directory + layout::kConfigFile;
  g_strTextFile = directory + layout::kTextFile;
  g_strInstallDir = directory;
  g_strHelpRoot = layout::kHelpRoot;
  g_strMapFile = g_strHelpRoot + "\\" + layout::kMapFile;
  g_strHelpFile = g_strHelpRoot + "\\" + layout::kHelpFile;

  auto& files = *platform::Os().files;
  if (files.Exists(directory + layout::kNotebookExe)) {
    g_strProgramExe = directory + layout::kNotebookExe;
  } else if (files.Exists(directory + layout::kDesktopExe)) {
    g_strProgramExe = directory + layout::kDesktopExe;
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
    return false;
  }
  g_bVersion35 = info->fixed && info->fixed->fileVersionMS == kVersion35;
  return true;
}
