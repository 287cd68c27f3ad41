#include "pages/splash.h"

#include "pages/lb_button.h"
#include "res/resource.h"

CSplash::CSplash()
    : COkapiPage(IDD_SPLASH, {.titleId = 1031,
                              .helpButtonId = 1134,
                              .helpTopic = "::/W08.htm",
                              .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                              .white = {1031, 1034, 1116, 1117}}) {}

int CSplash::OnWizardNext() {
  if (!HardwareButtonPresent()) return IDD_PACKAGING;
  return COkapiPage::OnWizardNext();
}
