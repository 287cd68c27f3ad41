// The colour page's binding in the wizard, on the laid demo installation,
// driven through the headless backend; its rules are held against its model.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::SheetDriver;

class ColorPageTest : public okapi_test::WizardTest {
 protected:
  static std::string Stored(const char* section, const char* key) {
    return store::ReadString(section, key, "<none>", 256, g_strConfigFile);
  }
};

TEST_F(ColorPageTest, EveryBoxIsWrittenButARefusedOneWritesNothingUntilAPickMendsIt) {
  SheetDriver run = OpenAt(IDD_TCOLOR);
  DialogDriver page = run.Page();
  const std::string before = File(g_strConfigFile);
  const std::size_t told = WizardTest::Shown();
  // Every shown box in the order they are taken over, each with its own value;
  // the menu red one is then refused, after the boxes before it were taken.
  const int boxes[] = {
      // clang-format off
      IDC_TCOLOR_TOOL_BAR_BLUE, IDC_TCOLOR_MOUSE_OVER_BLUE, IDC_TCOLOR_MENU_TEXT_BLUE,
      IDC_TCOLOR_TOOL_BAR_GREEN, IDC_TCOLOR_MOUSE_OVER_GREEN, IDC_TCOLOR_MENU_TEXT_GREEN,
      IDC_TCOLOR_TOOL_BAR_RED, IDC_TCOLOR_MOUSE_OVER_RED, IDC_TCOLOR_MENU_TEXT_RED};
  // clang-format on
  for (int i = 0; i < 9; ++i) page.Type(boxes[i], std::to_string(i));
  page.Type(IDC_TCOLOR_MENU_TEXT_RED, "256");
  run.PressNext();
  EXPECT_EQ(unsigned{IDD_TCOLOR}, run.ActiveTemplateId());
  EXPECT_EQ(told + 1, WizardTest::Shown()) << "the framework's message";
  EXPECT_EQ(before, File(g_strConfigFile));
  headless->AnswerColorDialog(RGB(5, 0, 0));
  ASSERT_TRUE(page.Click(IDC_TCOLOR_MENU_TEXT));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ("#070401", Stored("Other", "MOUSE_OVER_COLOR"));
  EXPECT_EQ("#050000", Stored("Other", "REGULAR_TEXT_COLOR"));
  EXPECT_EQ("#060300", Stored("Other", "MAIN_MENU_TEXT_COLOR"));
}

TEST_F(ColorPageTest, PaletteShowsTheFileElseItsOwnPictureAtTheScreensSize) {
  const std::string file = "c:\\zantools\\zanhelp\\customization\\white.bmp";
  const std::string own = "#" + std::to_string(IDB_COLOR_PALETTE);
  const struct {
    int dpi;
    bool fileThere;
    std::string shown;
    CRect place;
  } rows[] = {
      {96, true, file, {40, 105, 243, 151}},
      {120, false, own, {50, 131, 304, 189}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + (row.fileThere ? " dpi, file" : " dpi, no file"));
    ASSERT_TRUE(demo::LayInstallation(installation));
    if (!row.fileThere) {
      ASSERT_TRUE(platform::Os().files->Remove(file));
    }
    headless->SetLogPixelsY(row.dpi);
    SheetDriver run = OpenAt(IDD_TCOLOR);
    run.Page().Paint();
    const auto& palette = run.Page().Get(IDC_TCOLOR_PALETTE);
    EXPECT_EQ(row.shown, palette.image);
    EXPECT_EQ(row.place, palette.rect);
    EXPECT_EQ(row.place.Width(), palette.imageWidth);
    EXPECT_EQ(row.place.Height(), palette.imageHeight);
  }
}

}  // namespace
