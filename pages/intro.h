// What the tool customizes, in the order of the following pages.
#pragma once

#include "wizard/page_frame.h"

class CIntro : public COkapiPage {
 public:
  CIntro();

 protected:
  void LoadPage() override;
};
