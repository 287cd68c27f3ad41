#include "wizard/page_frame.h"

#include <algorithm>
#include <optional>

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

int ScaleForScreen(int pixels96) { return (pixels96 * GetScreenLogPixelsY() + 48) / 96; }

void COkapiPage::PlaceHelpButton() {
  if (!m_btnHelp.IsBound()) return;
  const CRect& r = kHelpButtonRect;
  m_btnHelp.SetWindowPos(nullptr, ScaleForScreen(r.left), ScaleForScreen(r.top),
                         ScaleForScreen(r.Width()), ScaleForScreen(r.Height()), SWP_NOZORDER);
}

bool COkapiPage::OnSetActive() {
  if (m_frame.buttonsOnActivate) SetWizardButtons(m_frame.buttonsOnActivate);
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
