#include "pages/vicons.h"

#include "res/resource.h"

CVIcons::CVIcons()
    : COkapiPage(IDD_VICONS,
                 {.titleId = IDC_VICONS_HEADING,
                  .helpButtonId = IDC_VICONS_HELP,
                  .helpTopic = "::/W04.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_VICONS_HEADING, IDC_VICONS_MORE_INFO, IDC_VICONS_CONFIGURE}}) {}
