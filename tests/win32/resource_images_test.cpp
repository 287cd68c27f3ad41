// The compiled resources other than the dialogs: the colour page's palette
// bitmap and the manifest, read back through the API the program itself uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "pages/tcolor_swatches.h"
#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

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
  // Attributes may wrap: compare with runs of blanks folded.
  std::string folded;
  for (char c : manifest) {
    const bool blank = c == ' ' || c == '\n' || c == '\r';
    if (!blank || folded.empty() || folded.back() != ' ') folded += blank ? ' ' : c;
  }
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                           "level=\"requireAdministrator\"", ">true</dpiAware>"})
    EXPECT_NE(std::string::npos, folded.find(part)) << part;
  // Per-monitor awareness would re-layout the pages on a monitor change and
  // drop the fonts set once at start.
  EXPECT_EQ(std::string::npos, manifest.find("dpiAwareness"));
  EXPECT_EQ(std::string::npos, manifest.find("PerMonitor"));
}

}  // namespace
