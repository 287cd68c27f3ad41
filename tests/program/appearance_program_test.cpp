// The Visual Map buttons and sounds pages in the built okapi.exe: real check
// boxes clicked, the files checked after each click, screenshots taken.
#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

constexpr char kConfigFile[] = "c:\\zantools\\zanhelp\\lumen-config.ini";

std::string Config(const char* section, const char* key) {
  return store::ReadString(section, key, "Error", 512, kConfigFile);
}

// Next until `page` shows, whichever pages the routing skips on the way.
void NextUntil(HWND wizard, unsigned page) {
  for (int i = 0; i < 12 && ActiveTemplate(wizard) != page; ++i) {
    const unsigned from = ActiveTemplate(wizard);
    if (from == IDD_MODIFIED)
      SendMessageA(GetDlgItem(CurrentPage(wizard), IDC_MODIFIED_COMPANY), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>("Contoso"));
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    ASSERT_TRUE(WaitFor([&] { return ActiveTemplate(wizard) != from; }, 5000)) << from;
  }
  ASSERT_EQ(page, ActiveTemplate(wizard));
}

void ClickUntil(HWND wizard, int box, const std::function<bool()>& written) {
  PostMessageA(GetDlgItem(CurrentPage(wizard), box), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor(written, 5000)) << "box " << box;
}

TEST_F(ProgramTest, VisualMapButtonHiddenAndShownAndSoundSwitchedOff) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextUntil(wizard, IDD_VICONS));
  const std::string shown = Config("Menu Parts", "Configure");
  const std::string caption = Text(demo::slots::kConfigureText);
  ASSERT_EQ(BST_CHECKED, IsDlgButtonChecked(CurrentPage(wizard), IDC_VICONS_CONFIGURE));

  // Each click writes two files: the test waits for both.
  ClickUntil(wizard, IDC_VICONS_CONFIGURE, [] {
    return Config("Menu Parts", "Configure") == "images\\spacer.gif,120,32" &&
           Text(demo::slots::kConfigureText) == "__CONFIGURE_TEXT__,\"\"";
  });
  Screenshot(wizard, "vicons-configure-hidden");
  ClickUntil(wizard, IDC_VICONS_CONFIGURE, [&] {
    return Config("Menu Parts", "Configure") == shown &&
           Text(demo::slots::kConfigureText) == caption;
  });
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(CurrentPage(wizard), IDC_VICONS_CONFIGURE));
  Screenshot(wizard, "vicons-configure-shown");

  ASSERT_NO_FATAL_FAILURE(NextUntil(wizard, IDD_SOUNDS));
  ClickUntil(wizard, IDC_SOUNDS_PLAY, [] {
    return Config("Global Options", demo::slots::kPlaySound) == "__PLAY_SOUND__,false";
  });
  EXPECT_EQ("true", Config("OEM Defaults", "Sound"));
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(CurrentPage(wizard), IDC_SOUNDS_PLAY));
  Screenshot(wizard, "sounds-play-cleared");
  ASSERT_NO_FATAL_FAILURE(NextUntil(wizard, IDD_SPLASH));
  ClickUntil(wizard, IDC_SPLASH_SHOW, [] {
    return Config("Global Options", demo::slots::kShowSplash) == "__SHOW_SPLASH__,false";
  });
  Screenshot(wizard, "splash-show-cleared");
  Cancel(wizard, program);
}

}  // namespace
