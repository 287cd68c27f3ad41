// The built okapi.exe on a laid installation, driven from this process as a
// user would drive it: real windows under Wine, a screenshot of what is shown.
#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

TEST_F(ProgramTest, EveryPageShowsInOrderAndTheWizardKeepsItsTitle) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  EXPECT_EQ(wizard, GetAncestor(wizard, GA_ROOT));
  ASSERT_EQ(unsigned{IDD_WELCOME}, ActiveTemplate(wizard));
  Screenshot(wizard, "page-01-welcome");
  for (int i = 1; i < 12; ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1));
    if (kPages[i - 1] == IDD_MODIFIED) Type(wizard, IDC_MODIFIED_COMPANY, "Contoso");
    ASSERT_TRUE(Press(wizard, PSBTN_NEXT, kPages[i]));
    EXPECT_EQ(wizard, FindWizard()) << "the title must stay on the wizard";
    Screenshot(wizard, "page-" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1));
    // Enter means Next or Finish, not a button of the page (Help above all).
    const HWND focus = FocusOf(wizard);
    ASSERT_TRUE(focus);
    EXPECT_FALSE(GetParent(focus) == CurrentPage(wizard) && IsPushButton(focus))
        << "Enter would press control " << GetDlgCtrlID(focus);
    if (kPages[i] == IDD_PACKAGING) {
      EXPECT_EQ(kSheetFinishButtonId, GetDlgCtrlID(focus)) << "Finish";
    }
  }
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_LBBUTTON));
  Cancel(wizard, program);
}

TEST_F(ProgramTest, SecondCopyMinimisesAForegroundWizardAndRestoresAMinimisedOne) {
  Program first;
  HWND wizard = Start(first);
  ASSERT_TRUE(wizard);
  SetForegroundWindow(wizard);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == wizard; }));

  {
    Program second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0u, second.WaitExit());
  }
  EXPECT_TRUE(WaitFor([&] { return IsIconic(wizard) != FALSE; })) << "not minimised";

  {
    Program third;
    ASSERT_TRUE(third.Started());
    EXPECT_EQ(0u, third.WaitExit());
  }
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(wizard) && GetForegroundWindow() == wizard; }))
      << "not restored and raised";
  EXPECT_EQ(wizard, FindWizard());
  Cancel(wizard, first);
}

TEST_F(ProgramTest, CompanyNameIsRefusedWhenEmptyThenWrittenOnNext) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_MODIFIED));

  PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindProgramDialog(program.Id(), "Information")); }));
  EXPECT_EQ("You need to enter a company name", TextOf(GetDlgItem(box, 0xFFFF)));
  Screenshot(box, "company-empty-message");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(unsigned{IDD_MODIFIED}, ActiveTemplate(wizard));

  Type(wizard, IDC_MODIFIED_COMPANY, "Contoso Ltd");
  Screenshot(wizard, "company-typed");
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_APPMENU));
  EXPECT_EQ("__TITLE__,\"Lumen Larkbook Help and Information - Modified by Contoso Ltd\"",
            Text(demo::slots::kTitle));
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_MODIFIED));
  EXPECT_EQ("Contoso Ltd", TextOf(GetDlgItem(CurrentPage(wizard), IDC_MODIFIED_COMPANY)));
  Cancel(wizard, program);
}

TEST_F(ProgramTest, LarkbookButtonTakesTheChosenApplication) {
  const std::string calc = "c:\\tabula\\calc\\calcw.exe";
  ASSERT_TRUE(demo::MakeDirectories("c:\\tabula\\calc"));
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(calc, "MZ"));
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_LBBUTTON));
  HWND page = CurrentPage(wizard);
  EXPECT_EQ(demo::kDemoHotkeyFile, TextOf(GetDlgItem(page, IDC_LBBUTTON_PATH)));

  PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_LBBUTTON_SELECT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_LBBUTTON_SELECT)));
  HWND open = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (open = FindProgramDialog(program.Id(), "Open")); }));
  Screenshot(open, "larkbook-file-dialog");
  // The file name box of the explorer-style dialog (cmb13), or of the old one (edt1).
  HWND name = GetDlgItem(open, 0x47C);
  if (!name) name = GetDlgItem(open, 0x480);
  ASSERT_TRUE(name);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(calc.c_str()));
  PostMessageA(open, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(open); }));
  ASSERT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(page, IDC_LBBUTTON_PATH)) == calc; }));
  Screenshot(wizard, "larkbook-changed");

  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                           platform::Access::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ(calc, key->QueryString("File", 255).value_or(""));
  const std::string script =
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
      "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";
  EXPECT_EQ(script, platform::Os().files->ReadFile(kScript).value_or(""));
  EXPECT_EQ(script,
            platform::Os()
                .files->ReadFile("c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg")
                .value_or(""));
  Cancel(wizard, program);
}

class ProgramWithoutButtonTest : public ProgramTest {
 protected:
  void SetUp() override {
    installation.hotkeyFile.reset();
    ProgramTest::SetUp();
  }
};

TEST_F(ProgramWithoutButtonTest, LarkbookPageIsSkippedBothWays) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_SPLASH));
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_PACKAGING));
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_SPLASH));
  Cancel(wizard, program);
}

class ProgramWithoutInstallationTest : public ProgramTest {
 protected:
  void SetUp() override {
    installation.llb3.reset();
    ProgramTest::SetUp();
  }
};

TEST_F(ProgramWithoutInstallationTest, ProgramTellsAndEndsWithoutCreatingAnything) {
  Program program;
  ASSERT_TRUE(program.Started());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindProgramDialog(program.Id(), "OKAPI")); }));
  EXPECT_EQ("Can't find an installation of Lumen ZAN or lumen Larkbook. This application will exit",
            TextOf(GetDlgItem(box, 0xFFFF)));
  Screenshot(box, "no-installation");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(0u, program.WaitExit());
  EXPECT_FALSE(platform::Os().files->Exists("c:\\zantools\\zanhelp\\customization\\backup"));
  EXPECT_FALSE(platform::Os().files->Exists("c:\\zantools\\zanhelp\\customization\\package"));
}

}  // namespace
