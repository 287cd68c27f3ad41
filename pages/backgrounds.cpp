#include "pages/backgrounds.h"

#include "res/resource.h"
#include "store/globals.h"
#include "store/installation.h"
#include "wizard/routing.h"

CBackgrounds::CBackgrounds()
    : COkapiPage(
          IDD_BACKGROUNDS,
          {.titleId = IDC_BACKGROUNDS_HEADING,
           .helpButtonId = IDC_BACKGROUNDS_HELP,
           .helpTopic = "::/W05.htm",
           .buttonsOnActivate = 0,
           .white = {
               IDC_BACKGROUNDS_HEADING, IDC_BACKGROUNDS_LIST_LABEL, IDC_BACKGROUNDS_LIST_ARROW,
               IDC_BACKGROUNDS_CURRENT_NAME, IDC_BACKGROUNDS_DEFAULT_NAME,
               IDC_BACKGROUNDS_CURRENT_ARROW, IDC_BACKGROUNDS_DEFAULT_ARROW,
               IDC_BACKGROUNDS_MENU1_LABEL, IDC_BACKGROUNDS_MENU2_LABEL,
               IDC_BACKGROUNDS_MENU3_LABEL, IDC_BACKGROUNDS_MENU1_JPEG, IDC_BACKGROUNDS_MENU2_JPEG,
               IDC_BACKGROUNDS_MENU3_JPEG, IDC_BACKGROUNDS_JPEG, IDC_BACKGROUNDS_NAME_LABEL,
               IDC_BACKGROUNDS_JPEG_LABEL, IDC_BACKGROUNDS_OPENING_LABEL, IDC_BACKGROUNDS_NOTE}}) {}

void CBackgrounds::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_BACKGROUNDS_LIST, m_lstBackgrounds);
  DDX_Text(pDX, IDC_BACKGROUNDS_MENU1_JPEG, m_model.MenuFile(0));
  DDX_Text(pDX, IDC_BACKGROUNDS_MENU2_JPEG, m_model.MenuFile(1));
  DDX_Text(pDX, IDC_BACKGROUNDS_MENU3_JPEG, m_model.MenuFile(2));
  DDX_Text(pDX, IDC_BACKGROUNDS_JPEG, m_strJpegFileName);
}

bool CBackgrounds::OnCommand(int id, unsigned code) {
  static const CommandEntry<CBackgrounds> kCommands[] = {
      {IDC_BACKGROUNDS_CURRENT, BN_CLICKED, &CBackgrounds::OnCurrentSetting},
      {IDC_BACKGROUNDS_DEFAULT, BN_CLICKED, &CBackgrounds::OnDefaultSetting},
      {IDC_BACKGROUNDS_DELETE, BN_CLICKED, &CBackgrounds::OnDelete},
      {IDC_BACKGROUNDS_ADD, BN_CLICKED, &CBackgrounds::OnAdd},
      {IDC_BACKGROUNDS_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowse},
      {IDC_BACKGROUNDS_MENU1_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowseMenu1},
      {IDC_BACKGROUNDS_MENU2_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowseMenu2},
      {IDC_BACKGROUNDS_MENU3_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowseMenu3},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CBackgrounds::LoadPage() {
  m_model.Load();
  for (const std::string& text : m_model.Entries()) m_lstBackgrounds.AddString(text);
  SetDlgItemText(IDC_BACKGROUNDS_DEFAULT_NAME, m_model.DefaultLabel());
  SetDlgItemText(IDC_BACKGROUNDS_CURRENT_NAME, m_model.CurrentLabel());
  UpdateData(false);
  m_model.MarkFreeSlots();
}

std::optional<std::string> CBackgrounds::SelectedText() {
  const int index = m_lstBackgrounds.GetCurSel();
  if (index == LB_ERR) return std::nullopt;
  std::string text;
  m_lstBackgrounds.GetText(index, text);
  return text;
}

bool CBackgrounds::Show(const BackgroundsModel::Outcome& outcome) {
  Tell(*this, outcome.refusal);
  if (outcome.listed) m_lstBackgrounds.AddString(*outcome.listed);
  return outcome.done;
}

void CBackgrounds::OnCurrentSetting() {
  if (Show(m_model.SetCurrent(SelectedText())))
    SetDlgItemText(IDC_BACKGROUNDS_CURRENT_NAME, m_model.CurrentLabel());
}

void CBackgrounds::OnDefaultSetting() {
  if (Show(m_model.SetDefault(SelectedText())))
    SetDlgItemText(IDC_BACKGROUNDS_DEFAULT_NAME, m_model.DefaultLabel());
}

void CBackgrounds::OnDelete() {
  const int index = m_lstBackgrounds.GetCurSel();
  if (Show(m_model.Delete(SelectedText()))) m_lstBackgrounds.DeleteString(index);
}

void CBackgrounds::OnAdd() {
  m_strJpegFileName = GetDlgItemText(IDC_BACKGROUNDS_JPEG);
  (void)Show(m_model.Add(GetDlgItemText(IDC_BACKGROUNDS_NAME), m_strJpegFileName));
}

std::optional<std::string> CBackgrounds::BrowseJpeg() {
  CFileDialog dialog(true, "jpg", "*.jpg", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "JPEG Image (*.jpg)|*.jpg|");
  dialog.m_ofn.initialDir = g_strInstallDir + layout::kSmallImages;
  if (dialog.DoModal() != IDOK) return std::nullopt;
  std::string name = dialog.GetFileName();
  if (name.empty()) return std::nullopt;
  return name;
}

void CBackgrounds::OnBrowse() {
  const auto name = BrowseJpeg();
  if (!name) return;
  m_strJpegFileName = *name;
  UpdateData(false);
}

void CBackgrounds::BrowseMenu(std::size_t menu) {
  const auto name = BrowseJpeg();
  if (name && Show(m_model.PickMenuFile(menu, *name))) UpdateData(false);
}

int CBackgrounds::OnWizardBack() {
  return routing::RouteFrom(IDD_BACKGROUNDS, routing::Move::Back);
}

int CBackgrounds::OnWizardNext() {
  // Plain text fields: nothing can be refused here.
  (void)UpdateData(true);
  if (const auto refusal = m_model.CheckMenus()) {
    Tell(*this, refusal);
    return kWizardStay;
  }
  UpdateData(false);
  const SaveResult saved = m_model.SaveMenus();
  Tell(*this, saved.notice);
  // A failed write has been shown by the store; staying lets the user retry.
  if (!saved.saved) return kWizardStay;
  return COkapiPage::OnWizardNext();
}
