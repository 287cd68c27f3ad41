// The program's dialog templates as Windows builds them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <set>
#include <string>

#include "res/resource.h"

namespace {

// The letter after a single '&' ("&&" is a literal ampersand).
char Mnemonic(const std::string& text) {
  for (auto i = text.find('&'); i != std::string::npos && i + 1 < text.size();
       i = text.find('&', i + 2))
    if (text[i + 1] != '&')
      return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  return 0;
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A repeated id leaves the second control out of reach; a repeated Alt+ key
// reaches only the first.
TEST(DialogTemplates, NoDialogRepeatsAnIdOrAMnemonic) {
  // Pages are child windows: they need a parent, never shown.
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(owner);
  for (unsigned dialog :
       {IDD_ABOUTBOX, IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU, IDD_WMENU, IDD_VICONS,
        IDD_BACKGROUNDS, IDD_TCOLOR, IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING}) {
    SCOPED_TRACE(dialog);
    HWND window =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), owner, &Quiet, 0);
    ASSERT_TRUE(window) << GetLastError();
    std::set<int> ids;
    std::set<char> keys;
    int controls = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(child);
      if (id == -1 || id == 0xFFFF) continue;  // labels no code reaches
      ++controls;
      char text[512] = {};
      GetWindowTextA(child, text, sizeof text);
      EXPECT_TRUE(ids.insert(id).second) << text;
      const char key = Mnemonic(text);
      EXPECT_TRUE(!key || keys.insert(key).second) << text;
    }
    EXPECT_GT(controls, 0);
    DestroyWindow(window);
  }
  DestroyWindow(owner);
}

}  // namespace
