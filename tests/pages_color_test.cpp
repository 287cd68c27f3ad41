// The colour page in the wizard, on the laid demo installation, driven
// through the headless backend.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/headless/headless.h"
#include "pages/tcolor.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::HeadlessBackend;
using fw::headless::ScopedHeadless;
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

class ColorPageTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
    DiscoverInstallation();
  }
  void TearDown() override {
    for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
  }
  SheetDriver OpenColorPage() {
    wizard = std::make_unique<OkapiWizard>();
    SheetDriver run = headless->Open(wizard->sheet);
    while (run.IsOpen() && run.ActiveTemplateId() != IDD_TCOLOR) {
      if (run.ActiveTemplateId() == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
      if (!run.PressNext()) break;
    }
    EXPECT_EQ(unsigned{IDD_TCOLOR}, run.ActiveTemplateId());
    return run;
  }
  static std::string Shown(const DialogDriver& page, Row row) {
    const auto& boxes = kBoxes[static_cast<int>(row)];
    return page.Text(boxes[0]) + "," + page.Text(boxes[1]) + "," + page.Text(boxes[2]);
  }
  static std::string ShownTextRows(const DialogDriver& page) {
    return Shown(page, Row::MouseOver) + " " + Shown(page, Row::Menu) + " " +
           Shown(page, Row::ToolBar);
  }
  static std::string Stored(const char* section, const char* key) {
    return store::ReadString(section, key, "<none>", 256, g_strConfigFile);
  }
  static void Store(const char* section, const char* key, std::optional<std::string> value) {
    ASSERT_TRUE(store::WriteString(section, key, value, g_strConfigFile));
  }
  static std::string ConfigFile() {
    return platform::Os().files->ReadFile(g_strConfigFile).value_or("<missing>");
  }
  CTColor& Page() const { return wizard->tcolor; }

  demo::Installation installation;
  ScopedHeadless headless;
  std::unique_ptr<OkapiWizard> wizard;
};

