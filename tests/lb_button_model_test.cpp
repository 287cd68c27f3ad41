// The Larkbook Button page's model on laid installations: what a chosen
// application reaches (this computer, the script, the package) and what the
// user is told when one of them refuses.
#include "pages/lb_button_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "package/package_tree.h"
#include "store/installation.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

const std::string kCalc = "c:\\tabula\\calc\\calcw.exe",
                  kScript = "c:\\zantools\\zanhelp\\lbbutton.reg",
                  kPackaged = "c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg";
const std::string kCalcScript =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
    "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";
const std::string kNotChanged =
    "OKAPI: The Larkbook button of this computer was not changed: Windows did not allow OKAPI to "
    "write to the registry key HKEY_LOCAL_MACHINE\\Software\\ZAN\\LBHOTKEY\\8001.";
const std::string kAsAdmin = "\n\nTo change this computer, run OKAPI as an administrator.";

// Each row on a machine of its own, so that no refusal outlives its row; one
// model through the others, so that a load replaces what the last one read.
TEST(LBButtonModel, ChoiceReachesComputerScriptAndPackageAsFarAsEachAllows) {
  const std::string was = demo::kDemoHotkeyFile, old = "; old\r\n", none = "<missing>";
  const struct {
    // Shown at the start; what refuses: the script (read-only), the package
    // folder (a file in its place), the registry. The model shows the registry's.
    std::optional<std::string> laid;
    std::string shown;
    bool script, package, registry;
    std::string written, scriptNow, packaged, told;
  } rows[] = {
      // clang-format off
    {was, was, false, false, false, kCalc, kCalcScript, kCalcScript, ""},
    // The store tells the failed write; the package gets no stale script.
    {std::string(300, 'f'), "", true, false, false, kCalc, old, none, ""},
    {was, was, false, true, false, kCalc, kCalcScript, none, "OKAPI: The registry script could not "
     "be copied to " + kPackaged + ".\n\nThe package will not change the Larkbook button."},
#ifndef _WIN32  // Wine runs the tests with full rights to HKEY_LOCAL_MACHINE.
    {was, was, false, false, true, was, kCalcScript, kCalcScript, kNotChanged +
     "\n\nThe registry script in the package does start " + kCalc + "." + kAsAdmin},
    {was, was, true, false, true, was, old, none, kNotChanged + kAsAdmin},
#endif
      // clang-format on
  };
  LBButtonModel model;
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.script << row.package << row.registry);
    okapi_test::TestMachine machine;
    auto& files = *platform::Os().files;
    demo::Installation installation;
    installation.hotkeyFile = row.laid;
    ASSERT_TRUE(demo::ResetMachine() && demo::LayInstallation(installation));
    DiscoverInstallation();
    package::PrepareTree();
    // Refused, the model must read back what the registry holds, not keep what it showed.
    if (row.registry) model = LBButtonModel();
    if (!row.registry) model.Load();
    EXPECT_EQ(row.registry ? "" : row.shown, model.Application());
    ASSERT_TRUE(!row.script || (files.WriteFileAtomic(kScript, old) && files.SetReadOnly(kScript)));
    ASSERT_TRUE(!row.package ||
                files.WriteFileAtomic(kPackaged.substr(0, kPackaged.rfind('\\')), "x"));
#ifndef _WIN32
    if (row.registry)
      dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
          .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
#endif
    std::vector<std::string> failed;
    std::string told;
    store::SetWriteFailureReporter([&](const std::string& file, auto&) { failed.push_back(file); });
    for (const auto& message : model.Select(kCalc))
      told += message.caption + ": " + message.message;
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(row.told, told);
    EXPECT_EQ(row.written, layout::ReadButtonApplication().value_or("<no key>"));
    EXPECT_EQ(row.written, model.Application());
    EXPECT_EQ(row.scriptNow, files.ReadFile(kScript).value_or(none));
    EXPECT_EQ(row.script, failed == std::vector<std::string>{kScript});
    EXPECT_EQ(row.packaged, files.ReadFile(kPackaged).value_or(none));
    (void)files.SetAttributesNormal(kScript);
  }
}

}  // namespace
