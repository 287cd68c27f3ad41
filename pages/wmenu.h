// The texts of the help application's welcome page (version 3.5).
#pragma once

#include "wizard/page_frame.h"

class CWMenu : public COkapiPage {
 public:
  CWMenu();
};
