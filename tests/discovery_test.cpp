// Installation discovery against laid installations: natively on a
// temporary drive, under Wine with the real registry and version API.
#include "app/discovery.h"

#include <gtest/gtest.h>

#include "demo/installation.h"
#include "store/globals.h"
#include "tests/support/fixture_drive.h"

namespace {

using demo::Exe;

class DiscoveryTest : public okapi_test::MachineTest {
 protected:
  // Lays the installation and runs the check with a stale edition flag, so a
  // check that forgets to reset it shows: whether the run ends.
  bool Check(const demo::Installation& installation) {
    EXPECT_TRUE(demo::ResetMachine());
    EXPECT_TRUE(demo::LayInstallation(installation));
    told.clear();
    g_bVersion35 = true;
    return !CheckInstallation([this](const std::string& text) { told.push_back(text); });
  }
  std::vector<std::string> told;
};

// The notebook's executable is taken when it is there, even when only the
// desktop one could be read; its file version decides the edition.
TEST_F(DiscoveryTest, FileVersionDecidesTheEditionAndItsAbsenceEndsTheRun) {
  const std::string dir = "c:\\zantools\\zanhelp\\";
  const struct {
    std::optional<Exe> llb3, lzan;
    const char* program;
    bool missing, version35;
  } rows[] = {
      {Exe::V3_5_0_0, std::nullopt, "llb3.exe", false, true},
      {Exe::V3_6_0_0, std::nullopt, "llb3.exe", false, false},
      {Exe::V3_0_1_0, Exe::V3_5_0_0, "llb3.exe", false, false},
      {std::nullopt, Exe::V3_5_2_7, "lzan.exe", false, true},
      {Exe::NoVersionResource, Exe::V3_5_0_0, "llb3.exe", true, false},
      {std::nullopt, std::nullopt, "no file found", true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.program << " " << row.version35);
    demo::Installation installation;
    installation.llb3 = row.llb3;
    installation.lzan = row.lzan;
    EXPECT_EQ(row.missing, Check(installation));
    EXPECT_EQ(dir + row.program, g_strProgramExe);
    EXPECT_EQ(row.version35, g_bVersion35);
    EXPECT_EQ(row.missing ? 1u : 0u, told.size());
  }
  EXPECT_EQ(std::vector<std::string>{"Can't find an installation of Lumen ZAN or lumen Larkbook. "
                                     "This application will exit"},
            told);
}

// The registry's directory holds the help application's files when its value
// can be read whole; the tool's own files always stay in the fixed directory.
TEST_F(DiscoveryTest, RegistryNamesTheInstallationElseTheFixedDirectoryIsTaken) {
  const std::string fixed = "c:\\zantools\\zanhelp\\", lumen = "c:\\Program Files\\Lumen\\";
  const struct {
    std::string value, installDir;
  } rows[] = {
      {lumen, lumen},
      // Mended: the file names would otherwise be glued to "Lumen".
      {"c:\\Program Files\\Lumen", lumen},
      // Mended: an empty value would put the files at the drive's root.
      {"", fixed},
      // 260 bytes with the terminating zero do not fit the buffer.
      {"c:\\" + std::string(256, 'x') + "\\", fixed},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    demo::Installation installation;
    installation.registryInstallDir = row.value;
    installation.directory = row.installDir;
    EXPECT_FALSE(Check(installation));
    EXPECT_EQ(row.installDir + "llb3.exe", g_strProgramExe);
    EXPECT_EQ(row.installDir + "lumen-config.ini", g_strConfigFile);
    EXPECT_EQ(row.installDir + "machine-specifics.csv", g_strCsvFile);
    EXPECT_EQ(fixed + "okapi.ini", g_strMapFile);
  }
}

}  // namespace
