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

bool RemoveTree(const std::string& path) {
  auto& files = *platform::Os().files;
  if (!files.Exists(path)) return true;
  if (!files.IsDirectory(path)) {
    (void)files.SetAttributesNormal(path);  // the delete below reports
    return files.DeleteFile(path);
  }
  bool ok = true;
  for (const std::string& name : files.Find(path + "\\*"))
    ok = RemoveTree(path + "\\" + name) && ok;
  (void)files.SetAttributesNormal(path);
  return files.RemoveDirectory(path) && ok;
}

}  // namespace okapi_test
