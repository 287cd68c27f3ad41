// The Larkbook Button page's model on laid installations: what a chosen
// application reaches (this computer, the script, the package) and what the
// user is told when one of them refuses.
#include "pages/lb_button_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "package/package_tree.h"
#include "store/installation.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"
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

// Each row on a machine of its own, so that no refusal outlives its row; one
// model through the others, so that a load replaces what the last one read.
TEST(LBButtonModel, ChoiceReachesComputerScriptAndPackageAsFarAsEachAllows) {
  LBButtonModel model;
  for (const okapi_test::Row& row : okapi_test::Rows("lb_button.rows")) {
    SCOPED_TRACE(row["name"]);
    const auto refuses = row.All("refuses");
    const bool script = std::ranges::count(refuses, "script"),
               package = std::ranges::count(refuses, "package"),
               registry = std::ranges::count(refuses, "registry");
#ifdef _WIN32
    if (registry) continue;
#endif
    okapi_test::TestMachine machine;
    auto& files = *platform::Os().files;
    demo::Installation installation;
    if (row.Get("laid")) installation.hotkeyFile = row["laid"];
    ASSERT_TRUE(demo::ResetMachine() && demo::LayInstallation(installation));
    DiscoverInstallation();
    package::PrepareTree();
    // Refused, the model must read back what the registry holds, not keep what it showed.
    if (registry) model = LBButtonModel();
    if (!registry) model.Load();
    EXPECT_EQ(row["shown"], model.Application());
    ASSERT_TRUE(!script ||
                (files.WriteFileAtomic(kScript, "; old\r\n") && files.SetReadOnly(kScript)));
    ASSERT_TRUE(!package || files.WriteFileAtomic(kPackaged.substr(0, kPackaged.rfind('\\')), "x"));
#ifndef _WIN32
    if (registry)
      dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
          .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
#endif
    std::vector<std::string> failed;
    std::string told;
    store::SetWriteFailureReporter([&](const std::string& file, auto&) { failed.push_back(file); });
    for (const auto& message : model.Select(kCalc))
      told += message.caption + ": " + message.message;
    store::SetWriteFailureReporter(nullptr);
    const auto calc = [](const std::string& text) { return text == "calc" ? kCalcScript : text; };
    EXPECT_EQ(row["told"], told);
    EXPECT_EQ(row["written"], layout::ReadButtonApplication().value_or("<no key>"));
    EXPECT_EQ(row["written"], model.Application());
    EXPECT_EQ(calc(row["script"]), files.ReadFile(kScript).value_or("<missing>"));
    EXPECT_EQ(script, failed == std::vector<std::string>{kScript});
    EXPECT_EQ(calc(row["packaged"]), files.ReadFile(kPackaged).value_or("<missing>"));
    (void)files.SetAttributesNormal(kScript);
  }
}

}  // namespace
