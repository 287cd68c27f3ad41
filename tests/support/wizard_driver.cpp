#include "tests/support/wizard_driver.h"

#include <gtest/gtest.h>

#include "app/discovery.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "tests/support/program_templates.h"

namespace okapi_test {

fw::headless::SheetDriver OpenWizardAt(fw::headless::HeadlessBackend& backend,
                                       std::unique_ptr<OkapiWizard>& wizard, unsigned page) {
  wizard.reset();
  wizard = std::make_unique<OkapiWizard>();
  fw::headless::SheetDriver run = backend.Open(wizard->sheet);
  while (run.IsOpen() && run.ActiveTemplateId() != page) {
    if (run.ActiveTemplateId() == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
    if (!run.PressNext()) break;
  }
  EXPECT_EQ(page, run.ActiveTemplateId());
  return run;
}

void WizardTest::SetUp() {
  MachineTest::SetUp();
  ASSERT_TRUE(LoadProgramTemplates(*headless));
  Lay();
}

void WizardTest::TearDown() {
  for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
}

void WizardTest::Lay() {
  ASSERT_TRUE(demo::ResetMachine());
  auto laid = demo::LayInstallation(installation);
  ASSERT_TRUE(laid) << laid.reason;
  DiscoverInstallation();  // the paths, before the wizard's start-up sets them
}

std::vector<std::string> WizardTest::Told(std::size_t from) const {
  std::vector<std::string> told;
  const auto& shown = headless->Messages();
  for (std::size_t i = from; i < shown.size(); ++i)
    told.push_back(shown[i].caption + ": " + shown[i].text);
  return told;
}

std::string WizardTest::LastTold() const { return Shown() ? Told(Shown() - 1)[0] : "<none>"; }

std::string WizardTest::File(const std::string& path) {
  return platform::Os().files->ReadFile(path).value_or("<missing>");
}

}  // namespace okapi_test
