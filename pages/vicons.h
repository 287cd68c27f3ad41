// The two Visual Map buttons.
#pragma once

#include "wizard/page_frame.h"

class CVIcons : public COkapiPage {
 public:
  CVIcons();
};
