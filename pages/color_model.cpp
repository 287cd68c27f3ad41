#include "pages/color_model.h"

#include <cstdio>
#include <iterator>

#include "pages/tcolor_swatches.h"
#include "wizard/page_frame.h"

namespace {

using Row = ColorModel::Row;
using Rgb = ColorModel::Rgb;

constexpr const store::Item* kItems[] = {
    &store::item::kMouseOverColor,
    &store::item::kRegularTextColor,
    &store::item::kMainMenuTextColor,
    &store::item::kBackgroundColor,
};
static_assert(std::size(kItems) == ColorModel::kRows, "one item a row, by Row");

// The background is a marker entry: the marker, a comma, then the colour in
// double quotes; the text colours are the colour alone.
bool IsMarkerEntry(const store::Item& item) { return !item.mapSection.empty(); }

std::string Prefix(const store::Item& item) {
  return IsMarkerEntry(item) ? std::string(item.key) + ",\"#" : std::string("#");
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

const store::Item& ColorModel::ItemOf(Row row) { return *kItems[Index(row)]; }

void ColorModel::Load() {
  for (std::size_t i = 0; i < kRows; ++i) {
    const auto color = ParseColor(*kItems[i], store::Read(*kItems[i]));
    m_colors[i] = color.value_or(Rgb{});
    m_known[i] = color.has_value();
  }
}

std::optional<Row> ColorModel::Pick(Rgb color) {
  const std::optional<Row> row = m_target;
  if (!row) return std::nullopt;
  m_target.reset();
  m_colors[Index(*row)] = color;
  m_known[Index(*row)] = true;
  return row;
}

bool ColorModel::Save() {
  for (std::size_t i = 0; i < kRows; ++i) {
    if (!m_known[i] && m_colors[i] == Rgb{}) continue;  // no colour to invent
    if (!store::Write(*kItems[i], FormatColor(*kItems[i], m_colors[i]))) {
      if (store::SlotOf(*kItems[i])) return false;
      continue;
    }
    m_known[i] = true;
  }
  return true;
}

// Six hexadecimal digits, either case, right after the prefix; anything else
// (a missing entry, the sentinel, a short or hand-mangled value) is no colour.
std::optional<Rgb> ParseColor(const store::Item& item, const std::optional<std::string>& value) {
  if (!value) return std::nullopt;
  const std::string prefix = Prefix(item);
  if (value->size() < prefix.size() + 6 || value->compare(0, prefix.size(), prefix) != 0)
    return std::nullopt;
  std::uint8_t channels[3] = {};
  for (std::size_t i = 0; i < 3; ++i) {
    const int high = HexDigit((*value)[prefix.size() + 2 * i]);
    const int low = HexDigit((*value)[prefix.size() + 2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    channels[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return Rgb{channels[0], channels[1], channels[2]};
}

std::string FormatColor(const store::Item& item, Rgb color) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02x%02x%02x", color.red, color.green, color.blue);
  return Prefix(item) + digits + (IsMarkerEntry(item) ? "\"" : "");
}

std::optional<Rgb> SwatchAt(int x, int y, int dpi) {
  const auto scaled = [dpi](int pixels96) { return ScaleForDpi(pixels96, dpi); };
  for (const auto& s : tcolor::kSwatches) {
    if (x > scaled(s.left) && x < scaled(s.right) && y > scaled(s.top) && y < scaled(s.bottom))
      return Rgb{s.red, s.green, s.blue};
  }
  return std::nullopt;
}
