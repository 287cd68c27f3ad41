// The Win32 services that only a real system can answer: the mutex,
// windows, processes and modules by ordinal.
#include <gtest/gtest.h>
#include <windows.h>

#include "demo/installation.h"
#include "platform/platform.h"
#include "tests/support/fixture_drive.h"

namespace {

using platform::Os;
using platform::ShowCommand;
using platform::WindowId;

TEST(Win32Instances, OnlyTheFirstClaimOfANameSucceeds) {
  const std::string name = "OkapiTest_Mutex_" + std::to_string(GetCurrentProcessId());
  auto other = platform::MakeNativeServices();
  EXPECT_TRUE(Os().instances->ClaimMutex(name));
  EXPECT_FALSE(other->instances->ClaimMutex(name));
  EXPECT_FALSE(Os().instances->ClaimMutex(name));
  EXPECT_TRUE(other->instances->ClaimMutex(name + "_2"));
}

TEST(Win32Windows, WindowIsFoundByTitleAndToggles) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "OkapiInstancesTest";
  RegisterClassA(&windowClass);  // a second registration fails harmlessly
  constexpr char kTitle[] = "Okapi Instances Test";
  HWND window = CreateWindowExA(0, "OkapiInstancesTest", kTitle, WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(window) << "no window (a Wine desktop started without a display?)";
  ShowWindow(window, SW_SHOWNORMAL);
  const auto id = reinterpret_cast<WindowId>(window);

  auto& instances = *Os().instances;
  EXPECT_EQ(id, instances.FindTopLevelWindow(kTitle));
  EXPECT_EQ(0u, instances.FindTopLevelWindow("Okapi Instances Test that does not exist"));
  instances.Show(id, ShowCommand::Minimize);
  EXPECT_TRUE(instances.IsMinimized(id));
  instances.SetForeground(id);
  instances.Show(id, ShowCommand::ShowNormal);
  EXPECT_FALSE(instances.IsMinimized(id));
  EXPECT_EQ(id, instances.Foreground());
  DestroyWindow(window);
}

TEST(Win32Modules, HtmlHelpEntryIsReachedByItsOrdinal) {
  auto& modules = *Os().modules;
  auto module = modules.Load("hhctrl.ocx");
  ASSERT_TRUE(module);
  auto proc = modules.ProcByOrdinal(module, 14);
  ASSERT_TRUE(proc);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), "HtmlHelpA")),
            reinterpret_cast<void*>(proc));
  EXPECT_FALSE(modules.ProcByOrdinal(module, 999));
  EXPECT_FALSE(modules.Load("c:\\zantools\\no such control.ocx"));
}

class Win32ProcessTest : public okapi_test::MachineTest {};

TEST_F(Win32ProcessTest, StartsAProgramFromItsCommandLine) {
  ASSERT_TRUE(demo::MakeDirectories("c:\\zantools\\zanhelp"));
  const std::string exe = "c:\\zantools\\zanhelp\\llb3.exe";
  ASSERT_TRUE(Os().files->WriteFileAtomic(exe, demo::ExecutableBytes(demo::Exe::V3_5_0_0)));
  EXPECT_TRUE(Os().processes->Start("\"" + exe + "\" \"c:\\zantools\\table.csv\"",
                                    "c:\\zantools\\zanhelp\\"));
  EXPECT_FALSE(Os().processes->Start("\"c:\\zantools\\absent.exe\"", "c:\\zantools\\zanhelp\\"));
  EXPECT_FALSE(Os().processes->Start("\"" + exe + "\"", "c:\\zantools\\no such folder"));
}

}  // namespace
