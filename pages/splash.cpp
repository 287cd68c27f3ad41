#include "pages/splash.h"

#include "res/resource.h"
#include "wizard/routing.h"

CSplash::CSplash()
    : COkapiPage(IDD_SPLASH, {.titleId = IDC_SPLASH_HEADING,
                              .helpButtonId = IDC_SPLASH_HELP,
                              .helpTopic = "::/W08.htm",
                              .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                              .white = {IDC_SPLASH_HEADING, IDC_SPLASH_FILE_LABEL,
                                        IDC_SPLASH_DEFAULT, IDC_SPLASH_SHOW}}) {}

int CSplash::OnWizardNext() { return routing::RouteFrom(IDD_SPLASH, routing::Move::Next); }
