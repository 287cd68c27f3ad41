// The company name appended to the help application's title.
#pragma once

#include <string>

#include "wizard/page_frame.h"

class CModified : public COkapiPage {
 public:
  CModified();

  std::string m_strCompany;

  void DoDataExchange(CDataExchange* pDX) override;
  int OnWizardNext() override;

  static constexpr std::size_t kMaxCompany = 30;

 protected:
  void LoadPage() override { LoadCompanyName(); }
  void LoadCompanyName();
};
