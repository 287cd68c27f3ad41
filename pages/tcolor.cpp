#include "pages/tcolor.h"

#include "res/resource.h"

CTColor::CTColor()
    : COkapiPage(IDD_TCOLOR,
                 {.titleId = IDC_TCOLOR_HEADING,
                  .helpButtonId = IDC_TCOLOR_HELP,
                  .helpTopic = "::/W06.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_TCOLOR_HEADING, IDC_TCOLOR_BACKGROUND_NOTE, IDC_TCOLOR_RGB_LABEL,
                            IDC_TCOLOR_RED_HEAD, IDC_TCOLOR_GREEN_HEAD, IDC_TCOLOR_BLUE_HEAD,
                            IDC_TCOLOR_INSTRUCTIONS},
                  .blueText = {IDC_TCOLOR_MOUSE_OVER, IDC_TCOLOR_MENU_TEXT, IDC_TCOLOR_TOOL_BAR,
                               IDC_TCOLOR_BACKGROUND}}) {}
