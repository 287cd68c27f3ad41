// The compiled resources other than the dialogs: bitmaps, icon, strings,
// version and manifest, read back through the API that
// the program itself uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

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

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(ResourceIcon, HoldsSixteenAndThirtyTwoPixelsInSixteenAndTwoHundredFiftySixColours) {
  HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(IDI_OKAPI), MAKEINTRESOURCEA(14));
  ASSERT_TRUE(found);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(Self(), found)));
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(data + 6);
  std::vector<std::pair<int, int>> images;
  for (WORD i = 0; i < reinterpret_cast<const WORD*>(data)[2]; ++i)
    images.emplace_back(entries[i].width, entries[i].bitCount);
  std::sort(images.begin(), images.end());
  EXPECT_EQ((std::vector<std::pair<int, int>>{{16, 4}, {16, 8}, {32, 4}, {32, 8}}), images);
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(Self(), MAKEINTRESOURCEA(IDI_OKAPI), IMAGE_ICON, size, size, 0));
    EXPECT_TRUE(icon) << size;
    DestroyIcon(icon);
  }
}

std::string VersionString(const char* name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD handle = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path, &handle));
  char* value = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (block.empty() || !GetFileVersionInfoA(path, 0, DWORD(block.size()), block.data()) ||
      !VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
    return {};
  return value;
}

// The About item's text also shows in the system menu of the Win32 frame test.
TEST(ResourceStrings, SheetCaptionAndVersionNameOkapiOneDotZero) {
  char caption[64] = {};
  EXPECT_EQ(7, LoadStringA(Self(), IDS_WIZARD_CAPTION, caption, sizeof caption));
  EXPECT_STREQ("Wizard1", caption);
  EXPECT_EQ("OKAPI", VersionString("ProductName"));
  EXPECT_EQ("1.0", VersionString("ProductVersion"));
  EXPECT_EQ("1.0", VersionString("FileVersion"));
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
