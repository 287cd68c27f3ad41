// The opening sound.
#pragma once

#include "pages/opening_effect.h"

class CSounds : public COpeningEffectPage {
 public:
  CSounds() : COpeningEffectPage(OpeningEffect::Sound()) {}

  CComboBox& m_cboDefaultSound = m_cboDefault;
  CComboBox& m_cboPlaySound = m_cboCurrent;
  bool& m_bDefaultSound = m_bDefault;
  bool& m_bPlaySound = m_bCurrent;
};
