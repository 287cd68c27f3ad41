// The registry service as the program uses it. Under Wine the real calls
// answer, so the in-memory registry is held to the same results. (The
// version reader is held to the system's by the discovery tests.)
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fixture_drive.h"

namespace {

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

}  // namespace
