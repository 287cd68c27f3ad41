// The opening sound.
#pragma once

#include "wizard/page_frame.h"

class CSounds : public COkapiPage {
 public:
  CSounds();
};
