// What only the native backend has: the host folder behind the drives and
// the hooks of the in-memory services.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/posix_services.h"
#include "tests/support/fixture_drive.h"

namespace {

using namespace platform;
using namespace platform::posix;

class PosixTest : public ::testing::Test {
 protected:
  okapi_test::TestMachine machine;
  PosixFileSystem& files = dynamic_cast<PosixFileSystem&>(*Os().files);
};

TEST_F(PosixTest, DrivesAreFoldersBelowTheRoot) {
  ASSERT_TRUE(files.CreateDirectory("c:\\Data"));
  EXPECT_EQ(machine.DriveRoot() + "/c/Data/new.ini", files.HostPath("C:\\DATA\\new.ini"));
  // A path without a drive counts from the root of c:.
  EXPECT_EQ(machine.DriveRoot() + "/c/Data", files.HostPath("\\data"));

  EXPECT_FALSE(files.HostPath("d:\\anything"));  // no folder "d": no such drive
  EXPECT_FALSE(files.WriteFileAtomic("d:\\x.ini", "x"));
  std::filesystem::create_directory(machine.DriveRoot() + "/d");
  EXPECT_TRUE(files.WriteFileAtomic("D:\\x.ini", "x"));
  EXPECT_TRUE(std::filesystem::exists(machine.DriveRoot() + "/d/x.ini"));

  for (const char* refused : {"\\\\server\\share\\x", "c:\\a|b", "c:\\what?", "1:\\x"}) {
    SCOPED_TRACE(refused);
    EXPECT_FALSE(files.HostPath(refused));
  }
}

TEST_F(PosixTest, ReadOnlyHoldsEvenForTheSuperUser) {
  ASSERT_TRUE(files.WriteFileAtomic("c:\\locked.ini", "a"));
  ASSERT_TRUE(files.SetReadOnly("c:\\locked.ini"));
  EXPECT_FALSE(files.WriteFileAtomic("c:\\locked.ini", "b"));
  EXPECT_FALSE(files.DeleteFile("c:\\locked.ini"));
  auto perms = std::filesystem::status(*files.HostPath("c:\\locked.ini")).permissions();
  EXPECT_EQ(std::filesystem::perms::none, perms & std::filesystem::perms::owner_write);
}

TEST_F(PosixTest, RegistryHooksRefuseAccessAndDeletedKeysGoDead) {
  auto& registry = dynamic_cast<MemoryRegistry&>(*Os().registry);
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, "Software\\ZAN\\LBHOTKEY\\8001", "File",
                                    "c:\\tool.exe"));
  registry.RefuseAccess(Hive::LocalMachine, "software\\zan\\lbhotkey\\8001", Access::Write);
  EXPECT_FALSE(registry.Open(Hive::LocalMachine, "Software\\ZAN\\LBHOTKEY\\8001", Access::Write));
  EXPECT_FALSE(registry.CreateAndSet(Hive::LocalMachine, "Software\\ZAN\\LBHOTKEY\\8001", "File",
                                     "c:\\other.exe"));
  auto key = registry.Open(Hive::LocalMachine, "Software\\ZAN\\LBHOTKEY\\8001", Access::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ("c:\\tool.exe", key->QueryString("File", 255).value_or(""));

  ASSERT_TRUE(registry.DeleteTree(Hive::LocalMachine, "Software\\ZAN"));
  EXPECT_FALSE(key->QueryString("File", 255));
}

}  // namespace

#endif  // _WIN32
