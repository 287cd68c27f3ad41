// The company-name and Larkbook-button pages in the wizard, on laid
// installations, driven through the headless backend.
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

class PageTest : public okapi_test::WizardTest {
 protected:
  static std::string Text(const std::string& key) {
    return store::ReadString("Lumen Text", key, "Error", 256, g_strTextFile);
  }
  static void SetText(const std::string& key, const std::string& value) {
    ASSERT_TRUE(store::WriteString("Lumen Text", key, value, g_strTextFile));
  }
  // Types `name` on the company page of a fresh run and presses Next.
  void RunWith(const std::string& name) {
    SheetDriver run = OpenAt(IDD_MODIFIED);
    run.Page().Type(IDC_MODIFIED_COMPANY, name);
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
  }
};

using CompanyNameTest = PageTest;

TEST_F(CompanyNameTest, RefusedNamesKeepThePageAndTheFile) {
  for (const auto& [typed, message] :
       {std::pair<std::string, const char*>{"", "You need to enter a company name"},
        {std::string(31, 'n'), "The company name you entered is too long"},
        {"Contoso \"Labs\"", "The company name cannot contain a double quote (\")"}}) {
    SCOPED_TRACE(typed);
    SheetDriver run = OpenAt(IDD_MODIFIED);
    const std::string before = File(g_strTextFile);
    const std::size_t shown = Shown();
    run.Page().Type(IDC_MODIFIED_COMPANY, typed);
    run.PressNext();
    EXPECT_EQ(unsigned{IDD_MODIFIED}, run.ActiveTemplateId());
    EXPECT_EQ(std::vector{std::string("Information: ") + message}, Told(shown));
    EXPECT_EQ(before, File(g_strTextFile));
    run.PressCancel();
  }
}

TEST_F(CompanyNameTest, FirstTitleFollowsTheLastTitleWithoutSuffix) {
  SetText("Text1_org", "__TITLE__,\"Old Help\"");
  SetText(demo::slots::kTitle, "__TITLE__,\"New Help\"");
  RunWith("Contoso");
  EXPECT_EQ("__TITLE__,\"New Help\"", Text("Text1_org"));
  EXPECT_EQ("__TITLE__,\"New Help - Modified by Contoso\"", Text(demo::slots::kTitle));
}

TEST_F(CompanyNameTest, WithoutAFirstTitleTheTitleIsLeftAloneAndTheUserTold) {
  const std::string modified = "__TITLE__,\"Help - Modified by Someone Else\"";
  SetText(demo::slots::kTitle, modified);
  EXPECT_EQ("Someone Else", OpenAt(IDD_MODIFIED).Page().Text(IDC_MODIFIED_COMPANY));
  RunWith("Contoso");
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
  EXPECT_EQ("Error", Text("Text1_org"));
  EXPECT_EQ("Error", Text("Error"));  // nothing written under the sentinel either
  ASSERT_EQ(1u, Shown());
  EXPECT_NE(std::string::npos, LastTold().find("Text1_org"));
}

TEST_F(CompanyNameTest, WithoutATitleEntryNothingIsWrittenAndTheUserTold) {
  for (const char* map : {"", "[TEXT]\r\n__TITLE__=\r\n"}) {  // marker never seen; empty slot
    SCOPED_TRACE(map);
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strTextFile, "[Lumen Text]\r\n"));
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strMapFile, map));
    const std::size_t shown = Shown();
    RunWith("Contoso");
    // The menu page, now shown, may flag its first values under [Other].
    EXPECT_TRUE(store::ReadKeyNames("Lumen Text", g_strTextFile).empty()) << File(g_strTextFile);
    ASSERT_EQ(shown + 1, Shown());
    EXPECT_NE(std::string::npos, LastTold().find("__TITLE__"));
  }
}

// A title this page built may be longer than the 127 characters a short read
// would give: the whole name must come back and be replaced, not cut.
TEST_F(CompanyNameTest, LongTitleKeepsTheWholeNameAcrossRuns) {
  const std::string first = "__TITLE__,\"" + std::string(110, 'h') + "\"";
  SetText(demo::slots::kTitle, first);
  const std::string name(30, 'n');  // the longest accepted
  RunWith(name);
  const std::string modified = first.substr(0, first.size() - 1) + " - Modified by " + name + "\"";
  ASSERT_GT(modified.size(), 127u);
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
  SheetDriver run = OpenAt(IDD_MODIFIED);
  EXPECT_EQ(name, run.Page().Text(IDC_MODIFIED_COMPANY));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
}

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
