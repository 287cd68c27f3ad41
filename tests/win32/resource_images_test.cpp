// The compiled resources other than the dialogs: bitmaps, icon, strings,
// version and manifest, read back through the API that
// the program itself uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

struct BitmapRow {
  int id;
  int width, height;
  int bits;  // 0: any
};

TEST(ResourceBitmaps, HaveTheirSizes) {
  const BitmapRow rows[] = {
      {IDB_BANNER, 522, 50, 0},
      {IDB_WELCOME_PICTURE, 522, 334, 0},
      {IDB_COLOR_PALETTE, 203, 46, 24},
      {IDB_WHITE, 205, 50, 0},
  };
  for (const BitmapRow& row : rows) {
    SCOPED_TRACE("bitmap " + std::to_string(row.id));
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(Self(), MAKEINTRESOURCEA(row.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(bitmap);
    DIBSECTION dib = {};
    ASSERT_EQ(int(sizeof dib), GetObjectA(bitmap, sizeof dib, &dib));
    EXPECT_EQ(row.width, dib.dsBmih.biWidth);
    EXPECT_EQ(row.height, std::abs(dib.dsBmih.biHeight));
    if (row.bits) {
      EXPECT_EQ(row.bits, dib.dsBmih.biBitCount);
    }
    DeleteObject(bitmap);
  }
}

// The colour page picks by fixed rectangles in its client area (exclusive
// bounds) with the palette placed at (40, 105); each swatch must show there.
TEST(ResourceBitmaps, PaletteSwatchesLieUnderThePickRectangles) {
  struct Swatch {
    int top, bottom, left, right;
    COLORREF shown;
  };
  const Swatch swatches[] = {
      {109, 124, 44, 61, RGB(255, 255, 255)},   {109, 124, 70, 87, RGB(192, 192, 192)},
      {109, 124, 96, 113, RGB(255, 0, 0)},      {109, 124, 122, 139, RGB(255, 255, 0)},
      {109, 124, 148, 165, RGB(0, 255, 0)},     {109, 124, 169, 189, RGB(0, 0, 255)},
      {109, 124, 195, 214, RGB(255, 128, 255)}, {109, 124, 219, 238, RGB(128, 255, 255)},
      {131, 147, 44, 61, RGB(0, 0, 0)},         {131, 147, 70, 87, RGB(128, 128, 128)},
      {131, 147, 96, 113, RGB(128, 64, 0)},     {131, 147, 122, 139, RGB(255, 128, 0)},
      {131, 147, 148, 165, RGB(0, 128, 0)},     {131, 147, 169, 189, RGB(0, 0, 128)},
      {131, 147, 195, 214, RGB(255, 0, 255)},   {131, 147, 219, 238, RGB(64, 128, 128)},
  };
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(Self(), MAKEINTRESOURCEA(IDB_COLOR_PALETTE),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_TRUE(bitmap);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (const Swatch& s : swatches) {
    SCOPED_TRACE("swatch at x " + std::to_string(s.left) + ", y " + std::to_string(s.top));
    // Every pixel that picks the swatch shows its colour...
    for (int y = s.top + 1; y < s.bottom; ++y)
      for (int x = s.left + 1; x < s.right; ++x)
        ASSERT_EQ(s.shown, GetPixel(dc, x - 40, y - 105)) << x << "," << y;
    // ...and its frame, which picks nothing, does not.
    EXPECT_NE(s.shown, GetPixel(dc, s.left - 40, s.top - 105));
    EXPECT_NE(s.shown, GetPixel(dc, s.right - 40, s.bottom - 105));
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
  ASSERT_TRUE(data);
  const WORD count = reinterpret_cast<const WORD*>(data)[2];
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(data + 6);
  std::vector<std::pair<int, int>> images;
  for (WORD i = 0; i < count; ++i) images.emplace_back(entries[i].width, entries[i].bitCount);
  std::sort(images.begin(), images.end());
  const std::vector<std::pair<int, int>> expected = {{16, 4}, {16, 8}, {32, 4}, {32, 8}};
  EXPECT_EQ(expected, images);
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(Self(), MAKEINTRESOURCEA(IDI_OKAPI), IMAGE_ICON, size, size, 0));
    EXPECT_TRUE(icon) << size;
    if (icon) DestroyIcon(icon);
  }
}

TEST(ResourceStrings, AboutItemAndSheetCaption) {
  char text[64] = {};
  EXPECT_EQ(15, LoadStringA(Self(), IDS_ABOUTBOX, text, sizeof text));
  EXPECT_STREQ("&About OKAPI...", text);
  EXPECT_EQ(7, LoadStringA(Self(), IDS_WIZARD_CAPTION, text, sizeof text));
  EXPECT_STREQ("Wizard1", text);
}

std::string ModuleVersionString(const char* name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD handle = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path, &handle));
  if (block.empty() || !GetFileVersionInfoA(path, 0, DWORD(block.size()), block.data())) return {};
  char* value = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
    return {};
  return value;
}

TEST(ResourceVersion, NamesOkapiOneDotZero) {
  EXPECT_EQ("OKAPI", ModuleVersionString("ProductName"));
  EXPECT_EQ("1.0", ModuleVersionString("ProductVersion"));
  EXPECT_EQ("1.0", ModuleVersionString("FileVersion"));
}

TEST(ResourceManifest, AsksForCommonControlsSixSystemDpiAwarenessAndAdministrator) {
  HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_TRUE(found);
  const char* data = static_cast<const char*>(LockResource(LoadResource(Self(), found)));
  const std::string manifest(data, SizeofResource(Self(), found));
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                           "level=\"requireAdministrator\"", ">true</dpiAware>"}) {
    SCOPED_TRACE(part);
    // Attributes may wrap: compare with runs of blanks folded.
    std::string folded;
    for (char c : manifest) {
      const bool blank = c == ' ' || c == '\n' || c == '\r';
      if (blank && !folded.empty() && folded.back() == ' ') continue;
      folded += blank ? ' ' : c;
    }
    EXPECT_NE(std::string::npos, folded.find(part));
  }
  // Per-monitor awareness would re-layout the pages on a monitor change and
  // drop the fonts set once at start.
  EXPECT_EQ(std::string::npos, manifest.find("dpiAwareness"));
  EXPECT_EQ(std::string::npos, manifest.find("PerMonitor"));
}

}  // namespace
