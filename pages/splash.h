// The opening animation.
#pragma once

#include "pages/opening_effect.h"

class CSplash : public COpeningEffectPage {
 public:
  CSplash() : COpeningEffectPage(OpeningEffect::Animation()) {}

  CComboBox& m_cboShowSplash = m_cboCurrent;
  CComboBox& m_cboDefaultSplash = m_cboDefault;
  bool& m_bShowSplash = m_bCurrent;
  bool& m_bDefaultSplash = m_bDefault;

  // Jumps over the Larkbook button page on machines without the button.
  int OnWizardNext() override;
};
