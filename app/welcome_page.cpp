#include "app/welcome_page.h"

#include <cstdlib>

#include "app/discovery.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/seed.h"
#include "wizard/title_font.h"
#include "wizard/wizard_sheet.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

CWelcomePage::CWelcomePage()
    : COkapiPage(IDD_WELCOME,
                 {.titleId = 0,  // two 12-point titles, set during start-up
                  .buttonsOnActivate = PSWIZB_NEXT,
                  .white = {IDC_WELCOME_LINE1, IDC_WELCOME_LINE2, IDC_WELCOME_VERSIONS}}) {}

std::function<void()>& CWelcomePage::EndProgram() {
  static std::function<void()> end = [] { std::exit(0); };
  return end;
}

bool CWelcomePage::OnInitDialog() {
  COkapiPage::OnInitDialog();
  if (CMenu* menu = GetSystemMenu(false)) {
    const std::string about = LoadResourceString(IDS_ABOUTBOX);
    if (!about.empty()) {
      menu->AppendMenu(MF_SEPARATOR);
      menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(IDI_OKAPI);

  m_bInstallationMissing =
      !CheckInstallation([this](const std::string& text) { MessageBox(text); });
  if (m_bInstallationMissing) {
    EndProgram()();
    return true;  // only when a test kept the program alive
  }
  BackupHelpFiles();
  SetTitleFont(*this, IDC_WELCOME_LINE1, 12);
  SetTitleFont(*this, IDC_WELCOME_LINE2, 12);
  SeedMapFile();
  package::PrepareTree();
  // A second copy finds the running wizard by this title.
  SetWindowText(kWizardTitle);
  if (CPropertySheet* sheet = GetParentSheet()) sheet->SetTitleOverride(kWizardTitle);
  return true;
}

bool CWelcomePage::OnSysCommand(unsigned id) {
  if ((id & 0xFFF0) != IDM_ABOUTBOX) return COkapiPage::OnSysCommand(id);
  CAboutDlg about;
  about.DoModal();
  return true;
}
