#include "app/okapi_app.h"

#include "app/welcome_page.h"
#include "pages/app_menu.h"
#include "pages/backgrounds.h"
#include "pages/intro.h"
#include "pages/lb_button.h"
#include "pages/modified.h"
#include "pages/packaging.h"
#include "pages/sounds.h"
#include "pages/splash.h"
#include "pages/tcolor.h"
#include "pages/vicons.h"
#include "pages/wmenu.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/profile.h"
#include "wizard/wizard_sheet.h"

bool COkapiApp::IsFirstInstance(const std::string& name) {
  return platform::Os().instances->ClaimMutex(name);
}

namespace {

// Every page writes through the store, so its failures are told in one place.
void TellWriteFailures() {
  store::SetWriteFailureReporter([](const std::string& file, const std::string& reason) {
    AfxMessageBox("OKAPI could not save " + file + ".\n\n" + reason +
                  "\n\nThe file was left as it was before this change.");
  });
}

}  // namespace

bool COkapiApp::InitInstance() {
  if (IsFirstInstance(kMutexName)) {
    TellWriteFailures();
    RunWizard();
  } else {
    ToggleRunningWizard();
  }
  return false;
}

void COkapiApp::ToggleRunningWizard() {
  auto& instances = *platform::Os().instances;
  const platform::WindowId wizard = instances.FindTopLevelWindow(kWizardTitle);
  if (!wizard) return;
  if (!instances.IsMinimized(wizard) && instances.Foreground() == wizard) {
    instances.Show(wizard, platform::ShowCommand::Minimize);
  } else {
    instances.SetForeground(wizard);
    instances.Show(wizard, platform::ShowCommand::ShowNormal);
  }
}

void COkapiApp::RunWizard() {
  CWizardSheet sheet(IDS_WIZARD_CAPTION);
  // The wizard's pages in their fixed order; pages skip neighbours themselves.
  CWelcomePage welcome;
  CIntro intro;
  CModified modified;
  CAppMenu appMenu;
  CWMenu wmenu;
  CVIcons vicons;
  CBackgrounds backgrounds;
  CTColor tcolor;
  CSounds sounds;
  CSplash splash;
  CLBButton lbButton;
  CPackaging packaging;
  for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{
           &welcome, &intro, &modified, &appMenu, &wmenu, &vicons, &backgrounds, &tcolor, &sounds,
           &splash, &lbButton, &packaging}) {
    sheet.AddPage(page);
  }
  sheet.m_psh.dwFlags |= PSH_WIZARD;
  // Finish and Cancel end the program alike; what the pages wrote stays.
  (void)sheet.DoModal();
}
