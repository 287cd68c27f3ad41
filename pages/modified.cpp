#include "pages/modified.h"

#include "res/resource.h"

CModified::CModified()
    : COkapiPage(IDD_MODIFIED, {.titleId = IDC_MODIFIED_HEADING,
                                .helpButtonId = IDC_MODIFIED_HELP,
                                .helpTopic = "::/W10.htm",
                                .white = {IDC_MODIFIED_HEADING, IDC_MODIFIED_PROMPT,
                                          IDC_MODIFIED_COMPANY_LABEL}}) {}

void CModified::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_MODIFIED_COMPANY, m_model.Name());
}

void CModified::LoadPage() {
  m_model.Load();
  UpdateData(false);
}

int CModified::OnWizardNext() {
  if (!UpdateData(true)) return kWizardStay;
  const CompanyModel::Outcome outcome = m_model.Next();
  Tell(*this, outcome.told);
  return outcome.Stays() ? kWizardStay : COkapiPage::OnWizardNext();
}
