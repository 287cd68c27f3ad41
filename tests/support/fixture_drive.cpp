#include "tests/support/fixture_drive.h"

#include <cstdlib>
#include <filesystem>

namespace okapi_test {

TestMachine::TestMachine() {
#ifndef _WIN32
  std::string pattern = (std::filesystem::temp_directory_path() / "okapi-test-XXXXXX").string();
  if (mkdtemp(pattern.data())) driveRoot_ = pattern;
  previous_ = platform::ReplaceOs(platform::MakeNativeServices(driveRoot_));
#endif
}

TestMachine::~TestMachine() {
#ifndef _WIN32
  platform::ReplaceOs(std::move(previous_));
  std::error_code ignored;
  // Read-only files do not stop the owner from removing them on posix.
  if (!driveRoot_.empty()) std::filesystem::remove_all(driveRoot_, ignored);
#endif
}

}  // namespace okapi_test
