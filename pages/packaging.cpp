#include "pages/packaging.h"

#include "res/resource.h"
#include "wizard/routing.h"

CPackaging::CPackaging()
    : COkapiPage(IDD_PACKAGING, {.titleId = IDC_PACKAGING_HEADING,
                                 .helpButtonId = IDC_PACKAGING_HELP,
                                 .helpTopic = "::/W11.htm",
                                 .buttonsOnActivate = PSWIZB_BACK | PSWIZB_FINISH,
                                 .white = {IDC_PACKAGING_HEADING, IDC_PACKAGING_INTRO,
                                           IDC_PACKAGING_PROCESS_CSV, IDC_PACKAGING_COPY_CSV,
                                           IDC_PACKAGING_COPY_TEXT, IDC_PACKAGING_COPY_CONFIG,
                                           IDC_PACKAGING_COPY_IMAGES, IDC_PACKAGING_COPY_REG,
                                           IDC_PACKAGING_ICONS_NOTE, IDC_PACKAGING_HELPS_NOTE,
                                           IDC_PACKAGING_RESULT, IDC_PACKAGING_VISUAL_MAPS_NOTE}}) {
}

int CPackaging::OnWizardBack() { return routing::RouteFrom(IDD_PACKAGING, routing::Move::Back); }

bool CPackaging::OnWizardFinish() {
  return packaging::Finish(Ask()) && COkapiPage::OnWizardFinish();
}

bool CPackaging::OnCommand(int id, unsigned code) {
  static const CommandEntry<CPackaging> kCommands[] = {
      {IDC_PACKAGING_REVIEW, BN_CLICKED, &CPackaging::OnReviewChanges},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CPackaging::OnReviewChanges() {
  if (const auto report = packaging::WriteReport(Ask())) packaging::OpenReport(*report, Ask());
}

packaging::Ask CPackaging::Ask() {
  return [this](const std::string& text, const std::string& caption, unsigned type) {
    return MessageBox(text, caption, type);
  };
}
