// Registry and file-version services as the program uses them. Under Wine
// the real calls answer, so the in-memory registry and the scanning version
// reader are held to the same results.
#include <gtest/gtest.h>

#include "demo/installation.h"
#include "platform/platform.h"
#include "platform/version_resource.h"
#include "tests/support/fixture_drive.h"

namespace {

using demo::Exe;
using platform::Access;
using platform::Hive;

const std::string kKey = "Software\\ZAN\\OkapiRegistryTest";

class RegistryTest : public okapi_test::MachineTest {
 protected:
  platform::Registry& registry = *platform::Os().registry;
};

TEST_F(RegistryTest, NamesIgnoreCaseAndAValueMustFitWithItsTerminatingZero) {
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey + "\\Inner", "InstallDir",
                                    "c:\\zantools\\zanhelp\\"));
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey + "\\Inner", "", "hhctrl.ocx"));
  auto key =
      registry.Open(Hive::LocalMachine, "SOFTWARE\\zan\\okapiregistrytest\\INNER", Access::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ("c:\\zantools\\zanhelp\\", key->QueryString("installdir", 260).value_or("<none>"));
  EXPECT_FALSE(key->QueryString("InstallPath", 260));
  EXPECT_FALSE(registry.Open(Hive::LocalMachine, kKey + "\\Missing", Access::Read));
  EXPECT_FALSE(registry.Open(Hive::ClassesRoot, kKey + "\\Inner", Access::Read));
  // The empty name is the key's default value.
  EXPECT_EQ("hhctrl.ocx", key->QueryString("", 11).value_or("<none>"));
  EXPECT_FALSE(key->QueryString("", 10));
  EXPECT_FALSE(key->QueryString("", 0));
}

TEST_F(RegistryTest, OnlyAKeyOpenedForWritingTakesValues) {
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey, "File", "old"));
  auto reader = registry.Open(Hive::LocalMachine, kKey, Access::Read);
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->SetString("File", "by reader"));

  auto writer = registry.Open(Hive::LocalMachine, kKey, Access::Write);
  ASSERT_TRUE(writer);
  EXPECT_TRUE(writer->SetString("File", "c:\\Program Files\\Tool\\tool.exe"));
  EXPECT_EQ("c:\\Program Files\\Tool\\tool.exe", reader->QueryString("File", 255).value_or(""));
}

// "3.5.2.7", "no fixed info" or "none".
std::string Shown(const std::optional<platform::VersionInfo>& info) {
  if (!info) return "none";
  if (!info->fixed) return "no fixed info";
  const auto ms = info->fixed->fileVersionMS, ls = info->fixed->fileVersionLS;
  return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xffff) + "." +
         std::to_string(ls >> 16) + "." + std::to_string(ls & 0xffff);
}

class VersionsTest : public okapi_test::MachineTest {};

// Under Wine the system's version API reads the files, so the scanner that
// stands in for it natively is held to it.
TEST_F(VersionsTest, FixtureExecutablesCarryTheirVersions) {
  const std::pair<const char*, Exe> rows[] = {{"3.5.0.0", Exe::V3_5_0_0},
                                              {"3.5.2.7", Exe::V3_5_2_7},
                                              {"3.0.1.0", Exe::V3_0_1_0},
                                              {"3.6.0.0", Exe::V3_6_0_0},
                                              {"none", Exe::NoVersionResource}};
  ASSERT_TRUE(demo::MakeDirectories("c:\\zantools"));
  for (const auto& [version, exe] : rows) {
    SCOPED_TRACE(version);
    const std::string path = std::string("c:\\zantools\\") + version + ".exe";
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(path, demo::ExecutableBytes(exe)));
    EXPECT_EQ(version, Shown(platform::Os().versions->Read(path)));
    EXPECT_EQ(version, Shown(platform::FindVersionResource(demo::ExecutableBytes(exe))));
  }
}

}  // namespace
