// Whole-program runs in the headless backend, for page tests.
#pragma once

#include <memory>

#include "app/okapi_app.h"
#include "framework/headless/headless.h"

namespace okapi_test {

// A fresh wizard (one run of the program) shown up to `page`, pressing Next
// on the way with a company name typed where one is asked for. `wizard`
// keeps the pages alive for the driver.
fw::headless::SheetDriver OpenWizardAt(fw::headless::HeadlessBackend& backend,
                                       std::unique_ptr<OkapiWizard>& wizard, unsigned page);

}  // namespace okapi_test
