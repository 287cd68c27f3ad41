// The compiled resources read back through the API the program itself uses:
// the dialog templates as Windows builds them, the colour page's palette
// bitmap and the manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <set>
#include <string>

#include "pages/tcolor_swatches.h"
#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

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
  HWND owner =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, Self(), nullptr);
  ASSERT_TRUE(owner);
  for (unsigned dialog :
       {IDD_ABOUTBOX, IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU, IDD_WMENU, IDD_VICONS,
        IDD_BACKGROUNDS, IDD_TCOLOR, IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING}) {
    SCOPED_TRACE(dialog);
    HWND window = CreateDialogParamA(Self(), MAKEINTRESOURCEA(dialog), owner, &Quiet, 0);
    ASSERT_TRUE(window) << GetLastError();
    std::set<int> ids;
    std::set<char> keys;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(child);
      if (id == -1 || id == 0xFFFF) continue;  // labels no code reaches
      char text[512] = {};
      GetWindowTextA(child, text, sizeof text);
      EXPECT_TRUE(ids.insert(id).second) << text;
      const char key = Mnemonic(text);
      EXPECT_TRUE(!key || keys.insert(key).second) << text;
    }
    EXPECT_FALSE(ids.empty());
    DestroyWindow(window);
  }
  DestroyWindow(owner);
}

// Each swatch of the colour page's palette shows the colour a pick there
// applies, on every pixel that picks it.
TEST(ResourceBitmaps, PaletteSwatchesShowWhatTheirPickApplies) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(Self(), MAKEINTRESOURCEA(IDB_COLOR_PALETTE),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_TRUE(bitmap);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const auto at = [&](int x, int y) {
    return GetPixel(dc, x - tcolor::kPaletteLeft, y - tcolor::kPaletteTop);
  };
  for (const auto& s : tcolor::kSwatches) {
    SCOPED_TRACE("swatch at x " + std::to_string(s.left) + ", y " + std::to_string(s.top));
    const COLORREF applied = RGB(s.red, s.green, s.blue);
    for (int y = s.top + 1; y < s.bottom; ++y)
      for (int x = s.left + 1; x < s.right; ++x) ASSERT_EQ(applied, at(x, y)) << x << "," << y;
    // Its frame, which picks nothing, does not show it.
    EXPECT_NE(applied, at(s.left, s.top));
    EXPECT_NE(applied, at(s.right, s.bottom));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(ResourceManifest, AsksForCommonControlsSixSystemDpiAwarenessAndAdministrator) {
  HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_TRUE(found);
  const char* data = static_cast<const char*>(LockResource(LoadResource(Self(), found)));
  const std::string manifest(data, SizeofResource(Self(), found));
  // Attributes may wrap: compare without blanks.
  std::string bare = manifest;
  std::erase_if(bare, [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\"version=\"6.0.0.0\"",
                           "level=\"requireAdministrator\"", ">true</dpiAware>"})
    EXPECT_NE(std::string::npos, bare.find(part)) << part;
  // Per-monitor awareness would re-layout the pages on a monitor change and
  // drop the fonts set once at start.
  EXPECT_EQ(std::string::npos, manifest.find("dpiAwareness"));
  EXPECT_EQ(std::string::npos, manifest.find("PerMonitor"));
}

}  // namespace
