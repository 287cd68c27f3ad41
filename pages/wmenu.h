// The texts of the help application's welcome page (version 3.5).
#pragma once

#include "pages/welcome_texts_model.h"
#include "wizard/page_frame.h"

class CWMenu : public COkapiPage {
 public:
  CWMenu();

  CButton m_ctlWelcomeImageCheck;
  WelcomeTextsModel m_model;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  bool OnSetActive() override;
  int OnWizardNext() override;
  void OnWelcomeImageClicked();

 protected:
  void LoadPage() override;

 private:
};
