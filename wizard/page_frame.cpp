#include "wizard/page_frame.h"

#include <algorithm>
#include <optional>

#include "res/resource.h"
#include "wizard/help_launcher.h"
#include "wizard/title_font.h"

namespace {

bool Listed(const std::vector<int>& ids, int id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);

CtlColor FrameColor(const PageFrame& frame, int controlId, int ctlType) {
  using Brush = CtlColor::Brush;
  if (ctlType == CTLCOLOR_DLG) return {Brush::White, std::nullopt, std::nullopt};
  if (Listed(frame.blueText, controlId)) return {Brush::White, kBlue, kWhite};
  if (Listed(frame.white, controlId)) return {Brush::White, std::nullopt, kWhite};
  return {};
}

struct Picture {
  int controlId;
  int width100, height100;
  unsigned drawings[std::size(kDrawnPercents)];
};
constexpr Picture kPictures[] = {
    {IDC_BANNER, 522, 50, {IDB_BANNER, IDB_BANNER_125, IDB_BANNER_150, IDB_BANNER_200}},
    {IDC_WELCOME_PICTURE,
     522,
     334,
     {IDB_WELCOME_PICTURE, IDB_WELCOME_PICTURE_125, IDB_WELCOME_PICTURE_150,
      IDB_WELCOME_PICTURE_200}},
};

}  // namespace

COkapiPage::COkapiPage(unsigned templateId, PageFrame frame)
    : CPropertyPage(templateId), m_frame(std::move(frame)) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

void COkapiPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  if (m_frame.helpButtonId) DDX_Control(pDX, m_frame.helpButtonId, m_btnHelp);
}

bool COkapiPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  if (m_frame.titleId) SetTitleFont(*this, m_frame.titleId, m_frame.titlePoints);
  LoadPage();
  PlaceHelpButton();
  return true;
}

int ScaleForScreen(int pixels96) { return ScaleForDpi(pixels96, GetScreenLogPixelsY()); }

void COkapiPage::PlaceHelpButton() {
  if (!m_btnHelp.IsBound()) return;
  // The place is given for a 96-dpi screen, where a dialog unit is 1.5 by
  // 1.625 pixels; the button grows with the page's dialog units, which need
  // not follow the dpi, so that it stays at the same place on the page.
  const CRect units = MapDialogRect({0, 0, 400, 800});  // 600 x 1300 pixels at 96 dpi
  const auto x = [&](int px) { return (px * units.Width() + 300) / 600; };
  const auto y = [&](int px) { return (px * units.Height() + 650) / 1300; };
  const CRect& r = kHelpButtonRect;
  m_btnHelp.SetWindowPos(nullptr, x(r.left), y(r.top), x(r.Width()), y(r.Height()), SWP_NOZORDER);
}

std::size_t DrawingFor(int width100, int width) {
  std::size_t i = 0;
  while (i + 1 < std::size(kDrawnPercents) && width100 * kDrawnPercents[i] / 100 < width) ++i;
  return i;
}

void COkapiPage::ShowPicturesForScreen() {
  // The page grows with its font, which need not follow the dpi, and the
  // sheet sizes it only after its initialisation: the pictures follow the
  // page's width as shown.
  // Nothing while the page has no window yet (width 0, as at the start).
  const int width = GetWindowRect().Width();
  if (width == m_picturesWidth) return;
  m_picturesWidth = width;
  for (const Picture& picture : kPictures) {
    if (!GetDlgItem(picture.controlId)) continue;
    CStatic control;
    control.BindTo(*this, picture.controlId);
    // Without it the template's picture stays: smaller, but a picture.
    (void)control.SetBitmapFromResource(
        picture.drawings[DrawingFor(picture.width100, width)], width,
        (picture.height100 * width + picture.width100 / 2) / picture.width100);
  }
}

bool COkapiPage::OnSetActive() {
  if (m_frame.buttonsOnActivate) SetWizardButtons(m_frame.buttonsOnActivate);
  ShowPicturesForScreen();
  return CPropertyPage::OnSetActive();
}

bool COkapiPage::OnCommand(int id, unsigned code) {
  if (m_frame.helpButtonId && id == m_frame.helpButtonId && code == BN_CLICKED) {
    if (!m_frame.helpTopic.empty()) OpenHelpTopic(m_frame.helpTopic);
    return true;
  }
  return CPropertyPage::OnCommand(id, code);
}

CtlColor COkapiPage::OnCtlColor(int controlId, int ctlType) {
  const CtlColor base = CPropertyPage::OnCtlColor(controlId, ctlType);
  const CtlColor own = FrameColor(m_frame, controlId, ctlType);
  return own == CtlColor{} ? base : own;
}
