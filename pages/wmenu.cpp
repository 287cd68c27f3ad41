#include "pages/wmenu.h"

#include "res/resource.h"

CWMenu::CWMenu()
    : COkapiPage(IDD_WMENU, {.titleId = 1158,
                             .helpButtonId = 1161,
                             .helpTopic = "::/W035.htm",
                             .buttonsOnActivate = 0,
                             .white = {1158, 1167, 1169, 1170, 1171}}) {}
