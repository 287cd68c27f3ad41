// The Larkbook Button page's model on laid installations: what a chosen
// application reaches (this computer, the script, the package) and what the
// user is told when one of them refuses.
#include "pages/lb_button_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "demo/installation.h"
#include "platform/platform.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

constexpr char kCalc[] = "c:\\tabula\\calc\\calcw.exe";
constexpr char kScript[] = "c:\\zantools\\zanhelp\\lbbutton.reg";
constexpr char kPackage[] = "c:\\zantools\\zanhelp\\customization\\package";
constexpr char kReg[] = "c:\\zantools\\zanhelp\\customization\\package\\reg";
constexpr char kCalcScript[] =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
    "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";
constexpr char kNotChanged[] =
    "The Larkbook button of this computer was not changed: Windows did not allow OKAPI to write "
    "to the registry key HKEY_LOCAL_MACHINE\\Software\\ZAN\\LBHOTKEY\\8001.";
constexpr char kAsAdministrator[] = "\n\nTo change this computer, run OKAPI as an administrator.";

class LBButtonModelTest : public okapi_test::MachineTest {
 protected:
  void Lay() {
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
    DiscoverInstallation();
  }
  static std::string File(const std::string& path) {
    return platform::Os().files->ReadFile(path).value_or("<missing>");
  }
  static std::string Button() {
    auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                             platform::Access::Read);
    return key ? key->QueryString("File", 255).value_or("<no value>") : "<no key>";
  }
#ifndef _WIN32  // Wine runs the tests with full rights to HKEY_LOCAL_MACHINE.
  static void RefuseRegistry() {
    dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
        .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
  }
#endif
  static void ScriptReadOnly() {
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(kScript, "; old\r\n"));
    ASSERT_TRUE(platform::Os().files->SetReadOnly(kScript));
  }
  demo::Installation installation;
};

TEST_F(LBButtonModelTest, ChoiceReachesComputerScriptAndPackageAsFarAsEachAllows) {
  const std::string demoFile = demo::kDemoHotkeyFile, old = "; old\r\n", none = "<missing>";
  const struct {
    const char* name;
    std::function<void()> arrange;
    std::string registry, script, packaged, shown;
    std::vector<std::string> told;
  } rows[] = {
      {"chosen", [] {}, kCalc, kCalcScript, kCalcScript, kCalc, {}},
      // The store tells the failed write; the package gets no stale script.
      {"script read-only", ScriptReadOnly, kCalc, old, none, kCalc, {}},
      {"package folder is a file",
       [] {
         ASSERT_TRUE(platform::Os().files->MakeDirectory(kPackage));
         ASSERT_TRUE(platform::Os().files->WriteFileAtomic(kReg, "x"));
       },
       kCalc,
       kCalcScript,
       "x",
       kCalc,
       {std::string("The registry script could not be copied to ") + kReg +
        "\\lbbutton.reg.\n\nThe package will not change the Larkbook button."}},
#ifndef _WIN32
      {"registry refused",
       RefuseRegistry,
       demoFile,
       kCalcScript,
       kCalcScript,
       demoFile,
       {kNotChanged + std::string("\n\nThe registry script in the package does start ") + kCalc +
        "." + kAsAdministrator}},
      {"registry refused, script read-only",
       [] {
         RefuseRegistry();
         ScriptReadOnly();
       },
       demoFile,
       old,
       none,
       demoFile,
       {kNotChanged + std::string(kAsAdministrator)}},
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    okapi_test::TestMachine fresh;  // without the last row's refusals
    ASSERT_TRUE(demo::ResetMachine());
    Lay();
    row.arrange();
    std::vector<std::string> failed;
    store::SetWriteFailureReporter(
        [&](const std::string& file, const std::string&) { failed.push_back(file); });
    LBButtonModel model;
    model.Load();
    EXPECT_EQ(demoFile, model.Application());
    std::vector<std::string> told;
    for (const auto& message : model.Select(kCalc)) {
      EXPECT_EQ("OKAPI", message.caption);
      told.push_back(message.text);
    }
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(row.told, told);
    EXPECT_EQ(row.registry, Button());
    EXPECT_EQ(row.script, File(kScript));
    EXPECT_EQ(row.script == old, failed == std::vector<std::string>{kScript});
    EXPECT_EQ(row.packaged,
              File(std::string(kReg) + (row.packaged == "x" ? "" : "\\lbbutton.reg")));
    EXPECT_EQ(row.shown, model.Application());
    (void)platform::Os().files->SetAttributesNormal(kScript);
  }
}

// One model through the rows: a load replaces what the last one read.
TEST_F(LBButtonModelTest, LoadShowsWhatTheButtonStartsAsFarAsItFits) {
  const std::string fits = "c:\\" + std::string(251, 'f'), tooLong = fits + "g";
  const struct {
    const char* name;
    std::optional<std::string> value;  // nullopt: no key
    std::string shown;
  } rows[] = {
      {"demo", demo::kDemoHotkeyFile, demo::kDemoHotkeyFile},
      {"no key", std::nullopt, ""},
      {"254 characters", fits, fits},
      {"255 characters", tooLong, ""},
  };
  LBButtonModel model;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    installation.hotkeyFile = row.value;
    Lay();
    model.Load();
    EXPECT_EQ(row.shown, model.Application());
  }
}

}  // namespace
