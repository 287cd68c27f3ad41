// The program's own source files, read by tests that take names from them.
#pragma once

#include <string>

namespace okapi_test {

// A file of the source tree by its path from the top ("res/resource.h"); empty
// when it cannot be read.
std::string ReadSource(const char* relative);

}  // namespace okapi_test
