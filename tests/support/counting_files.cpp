#include "tests/support/counting_files.h"

#include <gtest/gtest.h>

#include <utility>

#include "demo/installation.h"
#include "store/profile.h"

namespace okapi_test {

CountingFiles::~CountingFiles() {
  for (const std::string& folder : madeTop_) (void)demo::RemoveTree(*real_, folder);
}

void CountingFiles::AddDirectory(const std::string& path) {
  // The folder right below the drive goes with this service if it makes it.
  const std::string top = path.substr(0, path.find('\\', path.find('\\') + 1));
  if (!real_->IsDirectory(top)) madeTop_.push_back(top);
  const platform::Status made = demo::MakeDirectories(path);
  EXPECT_TRUE(made) << path << ": " << made.reason;
}

void CountingFiles::AddFile(const std::string& path, std::string_view bytes) {
  AddDirectory(path.substr(0, path.rfind('\\')));
  const platform::Status written = real_->WriteFileAtomic(path, bytes);
  EXPECT_TRUE(written) << path << ": " << written.reason;
}

platform::Status CountingFiles::WriteFileAtomic(const std::string& path, std::string_view bytes) {
  ++writes_;
  if (!failNext_.empty()) return platform::Status::Fail(std::exchange(failNext_, {}));
  if (std::exchange(dropNext_, false)) return platform::Status::Ok();
  return real_->WriteFileAtomic(path, bytes);
}

ScopedCountingFiles::ScopedCountingFiles() {
  auto files = std::make_unique<CountingFiles>(std::move(platform::Os().files));
  files_ = files.get();
  platform::Os().files = std::move(files);
  store::ForgetCachedFiles();
}

ScopedCountingFiles::~ScopedCountingFiles() { store::ForgetCachedFiles(); }

}  // namespace okapi_test
