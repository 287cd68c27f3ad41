// The colour page in the wizard, on the laid demo installation, driven
// through the headless backend.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "pages/tcolor.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::SheetDriver;
using Row = CTColor::Row;

constexpr char kOther[] = "Other";
constexpr char kOptions[] = "Global Options";
constexpr int kBoxes[4][3] = {
    {IDC_TCOLOR_MOUSE_OVER_RED, IDC_TCOLOR_MOUSE_OVER_GREEN, IDC_TCOLOR_MOUSE_OVER_BLUE},
    {IDC_TCOLOR_MENU_TEXT_RED, IDC_TCOLOR_MENU_TEXT_GREEN, IDC_TCOLOR_MENU_TEXT_BLUE},
    {IDC_TCOLOR_TOOL_BAR_RED, IDC_TCOLOR_TOOL_BAR_GREEN, IDC_TCOLOR_TOOL_BAR_BLUE},
    {IDC_TCOLOR_BACKGROUND_RED, IDC_TCOLOR_BACKGROUND_GREEN, IDC_TCOLOR_BACKGROUND_BLUE}};
// The demo's mouse-over, menu and tool-bar colours as the boxes show them.
constexpr char kDemoShown[] = "255,102,0 0,0,0 0,51,102";

class ColorPageTest : public okapi_test::WizardTest {
 protected:
  SheetDriver OpenColorPage() { return OpenAt(IDD_TCOLOR); }
  static std::string Shown(const DialogDriver& page, Row row) {
    const auto& boxes = kBoxes[static_cast<int>(row)];
    return page.Text(boxes[0]) + "," + page.Text(boxes[1]) + "," + page.Text(boxes[2]);
  }
  static std::string Stored(const char* section, const char* key) {
    return store::ReadString(section, key, "<none>", 256, g_strConfigFile);
  }
  CTColor& Page() const { return wizard->tcolor; }
};

