// The menu titles, their Alt-key letters and the System Details item.
#pragma once

#include "pages/menu_model.h"
#include "wizard/page_frame.h"

class CAppMenu : public COkapiPage {
 public:
  CAppMenu();

  CButton m_ctlWelcomeTitleCheck;
  CEdit m_ctlAltKey4Edit;
  CEdit m_ctlTitle4Edit;
  MenuModel m_model;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  int OnWizardNext() override;
  // "&Open CSV File" carries the OK id.
  void OnOK() override { OnOpenCsvFile(); }

  void OnOpenCsvFile();
  void OnSysDetailsClicked();
  void OnWelcomeTitleClicked();

 protected:
  void LoadPage() override;

 private:
  void ShowFourthMenuEdits(bool show);
};
