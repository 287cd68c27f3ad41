// Former names of the counting file service, until their last users move to
// tests/support/counting_files.h.
#pragma once

#include "tests/support/counting_files.h"

namespace okapi_test {

using MemoryFiles = CountingFiles;
using ScopedMemoryFiles = ScopedCountingFiles;

}  // namespace okapi_test
