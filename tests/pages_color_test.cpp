// The colour page's binding in the wizard, on the laid demo installation,
// driven through the headless backend; its rules are held against its model.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"

namespace {

using ColorPageTest = okapi_test::WizardTest;

TEST_F(ColorPageTest, EveryBoxIsWrittenButARefusedOneWritesNothingUntilAPickMendsIt) {
  auto run = OpenAt(IDD_TCOLOR);
  auto page = run.Page();
  const std::string before = File(g_strConfigFile);
  const std::size_t told = WizardTest::Shown();
  // A box taken before the refused one stays taken for the next Next.
  page.Type(IDC_TCOLOR_MOUSE_OVER_BLUE, "1");
  page.Type(IDC_TCOLOR_MENU_TEXT_RED, "256");
  run.PressNext();
  EXPECT_EQ(unsigned{IDD_TCOLOR}, run.ActiveTemplateId());
  EXPECT_EQ(told + 1, WizardTest::Shown()) << "the framework's message";
  EXPECT_EQ(before, File(g_strConfigFile));
  headless->AnswerColorDialog(RGB(5, 0, 0));
  ASSERT_TRUE(page.Click(IDC_TCOLOR_MENU_TEXT));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ("#ff6601", store::ReadString("Other", "MOUSE_OVER_COLOR", "", 256, g_strConfigFile));
  EXPECT_EQ("#050000", store::ReadString("Other", "REGULAR_TEXT_COLOR", "", 256, g_strConfigFile));
}

// Without its file the palette shows its own picture, at the screen's size.
TEST_F(ColorPageTest, PaletteShowsItsOwnPictureWithoutTheFileAtTheScreensSize) {
  ASSERT_TRUE(platform::Os().files->Remove("c:\\zantools\\zanhelp\\customization\\white.bmp"));
  headless->SetLogPixelsY(120);
  auto run = OpenAt(IDD_TCOLOR);
  run.Page().Paint();
  const auto& palette = run.Page().Get(IDC_TCOLOR_PALETTE);
  EXPECT_EQ("#" + std::to_string(IDB_COLOR_PALETTE), palette.image);
  EXPECT_EQ(CRect(50, 131, 304, 189), palette.rect);
  EXPECT_EQ(254, palette.imageWidth);
  EXPECT_EQ(58, palette.imageHeight);
}

}  // namespace
