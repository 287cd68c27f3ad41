// The colour page's palette: where it sits and the sixteen swatches a click
// picks, in pixels of the page's client area on a 96-dpi screen. Plain data,
// so that the pictures of the palette can be drawn from the same rows.
#pragma once

#include <cstdint>

namespace tcolor {

struct Swatch {
  // Both bounds of each range are exclusive: a point on a bound is outside.
  int left, top, right, bottom;
  std::uint8_t red, green, blue;
};

inline constexpr int kPaletteLeft = 40;
inline constexpr int kPaletteTop = 105;
inline constexpr int kPaletteWidth = 203;
inline constexpr int kPaletteHeight = 46;

inline constexpr Swatch kSwatches[] = {
    {44, 109, 61, 124, 255, 255, 255},   {70, 109, 87, 124, 192, 192, 192},
    {96, 109, 113, 124, 255, 0, 0},      {122, 109, 139, 124, 255, 255, 0},
    {148, 109, 165, 124, 0, 255, 0},     {169, 109, 189, 124, 0, 0, 255},
    {195, 109, 214, 124, 255, 128, 255}, {219, 109, 238, 124, 0, 255, 255},
    {44, 131, 61, 147, 0, 0, 0},         {70, 131, 87, 147, 128, 128, 128},
    {96, 131, 113, 147, 128, 64, 0},     {122, 131, 139, 147, 255, 128, 0},
    {148, 131, 165, 147, 0, 128, 0},     {169, 131, 189, 147, 0, 0, 128},
    {195, 131, 214, 147, 255, 0, 255},   {219, 131, 238, 147, 64, 128, 128},
};

}  // namespace tcolor
