#include "pages/vicons.h"

#include "res/resource.h"
#include "wizard/routing.h"

using Button = VisualMapModel::Button;

CVIcons::CVIcons()
    : COkapiPage(IDD_VICONS,
                 {.titleId = IDC_VICONS_HEADING,
                  .helpButtonId = IDC_VICONS_HELP,
                  .helpTopic = "::/W04.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_VICONS_HEADING, IDC_VICONS_MORE_INFO, IDC_VICONS_CONFIGURE}}) {}

void CVIcons::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_VICONS_MORE_INFO_COMBO, m_cboMoreInfo);
  DDX_Control(pDX, IDC_VICONS_CONFIGURE_COMBO, m_cboConfigure);
  DDX_Check(pDX, IDC_VICONS_MORE_INFO, m_bShowMoreInfo);
  DDX_Check(pDX, IDC_VICONS_CONFIGURE, m_bShowConfigure);
}

bool CVIcons::OnCommand(int id, unsigned code) {
  static const CommandEntry<CVIcons> kCommands[] = {
      {IDC_VICONS_MORE_INFO, BN_CLICKED, &CVIcons::OnShowMoreInfo},
      {IDC_VICONS_CONFIGURE, BN_CLICKED, &CVIcons::OnShowConfigure},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

int CVIcons::OnWizardBack() { return routing::RouteFrom(IDD_VICONS, routing::Move::Back); }

void CVIcons::LoadPage() {
  m_model.Load();
  for (CComboBox* box : {&m_cboConfigure, &m_cboMoreInfo}) {
    box->AddString("TRUE");
    box->AddString("FALSE");
  }
  m_bShowConfigure = m_model.Shown(Button::Configure);
  m_bShowMoreInfo = m_model.Shown(Button::MoreInformation);
  UpdateData(false);
}

void CVIcons::Toggle(Button button, bool& box) {
  UpdateData(true);
  const VisualMapModel::Outcome outcome = m_model.Set(button, box);
  if (!outcome.applied) {
    box = m_model.Shown(button);
    UpdateData(false);
    return;
  }
  Tell(*this, outcome.told);
}
