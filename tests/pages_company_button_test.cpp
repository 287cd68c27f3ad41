// The Larkbook-button page in the wizard, on laid installations, driven
// through the headless backend.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

using fw::headless::SheetDriver;

class PageTest : public okapi_test::WizardTest {};

constexpr char kCalc[] = "c:\\tabula\\calc\\calcw.exe";
constexpr char kScript[] = "c:\\zantools\\zanhelp\\lbbutton.reg";
constexpr char kPackaged[] = "c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg";
constexpr char kCalcScript[] =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
    "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";

std::string ButtonApplication() {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                           platform::Access::Read);
  return key ? key->QueryString("File", 255).value_or("<no value>") : "<no key>";
}

TEST_F(PageTest, LarkbookButtonChoiceGoesToRegistryScriptAndPackageAsFarAsEachAllows) {
  const std::string demoFile = demo::kDemoHotkeyFile, same = "<as before>";
  const struct {
    const char* name;
    std::function<void()> arrange;
    bool cancel;
    std::string registry, script, packaged, label;
    const char* told;  // part of the one message; null: none
  } rows[] = {
      {"chosen", [] {}, false, kCalc, kCalcScript, kCalcScript, kCalc, nullptr},
      {"cancelled", [] {}, true, demoFile, same, "<missing>", demoFile, nullptr},
      // The store reports the failed write; this computer still follows the
      // choice, and the package gets no stale script.
      {"script read-only", [] { ASSERT_TRUE(platform::Os().files->SetReadOnly(kScript)); }, false,
       kCalc, same, "<missing>", kCalc, nullptr},
#ifndef _WIN32  // Wine runs the tests with full rights to HKEY_LOCAL_MACHINE.
      {"registry refused",
       [] {
         dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
             .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
       },
       false, demoFile, kCalcScript, kCalcScript, demoFile, "was not changed"},
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay();
    SheetDriver run = OpenAt(IDD_LBBUTTON);
    EXPECT_EQ(demoFile, run.Page().Text(IDC_LBBUTTON_PATH));
    const std::string script = File(kScript);
    row.arrange();
    const std::size_t shown = Shown();
    std::vector<std::string> failed;
    store::SetWriteFailureReporter(
        [&](const std::string& file, const std::string&) { failed.push_back(file); });
    headless->AnswerFileDialog(row.cancel ? std::nullopt : std::optional<std::string>(kCalc));
    ASSERT_TRUE(run.Page().Click(IDC_LBBUTTON_SELECT));
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(row.registry, ButtonApplication());
    EXPECT_EQ(row.script == same ? script : row.script, File(kScript));
    EXPECT_EQ(row.script == same && !row.cancel, failed == std::vector<std::string>{kScript});
    EXPECT_EQ(row.packaged, File(kPackaged));
    EXPECT_EQ(row.label, run.Page().Text(IDC_LBBUTTON_PATH));
    EXPECT_EQ(row.told ? 1u : 0u, Shown() - shown);
    if (row.told) {
      EXPECT_NE(std::string::npos, LastTold().find(row.told)) << LastTold();
    }
    run.PressCancel();
    (void)platform::Os().files->SetAttributesNormal(kScript);
  }
}

TEST_F(PageTest, LarkbookLabelIsEmptyWithoutAButtonApplication) {
  installation.hotkeyFile.reset();
  Lay();
  wizard = std::make_unique<OkapiWizard>();
  SheetDriver run = headless->Open(wizard->sheet);
  ASSERT_TRUE(run.Sheet().SetActivePage(&wizard->lbButton));
  EXPECT_EQ("", run.Page().Text(IDC_LBBUTTON_PATH));
}

}  // namespace
