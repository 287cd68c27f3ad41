// The mouse-over, menu and tool-bar text colours (and the background colour,
// kept hidden), typed as RGB values, picked in the system colour dialog or
// from a palette of swatches.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "store/item_table.h"
#include "wizard/page_frame.h"

class CTColor : public COkapiPage {
 public:
  enum class Row { MouseOver, Menu, ToolBar, Background };
  static constexpr std::size_t kRows = 4;

  struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
  };

  // What the label, colour-dialog and palette handlers share: a label click
  // chooses the row a colour goes to; applying a colour clears it.
  struct Picking {
    std::optional<Row> target;
    Rgb picked;
  };

  CTColor();

  CStatic m_ctlPalette;
  // The channels, by Row.
  std::array<Rgb, kRows> m_colors{};

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  void OnLButtonUp(CPoint point) override;
  void OnPaint() override;
  int OnWizardNext() override;

  const Picking& PickingState() const { return m_picking; }

 protected:
  void LoadPage() override;

 private:
  void LoadColors();
  [[nodiscard]] bool SaveColors();
  void OnMouseOverClicked() { ChooseColorFor(Row::MouseOver); }
  void OnMenuTextClicked() { ChooseColorFor(Row::Menu); }
  void OnToolBarClicked() { ChooseColorFor(Row::ToolBar); }
  void OnBackgroundClicked() { ChooseColorFor(Row::Background); }
  void ChooseColorFor(Row row);
  void ApplyPicked();
  void PlacePalette();
  void RefreshPalette();

  Picking m_picking;
  // Whether a row holds a colour the file had or the user gave: a row whose
  // item was missing or unreadable shows black and is written only when changed.
  std::array<bool, kRows> m_known{};
};

// An entry's colour: six hexadecimal digits, either case, after the item's
// prefix; nullopt for anything else. FormatColor writes what it reads.
std::optional<CTColor::Rgb> ParseColor(const store::Item& item,
                                       const std::optional<std::string>& value);
std::string FormatColor(const store::Item& item, CTColor::Rgb color);
