// The menu titles, their Alt-key letters and the System Details item.
#pragma once

#include "wizard/page_frame.h"

class CAppMenu : public COkapiPage {
 public:
  CAppMenu();
};
