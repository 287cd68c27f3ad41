#include "wizard/wizard_sheet.h"

CWizardSheet::CWizardSheet(unsigned captionId, CWnd* parent, unsigned selectPage)
    : CPropertySheet(captionId, parent, selectPage) {
  m_psh.dwFlags &= ~PSH_HASHELP;
}

bool CWizardSheet::OnInitDialog() {
  const bool result = CPropertySheet::OnInitDialog();
  m_psh.dwFlags &= ~PSH_HASHELP;
  return result;
}

CtlColor CWizardSheet::OnCtlColor(int controlId, int ctlType) {
  CPropertySheet::OnCtlColor(controlId, ctlType);
  return {CtlColor::Brush::Window, std::nullopt, std::nullopt};
}
