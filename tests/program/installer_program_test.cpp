// The shipped installer run silently, the installed wizard taken through a
// journey to Finish on the demo installation, and the uninstaller, which
// removes what was installed and leaves the user's backup and package alone.
#include <cstring>
#include <optional>
#include <set>

#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

const std::string kInstallDir = "c:\\zantools\\zanhelp\\customization";
const std::string kInstalledProgram = kInstallDir + "\\okapi.exe";
const std::string kUninstaller = kInstallDir + "\\uninstall.exe";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OKAPI";

std::string StartMenuFolder() {
  char data[MAX_PATH] = {};
  GetEnvironmentVariableA("ProgramData", data, sizeof data);
  return std::string(data) + "\\Microsoft\\Windows\\Start Menu\\Programs\\OKAPI";
}

bool Exists(const std::string& path) { return platform::Os().files->Exists(path); }

// The installer has the program's bits, so it registers itself in the
// registry view this test reads too, where Apps and Features looks for it.
constexpr WORD kShippedMachine =
    sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
std::optional<std::string> Uninstall(const char* value) {
  DWORD data[128] = {};  // a number, or text
  DWORD size = sizeof data - 1, type = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, value, RRF_RT_ANY, &type, data, &size))
    return std::nullopt;
  return type == REG_DWORD ? std::to_string(data[0]) : reinterpret_cast<const char*>(data);
}

// The version resource's FileVersion text of a program.
std::string VersionOf(const std::string& path) {
  std::string bytes(GetFileVersionInfoSizeA(path.c_str(), nullptr), '\0');
  char* text = nullptr;
  UINT length = 0;
  if (bytes.empty() ||
      !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(bytes.size()), bytes.data()) ||
      !VerQueryValueA(bytes.data(), "\\StringFileInfo\\040904b0\\FileVersion",
                      reinterpret_cast<void**>(&text), &length))
    return "<none>";
  return text;
}

// A PE file's COFF header, where MinGW counts symbols and the names of its
// debug sections; all zero when the file is no PE image.
IMAGE_FILE_HEADER CoffHeaderOf(const std::string& path) {
  const std::string bytes = platform::Os().files->ReadFile(path).value_or("");
  IMAGE_FILE_HEADER coff{};
  LONG at = 0;
  if (bytes.size() >= sizeof(IMAGE_DOS_HEADER)) std::memcpy(&at, bytes.data() + 0x3C, sizeof at);
  if (at > 0 && bytes.size() >= at + 4 + sizeof coff && bytes.compare(at, 4, "PE\0\0", 4) == 0)
    std::memcpy(&coff, bytes.data() + at + 4, sizeof coff);
  return coff;
}

class InstallerProgramTest : public ProgramTest {
 protected:
  void TearDown() override {
    // A failed test must not leave the program installed in the shared prefix.
    if (Exists(kUninstaller)) RunToEnd(kUninstaller, " /S _?=" + kInstallDir);
    (void)demo::RemoveTree(StartMenuFolder());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    ProgramTest::TearDown();
  }
};

TEST_F(InstallerProgramTest, InstallsRunsAJourneyAndUninstallsWhatItInstalled) {
  const std::string installer = FromHost(OKAPI_INSTALLER_HOST_PATH);
  const auto before = FilesUnder(kInstallDir);
  ASSERT_EQ(0u, RunToEnd(installer, " /S"));
  const IMAGE_FILE_HEADER shipped = CoffHeaderOf(kInstalledProgram);
  ASSERT_EQ(kShippedMachine, shipped.Machine) << "no program installed, or not for this machine";
  EXPECT_EQ(0u, shipped.NumberOfSymbols) << "shipped with symbols";
  EXPECT_TRUE(Exists(kInstallDir + "\\docs\\llb3cust.chm")) << "Help would open nothing";
  EXPECT_TRUE(Exists(StartMenuFolder() + "\\OKAPI Customization Tool.lnk"));
  const auto shortcuts = FilesUnder(StartMenuFolder());
  std::set<std::string> installed;
  for (const auto& [file, bytes] : FilesUnder(kInstallDir))
    if (!before.contains(file)) installed.insert(kInstallDir + "\\" + file);
  EXPECT_EQ(3u, installed.size()) << "program, help file and uninstaller";

  // One version throughout: program, installer and Apps and Features.
  const std::string version = VersionOf(kInstalledProgram);
  EXPECT_NE("<none>", version);
  EXPECT_EQ(version, VersionOf(installer));
  EXPECT_EQ(version, Uninstall("DisplayVersion").value_or("<none>"));
  EXPECT_EQ(kShippedMachine, CoffHeaderOf(installer).Machine);
  EXPECT_TRUE(Uninstall("DisplayName") && Uninstall("Publisher"));
  EXPECT_GE(std::stoul(Uninstall("EstimatedSize").value_or("0")), 100u) << "size in KB";
  // Windows paths compare without case; NSIS writes the drive letter upper-case.
  EXPECT_EQ(0, _stricmp(("\"" + kUninstaller + "\" /S").c_str(),
                        Uninstall("QuietUninstallString").value_or("").c_str()));

  ASSERT_NO_FATAL_FAILURE(RunJourney("v35-notebook-visual-map", kInstalledProgram));
  // What the wizard made is the user's from now on.
  const std::string made[] = {kInstallDir + "\\backup\\lumen-text.ini",
                              kInstallDir + "\\package\\reg\\lbbutton.reg"};
  for (const auto& file : made) ASSERT_TRUE(Exists(file)) << file;

  // In place (_?=), so that it has ended when Run returns; it cannot remove
  // itself then, so it is the one file left.
  ASSERT_EQ(0u, RunToEnd(kUninstaller, " /S _?=" + kInstallDir));
  for (const auto& file : installed)
    EXPECT_EQ(file.ends_with("\\uninstall.exe"), Exists(file)) << file;
  for (const auto& [file, bytes] : shortcuts) EXPECT_FALSE(Exists(StartMenuFolder() + "\\" + file));
  EXPECT_FALSE(Exists(StartMenuFolder()));
  EXPECT_FALSE(Uninstall("DisplayName"));
  for (const auto& file : made) EXPECT_TRUE(Exists(file)) << file;
}

}  // namespace
