#include "pages/tcolor.h"

#include "res/resource.h"

CTColor::CTColor()
    : COkapiPage(IDD_TCOLOR, {.titleId = 1025,
                              .helpButtonId = 1136,
                              .helpTopic = "::/W06.htm",
                              .buttonsOnActivate = 0,
                              .white = {1025, 1060, 1106, 1109, 1110, 1112, 1157},
                              .blueText = {1026, 1027, 1028, 1056}}) {}
