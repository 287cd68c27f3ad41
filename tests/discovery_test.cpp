// Installation discovery against laid installations: natively on a
// temporary drive, under Wine with the real registry and version API.
#include "app/discovery.h"

#include <gtest/gtest.h>

#include <map>

#include "demo/installation.h"
#include "store/globals.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"

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

// The rows of data/discovery.rows: an executable's version decides the
// edition, the registry's directory the help application's files.
TEST_F(DiscoveryTest, FileVersionDecidesTheEditionAndTheRegistryTheDirectory) {
  const std::map<std::string, Exe> exes = {{"3.5.0.0", Exe::V3_5_0_0},
                                           {"3.5.2.7", Exe::V3_5_2_7},
                                           {"3.0.1.0", Exe::V3_0_1_0},
                                           {"3.6.0.0", Exe::V3_6_0_0},
                                           {"none", Exe::NoVersionResource}};
  for (const okapi_test::Row& row : okapi_test::Rows("discovery.rows")) {
    SCOPED_TRACE(row["program"] + row["registry"]);
    demo::Installation installation;
    installation.llb3 = row.Get("llb3") ? std::optional(exes.at(row["llb3"])) : std::nullopt;
    installation.lzan = row.Get("lzan") ? std::optional(exes.at(row["lzan"])) : std::nullopt;
    if (row.Get("registry")) {
      installation.llb3 = Exe::V3_5_0_0;
      installation.registryInstallDir = row["registry"];
      installation.directory = row["directory"];
    }
    EXPECT_EQ(row.Get("ends").has_value(), Check(installation));
    EXPECT_EQ(row.All("ends"), told);
    if (row.Get("program")) {
      EXPECT_EQ(demo::kFixedInstallDir + row["program"], g_strProgramExe);
      EXPECT_EQ(row["edition"] == "3.5", g_bVersion35);
      continue;
    }
    EXPECT_EQ(row["directory"] + "llb3.exe", g_strProgramExe);
    EXPECT_EQ(row["directory"] + "lumen-config.ini", g_strConfigFile);
    EXPECT_EQ(row["directory"] + "machine-specifics.csv", g_strCsvFile);
    EXPECT_EQ(demo::kFixedInstallDir + std::string("okapi.ini"), g_strMapFile);
  }
}

}  // namespace
