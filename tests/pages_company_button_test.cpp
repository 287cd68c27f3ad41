// The company-name and Larkbook-button pages in the wizard, on laid
// installations, driven through the headless backend.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/headless/headless.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/program_templates.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

constexpr char kFirstTitle[] = "__TITLE__,\"Lumen Larkbook Help and Information\"";

class PageTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
    DiscoverInstallation();  // the paths, before the wizard's start-up sets them
  }
  void TearDown() override {
    for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
  }
  // A fresh wizard (one run of the program) shown up to `page`.
  SheetDriver OpenAt(unsigned page) {
    wizard = std::make_unique<OkapiWizard>();
    SheetDriver run = headless->Open(wizard->sheet);
    while (run.IsOpen() && run.ActiveTemplateId() != page) {
      if (run.ActiveTemplateId() == IDD_MODIFIED)
        run.Page().Type(IDC_MODIFIED_COMPANY, run.Page().Text(IDC_MODIFIED_COMPANY) + "x");
      if (!run.PressNext()) break;
    }
    EXPECT_EQ(page, run.ActiveTemplateId());
    return run;
  }
  static std::string Text(const std::string& key) {
    return store::ReadString("Lumen Text", key, "Error", 256, g_strTextFile);
  }
  static void SetText(const std::string& key, const std::string& value) {
    ASSERT_TRUE(store::WriteString("Lumen Text", key, value, g_strTextFile));
  }
  static std::string File(const std::string& path) {
    return platform::Os().files->ReadFile(path).value_or("<missing>");
  }
  static std::string ButtonApplication() {
    auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                             platform::Access::Read);
    return key ? key->QueryString("File", 255).value_or("<no value>") : "<no key>";
  }
  std::vector<std::string> Told() const {
    std::vector<std::string> told;
    for (const auto& m : headless->Messages()) told.push_back(m.caption + ": " + m.text);
    return told;
  }

  demo::Installation installation;
  ScopedHeadless headless;
  std::unique_ptr<OkapiWizard> wizard;
};

using CompanyNameTest = PageTest;

TEST_F(CompanyNameTest, NameIsAppendedToTheFirstTitleAndReplacedOnTheNextRun) {
  {
    SheetDriver run = OpenAt(IDD_MODIFIED);
    EXPECT_EQ("", run.Page().Text(IDC_MODIFIED_COMPANY));
    EXPECT_EQ(kFirstTitle, Text("Text1_org"));
    run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso Ltd");
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
  }
  EXPECT_EQ("__TITLE__,\"Lumen Larkbook Help and Information - Modified by Contoso Ltd\"",
            Text(demo::slots::kTitle));
  {
    SheetDriver run = OpenAt(IDD_MODIFIED);
    EXPECT_EQ("Contoso Ltd", run.Page().Text(IDC_MODIFIED_COMPANY));
    EXPECT_EQ(kFirstTitle, Text("Text1_org"));  // the title had a suffix: kept
    run.Page().Type(IDC_MODIFIED_COMPANY, "Fabrikam");
    ASSERT_TRUE(run.PressNext());
  }
  EXPECT_EQ("__TITLE__,\"Lumen Larkbook Help and Information - Modified by Fabrikam\"",
            Text(demo::slots::kTitle));
  EXPECT_TRUE(headless->Messages().empty());
}

