#include "pages/vicons.h"

#include "res/resource.h"

CVIcons::CVIcons()
    : COkapiPage(IDD_VICONS, {.titleId = 1062,
                              .helpButtonId = 1138,
                              .helpTopic = "::/W04.htm",
                              .buttonsOnActivate = 0,
                              .white = {1062, 1118, 1119}}) {}
