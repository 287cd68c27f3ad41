// The Win32 services that only a real system can answer: processes and
// registry views. The window calls and the mutex are driven end to end by the
// program tests, where a second copy finds and toggles the wizard; the help
// control's entry by ordinal by the help tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "demo/installation.h"
#include "platform/platform.h"
#include "tests/support/fixture_drive.h"

namespace {

using platform::Os;

class Win32ProcessTest : public okapi_test::MachineTest {};

TEST_F(Win32ProcessTest, StartsAProgramFromItsCommandLine) {
  ASSERT_TRUE(demo::MakeDirectories("c:\\zantools\\zanhelp"));
  const std::string exe = "c:\\zantools\\zanhelp\\llb3.exe";
  ASSERT_TRUE(Os().files->WriteFileAtomic(exe, demo::ExecutableBytes(demo::Exe::V3_5_0_0)));
  EXPECT_TRUE(Os().processes->Start("\"" + exe + "\" \"c:\\zantools\\table.csv\"",
                                    "c:\\zantools\\zanhelp\\"));
  EXPECT_FALSE(Os().processes->Start("\"c:\\zantools\\absent.exe\"", "c:\\zantools\\zanhelp\\"));
}

// Where a 32-bit help application keeps its keys on 64-bit Windows.
TEST_F(Win32ProcessTest, MachineKeysAreThe32BitProgramsAndClassesOurOwn) {
  using platform::Hive;
  const auto seenIn = [](HKEY root, const char* subkey, REGSAM view) {
    HKEY key = nullptr;
    const bool seen = RegOpenKeyExA(root, subkey, 0, KEY_READ | view, &key) == ERROR_SUCCESS;
    if (seen) RegCloseKey(key);
    return seen;
  };
  for (const auto& [hive, root, subkey, view] :
       {std::tuple{Hive::LocalMachine, HKEY_LOCAL_MACHINE, "Software\\ZAN\\ViewProbe",
                   KEY_WOW64_32KEY},
        std::tuple{Hive::ClassesRoot, HKEY_CLASSES_ROOT, "OkapiViewProbe", KEY_WOW64_64KEY}}) {
    SCOPED_TRACE(subkey);
    ASSERT_TRUE(Os().registry->CreateAndSet(hive, subkey, "File", "x"));
    EXPECT_TRUE(seenIn(root, subkey, view));
    EXPECT_FALSE(seenIn(root, subkey, view ^ KEY_WOW64_RES));  // the other view
    auto key = Os().registry->Open(hive, subkey, platform::Access::Read);
    ASSERT_TRUE(key);
    EXPECT_EQ("x", key->QueryString("File", 255).value_or(""));
    EXPECT_TRUE(Os().registry->DeleteTree(hive, subkey));
    EXPECT_FALSE(seenIn(root, subkey, view));
  }
}

}  // namespace
