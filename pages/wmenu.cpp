#include "pages/wmenu.h"

#include "res/resource.h"
#include "wizard/routing.h"

CWMenu::CWMenu()
    : COkapiPage(IDD_WMENU,
                 {.titleId = IDC_WMENU_HEADING,
                  .helpButtonId = IDC_WMENU_HELP,
                  .helpTopic = "::/W035.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_WMENU_HEADING, IDC_WMENU_IMAGE_CHECK, IDC_WMENU_MENU1_LABEL,
                            IDC_WMENU_MENU2_LABEL, IDC_WMENU_MENU3_LABEL}}) {}

void CWMenu::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WMENU_IMAGE_CHECK, m_ctlWelcomeImageCheck);
  DDX_Text(pDX, IDC_WMENU_INTRO, m_model.intro);
  DDX_Text(pDX, IDC_WMENU_TAB1_DESC, m_model.descriptions[0]);
  DDX_Text(pDX, IDC_WMENU_TAB2_DESC, m_model.descriptions[1]);
  DDX_Text(pDX, IDC_WMENU_TAB3_DESC, m_model.descriptions[2]);
  DDX_Text(pDX, IDC_WMENU_CLOSING, m_model.closing);
  DDX_Text(pDX, IDC_WMENU_MENU1_LABEL, m_model.titles[0]);
  DDX_Text(pDX, IDC_WMENU_MENU2_LABEL, m_model.titles[1]);
  DDX_Text(pDX, IDC_WMENU_MENU3_LABEL, m_model.titles[2]);
  DDX_Check(pDX, IDC_WMENU_IMAGE_CHECK, m_model.welcomeImage);
}

bool CWMenu::OnCommand(int id, unsigned code) {
  static const CommandEntry<CWMenu> kCommands[] = {
      {IDC_WMENU_IMAGE_CHECK, BN_CLICKED, &CWMenu::OnWelcomeImageClicked},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CWMenu::LoadPage() {
  m_model.Load();
  UpdateData(false);
}

bool CWMenu::OnSetActive() {
  // Titles renamed on the menu page since: only the labels change on screen,
  // what the user typed into the texts stays.
  m_model.LoadMenuTitles();
  SetDlgItemText(IDC_WMENU_MENU1_LABEL, m_model.titles[0]);
  SetDlgItemText(IDC_WMENU_MENU2_LABEL, m_model.titles[1]);
  SetDlgItemText(IDC_WMENU_MENU3_LABEL, m_model.titles[2]);
  return COkapiPage::OnSetActive();
}

int CWMenu::OnWizardNext() {
  if (!UpdateData(true)) return kWizardStay;
  if (const auto refusal = m_model.Check()) {
    Tell(*this, refusal);
    return kWizardStay;
  }
  const SaveResult saved = m_model.Save();
  Tell(*this, saved.notice);
  if (!saved.saved) return kWizardStay;
  return routing::RouteFrom(IDD_WMENU, routing::Move::Next);
}

void CWMenu::OnWelcomeImageClicked() {
  if (!UpdateData(true)) return;
  const bool show = m_model.welcomeImage;
  const auto notice = m_model.ShowWelcomeImage(show);
  if (m_model.welcomeImage != show)
    CheckDlgButton(IDC_WMENU_IMAGE_CHECK, m_model.welcomeImage ? 1 : 0);
  Tell(*this, notice);
}
