#include "tests/support/fixture_drive.h"

#include <cstdlib>
#include <filesystem>

#include "store/item_table.h"
#include "store/items.h"
#include "store/profile.h"

namespace okapi_test {

// Fresh services for each test, on Windows too: what a test claims (the
// single-instance mutex) is released when it ends, as at a process's exit.
TestMachine::TestMachine() {
#ifndef _WIN32
  std::string pattern = (std::filesystem::temp_directory_path() / "okapi-test-XXXXXX").string();
  if (mkdtemp(pattern.data())) driveRoot_ = pattern;
#endif
  previous_ = platform::ReplaceOs(platform::MakeNativeServices(driveRoot_));
  store::ForgetWrittenItems();
  ForgetSeededSlots();
  // A wizard run earlier in the process leaves its message boxes as reporters.
  store::SetWriteFailureReporter(nullptr);
  store::SetReadBackReporter(nullptr);
}

TestMachine::~TestMachine() {
  platform::ReplaceOs(std::move(previous_));
  std::error_code ignored;
  // Read-only files do not stop the owner from removing them on posix.
  if (!driveRoot_.empty()) std::filesystem::remove_all(driveRoot_, ignored);
}

}  // namespace okapi_test
