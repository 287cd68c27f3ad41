// The opening sound.
#pragma once

#include "pages/opening_effect.h"

class CSounds : public COpeningEffectPage {
 public:
  CSounds() : COpeningEffectPage(OpeningEffect::Sound()) {}
};
