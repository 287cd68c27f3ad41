#include "app/welcome_page.h"

#include <cstdlib>

#include "app/discovery.h"
#include "app/globals.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/backup.h"
#include "store/seed.h"
#include "wizard/title_font.h"

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
    const std::string about = LoadString(IDS_ABOUTBOX);
    if (!about.empty()) {
      menu->AppendMenu(MF_SEPARATOR);
      menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(IDI_OKAPI);

  m_bInstallationMissing = CheckInstallation([this](const std::string& text) { MessageBox(text); });
  if (m_bInstallationMissing) {
    EndProgram()();
    return true;  // only when a test kept the program alive
  }
  BackupHelpFiles();
  SetTitleFont(*this, IDC_WELCOME_LINE1, 12);
  SetTitleFont(*this, IDC_WELCOME_LINE2, 12);
  SeedMapFile();
  PreparePackageTree();
  // A second copy finds the running wizard by this title.
  SetWindowText("Customization");
  if (CPropertySheet* sheet = GetParentSheet()) sheet->SetTitleOverride("Customization");
  return true;
}

void PreparePackageTree() {
  auto& files = *platform::Os().files;
  const std::string package = g_strHelpRoot + "\\customization\\package";
  // Existing directories are fine; a failure shows later, where a file is needed.
  for (const char* dir : {"", "\\chms", "\\images", "\\images\\small", "\\images\\large"}) {
    (void)files.CreateDirectory(package + dir);
  }
  // The tool's own placeholder replaces whatever spacer.gif was there; a
  // missing placeholder leaves the old ones.
  const std::string spacer = g_strHelpRoot + "\\spacer.gif";
  for (const std::string& target :
       {package + "\\images\\small\\spacer.gif", package + "\\images\\large\\spacer.gif",
        g_strInstallDir + "\\images\\small\\spacer.gif",
        g_strInstallDir + "\\images\\large\\spacer.gif"}) {
    (void)files.CopyFile(spacer, target, false);
  }
}

bool CWelcomePage::OnSysCommand(unsigned id) {
  if ((id & 0xFFF0) != IDM_ABOUTBOX) return COkapiPage::OnSysCommand(id);
  CAboutDlg about;
  about.DoModal();
  return true;
}
