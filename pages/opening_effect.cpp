#include "pages/opening_effect.h"

#include "res/resource.h"

// The two pages differ only here.
const OpeningEffect& OpeningEffect::Sound() {
  static const OpeningEffect sound{
      .effect = OpeningEffectModel::Sound(),
      .templateId = IDD_SOUNDS,
      .frame = {.titleId = IDC_SOUNDS_HEADING,
                .helpButtonId = IDC_SOUNDS_HELP,
                .helpTopic = "::/W07.htm",
                .buttonsOnActivate = 0,
                .white = {IDC_SOUNDS_HEADING, IDC_SOUNDS_FILE_LABEL, IDC_SOUNDS_DEFAULT,
                          IDC_SOUNDS_PLAY}},
      .nowCheckId = IDC_SOUNDS_PLAY,
      .afterRevertCheckId = IDC_SOUNDS_DEFAULT,
      .nowComboId = IDC_SOUNDS_PLAY_COMBO,
      .afterRevertComboId = IDC_SOUNDS_DEFAULT_COMBO,
      .defExt = "wav",
      .initialName = "*.wav",
      .filter = "Media files (*.wav)|*.wav|",
  };
  return sound;
}

const OpeningEffect& OpeningEffect::Animation() {
  static const OpeningEffect animation{
      .effect = OpeningEffectModel::Animation(),
      .templateId = IDD_SPLASH,
      .frame = {.titleId = IDC_SPLASH_HEADING,
                .helpButtonId = IDC_SPLASH_HELP,
                .helpTopic = "::/W08.htm",
                .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                .white = {IDC_SPLASH_HEADING, IDC_SPLASH_FILE_LABEL, IDC_SPLASH_DEFAULT,
                          IDC_SPLASH_SHOW}},
      .nowCheckId = IDC_SPLASH_SHOW,
      .afterRevertCheckId = IDC_SPLASH_DEFAULT,
      .nowComboId = IDC_SPLASH_SHOW_COMBO,
      .afterRevertComboId = IDC_SPLASH_DEFAULT_COMBO,
      .defExt = "swf",
      .initialName = "*.swf",
      .filter = "Shockwave files (*.swf)|*.swf|",
  };
  return animation;
}

COpeningEffectPage::COpeningEffectPage(const OpeningEffect& page)
    : COkapiPage(page.templateId, page.frame), m_page(page), m_model(page.effect) {}

void COpeningEffectPage::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, m_page.nowComboId, m_cboNow);
  DDX_Control(pDX, m_page.afterRevertComboId, m_cboAfterRevert);
  DDX_Check(pDX, m_page.nowCheckId, m_bNow);
  DDX_Check(pDX, m_page.afterRevertCheckId, m_bAfterRevert);
}

bool COpeningEffectPage::OnCommand(int id, unsigned code) {
  if (code == BN_CLICKED && id == m_page.nowCheckId) {
    UpdateData(true);
    const OpeningEffectModel::Outcome outcome = m_model.SetNow(m_bNow);
    ShowOutcome(outcome, m_bNow, m_model.Now());
    return true;
  }
  if (code == BN_CLICKED && id == m_page.afterRevertCheckId) {
    UpdateData(true);
    const OpeningEffectModel::Outcome outcome = m_model.SetAfterRevert(m_bAfterRevert);
    ShowOutcome(outcome, m_bAfterRevert, m_model.AfterRevert());
    return true;
  }
  return COkapiPage::OnCommand(id, code);
}

void COpeningEffectPage::LoadPage() {
  for (CComboBox* box : {&m_cboNow, &m_cboAfterRevert}) {
    box->AddString("TRUE");
    box->AddString("FALSE");
  }
  m_model.Load();
  m_bAfterRevert = m_model.AfterRevert();
  m_bNow = m_model.Now();
  UpdateData(false);
}

void COpeningEffectPage::ShowOutcome(const OpeningEffectModel::Outcome& outcome, bool& box,
                                     bool held) {
  Tell(*this, outcome.told);
  if (outcome.applied) return;
  box = held;
  UpdateData(false);
}

void COpeningEffectPage::OnOK() {
  CFileDialog dialog(true, std::string(m_page.defExt), std::string(m_page.initialName),
                     OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, std::string(m_page.filter));
  if (dialog.DoModal() != IDOK) return;
  Tell(*this, m_model.UseFile(dialog.GetPathName(), dialog.GetFileName()));
  COkapiPage::OnOK();
}
