#include "tests/support/wizard_driver.h"

#include <gtest/gtest.h>

#include "res/resource.h"

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

}  // namespace okapi_test
