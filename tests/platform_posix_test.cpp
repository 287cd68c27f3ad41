// What only the native backend has: the host folder behind the drives.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/posix_services.h"
#include "tests/support/fixture_drive.h"

namespace {

TEST(PosixDrives, DrivesAreFoldersBelowTheRoot) {
  okapi_test::TestMachine machine;
  auto& files = dynamic_cast<platform::posix::PosixFileSystem&>(*platform::Os().files);
  ASSERT_TRUE(files.MakeDirectory("c:\\Data"));
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

}  // namespace

#endif  // _WIN32
