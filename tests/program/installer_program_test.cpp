// The shipped installer run silently, the installed wizard started on the
// demo installation, and the uninstaller, which leaves the user's backup and
// package alone.
#include <cstring>
#include <optional>

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

// The 64-bit installer registers itself in the 64-bit view.
bool UninstallKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// A PE file's COFF symbol table, where MinGW keeps symbols and the names of
// its debug sections; nullopt when the file is no PE image.
std::optional<IMAGE_FILE_HEADER> CoffHeaderOf(const std::string& path) {
  const auto bytes = platform::Os().files->ReadFile(path);
  if (!bytes || bytes->size() < sizeof(IMAGE_DOS_HEADER)) return std::nullopt;
  IMAGE_DOS_HEADER dos{};
  std::memcpy(&dos, bytes->data(), sizeof dos);
  const auto at = static_cast<std::size_t>(dos.e_lfanew);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || at + 4 + sizeof(IMAGE_FILE_HEADER) > bytes->size() ||
      bytes->compare(at, 4, std::string("PE\0\0", 4)) != 0)
    return std::nullopt;
  IMAGE_FILE_HEADER coff{};
  std::memcpy(&coff, bytes->data() + at + 4, sizeof coff);
  return coff;
}

// Runs a program to its end; its exit code, or STILL_ACTIVE after a minute.
DWORD RunToEnd(const std::string& program, const std::string& arguments) {
  Program run(program, arguments);
  EXPECT_TRUE(run.Started()) << program;
  return run.WaitExit(60000);
}

class InstallerProgramTest : public ProgramTest {
 protected:
  void TearDown() override {
    // A failed test must not leave the program installed in the shared prefix.
    if (Exists(kUninstaller)) RunToEnd(kUninstaller, " /S _?=" + kInstallDir);
    (void)demo::RemoveTree(StartMenuFolder());
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY, 0);
    ProgramTest::TearDown();
  }
};

TEST_F(InstallerProgramTest, InstallsRunsAndUninstallsKeepingBackupAndPackage) {
  ASSERT_EQ(0u, RunToEnd(FromHost(OKAPI_INSTALLER_HOST_PATH), " /S"));
  const auto shipped = CoffHeaderOf(kInstalledProgram);
  ASSERT_TRUE(shipped) << "no program installed";
  EXPECT_EQ(0u, shipped->NumberOfSymbols) << "shipped with symbols";
  EXPECT_EQ(0u, shipped->PointerToSymbolTable);
  EXPECT_TRUE(Exists(kInstallDir + "\\docs\\llb3cust.chm")) << "Help would open nothing";
  EXPECT_TRUE(Exists(StartMenuFolder() + "\\OKAPI Customization Tool.lnk"));
  EXPECT_TRUE(UninstallKeyExists());

  {
    Program installed(kInstalledProgram);
    HWND wizard = Start(installed);
    ASSERT_TRUE(wizard);
    ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_INTRO));
    Screenshot(wizard, "installed-features");
    Cancel(wizard, installed);
  }
  // What the wizard made at its start is the user's from now on.
  ASSERT_TRUE(Exists(kInstallDir + "\\backup\\lumen-text.ini"));
  ASSERT_TRUE(Exists(kInstallDir + "\\package\\images\\small\\spacer.gif"));

  // In place (_?=), so that it has ended when Run returns.
  ASSERT_EQ(0u, RunToEnd(kUninstaller, " /S _?=" + kInstallDir));
  EXPECT_FALSE(Exists(kInstalledProgram));
  EXPECT_FALSE(Exists(kInstallDir + "\\docs"));
  EXPECT_FALSE(Exists(StartMenuFolder()));
  EXPECT_FALSE(UninstallKeyExists());
  EXPECT_TRUE(Exists(kInstallDir + "\\backup\\lumen-text.ini"));
  EXPECT_TRUE(Exists(kInstallDir + "\\package\\images\\small\\spacer.gif"));
}

}  // namespace
