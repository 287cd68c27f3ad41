// The menu and welcome-page pages of the built okapi.exe under Wine: what
// only real windows show (the message box, the hidden edits, the routes).
#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

void Click(HWND wizard, int control) {
  PostMessageA(GetDlgItem(CurrentPage(wizard), control), BM_CLICK, 0, 0);
}

std::string Shown(HWND wizard, int control) {
  return TextOf(GetDlgItem(CurrentPage(wizard), control));
}

TEST_F(ProgramTest, MenuPageIsRenamedEndToEndAndRoutesByTheFourthMenu) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_APPMENU));
  EXPECT_EQ("Getting Started", Shown(wizard, IDC_APPMENU_TITLE1));

  Type(wizard, IDC_APPMENU_TITLE1, "Start Here");
  Type(wizard, IDC_APPMENU_ALT_KEY1, "K");
  PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindProgramDialog(program.Id(), "Error")); }));
  EXPECT_EQ("The accelerator keys A, K, P, S are already used. Change Alt-Key1(K) to another key",
            TextOf(GetDlgItem(box, 0xFFFF)));
  Screenshot(box, "menu-refused-letter");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(unsigned{IDD_APPMENU}, ActiveTemplate(wizard));
  EXPECT_EQ("__MENU1_TITLE__,\"<u>G</u>etting Started\"", Text(demo::slots::kMenu1Title));

  Type(wizard, IDC_APPMENU_ALT_KEY1, "r");
  Screenshot(wizard, "menu-renamed");
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_WMENU));
  EXPECT_EQ("__MENU1_TITLE__,\"Sta<u>r</u>t Here\"", Text(demo::slots::kMenu1Title));
  EXPECT_EQ("__MENU1_ALT_KEY__,r", Text(demo::slots::kMenu1AltKey));

  EXPECT_EQ("Start Here", Shown(wizard, IDC_WMENU_MENU1_LABEL));
  Type(wizard, IDC_WMENU_INTRO, "Welcome aboard.\r\nEnjoy your notebook.");
  Screenshot(wizard, "welcome-page-changed");
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_VICONS));
  EXPECT_EQ("__WELCOME_INTRO__,\"Welcome aboard.<br>Enjoy your notebook.\"",
            Text(demo::slots::kWelcomeIntro));
  EXPECT_EQ("__TAB1_DESCRIPTION__,\"<b>Start Here</b> Learn the basics of your notebook\"",
            Text(demo::slots::kTab1Description));

  // Without the fourth menu the welcome page is passed by.
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_WMENU));
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_APPMENU));
  HWND title4 = GetDlgItem(CurrentPage(wizard), IDC_APPMENU_TITLE4);
  ASSERT_TRUE(IsWindowVisible(title4));
  Click(wizard, IDC_APPMENU_WELCOME_TITLE_CHECK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(title4); }));
  // The edits go before the entries are written.
  EXPECT_TRUE(WaitFor([&] {
    return Text(demo::slots::kMenu4Title) == "__MENUx_TITLE__,\"<u>W</u>elcome\"";
  })) << Text(demo::slots::kMenu4Title);
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_VICONS));
  Cancel(wizard, program);
}

class ProgramVersion30Test : public ProgramTest {
 protected:
  void SetUp() override {
    installation.llb3 = demo::Exe::V3_0_1_0;
    installation.usesVisualMap = false;
    ProgramTest::SetUp();
  }
};

TEST_F(ProgramVersion30Test, MenuPageHasNoFourthMenuAndNextGoesToBackgrounds) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_APPMENU));
  HWND page = CurrentPage(wizard);
  for (int control : {IDC_APPMENU_WELCOME_TITLE_CHECK, IDC_APPMENU_TITLE4, IDC_APPMENU_ALT_KEY4}) {
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, control))) << control;
  }
  Type(wizard, IDC_APPMENU_TITLE3, "Toolbox");
  Type(wizard, IDC_APPMENU_ALT_KEY3, "x");
  Screenshot(wizard, "menu-version-30");
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_BACKGROUNDS));
  EXPECT_EQ("__MENU3_TITLE__,\"Toolbo<u>x</u>\"", Text(demo::slots::kMenu3Title));
  Cancel(wizard, program);
}

}  // namespace
