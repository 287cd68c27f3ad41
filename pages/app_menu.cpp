#include "pages/app_menu.h"

#include "res/resource.h"
#include "store/globals.h"
#include "wizard/routing.h"

CAppMenu::CAppMenu()
    : COkapiPage(IDD_APPMENU,
                 {.titleId = IDC_APPMENU_HEADING,
                  .helpButtonId = IDC_APPMENU_HELP,
                  .helpTopic = "::/W03.htm",
                  .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                  .white = {IDC_APPMENU_HEADING, IDC_APPMENU_CSV_LABEL, IDC_APPMENU_MENU1_LABEL,
                            IDC_APPMENU_MENU2_LABEL, IDC_APPMENU_MENU3_LABEL,
                            IDC_APPMENU_ALT_KEY_HEAD, IDC_APPMENU_TITLE_HEAD,
                            IDC_APPMENU_SYS_DETAILS, IDC_APPMENU_WELCOME_TITLE_CHECK}}) {}

void CAppMenu::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_APPMENU_WELCOME_TITLE_CHECK, m_ctlWelcomeTitleCheck);
  DDX_Control(pDX, IDC_APPMENU_ALT_KEY4, m_ctlAltKey4Edit);
  DDX_Control(pDX, IDC_APPMENU_TITLE4, m_ctlTitle4Edit);
  DDX_Text(pDX, IDC_APPMENU_TITLE2, m_model.menus[1].title);
  DDX_Text(pDX, IDC_APPMENU_TITLE3, m_model.menus[2].title);
  DDX_Text(pDX, IDC_APPMENU_TITLE1, m_model.menus[0].title);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY1, m_model.menus[0].letter);
  DDV_MaxChars(pDX, m_model.menus[0].letter, 1);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY2, m_model.menus[1].letter);
  DDV_MaxChars(pDX, m_model.menus[1].letter, 1);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY3, m_model.menus[2].letter);
  DDV_MaxChars(pDX, m_model.menus[2].letter, 1);
  DDX_Check(pDX, IDC_APPMENU_SYS_DETAILS, m_model.showSysDetails);
  DDX_Text(pDX, IDC_APPMENU_TITLE4, m_model.menus[3].title);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY4, m_model.menus[3].letter);
  DDV_MaxChars(pDX, m_model.menus[3].letter, 1);
  DDX_Check(pDX, IDC_APPMENU_WELCOME_TITLE_CHECK, m_model.fourthMenu);
}

bool CAppMenu::OnCommand(int id, unsigned code) {
  static const CommandEntry<CAppMenu> kCommands[] = {
      {IDC_APPMENU_SYS_DETAILS, BN_CLICKED, &CAppMenu::OnSysDetailsClicked},
      {IDC_APPMENU_WELCOME_TITLE_CHECK, BN_CLICKED, &CAppMenu::OnWelcomeTitleClicked},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CAppMenu::LoadPage() {
  m_model.Load(g_bVersion35);
  if (!m_model.Version35()) {
    m_ctlWelcomeTitleCheck.ShowWindow(SW_HIDE);
    ShowFourthMenuEdits(false);
  } else if (!m_model.fourthMenu) {
    ShowFourthMenuEdits(false);
  }
  UpdateData(false);
}

void CAppMenu::OnSysDetailsClicked() {
  if (!UpdateData(true)) return;
  const bool show = m_model.showSysDetails;
  const auto notice = m_model.ShowSysDetails(show);
  if (m_model.showSysDetails != show)
    CheckDlgButton(IDC_APPMENU_SYS_DETAILS, m_model.showSysDetails ? 1 : 0);
  Tell(*this, notice);
}

void CAppMenu::OnWelcomeTitleClicked() {
  if (!UpdateData(true)) return;
  ShowFourthMenuEdits(m_model.fourthMenu);
  Tell(*this, m_model.EnableFourthMenu(m_model.fourthMenu));
}

void CAppMenu::ShowFourthMenuEdits(bool show) {
  m_ctlTitle4Edit.ShowWindow(show ? SW_SHOW : SW_HIDE);
  m_ctlAltKey4Edit.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

int CAppMenu::OnWizardNext() {
  if (!UpdateData(true)) return kWizardStay;
  // Everything is checked before anything is written.
  if (const auto refusal = m_model.Check()) {
    Tell(*this, refusal);
    return kWizardStay;
  }
  const SaveResult saved = m_model.Save();
  Tell(*this, saved.notice);
  if (!saved.saved) return kWizardStay;
  return routing::Route(IDD_APPMENU, routing::Move::Next,
                        {.version35 = g_bVersion35,
                         .fourthMenu = m_model.fourthMenu,
                         .visualMap = routing::UsesVisualMap()});
}

void CAppMenu::OnOpenCsvFile() {
  for (const Notice& notice : OpenInSpreadsheet(g_strCsvFile, g_strInstallDir)) Tell(*this, notice);
}
