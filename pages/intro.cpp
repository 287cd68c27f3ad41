#include "pages/intro.h"

#include "res/resource.h"

CIntro::CIntro()
    : COkapiPage(IDD_INTRO,
                 {.titleId = IDC_INTRO_HEADING,
                  .helpButtonId = IDC_INTRO_HELP,
                  .helpTopic = "::/W02.htm",
                  .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                  .white = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1061, 1141, 1154, 1174}}) {}

void CIntro::LoadPage() {
  // The first activation follows the welcome page's Next-only buttons.
  SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
}
