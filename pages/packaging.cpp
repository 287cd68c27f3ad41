#include "pages/packaging.h"

#include "pages/lb_button.h"
#include "res/resource.h"

CPackaging::CPackaging()
    : COkapiPage(IDD_PACKAGING, {.titleId = 1124,
                                 .helpButtonId = 1140,
                                 .helpTopic = "::/W11.htm",
                                 .buttonsOnActivate = PSWIZB_BACK | PSWIZB_FINISH,
                                 .white = {1124, 1125, 1126, 1127, 1128, 1129, 1130, 1131, 1142,
                                           1143, 1144, 1155}}) {}

int CPackaging::OnWizardBack() {
  if (!HardwareButtonPresent()) return IDD_SPLASH;
  return COkapiPage::OnWizardBack();
}
