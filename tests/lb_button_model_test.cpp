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
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/installation.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

constexpr char kCalc[] = "c:\\tabula\\calc\\calcw.exe";
constexpr char kScript[] = "c:\\zantools\\zanhelp\\lbbutton.reg";
constexpr char kReg[] = "c:\\zantools\\zanhelp\\customization\\package\\reg";
constexpr char kCalcScript[] =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
    "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";
constexpr char kNotChanged[] =
    "OKAPI: The Larkbook button of this computer was not changed: Windows did not allow OKAPI to "
    "write "
    "to the registry key HKEY_LOCAL_MACHINE\\Software\\ZAN\\LBHOTKEY\\8001.";
constexpr char kAsAdmin[] = "\n\nTo change this computer, run OKAPI as an administrator.";

// Each row on a machine of its own, so that no refusal outlives its row.
void Lay(const std::optional<std::string>& application) {
  ASSERT_TRUE(demo::ResetMachine());
  demo::Installation installation;
  installation.hotkeyFile = application;
  ASSERT_TRUE(demo::LayInstallation(installation));
  DiscoverInstallation();
  package::PrepareTree();
}
void ScriptReadOnly() {
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(kScript, "; old\r\n"));
  ASSERT_TRUE(platform::Os().files->SetReadOnly(kScript));
}
#ifndef _WIN32  // Wine runs the tests with full rights to HKEY_LOCAL_MACHINE.
void RefuseRegistry() {
  dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
      .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
}
#endif

TEST(LBButtonModel, ChoiceReachesComputerScriptAndPackageAsFarAsEachAllows) {
  const std::string was = demo::kDemoHotkeyFile, old = "; old\r\n", none = "<missing>";
  const struct {
    const char* name;
    std::function<void()> arrange;
    std::string registry, script, packaged;  // the model shows the registry's
    std::vector<std::string> told;
  } rows[] = {
      // clang-format off
    {"chosen", [] {}, kCalc, kCalcScript, kCalcScript, {}},
    // The store tells the failed write; the package gets no stale script.
    {"script read-only", ScriptReadOnly, kCalc, old, none, {}},
    {"package folder is a file",
     [] { ASSERT_TRUE(platform::Os().files->WriteFileAtomic(kReg, "x")); }, kCalc, kCalcScript, none, {std::string("OKAPI: The registry script could not be copied to ") +
     kReg + "\\lbbutton.reg.\n\nThe package will not change the Larkbook button."}},
#ifndef _WIN32
    {"registry refused", RefuseRegistry, was, kCalcScript, kCalcScript, {kNotChanged +
     std::string("\n\nThe registry script in the package does start ") + kCalc + "." + kAsAdmin}},
    {"registry refused, script read-only", [] { RefuseRegistry(); ScriptReadOnly(); }, was, old,
     none, {kNotChanged + std::string(kAsAdmin)}},
#endif
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    okapi_test::TestMachine machine;
    Lay(was);
    row.arrange();
    std::vector<std::string> failed, told;
    store::SetWriteFailureReporter(
        [&](const std::string& file, const std::string&) { failed.push_back(file); });
    LBButtonModel model;
    for (const auto& message : model.Select(kCalc))
      told.push_back(message.caption + ": " + message.text);
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(row.told, told);
    EXPECT_EQ(row.registry, layout::ReadButtonApplication().value_or("<no key>"));
    EXPECT_EQ(row.registry, model.Application());
    EXPECT_EQ(row.script, platform::Os().files->ReadFile(kScript).value_or(none));
    EXPECT_EQ(row.script == old, failed == std::vector<std::string>{kScript});
    EXPECT_EQ(row.packaged,
              platform::Os().files->ReadFile(std::string(kReg) + "\\lbbutton.reg").value_or(none));
    (void)platform::Os().files->SetAttributesNormal(kScript);
  }
}

// One model through the rows: a load replaces what the last one read.
TEST(LBButtonModel, LoadShowsWhatTheButtonStartsAsFarAsItFits) {
  okapi_test::TestMachine machine;
  const std::string fits = "c:\\" + std::string(251, 'f');  // 254 characters and the zero
  LBButtonModel model;
  for (const auto& [value, shown] : std::vector<std::pair<std::optional<std::string>, std::string>>{
           {demo::kDemoHotkeyFile, demo::kDemoHotkeyFile},
           {std::nullopt, ""},
           {fits, fits},
           {fits + "g", ""}}) {
    SCOPED_TRACE(value.value_or("no key"));
    Lay(value);
    model.Load();
    EXPECT_EQ(shown, model.Application());
  }
}

}  // namespace
