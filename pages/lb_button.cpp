#include "pages/lb_button.h"

#include "res/resource.h"

CLBButton::CLBButton()
    : COkapiPage(IDD_LBBUTTON,
                 {.titleId = IDC_LBBUTTON_HEADING,
                  .helpButtonId = IDC_LBBUTTON_HELP,
                  .helpTopic = "::/W09.htm",
                  .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                  .white = {IDC_LBBUTTON_HEADING, IDC_LBBUTTON_LABEL, IDC_LBBUTTON_PATH}}) {}

void CLBButton::LoadPage() {
  m_model.Load();
  SetDlgItemText(IDC_LBBUTTON_PATH, m_model.Application());
}

void CLBButton::OnOK() {
  CFileDialog dialog(true, "exe", "*.exe", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "Executable files (*.exe)|*.exe|");
  if (dialog.DoModal() != IDOK) return;
  for (const auto& message : m_model.Select(dialog.GetPathName())) Tell(*this, message);
  SetDlgItemText(IDC_LBBUTTON_PATH, m_model.Application());
  COkapiPage::OnOK();
}
