// The background list in the real wizard: the real list box and file dialog,
// the files checked after each button.
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

constexpr char kConfigFile[] = "c:\\zantools\\zanhelp\\lumen-config.ini";
constexpr char kMapFile[] = "c:\\zantools\\zanhelp\\okapi.ini";

std::string Value(const char* file, const char* section, const char* key) {
  return store::ReadString(section, key, "<none>", 256, file);
}

// Wine passes list-box texts to another process unconverted (UTF-16) even to
// the A calls; the W calls read them on Windows and Wine alike (ASCII texts).
std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::vector<std::string> Items(HWND page) {
  const HWND list = GetDlgItem(page, IDC_BACKGROUNDS_LIST);
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.emplace_back(text, text + wcslen(text));
  }
  return items;
}

bool Listed(HWND page, const std::string& text) {
  const auto items = Items(page);
  return std::find(items.begin(), items.end(), text) != items.end();
}

void Select(HWND page, const std::string& text) {
  const HWND list = GetDlgItem(page, IDC_BACKGROUNDS_LIST);
  const std::wstring wide = Wide(text);
  const LRESULT at =
      SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(wide.c_str()));
  ASSERT_NE(LB_ERR, at) << text;
  ASSERT_EQ(at, SendMessageA(list, LB_SETCURSEL, at, 0));
}

void Click(HWND page, int id) {
  PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

TEST_F(ProgramTest, BackgroundListFollowsAddCurrentSettingAndDelete) {
  for (const char* size : {"small", "large"}) {
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(
        std::string("c:\\zantools\\zanhelp\\images\\") + size + "\\sunset.jpg",
        "\xff\xd8\xff\xd9"));
  }
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_BACKGROUNDS));
  const HWND page = CurrentPage(wizard);
  EXPECT_EQ((std::vector<std::string>{"Forest", "Ocean", "On the Web", "Sky"}), Items(page));

  // A bare name is found only in the folder the dialog opens in.
  Type(wizard, IDC_BACKGROUNDS_NAME, "Sunset");
  Click(page, IDC_BACKGROUNDS_BROWSE);
  HWND open = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (open = FindProgramDialog(program.Id(), "Open")); }));
  HWND name = GetDlgItem(open, 0x47C);  // explorer style (cmb13), else the old edt1
  if (!name) name = GetDlgItem(open, 0x480);
  ASSERT_TRUE(name);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("sunset.jpg"));
  PostMessageA(open, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(open); }));
  ASSERT_TRUE(
      WaitFor([&] { return TextOf(GetDlgItem(page, IDC_BACKGROUNDS_JPEG)) == "sunset.jpg"; }));

  Click(page, IDC_BACKGROUNDS_ADD);
  ASSERT_TRUE(WaitFor([&] { return Listed(page, "sunset.jpg"); }));
  EXPECT_EQ("sunset.jpg", Value(kTextFile, "Backgrounds", "BACK5TEXT"));
  EXPECT_EQ("sunset.jpg", Value(kConfigFile, "Backgrounds", "BACK5"));
  // The mark goes last, after the list shows the entry.
  EXPECT_TRUE(WaitFor([] { return Value(kMapFile, "OKAPI", "BACK5TEXT") == "<none>"; }));

  ASSERT_NO_FATAL_FAILURE(Select(page, "Sky"));
  Click(page, IDC_BACKGROUNDS_CURRENT);
  ASSERT_TRUE(
      WaitFor([&] { return TextOf(GetDlgItem(page, IDC_BACKGROUNDS_CURRENT_NAME)) == "Sky"; }));
  EXPECT_EQ("__MENU4_BACKGROUND__,sky.jpg",
            Value(kConfigFile, "Global Options", demo::slots::kMenu4Background));

  ASSERT_NO_FATAL_FAILURE(Select(page, "Forest"));
  Click(page, IDC_BACKGROUNDS_DELETE);
  ASSERT_TRUE(WaitFor([&] { return !Listed(page, "Forest"); }));
  EXPECT_TRUE(WaitFor([] { return Value(kMapFile, "OKAPI", "BACK3TEXT") == "Freed"; }));
  EXPECT_EQ("<none>", Value(kTextFile, "Backgrounds", "BACK3TEXT"));
  EXPECT_EQ("<none>", Value(kConfigFile, "Backgrounds", "BACK3"));
  EXPECT_EQ((std::vector<std::string>{"Ocean", "On the Web", "Sky", "sunset.jpg"}), Items(page));
  Screenshot(wizard, "backgrounds-changed");
  Cancel(wizard, program);
}

}  // namespace
