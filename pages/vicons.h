// The two Visual Map buttons, shown or hidden.
#pragma once

#include "pages/visual_map_model.h"
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
  void OnShowMoreInfo() { Toggle(VisualMapModel::Button::MoreInformation, m_bShowMoreInfo); }
  void OnShowConfigure() { Toggle(VisualMapModel::Button::Configure, m_bShowConfigure); }

 private:
  void Toggle(VisualMapModel::Button button, bool& box);

  VisualMapModel m_model;
};
