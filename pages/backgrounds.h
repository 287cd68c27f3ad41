// The background images and the menus' backgrounds.
#pragma once

#include "wizard/page_frame.h"

class CBackgrounds : public COkapiPage {
 public:
  CBackgrounds();
};
