// The program's real dialog templates and strings for the headless backend,
// so page tests use the controls the product has (a wrong id is a fault).
#pragma once

#include <string>

#include "framework/headless/headless.h"

namespace okapi_test {

// A file of the source tree by its path from the top ("res/okapi.rc"); empty
// when it cannot be read.
std::string ReadSource(const char* relative);

// Defines the twelve pages and the About box from res/okapi.rc; false when
// the resource script cannot be read.
bool LoadProgramTemplates(fw::headless::HeadlessBackend& backend);

}  // namespace okapi_test
