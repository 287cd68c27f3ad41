#include "pages/wmenu.h"

#include "res/resource.h"

CWMenu::CWMenu()
    : COkapiPage(IDD_WMENU,
                 {.titleId = IDC_WMENU_HEADING,
                  .helpButtonId = IDC_WMENU_HELP,
                  .helpTopic = "::/W035.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_WMENU_HEADING, IDC_WMENU_IMAGE_CHECK, IDC_WMENU_MENU1_LABEL,
                            IDC_WMENU_MENU2_LABEL, IDC_WMENU_MENU3_LABEL}}) {}
