// Pulling the pieces together: Finish assembles the package.
#pragma once

#include "wizard/page_frame.h"

class CPackaging : public COkapiPage {
 public:
  CPackaging();

  // Jumps back over the Larkbook button page on machines without the button.
  int OnWizardBack() override;
  // The packaging sequence; false keeps the wizard here until the package is whole.
  bool OnWizardFinish() override;
};
