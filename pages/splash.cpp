#include "pages/splash.h"

#include "res/resource.h"
#include "wizard/routing.h"

int CSplash::OnWizardNext() { return routing::RouteFrom(IDD_SPLASH, routing::Move::Next); }