TEST_F(ColorPageTest, StoredColoursShowAndOnlyRealColoursAreWrittenBackInLowerCase) {
  const struct {
    const char* name;
    const char* section;
    const char* key;
    Row row;
    std::optional<std::string> stored;
    const char* shown;
    const char* written;
  } rows[] = {
      {"upper case", kOther, "MOUSE_OVER_COLOR", Row::MouseOver, "#FF00AA", "255,0,170", "#ff00aa"},
      {"mixed case, more after", kOther, "MAIN_MENU_TEXT_COLOR", Row::ToolBar, "#0a0B0c;x",
       "10,11,12", "#0a0b0c"},
      {"background entry", kOptions, demo::slots::kBackgroundColor, Row::Background,
       "__BACKGROUND_COLOR__,\"#102030\"", "16,32,48", "__BACKGROUND_COLOR__,\"#102030\""},
      {"missing", kOther, "REGULAR_TEXT_COLOR", Row::Menu, std::nullopt, "0,0,0", "<none>"},
      {"sentinel", kOther, "MOUSE_OVER_COLOR", Row::MouseOver, "Error", "0,0,0", "Error"},
      {"not hexadecimal", kOther, "MAIN_MENU_TEXT_COLOR", Row::ToolBar, "#12G456", "0,0,0",
       "#12G456"},
      {"short", kOther, "MOUSE_OVER_COLOR", Row::MouseOver, "#fff", "0,0,0", "#fff"},
      {"background unquoted", kOptions, demo::slots::kBackgroundColor, Row::Background,
       "__BACKGROUND_COLOR__,#102030", "0,0,0", "__BACKGROUND_COLOR__,#102030"},
      // The map file then has no slot for the marker.
      {"background missing", kOptions, demo::slots::kBackgroundColor, Row::Background, std::nullopt,
       "0,0,0", "<none>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::LayInstallation(installation));
    Store(row.section, row.key, row.stored);
    SheetDriver run = OpenColorPage();
    EXPECT_EQ(row.shown, Shown(run.Page(), row.row));
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(unsigned{IDD_SOUNDS}, run.ActiveTemplateId());
    EXPECT_EQ(row.written, Stored(row.section, row.key));
    EXPECT_EQ("<none>", Stored(kOptions, "Error"));
  }
  EXPECT_TRUE(headless->Messages().empty());
}

TEST_F(ColorPageTest, TypedColoursAreWrittenAsSixLowerCaseDigits) {
  const struct {
    const char* name;
    const char* key;
    Row row;
    std::optional<std::string> stored;
    const char* typed[3];
    const char* written;
  } rows[] = {
      {"menu", "REGULAR_TEXT_COLOR", Row::Menu, "#000000", {"255", "0", "16"}, "#ff0010"},
      {"tool bar to black",
       "MAIN_MENU_TEXT_COLOR",
       Row::ToolBar,
       "#003366",
       {"0", "0", "0"},
       "#000000"},
      {"missing, then given",
       "MOUSE_OVER_COLOR",
       Row::MouseOver,
       std::nullopt,
       {"1", "2", "3"},
       "#010203"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Store(kOther, row.key, row.stored);
    SheetDriver run = OpenColorPage();
    for (int i = 0; i < 3; ++i) run.Page().Type(kBoxes[static_cast<int>(row.row)][i], row.typed[i]);
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(row.written, Stored(kOther, row.key));
  }
}

TEST_F(ColorPageTest, RefusedBoxKeepsThePageAndWritesNothingUntilMended) {
  for (const char* refused : {"256", "-1", "1a", ""}) {
    SCOPED_TRACE(std::string("typed \"") + refused + "\"");
    SheetDriver run = OpenColorPage();
    const std::string before = ConfigFile();
    const std::size_t told = headless->Messages().size();
    // The tool-bar blue box is taken over before the menu red one.
    run.Page().Type(IDC_TCOLOR_TOOL_BAR_BLUE, "7");
    run.Page().Type(IDC_TCOLOR_MENU_TEXT_RED, refused);
    run.PressNext();
    EXPECT_EQ(unsigned{IDD_TCOLOR}, run.ActiveTemplateId());
    EXPECT_EQ(told + 1, headless->Messages().size()) << "the framework's message";
    EXPECT_EQ(before, ConfigFile());
    run.Page().Type(IDC_TCOLOR_MENU_TEXT_RED, "5");
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ("#003307", Stored(kOther, "MAIN_MENU_TEXT_COLOR"));
    EXPECT_EQ("#050000", Stored(kOther, "REGULAR_TEXT_COLOR"));
    ASSERT_TRUE(demo::LayInstallation(installation));
  }
}

TEST_F(ColorPageTest, LabelsDialogAndPaletteShareOneTarget) {
  const CPoint white{50, 115}, black{50, 140};
  const struct {
    const char* name;
    std::function<void(HeadlessBackend&, DialogDriver&)> act;
    const char* shown;
  } rows[] = {
      {"a pick without a target changes nothing",
       [&](auto&, auto& page) { page.ReleaseMouse(white); }, kDemoShown},
      {"cancelled: the target waits for a swatch",
       [&](auto& ui, auto& page) {
         ui.AnswerColorDialog(std::nullopt);
         page.Click(IDC_TCOLOR_TOOL_BAR);
         page.ReleaseMouse(black);
       },
       "255,102,0 0,0,0 0,0,0"},
      {"confirmed: applied, and a later pick goes nowhere",
       [&](auto& ui, auto& page) {
         ui.AnswerColorDialog(RGB(1, 2, 3));
         page.Click(IDC_TCOLOR_MOUSE_OVER);
         page.ReleaseMouse(white);
       },
       "1,2,3 0,0,0 0,51,102"},
      {"the last label chosen takes the pick",
       [&](auto& ui, auto& page) {
         ui.AnswerColorDialog(std::nullopt);
         ui.AnswerColorDialog(std::nullopt);
         page.Click(IDC_TCOLOR_MENU_TEXT);
         page.Click(IDC_TCOLOR_TOOL_BAR);
         page.ReleaseMouse(white);
       },
       "255,102,0 0,0,0 255,255,255"},
      {"what was typed in another row stays",
       [&](auto& ui, auto& page) {
         page.Type(IDC_TCOLOR_MOUSE_OVER_GREEN, "9");
         ui.AnswerColorDialog(RGB(4, 5, 6));
         page.Click(IDC_TCOLOR_MENU_TEXT);
       },
       "255,9,0 4,5,6 0,51,102"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SheetDriver run = OpenColorPage();
    DialogDriver page = run.Page();
    row.act(*headless, page);
    EXPECT_EQ(row.shown, ShownTextRows(page));
    EXPECT_FALSE(Page().PickingState().target.has_value());
  }
  for (const auto& dialog : headless->ColorDialogs()) {
    EXPECT_EQ(RGB(0, 0, 0), dialog.initial);
    EXPECT_EQ(0u, dialog.flags);
  }
  EXPECT_EQ(5u, headless->ColorDialogs().size());
}

TEST_F(ColorPageTest, SwatchesPickInsideTheirBoundsAtTheScreensDpi) {
  const struct {
    int dpi;
    CPoint at;
    const char* picked;  // null: nothing
  } rows[] = {
      {96, {44, 115}, nullptr},        {96, {45, 115}, "255,255,255"},
      {96, {60, 123}, "255,255,255"},  {96, {61, 115}, nullptr},
      {96, {50, 109}, nullptr},        {96, {50, 110}, "255,255,255"},
      {96, {50, 124}, nullptr},        {96, {66, 115}, nullptr},
      {96, {220, 110}, "0,255,255"},   {96, {237, 146}, "64,128,128"},
      {96, {238, 146}, nullptr},       {96, {100, 140}, "128,64,0"},
      {120, {55, 140}, nullptr},       {120, {56, 140}, "255,255,255"},
      {120, {75, 154}, "255,255,255"}, {120, {76, 140}, nullptr},
      {120, {45, 115}, nullptr},       {120, {56, 170}, "0,0,0"},
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
      {120, true, file, {50, 131, 304, 189}},
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
