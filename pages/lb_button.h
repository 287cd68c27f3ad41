// The application started by the notebook's hardware button.
#pragma once

#include "pages/lb_button_model.h"
#include "wizard/page_frame.h"

class CLBButton : public COkapiPage {
 public:
  CLBButton();

  // "&Select Application" carries the OK id.
  void OnOK() override;

 protected:
  void LoadPage() override;

 private:
  LBButtonModel m_model;
};
