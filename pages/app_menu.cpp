#include "pages/app_menu.h"

#include "res/resource.h"

CAppMenu::CAppMenu()
    : COkapiPage(IDD_APPMENU, {.titleId = 1010,
                               .helpButtonId = 1132,
                               .helpTopic = "::/W03.htm",
                               .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                               .white = {1010, 1011, 1014, 1067, 1068, 1104, 1105, 1146, 1172}}) {}
