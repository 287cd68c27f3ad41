// Resource scripts through the headless templates: the spellings a script may
// use, and the program's own dialogs as a keyboard user meets them.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "framework/headless/headless.h"
#include "res/resource.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::Kind;
using fw::headless::ScopedHeadless;

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
    CTEXT "Plain", 1008, 50, 50, 40, 8
END
)";

TEST(HeadlessTemplates, ReadsDialogsControlsAndStrings) {
  ScopedHeadless backend;
  EXPECT_EQ(backend->DefineFromResourceScript(kScript, kHeader), 1);
  EXPECT_EQ(LoadResourceString(7), "Say \"hello\" to c:\\zan");
  EXPECT_EQ(LoadResourceString(8), "eight");
  const auto* spec = backend->SpecOf(200);
  ASSERT_NE(spec, nullptr);
  EXPECT_EQ(spec->caption, "Sample, with comma");
  // id, kind, text, visible, enabled, sorted, readOnly, notify
  using Row = std::tuple<int, Kind, std::string, bool, bool, bool, bool, bool>;
  std::vector<Row> read;
  for (const auto& c : spec->controls)
    read.emplace_back(c.id, c.kind, c.text, c.visible, c.enabled, c.sorted, c.readOnly, c.notify);
  const std::vector<Row> expected = {
      {1001, Kind::Edit, "", false, true, false, false, false},
      {1002, Kind::CheckBox, "&Show", true, false, false, false, false},
      {1003, Kind::ListBox, "", true, true, true, false, false},
      {1004, Kind::ComboBox, "", false, true, true, false, false},
      {1005, Kind::PushButton, "Go", true, true, false, false, false},
      {1006, Kind::Edit, "", true, true, false, true, false},
      {1007, Kind::Static, "Link", true, true, false, false, true},
      {1008, Kind::Static, "Plain", true, true, false, false, false},
  };
  EXPECT_EQ(read, expected) << "the IDC_STATIC text is not addressable";
}

// The mnemonic of a text, if any: the letter after a single '&' ("&&" is a
// literal ampersand).
char Mnemonic(const std::string& text) {
  for (auto i = text.find('&'); i != std::string::npos && i + 1 < text.size();
       i = text.find('&', i + 2))
    if (text[i + 1] != '&')
      return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  return 0;
}

// A repeated id leaves the second control out of reach; a repeated Alt+ key
// reaches only the first. Labels without an id carry no mnemonic in this
// script, so the controls with one are all there is to compare.
TEST(ProgramTemplates, NoDialogRepeatsAnIdOrAMnemonic) {
  ScopedHeadless backend;
  ASSERT_TRUE(okapi_test::LoadProgramTemplates(*backend));
  for (unsigned dialog :
       {IDD_ABOUTBOX, IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU, IDD_WMENU, IDD_VICONS,
        IDD_BACKGROUNDS, IDD_TCOLOR, IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING}) {
    SCOPED_TRACE("dialog " + std::to_string(dialog));
    const auto* spec = backend->SpecOf(dialog);
    ASSERT_TRUE(spec);
    std::map<int, std::string> ids;
    std::map<char, std::string> mnemonics;
    for (const auto& control : spec->controls) {
      const auto [it, fresh] = ids.emplace(control.id, control.text);
      EXPECT_TRUE(fresh) << control.id << " \"" << control.text << "\" and \"" << it->second
                         << "\"";
      if (const char key = Mnemonic(control.text)) {
        const auto [other, first] = mnemonics.emplace(key, control.text);
        EXPECT_TRUE(first) << "\"" << control.text << "\" and \"" << other->second
                           << "\" share Alt+" << key;
      }
    }
  }
}

}  // namespace
