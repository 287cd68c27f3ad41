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

TEST_F(PosixTest, InstancesActLikeOneDesktop) {
  auto& instances = dynamic_cast<MemoryInstances&>(*Os().instances);
  EXPECT_TRUE(instances.ClaimMutex("Mutex_OKAPI"));
  EXPECT_FALSE(instances.ClaimMutex("Mutex_OKAPI"));
  instances.ClaimedElsewhere("Other");
  EXPECT_FALSE(instances.ClaimMutex("Other"));

  WindowId wizard = instances.AddWindow("Customization", true);
  EXPECT_EQ(wizard, instances.FindTopLevelWindow("customization"));
  EXPECT_EQ(0u, instances.FindTopLevelWindow("Customization "));
  EXPECT_TRUE(instances.IsMinimized(wizard));
  instances.SetForeground(wizard);
  instances.Show(wizard, ShowCommand::ShowNormal);
  EXPECT_EQ(wizard, instances.Foreground());
  EXPECT_FALSE(instances.IsMinimized(wizard));
  ASSERT_EQ(1u, instances.shown.size());
  EXPECT_EQ(ShowCommand::ShowNormal, instances.shown[0].second);
}

void HtmlHelpStandIn() {}

TEST_F(PosixTest, ModulesAreFoundByFileNameAndProcsByOrdinal) {
  auto& modules = dynamic_cast<FakeModules&>(*Os().modules);
  modules.Register("hhctrl.ocx", {{14, &HtmlHelpStandIn}});
  Modules::Handle byPath = modules.Load("C:\\WINDOWS\\System32\\HHCtrl.ocx");
  ASSERT_TRUE(byPath);
  EXPECT_EQ(byPath, modules.Load("hhctrl.ocx"));
  EXPECT_EQ(&HtmlHelpStandIn, modules.ProcByOrdinal(byPath, 14));
  EXPECT_FALSE(modules.ProcByOrdinal(byPath, 15));
  EXPECT_FALSE(modules.Load("other.dll"));
  EXPECT_EQ(3u, modules.loaded.size());
}

TEST_F(PosixTest, ProcessesAreRecordedNotRun) {
  auto& processes = dynamic_cast<RecordingProcesses&>(*Os().processes);
  EXPECT_TRUE(processes.Start("\"c:\\calc.exe\" \"c:\\table.csv\"", "c:\\zantools\\"));
  processes.refuse = true;
  EXPECT_FALSE(processes.Start("x", ""));
  ASSERT_EQ(2u, processes.started.size());
  EXPECT_EQ("\"c:\\calc.exe\" \"c:\\table.csv\"", processes.started[0].commandLine);
  EXPECT_EQ("c:\\zantools\\", processes.started[0].currentDirectory);
}

}  // namespace

#endif  // _WIN32
