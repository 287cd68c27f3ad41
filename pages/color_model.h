// The colour page's rules without its window: what each row holds, where a
// picked colour goes and what Next writes. The page moves values between its
// boxes and this model and shows what it says.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "store/item_table.h"

class ColorModel {
 public:
  enum class Row { MouseOver, Menu, ToolBar, Background };
  static constexpr std::size_t kRows = 4;

  struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
  };

  static const store::Item& ItemOf(Row row);

  // A row whose entry is missing or unreadable shows black and is written
  // only once it holds another colour or one was picked for it.
  void Load();
  // The boxes exchange their bytes here.
  Rgb& Color(Row row) { return m_colors[Index(row)]; }
  const Rgb& Color(Row row) const { return m_colors[Index(row)]; }

  // A label click chooses the row the next picked colour goes to; a
  // cancelled colour dialog leaves it chosen.
  void Target(Row row) { m_target = row; }
  // A colour from the dialog or a swatch: the row it went to, which is no
  // longer targeted; nullopt when no row was.
  std::optional<Row> Pick(Rgb color);

  // Writes every row that holds a colour. False when a write failed (the
  // store has told the user, and staying lets the user try again); an item
  // without a slot is nothing the user can mend here, so it is passed over.
  [[nodiscard]] bool Save();

 private:
  static constexpr std::size_t Index(Row row) { return static_cast<std::size_t>(row); }

  std::array<Rgb, kRows> m_colors{};
  std::array<bool, kRows> m_known{};
  std::optional<Row> m_target;
};

// An entry's colour: six hexadecimal digits, either case, after the item's
// prefix; nullopt for anything else. FormatColor writes what it reads.
std::optional<ColorModel::Rgb> ParseColor(const store::Item& item,
                                          const std::optional<std::string>& value);
std::string FormatColor(const store::Item& item, ColorModel::Rgb color);

// The swatch of the palette under a point of the page's client area, on a
// screen of this many dots per inch.
std::optional<ColorModel::Rgb> SwatchAt(int x, int y, int dpi);
