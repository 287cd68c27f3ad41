// Installation discovery against laid installations: natively on a
// temporary drive, under Wine with the real registry and version API.
#include "app/discovery.h"

#include <gtest/gtest.h>

#include "demo/installation.h"
#include "store/globals.h"
#include "tests/support/fixture_drive.h"

namespace {

using demo::Exe;
using demo::Installation;

constexpr char kMissingMessage[] =
    "Can't find an installation of Lumen ZAN or lumen Larkbook. This application will exit";

class DiscoveryTest : public okapi_test::MachineTest {
 protected:
  void Lay(const Installation& installation) {
    auto status = demo::LayInstallation(installation);
    ASSERT_TRUE(status) << status.reason;
  }
  // Runs the check with a stale edition flag, so a check that forgets to
  // reset it shows.
  bool Check() {
    told.clear();
    g_bVersion35 = true;
    return !CheckInstallation([this](const std::string& text) { told.push_back(text); });
  }
  std::vector<std::string> told;
};

// The notebook's executable is taken when it is there, even when only the
// desktop one could be read; its file version decides the edition.
TEST_F(DiscoveryTest, FileVersionDecidesTheEditionAndItsAbsenceEndsTheRun) {
  const char* const llb3 = "c:\\zantools\\zanhelp\\llb3.exe";
  const struct {
    const char* name;
    std::optional<Exe> llb3, lzan;
    const char* program;
    bool missing;
    bool version35;
  } rows[] = {
      {"3.5.0.0", Exe::V3_5_0_0, std::nullopt, llb3, false, true},
      {"3.5.2.7", Exe::V3_5_2_7, std::nullopt, llb3, false, true},
      {"3.0.1.0", Exe::V3_0_1_0, std::nullopt, llb3, false, false},
      {"3.6.0.0", Exe::V3_6_0_0, std::nullopt, llb3, false, false},
      {"no version resource", Exe::NoVersionResource, std::nullopt, llb3, true, false},
      {"both", Exe::V3_0_1_0, Exe::V3_5_0_0, llb3, false, false},
      {"desktop only", std::nullopt, Exe::V3_5_2_7, "c:\\zantools\\zanhelp\\lzan.exe", false, true},
      {"notebook without version", Exe::NoVersionResource, Exe::V3_5_0_0, llb3, true, false},
      {"neither", std::nullopt, std::nullopt, "c:\\zantools\\zanhelp\\no file found", true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    Installation installation;
    installation.llb3 = row.llb3;
    installation.lzan = row.lzan;
    Lay(installation);

    EXPECT_EQ(row.missing, Check());
    EXPECT_EQ(row.program, g_strProgramExe);
    EXPECT_EQ(row.version35, g_bVersion35);
    EXPECT_EQ(row.missing ? std::vector<std::string>{kMissingMessage} : std::vector<std::string>{},
              told);
  }
}

// The registry's directory holds the help application's files when its value
// can be read whole; the tool's own files always stay in the fixed directory.
TEST_F(DiscoveryTest, RegistryNamesTheInstallationElseTheFixedDirectoryIsTaken) {
  const std::string fixed = "c:\\zantools\\zanhelp\\", lumen = "c:\\Program Files\\Lumen\\";
  // 258 characters and the terminating zero need 259 bytes; the separator
  // added afterwards makes 259 characters.
  const std::string longest = "c:\\" + std::string(255, 'y');
  const struct {
    const char* name;
    const char* valueName;  // null: no key
    std::string value;
    std::string installDir;
    bool laid = true;  // else nothing is installed there
  } rows[] = {
      {"no key", nullptr, "", fixed},
      {"with separator", "InstallDir", lumen, lumen},
      // Mended: the file names would otherwise be glued to "Lumen".
      {"without separator", "InstallDir", "c:\\Program Files\\Lumen", lumen},
      {"other case", "InstallDir", "C:\\PROGRAM FILES\\LUMEN\\", "C:\\PROGRAM FILES\\LUMEN\\"},
      {"value missing", "InstallPath", lumen, fixed},
      // Mended: an empty value would put the files at the drive's root.
      {"value empty", "InstallDir", "", fixed},
      // 260 bytes with the terminating zero do not fit the buffer.
      {"value too long", "InstallDir", "c:\\" + std::string(256, 'x') + "\\", fixed},
      {"longest value that fits", "InstallDir", longest, longest + "\\", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    Installation installation;
    if (row.laid) {
      installation.directory = row.installDir;
    } else {
      installation.llb3.reset();
    }
    Lay(installation);
    if (row.valueName) {
      ASSERT_TRUE(platform::Os().registry->CreateAndSet(
          platform::Hive::LocalMachine, demo::kInstallKey, row.valueName, row.value));
    }

    EXPECT_EQ(!row.laid, Check());
    EXPECT_EQ(row.installDir, g_strInstallDir);
    EXPECT_EQ(row.installDir + (row.laid ? "llb3.exe" : "no file found"), g_strProgramExe);
    if (row.laid) {
      EXPECT_EQ(row.installDir + "lumen-config.ini", g_strConfigFile);
      EXPECT_EQ(row.installDir + "lumen-text.ini", g_strTextFile);
      EXPECT_EQ(row.installDir + "machine-specifics.csv", g_strCsvFile);
      EXPECT_TRUE(platform::Os().files->Exists(g_strConfigFile));
    }
    EXPECT_EQ("c:\\zantools\\zanhelp", g_strHelpRoot);
    EXPECT_EQ(fixed + "okapi.ini", g_strMapFile);
    EXPECT_EQ(fixed + "customization\\docs\\llb3cust.chm", g_strHelpFile);
  }
}

}  // namespace
