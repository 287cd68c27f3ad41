#include "pages/backgrounds.h"

#include "res/resource.h"

CBackgrounds::CBackgrounds()
    : COkapiPage(IDD_BACKGROUNDS,
                 {.titleId = 1019,
                  .helpButtonId = 1137,
                  .helpTopic = "::/W05.htm",
                  .buttonsOnActivate = 0,
                  .white = {1019, 1075, 1080, 1086, 1087, 1088, 1089, 1090, 1091, 1092, 1093, 1094,
                            1095, 1097, 1098, 1099, 1113, 1147}}) {}
