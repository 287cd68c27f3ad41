// Installation discovery against laid installations: natively on a
// temporary drive, under Wine with the real registry and version API.
#include "app/discovery.h"

#include <gtest/gtest.h>

#include "store/globals.h"
#include "demo/installation.h"
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
    return CheckInstallation([this](const std::string& text) { told.push_back(text); });
  }
  std::vector<std::string> told;
};

TEST_F(DiscoveryTest, FileVersionDecidesTheEditionAndItsAbsenceEndsTheRun) {
  const struct {
    const char* name;
    std::optional<Exe> exe;
    bool missing;
    bool version35;
  } rows[] = {
      {"3.5.0.0", Exe::V3_5_0_0, false, true},
      {"3.5.2.7", Exe::V3_5_2_7, false, true},
      {"3.0.1.0", Exe::V3_0_1_0, false, false},
      {"3.6.0.0", Exe::V3_6_0_0, false, false},
      {"no version resource", Exe::NoVersionResource, true, false},
      {"no executable", std::nullopt, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    Installation installation;
    installation.llb3 = row.exe;
    Lay(installation);

    EXPECT_EQ(row.missing, Check());
    EXPECT_EQ(row.version35, g_bVersion35);
    if (row.missing) {
      EXPECT_EQ(std::vector<std::string>{kMissingMessage}, told);
    } else {
      EXPECT_TRUE(told.empty());
    }
  }
}

TEST_F(DiscoveryTest, NotebookExecutableWinsOverTheDesktopOne) {
  const struct {
    const char* name;
    std::optional<Exe> llb3, lzan;
    const char* program;
    bool missing;
    bool version35;
  } rows[] = {
      {"both", Exe::V3_0_1_0, Exe::V3_5_0_0, "c:\\zantools\\zanhelp\\llb3.exe", false, false},
      {"desktop only", std::nullopt, Exe::V3_5_2_7, "c:\\zantools\\zanhelp\\lzan.exe", false, true},
      // The notebook's file is taken even when only the other one could be read.
      {"notebook without version", Exe::NoVersionResource, Exe::V3_5_0_0,
       "c:\\zantools\\zanhelp\\llb3.exe", true, false},
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
  }
}

TEST_F(DiscoveryTest, WithoutRegistryKeyEverythingLiesUnderTheFixedDirectory) {
  Lay(Installation{});
  ASSERT_FALSE(Check());
  EXPECT_EQ("c:\\zantools\\zanhelp\\", g_strInstallDir);
  EXPECT_EQ("c:\\zantools\\zanhelp\\machine-specifics.csv", g_strCsvFile);
  EXPECT_EQ("c:\\zantools\\zanhelp\\lumen-config.ini", g_strConfigFile);
  EXPECT_EQ("c:\\zantools\\zanhelp\\lumen-text.ini", g_strTextFile);
  EXPECT_EQ("c:\\zantools\\zanhelp\\llb3.exe", g_strProgramExe);
  EXPECT_EQ("c:\\zantools\\zanhelp", g_strHelpRoot);
  EXPECT_EQ("c:\\zantools\\zanhelp\\okapi.ini", g_strMapFile);
  EXPECT_EQ("c:\\zantools\\zanhelp\\customization\\docs\\llb3cust.chm", g_strHelpFile);
}

TEST_F(DiscoveryTest, RegistryNamesTheInstallationButNotTheToolsOwnFiles) {
  const struct {
    const char* name;
    std::string value;
    std::string installDir;
  } rows[] = {
      {"with separator", "c:\\Program Files\\Lumen\\", "c:\\Program Files\\Lumen\\"},
      // Mended: the file names would otherwise be glued to "Lumen".
      {"without separator", "c:\\Program Files\\Lumen", "c:\\Program Files\\Lumen\\"},
      {"other case", "C:\\PROGRAM FILES\\LUMEN\\", "C:\\PROGRAM FILES\\LUMEN\\"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    Installation installation;
    installation.registryInstallDir = row.value;
    installation.directory = "c:\\Program Files\\Lumen\\";
    Lay(installation);

    EXPECT_FALSE(Check());
    EXPECT_TRUE(g_bVersion35);
    EXPECT_EQ(row.installDir, g_strInstallDir);
    EXPECT_EQ(row.installDir + "lumen-config.ini", g_strConfigFile);
    EXPECT_EQ(row.installDir + "lumen-text.ini", g_strTextFile);
    EXPECT_EQ(row.installDir + "machine-specifics.csv", g_strCsvFile);
    EXPECT_EQ(row.installDir + "llb3.exe", g_strProgramExe);
    EXPECT_TRUE(platform::Os().files->Exists(g_strConfigFile));
    EXPECT_EQ("c:\\zantools\\zanhelp\\okapi.ini", g_strMapFile);
  }
}

TEST_F(DiscoveryTest, UnreadableRegistryValueFallsBackToTheFixedDirectory) {
  const struct {
    const char* name;
    std::string valueName;
    std::string value;
  } rows[] = {
      {"value missing", "InstallPath", "c:\\Program Files\\Lumen\\"},
      // Mended: an empty value would put the files at the drive's root.
      {"value empty", "InstallDir", ""},
      // 260 bytes with the terminating zero do not fit the buffer.
      {"value too long", "InstallDir", "c:\\" + std::string(256, 'x') + "\\"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    Lay(Installation{});
    ASSERT_TRUE(platform::Os().registry->CreateAndSet(platform::Hive::LocalMachine,
                                                      demo::kInstallKey, row.valueName, row.value));
    EXPECT_FALSE(Check());
    EXPECT_EQ("c:\\zantools\\zanhelp\\", g_strInstallDir);
    EXPECT_EQ("c:\\zantools\\zanhelp\\llb3.exe", g_strProgramExe);
  }
}

TEST_F(DiscoveryTest, LongestValueThatFitsTheBufferIsTaken) {
  // 258 characters and the terminating zero need 259 bytes; the separator
  // added afterwards makes 259 characters.
  const std::string directory = "c:\\" + std::string(255, 'y');
  ASSERT_EQ(258u, directory.size());
  Installation installation;
  installation.registryInstallDir = directory;
  installation.llb3.reset();
  Lay(installation);

  EXPECT_TRUE(Check());  // nothing installed there
  EXPECT_EQ(directory + "\\", g_strInstallDir);
  EXPECT_EQ(directory + "\\no file found", g_strProgramExe);
}

}  // namespace