TEST_F(CompanyNameTest, RefusedNamesKeepThePageAndTheFile) {
  const struct {
    const char* name;
    std::string typed;
    const char* message;
  } rows[] = {
      {"empty", "", "You need to enter a company name"},
      {"31 characters", std::string(31, 'n'), "The company name you entered is too long"},
      {"double quote", "Contoso \"Labs\"", "The company name cannot contain a double quote (\")"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SheetDriver run = OpenAt(IDD_MODIFIED);
    const std::string before = File(g_strTextFile);
    const std::size_t shown = headless->Messages().size();
    run.Page().Type(IDC_MODIFIED_COMPANY, row.typed);
    run.PressNext();
    EXPECT_EQ(unsigned{IDD_MODIFIED}, run.ActiveTemplateId());
    ASSERT_EQ(shown + 1, headless->Messages().size());
    EXPECT_EQ(std::string("Information: ") + row.message, Told().back());
    EXPECT_EQ(before, File(g_strTextFile));
    run.PressCancel();
  }
}

TEST_F(CompanyNameTest, ThirtyCharactersAreAccepted) {
  SheetDriver run = OpenAt(IDD_MODIFIED);
  const std::string name(30, 'n');
  run.Page().Type(IDC_MODIFIED_COMPANY, name);
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
  EXPECT_NE(std::string::npos, Text(demo::slots::kTitle).find("Modified by " + name + "\""));
}

TEST_F(CompanyNameTest, FirstTitleFollowsTheLastTitleWithoutSuffix) {
  SetText("Text1_org", "__TITLE__,\"Old Help\"");
  SetText(demo::slots::kTitle, "__TITLE__,\"New Help\"");
  SheetDriver run = OpenAt(IDD_MODIFIED);
  EXPECT_EQ("__TITLE__,\"New Help\"", Text("Text1_org"));
  run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ("__TITLE__,\"New Help - Modified by Contoso\"", Text(demo::slots::kTitle));
}

TEST_F(CompanyNameTest, WithoutAFirstTitleTheTitleIsLeftAloneAndTheUserTold) {
  const std::string modified = "__TITLE__,\"Help - Modified by Someone Else\"";
  SetText(demo::slots::kTitle, modified);
  SheetDriver run = OpenAt(IDD_MODIFIED);
  EXPECT_EQ("Someone Else", run.Page().Text(IDC_MODIFIED_COMPANY));
  EXPECT_EQ("Error", Text("Text1_org"));
  run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
  EXPECT_EQ("Error", Text("Error"));  // nothing written under the sentinel either
  ASSERT_EQ(1u, headless->Messages().size());
  EXPECT_NE(std::string::npos, Told()[0].find("Text1_org"));
}

TEST_F(CompanyNameTest, WithoutATitleEntryNothingIsWrittenAndTheUserTold) {
  const struct {
    const char* name;
    const char* map;
  } rows[] = {
      {"marker never seen", ""},
      {"marker with an empty slot", "[TEXT]\r\n__TITLE__=\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strTextFile, "[Lumen Text]\r\n"));
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strMapFile, row.map));
    const std::size_t shown = headless->Messages().size();
    SheetDriver run = OpenAt(IDD_MODIFIED);
    run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
    // The menu page, now shown, may flag its first values under [Other].
    EXPECT_TRUE(store::ReadKeyNames("Lumen Text", g_strTextFile).empty()) << File(g_strTextFile);
    ASSERT_EQ(shown + 1, headless->Messages().size());
    EXPECT_NE(std::string::npos, Told().back().find("__TITLE__"));
    run.PressCancel();
  }
}

// A title this page built may be longer than the 127 characters a short read
// would give: the whole name must come back and be replaced, not cut.
TEST_F(CompanyNameTest, LongTitleKeepsTheWholeNameAcrossRuns) {
  const std::string first = "__TITLE__,\"" + std::string(110, 'h') + "\"";
  SetText(demo::slots::kTitle, first);
  const std::string name(30, 'n');
  {
    SheetDriver run = OpenAt(IDD_MODIFIED);
    run.Page().Type(IDC_MODIFIED_COMPANY, name);
    ASSERT_TRUE(run.PressNext());
  }
  const std::string modified = first.substr(0, first.size() - 1) + " - Modified by " + name + "\"";
  ASSERT_GT(modified.size(), 127u);
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
  SheetDriver run = OpenAt(IDD_MODIFIED);
  EXPECT_EQ(name, run.Page().Text(IDC_MODIFIED_COMPANY));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
}

using LarkbookButtonTest = PageTest;

