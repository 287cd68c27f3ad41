// The two Visual Map buttons, shown or hidden.
#pragma once

#include "wizard/page_frame.h"

class CVIcons : public COkapiPage {
 public:
  CVIcons();

  CComboBox m_cboMoreInfo;
  CComboBox m_cboConfigure;
  bool m_bShowMoreInfo = false;
  bool m_bShowConfigure = false;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  int OnWizardBack() override;

 protected:
  void LoadPage() override;
  // Copies of each button's image and text as the first run found them, so
  // a button shown again looks as it did before OKAPI touched it.
  void SaveFirstValues();
  void LoadButtonStates();
  void OnShowMoreInfo();
  void OnShowConfigure();
};
