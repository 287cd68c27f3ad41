#include "pages/tcolor.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

#include "pages/tcolor_swatches.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/item_table.h"

namespace {

using Row = CTColor::Row;
using Rgb = CTColor::Rgb;

struct RowControls {
  Row row;
  const store::Item* item;
  int red, green, blue;
};

constexpr RowControls kRowControls[] = {
    {Row::MouseOver, &store::item::kMouseOverColor, IDC_TCOLOR_MOUSE_OVER_RED,
     IDC_TCOLOR_MOUSE_OVER_GREEN, IDC_TCOLOR_MOUSE_OVER_BLUE},
    {Row::Menu, &store::item::kRegularTextColor, IDC_TCOLOR_MENU_TEXT_RED,
     IDC_TCOLOR_MENU_TEXT_GREEN, IDC_TCOLOR_MENU_TEXT_BLUE},
    {Row::ToolBar, &store::item::kMainMenuTextColor, IDC_TCOLOR_TOOL_BAR_RED,
     IDC_TCOLOR_TOOL_BAR_GREEN, IDC_TCOLOR_TOOL_BAR_BLUE},
    {Row::Background, &store::item::kBackgroundColor, IDC_TCOLOR_BACKGROUND_RED,
     IDC_TCOLOR_BACKGROUND_GREEN, IDC_TCOLOR_BACKGROUND_BLUE},
};

constexpr std::size_t Index(Row row) { return static_cast<std::size_t>(row); }

static_assert(
    [] {
      for (std::size_t i = 0; i < CTColor::kRows; ++i)
        if (Index(kRowControls[i].row) != i) return false;
      return std::size(kRowControls) == CTColor::kRows;
    }(),
    "rows are found by index");

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

std::optional<Rgb> SwatchAt(CPoint point) {
  for (const auto& s : tcolor::kSwatches) {
    if (point.x > ScaleForScreen(s.left) && point.x < ScaleForScreen(s.right) &&
        point.y > ScaleForScreen(s.top) && point.y < ScaleForScreen(s.bottom))
      return Rgb{s.red, s.green, s.blue};
  }
  return std::nullopt;
}

}  // namespace

// Six hexadecimal digits, either case, right after the prefix; anything else
// (a missing entry, the sentinel, a short or hand-mangled value) is no colour.
std::optional<CTColor::Rgb> ParseColor(const store::Item& item,
                                       const std::optional<std::string>& value) {
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
  return CTColor::Rgb{channels[0], channels[1], channels[2]};
}

std::string FormatColor(const store::Item& item, CTColor::Rgb color) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02x%02x%02x", color.red, color.green, color.blue);
  return Prefix(item) + digits + (IsMarkerEntry(item) ? "\"" : "");
}

CTColor::CTColor()
    : COkapiPage(IDD_TCOLOR,
                 {.titleId = IDC_TCOLOR_HEADING,
                  .helpButtonId = IDC_TCOLOR_HELP,
                  .helpTopic = "::/W06.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_TCOLOR_HEADING, IDC_TCOLOR_BACKGROUND_NOTE, IDC_TCOLOR_RGB_LABEL,
                            IDC_TCOLOR_RED_HEAD, IDC_TCOLOR_GREEN_HEAD, IDC_TCOLOR_BLUE_HEAD,
                            IDC_TCOLOR_INSTRUCTIONS},
                  .blueText = {IDC_TCOLOR_MOUSE_OVER, IDC_TCOLOR_MENU_TEXT, IDC_TCOLOR_TOOL_BAR,
                               IDC_TCOLOR_BACKGROUND}}) {}

void CTColor::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TCOLOR_PALETTE, m_ctlPalette);
  // The help application's order of the boxes: a refused box is the first
  // one reported in this order.
  Rgb& toolBar = m_colors[Index(Row::ToolBar)];
  Rgb& mouseOver = m_colors[Index(Row::MouseOver)];
  Rgb& menu = m_colors[Index(Row::Menu)];
  Rgb& background = m_colors[Index(Row::Background)];
  DDX_Text(pDX, IDC_TCOLOR_TOOL_BAR_BLUE, toolBar.blue);
  DDV_MinMaxByte(pDX, toolBar.blue, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_BLUE, mouseOver.blue);
  DDV_MinMaxByte(pDX, mouseOver.blue, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_MENU_TEXT_BLUE, menu.blue);
  DDV_MinMaxByte(pDX, menu.blue, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_TOOL_BAR_GREEN, toolBar.green);
  DDV_MinMaxByte(pDX, toolBar.green, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_GREEN, mouseOver.green);
  DDV_MinMaxByte(pDX, mouseOver.green, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_MENU_TEXT_GREEN, menu.green);
  DDV_MinMaxByte(pDX, menu.green, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_TOOL_BAR_RED, toolBar.red);
  DDV_MinMaxByte(pDX, toolBar.red, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_RED, mouseOver.red);
  DDV_MinMaxByte(pDX, mouseOver.red, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_MENU_TEXT_RED, menu.red);
  DDV_MinMaxByte(pDX, menu.red, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_BACKGROUND_RED, background.red);
  DDV_MinMaxByte(pDX, background.red, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_BACKGROUND_GREEN, background.green);
  DDV_MinMaxByte(pDX, background.green, 0, 255);
  DDX_Text(pDX, IDC_TCOLOR_BACKGROUND_BLUE, background.blue);
  DDV_MinMaxByte(pDX, background.blue, 0, 255);
}