constexpr char kCalc[] = "c:\\tabula\\calc\\calcw.exe";
constexpr char kCalcScript[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
    "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";

TEST_F(LarkbookButtonTest, ChosenApplicationGoesToRegistryScriptAndPackage) {
  SheetDriver run = OpenAt(IDD_LBBUTTON);
  EXPECT_EQ(demo::kDemoHotkeyFile, run.Page().Text(IDC_LBBUTTON_PATH));
  headless->AnswerFileDialog(kCalc);
  ASSERT_TRUE(run.Page().Click(IDC_LBBUTTON_SELECT));

  ASSERT_EQ(1u, headless->FileDialogs().size());
  const CFileDialog::Options& asked = headless->FileDialogs()[0];
  EXPECT_TRUE(asked.open);
  EXPECT_EQ("exe", asked.defExt);
  EXPECT_EQ("*.exe", asked.fileName);
  EXPECT_EQ(0x1004u, asked.flags);
  EXPECT_EQ("Executable files (*.exe)|*.exe|", asked.filter);

  EXPECT_EQ(kCalc, ButtonApplication());
  EXPECT_EQ(kCalcScript, File("c:\\zantools\\zanhelp\\lbbutton.reg"));
  EXPECT_EQ(kCalcScript, File("c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg"));
  EXPECT_EQ(kCalc, run.Page().Text(IDC_LBBUTTON_PATH));
  EXPECT_TRUE(headless->Messages().empty());
  EXPECT_EQ(unsigned{IDD_LBBUTTON}, run.ActiveTemplateId());
}

TEST_F(LarkbookButtonTest, CancelledChoiceChangesNothing) {
  SheetDriver run = OpenAt(IDD_LBBUTTON);
  const std::string script = File("c:\\zantools\\zanhelp\\lbbutton.reg");
  headless->AnswerFileDialog(std::nullopt);
  ASSERT_TRUE(run.Page().Click(IDC_LBBUTTON_SELECT));
  EXPECT_EQ(demo::kDemoHotkeyFile, ButtonApplication());
  EXPECT_EQ(script, File("c:\\zantools\\zanhelp\\lbbutton.reg"));
  EXPECT_FALSE(platform::Os().files->Exists("c:\\zantools\\zanhelp\\customization\\package\\reg"));
  EXPECT_EQ(demo::kDemoHotkeyFile, run.Page().Text(IDC_LBBUTTON_PATH));
}

TEST_F(LarkbookButtonTest, UnwritableScriptIsNotPackaged) {
  SheetDriver run = OpenAt(IDD_LBBUTTON);
  const std::string script = File("c:\\zantools\\zanhelp\\lbbutton.reg");
  ASSERT_TRUE(platform::Os().files->SetReadOnly("c:\\zantools\\zanhelp\\lbbutton.reg"));
  std::vector<std::string> reported;
  store::SetWriteFailureReporter(
      [&](const std::string& file, const std::string&) { reported.push_back(file); });
  headless->AnswerFileDialog(kCalc);
  ASSERT_TRUE(run.Page().Click(IDC_LBBUTTON_SELECT));
  store::SetWriteFailureReporter(nullptr);
  EXPECT_EQ(std::vector<std::string>{"c:\\zantools\\zanhelp\\lbbutton.reg"}, reported);
  EXPECT_EQ(script, File("c:\\zantools\\zanhelp\\lbbutton.reg"));
  EXPECT_FALSE(platform::Os().files->Exists(
      "c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg"));
  EXPECT_EQ(kCalc, ButtonApplication());  // this computer still follows the choice
  ASSERT_TRUE(platform::Os().files->SetAttributesNormal("c:\\zantools\\zanhelp\\lbbutton.reg"));
}

#ifndef _WIN32
// Wine runs the tests with full rights to HKEY_LOCAL_MACHINE.
TEST_F(LarkbookButtonTest, RefusedRegistryIsToldAndTheScriptStillWritten) {
  dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
      .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
  SheetDriver run = OpenAt(IDD_LBBUTTON);
  headless->AnswerFileDialog(kCalc);
  ASSERT_TRUE(run.Page().Click(IDC_LBBUTTON_SELECT));
  EXPECT_EQ(demo::kDemoHotkeyFile, ButtonApplication());
  EXPECT_EQ(kCalcScript, File("c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg"));
  EXPECT_EQ(demo::kDemoHotkeyFile, run.Page().Text(IDC_LBBUTTON_PATH));
  ASSERT_EQ(1u, headless->Messages().size());
  EXPECT_NE(std::string::npos, Told()[0].find("was not changed"));
}
#endif

class LarkbookMissingTest : public PageTest {
 protected:
  void SetUp() override {
    installation.hotkeyFile.reset();
    PageTest::SetUp();
  }
};

TEST_F(LarkbookMissingTest, LabelIsEmptyWhenShownAnyway) {
  wizard = std::make_unique<OkapiWizard>();
  SheetDriver run = headless->Open(wizard->sheet);
  ASSERT_TRUE(run.Sheet().SetActivePage(&wizard->lbButton));
  EXPECT_EQ("", run.Page().Text(IDC_LBBUTTON_PATH));
}

}  // namespace
