// The company name appended to the help application's title.
#pragma once

#include "pages/company_model.h"
#include "wizard/page_frame.h"

class CModified : public COkapiPage {
 public:
  CModified();

  void DoDataExchange(CDataExchange* pDX) override;
  int OnWizardNext() override;

 protected:
  void LoadPage() override;

 private:
  CompanyModel m_model;
};
