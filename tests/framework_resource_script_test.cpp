// Headless templates read from a resource script: the program's own, and the
// spellings a script may use.
#include <gtest/gtest.h>

#include <string>

#include "framework/headless/headless.h"
#include "res/resource.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::Kind;
using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

constexpr const char* kHeader = R"(
#define IDD_SAMPLE 200
#define IDC_NAME 1001
#define IDC_SHOW 1002
#define IDC_LIST 1003
#define IDC_HIDDEN 1004
#define IDC_PATH 1006
#define IDC_LINK 1007
#define IDS_TITLE 7
)";

constexpr const char* kScript = R"(
#include <windows.h>
#define IDC_STATIC (-1)
#define QUIET_COMBO CBS_DROPDOWNLIST | CBS_SORT | NOT WS_VISIBLE

STRINGTABLE
BEGIN
    IDS_TITLE "Say ""hello"" to c:\\zan"
    8 "eight"
END

IDD_SAMPLE DIALOGEX 0, 0, 100, 50  // a comment
STYLE DS_SETFONT | WS_CHILD | WS_CAPTION
CAPTION "Sample, with comma"
BEGIN
    LTEXT "Name, first", IDC_STATIC, 1, 1, 40, 8
    EDITTEXT IDC_NAME, 1, 10, 40, 12,
             ES_AUTOHSCROLL | NOT WS_VISIBLE
    CONTROL "&Show", IDC_SHOW, "Button", BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED,
            1, 20, 40, 10
    LISTBOX IDC_LIST, 1, 30, 40, 20, LBS_SORT | WS_VSCROLL
    COMBOBOX IDC_HIDDEN, 50, 30, 40, 20, QUIET_COMBO
    PUSHBUTTON "Go", 1005, 50, 1, 40, 14, WS_VISIBLE
    EDITTEXT IDC_PATH, 1, 40, 40, 12, ES_AUTOHSCROLL | ES_READONLY
    LTEXT "Link", IDC_LINK, 50, 40, 40, 8, SS_NOTIFY | WS_GROUP
END
)";

TEST(HeadlessTemplates, ReadsDialogsControlsAndStrings) {
  ScopedHeadless backend;
  EXPECT_EQ(backend->DefineFromResourceScript(kScript, kHeader), 1);
  EXPECT_EQ(LoadString(7), "Say \"hello\" to c:\\zan");
  EXPECT_EQ(LoadString(8), "eight");
  const auto* spec = backend->SpecOf(200);
  ASSERT_NE(spec, nullptr);
  EXPECT_EQ(spec->caption, "Sample, with comma");
  struct Row {
    int id;
    Kind kind;
    const char* text;
    bool visible, enabled, sorted, readOnly, notify;
  };
  const Row rows[] = {
      {1001, Kind::Edit, "", false, true, false, false, false},
      {1002, Kind::CheckBox, "&Show", true, false, false, false, false},
      {1003, Kind::ListBox, "", true, true, true, false, false},
      {1004, Kind::ComboBox, "", false, true, true, false, false},
      {1005, Kind::PushButton, "Go", true, true, false, false, false},
      {1006, Kind::Edit, "", true, true, false, true, false},
      {1007, Kind::Static, "Link", true, true, false, false, true},
  };
  ASSERT_EQ(spec->controls.size(), std::size(rows)) << "the IDC_STATIC text is not addressable";
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].id);
    const auto& c = spec->controls[i];
    EXPECT_EQ(c.id, rows[i].id);
    EXPECT_EQ(c.kind, rows[i].kind);
    EXPECT_EQ(c.text, rows[i].text);
    EXPECT_EQ(c.visible, rows[i].visible);
    EXPECT_EQ(c.enabled, rows[i].enabled);
    EXPECT_EQ(c.sorted, rows[i].sorted);
    EXPECT_EQ(c.readOnly, rows[i].readOnly);
    EXPECT_EQ(c.notify, rows[i].notify);
  }
}

TEST(HeadlessTemplates, ProgramTemplatesDriveHeadlessPages) {
  ScopedHeadless backend;
  ASSERT_TRUE(okapi_test::LoadProgramTemplates(*backend)) << "twelve pages and the About box";
  EXPECT_EQ(LoadString(101), "&About OKAPI...");
  EXPECT_EQ(LoadString(102), "Wizard1");

  class ColorPage : public CPropertyPage {
   public:
    ColorPage() : CPropertyPage(133) {}
    std::uint8_t red = 7;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 1047, red); }
  } color;
  CPropertyPage menu(130);
  CPropertySheet sheet(102u);
  sheet.AddPage(&color);
  sheet.AddPage(&menu);
  SheetDriver run = backend->Open(sheet);
  EXPECT_EQ(run.Title(), "Color");
  DialogDriver page = run.Page();
  EXPECT_EQ(page.Text(1047), "7");
  EXPECT_FALSE(page.Visible(1057)) << "the background row is hidden";
  EXPECT_FALSE(page.Click(1)) << "the hidden Apply button cannot be pressed";
  EXPECT_EQ(page.Get(1026).kind, Kind::Static);
  EXPECT_EQ(page.Text(1026), "Mouse-over text color");
  EXPECT_TRUE(page.Click(IDC_TCOLOR_MOUSE_OVER)) << "an SS_NOTIFY label takes clicks";
  EXPECT_EQ(color.GetDlgItem(1069), nullptr) << "no such control on the colour page";
  EXPECT_TRUE(backend->Faults().empty());

  run.PressNext();
  EXPECT_EQ(run.Title(), "Menu");
  EXPECT_TRUE(run.Page().Click(1146));
  EXPECT_EQ(run.Page().Check(1146), 1) << "the check box checks itself";
  EXPECT_FALSE(run.Page().Click(IDC_APPMENU_MENU1_LABEL))
      << "a label without SS_NOTIFY sends no click";
}

}  // namespace
