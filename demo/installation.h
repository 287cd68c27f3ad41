// Lays a realistic installation of the help application through the
// platform services, so the same code serves the run command's demo prefix,
// native tests (a temporary drive) and tests under Wine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace demo {

// Real PE executables with a version resource (or none), built with the
// MinGW tools and embedded, identical in both builds.
enum class Exe { V3_5_0_0, V3_5_2_7, V3_0_1_0, V3_6_0_0, NoVersionResource };
std::string_view ExecutableBytes(Exe exe);

inline constexpr char kFixedInstallDir[] = "c:\\zantools\\zanhelp\\";
inline constexpr char kInstallKey[] = "Software\\ZAN\\LumenZAN";
inline constexpr char kHotkeyKey[] = "Software\\ZAN\\LBHOTKEY\\8001";
inline constexpr char kDemoHotkeyFile[] = "c:\\Program Files\\Lumen\\lbtool.exe";

struct Installation {
  // The registry value InstallDir; nullopt leaves the key out, so the
  // program falls back to the fixed directory.
  std::optional<std::string> registryInstallDir;
  // Where the files go (created with its parents).
  std::string directory = kFixedInstallDir;
  std::optional<Exe> llb3 = Exe::V3_5_0_0;
  std::optional<Exe> lzan;
  // The hardware-button key's value "File"; nullopt leaves the key out.
  std::optional<std::string> hotkeyFile = std::string(kDemoHotkeyFile);
  // The machine table's [MENU1] usesVisualMap; nullopt leaves the section out.
  std::optional<bool> usesVisualMap = true;
  // Configuration, text and machine files and the image folders.
  bool dataFiles = true;
  // A compiled help file to put where the program opens it; nullopt: none.
  std::optional<std::string> helpFile;
};

inline constexpr char kHelpFile[] = "c:\\zantools\\zanhelp\\customization\\docs\\llb3cust.chm";

// Where the demo files keep their items (slots are deliberately not the
// first ones, so nothing works by accident).
namespace slots {
inline constexpr char kTitle[] = "TEXT1";
inline constexpr char kMenu1Title[] = "TEXT2";
inline constexpr char kMenu2Title[] = "TEXT3";
inline constexpr char kMenu3Title[] = "TEXT4";
inline constexpr char kSystemInformation[] = "TEXT5";
inline constexpr char kMenu1AltKey[] = "TEXT8";
inline constexpr char kMenu2AltKey[] = "TEXT9";
inline constexpr char kMenu3AltKey[] = "TEXT11";
inline constexpr char kAboutAltKey[] = "TEXT12";
inline constexpr char kMenu4Title[] = "TEXT14";
inline constexpr char kMenu4AltKey[] = "TEXT15";
inline constexpr char kSysInfo[] = "TEXT17";
inline constexpr char kMoreInformationText[] = "TEXT20";
inline constexpr char kConfigureText[] = "TEXT21";
inline constexpr char kTab1Description[] = "TEXT23";
inline constexpr char kTab2Description[] = "TEXT24";
inline constexpr char kTab3Description[] = "TEXT25";
inline constexpr char kWelcomeIntro[] = "TEXT27";
inline constexpr char kWelcomeClosing[] = "TEXT28";
inline constexpr char kSysInfoAltKey[] = "TEXT30";

inline constexpr char kShowSplash[] = "OPTION3";
inline constexpr char kBackgroundColor[] = "OPTION5";
inline constexpr char kPlaySound[] = "OPTION7";
inline constexpr char kDefaultBackgroundImage[] = "OPTION9";
inline constexpr char kMenu1Background[] = "OPTION11";
inline constexpr char kMenu2Background[] = "OPTION12";
inline constexpr char kMenu3Background[] = "OPTION13";
inline constexpr char kMenu4Background[] = "OPTION14";
inline constexpr char kSplashAnimation[] = "OPTION16";
inline constexpr char kSoundFile[] = "OPTION17";
inline constexpr char kWelcomeImage[] = "OPTION19";
inline constexpr char kDefaultMenu[] = "OPTION22";

inline constexpr char kSmallSysInfoStyle[] = "STYLE7";
inline constexpr char kLargeSysInfoStyle[] = "STYLE9";
}  // namespace slots

// The demo files' contents (CR LF line ends, as the help application ships them).
std::string DemoConfigFile();
std::string DemoTextFile();
std::string DemoMachineTable(std::optional<bool> usesVisualMap);
// The background images of the demo, in images\small and images\large.
inline constexpr const char* kDemoImages[] = {"ocean.jpg", "sky.jpg", "forest.jpg",
                                              "On_the_Web.jpg"};

// Removes c:\zantools and the program's registry keys.
platform::Status ResetMachine();
// Lays the installation; the tool's own folder c:\zantools\zanhelp gets
// spacer.gif and customization\white.bmp in any case.
platform::Status LayInstallation(const Installation& installation);
// The default installation: 3.5.0.0 notebook edition in the fixed directory.
platform::Status LayDemoInstallation();

// Removes a directory with everything below it (read-only files too), or a
// file. True when nothing is left.
bool RemoveTree(platform::FileSystem& files, const std::string& path);
bool RemoveTree(const std::string& path);
// Creates a directory and any missing parents.
platform::Status MakeDirectories(const std::string& path);

}  // namespace demo
