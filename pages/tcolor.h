// The mouse-over, menu and tool-bar text colours.
#pragma once

#include "wizard/page_frame.h"

class CTColor : public COkapiPage {
 public:
  CTColor();
};
