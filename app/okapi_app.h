// The application object: one running copy, the wizard run modally.
#pragma once

#include <string>

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
#include "wizard/wizard_sheet.h"

// The wizard: the sheet and its twelve pages in their fixed order. Members
// are destroyed in reverse: the last page first, the sheet last.
struct OkapiWizard {
  OkapiWizard();
  OkapiWizard(const OkapiWizard&) = delete;
  OkapiWizard& operator=(const OkapiWizard&) = delete;

  CWizardSheet sheet;
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
};

class COkapiApp {
 public:
  // Always false: the program ends when the wizard closes.
  bool InitInstance();
  // True for the first running copy (it then holds the named mutex).
  bool IsFirstInstance(const std::string& name);

  static constexpr const char* kMutexName = "Mutex_OKAPI";

 private:
  // Minimises a foreground wizard, brings up a minimised or background one.
  void ToggleRunningWizard();
  void RunWizard();
};
