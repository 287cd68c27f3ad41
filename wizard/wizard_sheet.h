// The wizard's property sheet.
#pragma once

#include "framework/framework.h"

// The wizard's window title, by which a second copy finds it.
inline constexpr const char* kWizardTitle = "Customization";

class CWizardSheet : public CPropertySheet {
 public:
  // The sheet shows no Help button of its own: each page has one.
  explicit CWizardSheet(unsigned captionId, CWnd* parent = nullptr, unsigned selectPage = 0);

  bool OnInitDialog() override;
  // The sheet's own area (around Back, Next, Finish, Cancel) in the window colour.
  CtlColor OnCtlColor(int controlId, int ctlType) override;
};
