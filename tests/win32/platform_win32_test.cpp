// The Win32 services that only a real system can answer: processes and
// modules by ordinal. The mutex and the window calls are driven end to end
// by the program tests, where a second copy finds and toggles the wizard.
#include <gtest/gtest.h>
#include <windows.h>

#include "demo/installation.h"
#include "platform/platform.h"
#include "tests/support/fixture_drive.h"

namespace {

using platform::Os;

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
