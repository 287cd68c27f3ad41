#include "pages/app_menu.h"

#include "res/resource.h"

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
