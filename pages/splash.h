// The opening animation.
#pragma once

#include "wizard/page_frame.h"

class CSplash : public COkapiPage {
 public:
  CSplash();

  // Jumps over the Larkbook button page on machines without the button.
  int OnWizardNext() override;
};
