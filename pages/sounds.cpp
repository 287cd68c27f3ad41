#include "pages/sounds.h"

#include "res/resource.h"

CSounds::CSounds()
    : COkapiPage(IDD_SOUNDS, {.titleId = IDC_SOUNDS_HEADING,
                              .helpButtonId = IDC_SOUNDS_HELP,
                              .helpTopic = "::/W07.htm",
                              .buttonsOnActivate = 0,
                              .white = {IDC_SOUNDS_HEADING, IDC_SOUNDS_FILE_LABEL,
                                        IDC_SOUNDS_DEFAULT, IDC_SOUNDS_PLAY}}) {}
