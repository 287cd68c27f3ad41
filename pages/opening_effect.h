// The opening sound and the opening animation: one page make, two rows of
// data. Each page switches the effect now and after a revert to the
// defaults, and can put a chosen file in place (the OK command).
#pragma once

#include <string_view>

#include "pages/opening_effect_model.h"
#include "wizard/page_frame.h"

struct OpeningEffect {
  const OpeningEffectModel::Effect& effect;
  unsigned templateId;
  PageFrame frame;
  int nowCheckId;
  int afterRevertCheckId;
  int nowComboId;
  int afterRevertComboId;
  // The file dialog.
  std::string_view defExt;
  std::string_view initialName;
  std::string_view filter;

  static const OpeningEffect& Sound();
  static const OpeningEffect& Animation();
};

class COpeningEffectPage : public COkapiPage {
 public:
  explicit COpeningEffectPage(const OpeningEffect& page);

  CComboBox m_cboNow;
  CComboBox m_cboAfterRevert;
  bool m_bNow = false;
  bool m_bAfterRevert = false;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  // The chosen file copied into place and named in the option.
  void OnOK() override;

 protected:
  void LoadPage() override;

 private:
  // The box goes back to what the model holds when the model refused.
  void ShowOutcome(const OpeningEffectModel::Outcome& outcome, bool& box, bool held);

  const OpeningEffect& m_page;
  OpeningEffectModel m_model;
};
