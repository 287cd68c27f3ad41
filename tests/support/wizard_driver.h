// Whole-program runs in the headless backend, for page tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/headless/headless.h"
#include "tests/support/fixture_drive.h"

namespace okapi_test {

// A fresh wizard (one run of the program) shown up to `page`, pressing Next
// on the way with a company name typed where one is asked for. `wizard`
// keeps the pages alive for the driver.
fw::headless::SheetDriver OpenWizardAt(fw::headless::HeadlessBackend& backend,
                                       std::unique_ptr<OkapiWizard>& wizard, unsigned page);

// Page tests: the program's templates in the headless backend, `installation`
// laid and discovered; a control a page lacks fails the test.
class WizardTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Lays `installation` again on a reset machine.
  void Lay();
  fw::headless::SheetDriver OpenAt(unsigned page) { return OpenWizardAt(*headless, wizard, page); }
  // The messages shown from the `from`th on, as "caption: text".
  std::vector<std::string> Told(std::size_t from = 0) const;
  std::string LastTold() const;
  std::size_t Shown() const { return headless->Messages().size(); }
  // A file's bytes, or "<missing>".
  static std::string File(const std::string& path);

  demo::Installation installation;
  fw::headless::ScopedHeadless headless;
  std::unique_ptr<OkapiWizard> wizard;
};

}  // namespace okapi_test
