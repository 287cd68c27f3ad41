#include "pages/tcolor.h"

#include <string>

#include "pages/tcolor_swatches.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/installation.h"

namespace {

using Row = CTColor::Row;
using Rgb = CTColor::Rgb;

struct RowBoxes {
  int red, green, blue;
};

// By Row.
constexpr RowBoxes kRowBoxes[ColorModel::kRows] = {
    {IDC_TCOLOR_MOUSE_OVER_RED, IDC_TCOLOR_MOUSE_OVER_GREEN, IDC_TCOLOR_MOUSE_OVER_BLUE},
    {IDC_TCOLOR_MENU_TEXT_RED, IDC_TCOLOR_MENU_TEXT_GREEN, IDC_TCOLOR_MENU_TEXT_BLUE},
    {IDC_TCOLOR_TOOL_BAR_RED, IDC_TCOLOR_TOOL_BAR_GREEN, IDC_TCOLOR_TOOL_BAR_BLUE},
    {IDC_TCOLOR_BACKGROUND_RED, IDC_TCOLOR_BACKGROUND_GREEN, IDC_TCOLOR_BACKGROUND_BLUE},
};

}  // namespace

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
  // one reported in this order. A byte box refuses anything but 0 to 255 itself.
  Rgb& toolBar = m_model.Color(Row::ToolBar);
  Rgb& mouseOver = m_model.Color(Row::MouseOver);
  Rgb& menu = m_model.Color(Row::Menu);
  Rgb& background = m_model.Color(Row::Background);
  DDX_Text(pDX, IDC_TCOLOR_TOOL_BAR_BLUE, toolBar.blue);
  DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_BLUE, mouseOver.blue);
  DDX_Text(pDX, IDC_TCOLOR_MENU_TEXT_BLUE, menu.blue);
  DDX_Text(pDX, IDC_TCOLOR_TOOL_BAR_GREEN, toolBar.green);
  DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_GREEN, mouseOver.green);
  DDX_Text(pDX, IDC_TCOLOR_MENU_TEXT_GREEN, menu.green);
  DDX_Text(pDX, IDC_TCOLOR_TOOL_BAR_RED, toolBar.red);
  DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_RED, mouseOver.red);
  DDX_Text(pDX, IDC_TCOLOR_MENU_TEXT_RED, menu.red);
  DDX_Text(pDX, IDC_TCOLOR_BACKGROUND_RED, background.red);
  DDX_Text(pDX, IDC_TCOLOR_BACKGROUND_GREEN, background.green);
  DDX_Text(pDX, IDC_TCOLOR_BACKGROUND_BLUE, background.blue);
}

void CTColor::LoadPage() {
  m_model.Load();
  UpdateData(false);
  PlacePalette();
  RefreshPalette();
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
  m_model.Target(row);
  CColorDialog dialog(RGB(0, 0, 0), 0);
  if (dialog.DoModal() != IDOK) return;
  const COLORREF chosen = dialog.GetColor();
  Pick({GetRValue(chosen), GetGValue(chosen), GetBValue(chosen)});
}

void CTColor::OnLButtonUp(CPoint point) {
  if (const auto swatch = SwatchAt(point.x, point.y, GetScreenLogPixelsY())) Pick(*swatch);
}

void CTColor::Pick(Rgb color) {
  RefreshPalette();
  const auto row = m_model.Pick(color);
  if (!row) return;
  // Only the picked row's boxes: what was typed into the others stays.
  const RowBoxes& boxes = kRowBoxes[static_cast<std::size_t>(*row)];
  SetDlgItemText(boxes.red, std::to_string(color.red));
  SetDlgItemText(boxes.green, std::to_string(color.green));
  SetDlgItemText(boxes.blue, std::to_string(color.blue));
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
  (void)m_ctlPalette.SetBitmapFromFile(layout::InCustomization(layout::kPaletteBitmap),
                                       ScaleForScreen(tcolor::kPaletteWidth),
                                       ScaleForScreen(tcolor::kPaletteHeight));
}

int CTColor::OnWizardNext() {
  // A refused box has been reported: nothing is written until every box holds
  // a byte, not even the rows taken over before it.
  if (!UpdateData(true) || !m_model.Save()) return kWizardStay;
  return COkapiPage::OnWizardNext();
}
