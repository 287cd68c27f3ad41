#include "pages/sounds.h"

#include "res/resource.h"

CSounds::CSounds()
    : COkapiPage(IDD_SOUNDS, {.titleId = 1015,
                              .helpButtonId = 1135,
                              .helpTopic = "::/W07.htm",
                              .buttonsOnActivate = 0,
                              .white = {1015, 1018, 1114, 1115}}) {}
