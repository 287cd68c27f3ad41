#include "app/okapi_app.h"

#include "app/answers_run.h"
#include "package/finish.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/item_table.h"
#include "store/profile.h"

bool COkapiApp::IsFirstInstance(const std::string& name) {
  return platform::Os().instances->ClaimMutex(name);
}

namespace {

// Every page writes through the store, so its failures are told in one place.
void TellWriteFailures() {
  store::SetWriteFailureReporter([](const std::string& file, const std::string& reason) {
    AfxMessageBox("OKAPI could not save " + file + ".\n\n" + reason +
                  "\n\nThe file was left as it was before this change.");
  });
  store::SetReadBackReporter(
      [](const std::vector<store::ReadBackMismatch>& m) { AfxMessageBox(store::Describe(m)); });
}

}  // namespace

bool COkapiApp::InitInstance() {
  if (IsFirstInstance(kMutexName)) {
    TellWriteFailures();
    package::SetPackageAnswers(answers::PackageAnswersText);
    RunWizard();
  } else {
    ToggleRunningWizard();
  }
  return false;
}

void COkapiApp::ToggleRunningWizard() {
  auto& instances = *platform::Os().instances;
  const platform::WindowId wizard = instances.FindTopLevelWindow(kWizardTitle);
  if (!wizard) return;
  if (!instances.IsMinimized(wizard) && instances.Foreground() == wizard) {
    instances.Show(wizard, platform::ShowCommand::Minimize);
  } else {
    instances.SetForeground(wizard);
    instances.Show(wizard, platform::ShowCommand::ShowNormal);
  }
}

OkapiWizard::OkapiWizard() : sheet(IDS_WIZARD_CAPTION) {
  // Pages skip their neighbours themselves; the sheet's order never changes.
  for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{
           &welcome, &intro, &modified, &appMenu, &wmenu, &vicons, &backgrounds, &tcolor, &sounds,
           &splash, &lbButton, &packaging}) {
    sheet.AddPage(page);
  }
  sheet.m_psh.dwFlags |= PSH_WIZARD;
}

void COkapiApp::RunWizard() {
  OkapiWizard wizard;
  // Finish and Cancel end the program alike; what the pages wrote stays.
  (void)wizard.sheet.DoModal();
}
