// The compiled resources other than the dialogs, read back through the API
// that the program itself uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

// The colour page picks by fixed rectangles in its client area (exclusive
// bounds) with the palette placed at (40, 105); each swatch must show there.
TEST(ResourceBitmaps, PaletteSwatchesLieUnderThePickRectangles) {
  const int tops[2][2] = {{109, 124}, {131, 147}};
  const int lefts[8][2] = {{44, 61},   {70, 87},   {96, 113},  {122, 139},
                           {148, 165}, {169, 189}, {195, 214}, {219, 238}};
  const COLORREF colours[2][8] = {
      {RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0),
       RGB(0, 0, 255), RGB(255, 128, 255), RGB(128, 255, 255)},
      {RGB(0, 0, 0), RGB(128, 128, 128), RGB(128, 64, 0), RGB(255, 128, 0), RGB(0, 128, 0),
       RGB(0, 0, 128), RGB(255, 0, 255), RGB(64, 128, 128)},
  };
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(Self(), MAKEINTRESOURCEA(IDB_COLOR_PALETTE),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_TRUE(bitmap);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const auto at = [&](int x, int y) { return GetPixel(dc, x - 40, y - 105); };
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 8; ++column) {
      const auto [top, bottom] = tops[row];
      const auto [left, right] = lefts[column];
      const COLORREF shown = colours[row][column];
      SCOPED_TRACE("swatch at x " + std::to_string(left) + ", y " + std::to_string(top));
      // Every pixel that picks the swatch shows its colour...
      for (int y = top + 1; y < bottom; ++y)
        for (int x = left + 1; x < right; ++x) ASSERT_EQ(shown, at(x, y)) << x << "," << y;
      // ...and its frame, which picks nothing, does not.
      EXPECT_NE(shown, at(left, top));
      EXPECT_NE(shown, at(right, bottom));
    }
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
