// Where the help application and this tool keep their files, and the
// registry values that say so: the one place that spells them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace layout {

// The help application's installation, as its setup records it.
inline constexpr char kInstallKey[] = "Software\\ZAN\\LumenZAN";
inline constexpr char kInstallDirValue[] = "InstallDir";
// The tool's own files live here whatever the registry says.
inline constexpr char kHelpRoot[] = "c:\\zantools\\zanhelp";
// The notebook's executable, else the desktop one.
inline constexpr char kNotebookExe[] = "llb3.exe";
inline constexpr char kDesktopExe[] = "lzan.exe";

// The help application's data files, in its installation directory.
inline constexpr char kMachineTable[] = "machine-specifics.csv";
inline constexpr char kConfigFile[] = "lumen-config.ini";
inline constexpr char kTextFile[] = "lumen-text.ini";

// The tool's files below the help root.
inline constexpr char kMapFile[] = "okapi.ini";
inline constexpr char kButtonScript[] = "lbbutton.reg";
inline constexpr char kHelpFile[] = "customization\\docs\\llb3cust.chm";
inline constexpr char kSpacer[] = "spacer.gif";
// The colour page's palette picture, in the customization folder.
inline constexpr char kPaletteBitmap[] = "white.bmp";

// customization, its backup of first contents and its package, below the
// help root; no trailing backslash.
std::string CustomizationDir();
std::string BackupDir();
std::string PackageDir();
// A file of the backup or of the customization folder by its bare name.
std::string InBackup(std::string_view name);
std::string InCustomization(std::string_view name);
// The registry script the button page and the backup write.
std::string ButtonScriptPath();

// The package's folders, relative to it.
inline constexpr char kPackageChms[] = "\\chms";
inline constexpr char kPackageImages[] = "\\images";
inline constexpr char kPackageReg[] = "\\reg";
// Both the installation and the package keep images in these two sizes.
inline constexpr char kSmallImages[] = "images\\small";
inline constexpr char kLargeImages[] = "images\\large";

// A data file the backup keeps, with the path discovery found for it.
struct DataFile {
  const char* name;
  const std::string* path;
};
// Machine table, config file, text file: the order backup and /restore take.
std::array<DataFile, 3> BackedUpFiles();

// The notebook's hardware button: the application it starts.
inline constexpr char kButtonKey[] = "Software\\ZAN\\LBHOTKEY\\8001";
inline constexpr char kButtonValue[] = "File";
// Its registry script: this section, this one key (quotes included).
inline constexpr char kButtonScriptSection[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001";
inline constexpr char kButtonScriptKey[] = "\"File\"";
// 255 bytes, the buffer the button page and the first-run backup have always
// read it with: a longer path reads as empty, alike on the page, in the
// backup, in /restore and in the changes report.
inline constexpr std::size_t kButtonValueBuffer = 255;

// nullopt when this computer has no button (no key); empty when the key
// holds no value that fits.
std::optional<std::string> ReadButtonApplication();
// False when Windows refused the key or the value.
[[nodiscard]] bool WriteButtonApplication(const std::string& path);

}  // namespace layout
