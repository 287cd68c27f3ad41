#include "pages/intro.h"

#include "res/resource.h"

CIntro::CIntro()
    : COkapiPage(IDD_INTRO,
                 {.titleId = IDC_INTRO_HEADING,
                  .helpButtonId = IDC_INTRO_HELP,
                  .helpTopic = "::/W02.htm",
                  .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                  .white = {IDC_INTRO_HEADING, IDC_INTRO_PRELIMINARY, IDC_INTRO_MENUS,
                            IDC_INTRO_WELCOME_PAGE, IDC_INTRO_VISUAL_MAP, IDC_INTRO_BACKGROUNDS,
                            IDC_INTRO_COLORS, IDC_INTRO_SOUNDS, IDC_INTRO_ANIMATION,
                            IDC_INTRO_LARKBOOK_BUTTON, IDC_INTRO_PACKAGING}}) {}

void CIntro::LoadPage() {
  // The first activation follows the welcome page's Next-only buttons.
  SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
}