TEST_F(ColorPageTest, StoredColoursShowAndOnlyRealOnesAreWrittenBackInLowerCase) {
  const char* const kBackground = demo::slots::kBackgroundColor;
  const struct {
    const char* name;
    const char* section;
    const char* key;
    Row row;
    std::optional<std::string> stored;
    const char* shown;
    std::string typed;  // "red,green,blue"; empty: nothing typed
    const char* written;
  } rows[] = {
      {"upper case", kOther, "MOUSE_OVER_COLOR", Row::MouseOver, "#FF00AA", "255,0,170", "",
       "#ff00aa"},
      {"more after", kOther, "MAIN_MENU_TEXT_COLOR", Row::ToolBar, "#0a0B0c;x", "10,11,12", "",
       "#0a0b0c"},
      {"background entry", kOptions, kBackground, Row::Background,
       "__BACKGROUND_COLOR__,\"#102030\"", "16,32,48", "", "__BACKGROUND_COLOR__,\"#102030\""},
      {"missing", kOther, "REGULAR_TEXT_COLOR", Row::Menu, std::nullopt, "0,0,0", "", "<none>"},
      {"missing, then typed", kOther, "REGULAR_TEXT_COLOR", Row::Menu, std::nullopt, "0,0,0",
       "1,2,3", "#010203"},
      {"sentinel", kOther, "MOUSE_OVER_COLOR", Row::MouseOver, "Error", "0,0,0", "", "Error"},
      {"short", kOther, "MOUSE_OVER_COLOR", Row::MouseOver, "#fff", "0,0,0", "", "#fff"},
      {"background unquoted", kOptions, kBackground, Row::Background,
       "__BACKGROUND_COLOR__,#102030", "0,0,0", "", "__BACKGROUND_COLOR__,#102030"},
      // The map file then has no slot for the marker.
      {"background missing", kOptions, kBackground, Row::Background, std::nullopt, "0,0,0", "",
       "<none>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::LayInstallation(installation));
    ASSERT_TRUE(store::WriteString(row.section, row.key, row.stored, g_strConfigFile));
    SheetDriver run = OpenColorPage();
    EXPECT_EQ(row.shown, Shown(run.Page(), row.row));
    std::istringstream typed(row.typed);
    std::string channel;
    for (int box : kBoxes[static_cast<int>(row.row)])
      if (std::getline(typed, channel, ',')) run.Page().Type(box, channel);
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(unsigned{IDD_SOUNDS}, run.ActiveTemplateId());
    EXPECT_EQ(row.written, Stored(row.section, row.key));
    EXPECT_EQ("<none>", Stored(kOptions, "Error"));
  }
  EXPECT_TRUE(headless->Messages().empty());
}

TEST_F(ColorPageTest, RefusedBoxKeepsThePageAndWritesNothingUntilMended) {
  for (const char* refused : {"256", "-1", ""}) {
    SCOPED_TRACE(std::string("typed \"") + refused + "\"");
    SheetDriver run = OpenColorPage();
    const std::string before = File(g_strConfigFile);
    const std::size_t told = WizardTest::Shown();
    // The tool-bar blue box is taken over before the menu red one.
    run.Page().Type(IDC_TCOLOR_TOOL_BAR_BLUE, "7");
    run.Page().Type(IDC_TCOLOR_MENU_TEXT_RED, refused);
    run.PressNext();
    EXPECT_EQ(unsigned{IDD_TCOLOR}, run.ActiveTemplateId());
    EXPECT_EQ(told + 1, WizardTest::Shown()) << "the framework's message";
    EXPECT_EQ(before, File(g_strConfigFile));
    run.Page().Type(IDC_TCOLOR_MENU_TEXT_RED, "5");
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ("#003307", Stored(kOther, "MAIN_MENU_TEXT_COLOR"));
    EXPECT_EQ("#050000", Stored(kOther, "REGULAR_TEXT_COLOR"));
    ASSERT_TRUE(demo::LayInstallation(installation));
  }
}

TEST_F(ColorPageTest, LabelsDialogAndPaletteShareOneTarget) {
  const std::optional<CPoint> white = CPoint{50, 115}, black = CPoint{50, 140}, none;
  const struct {
    const char* name;
    const char* typedMouseOverGreen;                              // null: nothing typed
    std::vector<std::pair<int, std::optional<COLORREF>>> labels;  // clicked; dialog's answer
    std::optional<CPoint> released;
    const char* shown;
  } rows[] = {
      // clang-format off
      {"a pick without a target changes nothing", nullptr, {}, white, kDemoShown},
      {"cancelled: the target waits for a swatch", nullptr, {{IDC_TCOLOR_TOOL_BAR, {}}}, black,
       "255,102,0 0,0,0 0,0,0"},
      {"confirmed: applied, a later pick goes nowhere", nullptr,
       {{IDC_TCOLOR_MOUSE_OVER, RGB(1, 2, 3)}}, white, "1,2,3 0,0,0 0,51,102"},
      {"the last label chosen takes the pick", nullptr,
       {{IDC_TCOLOR_MENU_TEXT, {}}, {IDC_TCOLOR_TOOL_BAR, {}}}, white,
       "255,102,0 0,0,0 255,255,255"},
      {"what was typed in another row stays", "9", {{IDC_TCOLOR_MENU_TEXT, RGB(4, 5, 6)}}, none,
       "255,9,0 4,5,6 0,51,102"},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SheetDriver run = OpenColorPage();
    DialogDriver page = run.Page();
    if (row.typedMouseOverGreen) page.Type(IDC_TCOLOR_MOUSE_OVER_GREEN, row.typedMouseOverGreen);
    for (const auto& [label, answer] : row.labels) {
      headless->AnswerColorDialog(answer);
      ASSERT_TRUE(page.Click(label));
    }
    if (row.released) page.ReleaseMouse(*row.released);
    EXPECT_EQ(row.shown, Shown(page, Row::MouseOver) + " " + Shown(page, Row::Menu) + " " +
                             Shown(page, Row::ToolBar));
    EXPECT_FALSE(Page().PickingState().target.has_value());
  }
}

TEST_F(ColorPageTest, SwatchesPickInsideTheirBoundsAtTheScreensDpi) {
  const struct {
    int dpi;
    CPoint at;
    const char* picked;  // null: nothing
  } rows[] = {
      {96, {44, 115}, nullptr},       {96, {45, 115}, "255,255,255"},
      {96, {60, 123}, "255,255,255"}, {96, {61, 115}, nullptr},
      {96, {50, 109}, nullptr},       {96, {50, 124}, nullptr},
      {96, {220, 110}, "0,255,255"},  {96, {237, 146}, "64,128,128"},
      {120, {55, 140}, nullptr},      {120, {56, 140}, "255,255,255"},
      {120, {56, 170}, "0,0,0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + " dpi at " + std::to_string(row.at.x) + "," +
                 std::to_string(row.at.y));
    headless->SetLogPixelsY(row.dpi);
    SheetDriver run = OpenColorPage();
    DialogDriver page = run.Page();
    headless->AnswerColorDialog(std::nullopt);
    page.Click(IDC_TCOLOR_MOUSE_OVER);
    page.ReleaseMouse(row.at);
    EXPECT_EQ(row.picked ? row.picked : "255,102,0", Shown(page, Row::MouseOver));
    EXPECT_EQ(row.picked == nullptr, Page().PickingState().target.has_value());
  }
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
      {96, false, own, {40, 105, 243, 151}},
      {120, false, own, {50, 131, 304, 189}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + (row.fileThere ? " dpi, file" : " dpi, no file"));
    ASSERT_TRUE(demo::LayInstallation(installation));
    if (!row.fileThere) {
      ASSERT_TRUE(platform::Os().files->Remove(file));
    }
    headless->SetLogPixelsY(row.dpi);
    SheetDriver run = OpenColorPage();
    run.Page().Paint();
    const auto& palette = run.Page().Get(IDC_TCOLOR_PALETTE);
    EXPECT_EQ(row.shown, palette.image);
    EXPECT_EQ(row.place, palette.rect);
    EXPECT_EQ(row.place.Width(), palette.imageWidth);
    EXPECT_EQ(row.place.Height(), palette.imageHeight);
  }
}

}  // namespace