void CTColor::LoadPage() {
  LoadColors();
  PlacePalette();
  RefreshPalette();
}

void CTColor::LoadColors() {
  for (const auto& row : kRowControls) {
    const auto color = ParseColor(*row.item, store::Read(*row.item));
    m_colors[Index(row.row)] = color.value_or(Rgb{});
    m_known[Index(row.row)] = color.has_value();
  }
  UpdateData(false);
}

bool CTColor::OnCommand(int id, unsigned code) {
  static const CommandEntry<CTColor> kCommands[] = {
      {IDC_TCOLOR_MOUSE_OVER, STN_CLICKED, &CTColor::OnMouseOverClicked},
      {IDC_TCOLOR_MENU_TEXT, STN_CLICKED, &CTColor::OnMenuTextClicked},
      {IDC_TCOLOR_TOOL_BAR, STN_CLICKED, &CTColor::OnToolBarClicked},
      {IDC_TCOLOR_BACKGROUND, STN_CLICKED, &CTColor::OnBackgroundClicked},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CTColor::ChooseColorFor(Row row) {
  m_picking.target = row;
  CColorDialog dialog(RGB(0, 0, 0), 0);
  // Cancelled, the target stays: a swatch picked next goes to this row.
  if (dialog.DoModal() != IDOK) return;
  const COLORREF chosen = dialog.GetColor();
  m_picking.picked = {GetRValue(chosen), GetGValue(chosen), GetBValue(chosen)};
  ApplyPicked();
}

void CTColor::OnLButtonUp(CPoint point) {
  const auto swatch = SwatchAt(point);
  if (!swatch) return;
  m_picking.picked = *swatch;
  ApplyPicked();
}

void CTColor::ApplyPicked() {
  RefreshPalette();
  if (!m_picking.target) return;
  const Row row = *m_picking.target;
  m_picking.target.reset();
  m_colors[Index(row)] = m_picking.picked;
  m_known[Index(row)] = true;
  // Only the target row's boxes: what was typed into the others stays.
  const RowControls& controls = kRowControls[Index(row)];
  SetDlgItemText(controls.red, std::to_string(m_picking.picked.red));
  SetDlgItemText(controls.green, std::to_string(m_picking.picked.green));
  SetDlgItemText(controls.blue, std::to_string(m_picking.picked.blue));
}

void CTColor::OnPaint() { RefreshPalette(); }

void CTColor::PlacePalette() {
  const int width = ScaleForScreen(tcolor::kPaletteWidth);
  const int height = ScaleForScreen(tcolor::kPaletteHeight);
  m_ctlPalette.SetWindowPos(nullptr, ScaleForScreen(tcolor::kPaletteLeft),
                            ScaleForScreen(tcolor::kPaletteTop), width, height, SWP_NOZORDER);
  // The template shows the palette at its 96-dpi size; drawn at this screen's
  // size, the swatches stay under the rectangles that pick them.
  (void)m_ctlPalette.SetBitmapFromResource(IDB_COLOR_PALETTE, width, height);
}

void CTColor::RefreshPalette() {
  // Without the file the palette keeps what it shows, so the swatches can
  // still be seen and picked.
  (void)m_ctlPalette.SetBitmapFromFile(g_strHelpRoot + "\\customization\\white.bmp",
                                       ScaleForScreen(tcolor::kPaletteWidth),
                                       ScaleForScreen(tcolor::kPaletteHeight));
}

bool CTColor::SaveColors() {
  // A refused box has been reported: nothing is written until every box holds
  // a byte, not even the rows taken over before it.
  if (!UpdateData(true)) return false;
  for (const auto& row : kRowControls) {
    const std::size_t i = Index(row.row);
    if (!m_known[i] && m_colors[i] == Rgb{}) continue;  // no colour to invent
    if (!store::Write(*row.item, FormatColor(*row.item, m_colors[i]))) {
      // An item without a slot is nothing the user can mend here; a failed
      // write has been reported, and staying lets the user try again.
      if (store::SlotOf(*row.item)) return false;
      continue;
    }
    m_known[i] = true;
  }
  return true;
}

int CTColor::OnWizardNext() {
  if (!SaveColors()) return kWizardStay;
  return COkapiPage::OnWizardNext();
}
