// The opening animation.
#pragma once

#include "pages/opening_effect.h"

class CSplash : public COpeningEffectPage {
 public:
  CSplash() : COpeningEffectPage(OpeningEffect::Animation()) {}

  // Jumps over the Larkbook button page on machines without the button.
  int OnWizardNext() override;
};
