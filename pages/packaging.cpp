#include "pages/packaging.h"

#include "package/changes_report.h"
#include "package/finish.h"
#include "package/package_tree.h"
#include "pages/backgrounds_model.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/item_table.h"
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
  const package::Tell tell = [this](const std::string& text, const std::string& caption) {
    MessageBox(text, caption, MB_OK);
  };
  if (!OpeningImageAccepted()) return false;
  if (!package::Finish(tell)) return false;
  // One box however many: another program rewriting a file changes them all.
  if (const auto mismatches = store::CheckWrittenItems(); !mismatches.empty())
    MessageBox(store::Describe(mismatches));
  const auto report = WriteReport();
  std::string text = "The package is ready in " + package::Root() + ".";
  if (!report) {
    MessageBox(text);
  } else if (MessageBox(text + "\n\nWhat changed is listed in " + *report +
                            " (and as text in changes.txt beside it).\n\nOpen the report now?",
                        kAppName, MB_YESNO | MB_DEFBUTTON2) == IDYES) {
    OpenReport(*report);
  }
  return COkapiPage::OnWizardFinish();
}

bool CPackaging::OpeningImageAccepted() {
  const auto image = UnlistedOpeningImage();
  return !image ||
         MessageBox("The opening image is " + *image +
                        ", which is not in the background list, so the package may not contain "
                        "it: computers that get the package would then open on an image they do "
                        "not have.\n\nClick No, go Back to the Backgrounds page, select an image "
                        "and click Current Setting, then click Finish again. Click Yes to make "
                        "the package as it is.",
                    kAppName, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

bool CPackaging::OnCommand(int id, unsigned code) {
  static const CommandEntry<CPackaging> kCommands[] = {
      {IDC_PACKAGING_REVIEW, BN_CLICKED, &CPackaging::OnReviewChanges},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CPackaging::OnReviewChanges() {
  if (const auto report = WriteReport()) OpenReport(*report);
}

std::optional<std::string> CPackaging::WriteReport() {
  const report::Changes changes = report::Collect();
  if (auto written = report::Write(changes); !written) {
    MessageBox("OKAPI could not write the changes report " + report::HtmlPath() + ".\n\n" +
               written.reason);
    return std::nullopt;
  }
  return report::HtmlPath();
}

void CPackaging::OpenReport(const std::string& path) {
  // Explorer opens a page in the user's browser.
  if (!platform::Os().processes->Start("explorer.exe \"" + path + "\"")) {
    MessageBox("OKAPI could not open " + path + ". Open it in your browser.");
  }
}
