// The application started by the notebook's hardware button.
#pragma once

#include "wizard/page_frame.h"

// Whether this machine has the hardware button (its registry key opens).
bool HardwareButtonPresent();

class CLBButton : public COkapiPage {
 public:
  CLBButton();

  // "&Select Application" carries the OK id.
  void OnOK() override;

 protected:
  void LoadPage() override { LoadButtonApplication(); }
  void LoadButtonApplication();
};
