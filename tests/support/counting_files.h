// A file service wrapped for one test, counting what the profile engine asks
// of it and able to fail the next write, or removing and copying chosen paths.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "tests/support/fixture_drive.h"

namespace okapi_test {

class CountingFiles final : public platform::FileSystem {
 public:
  explicit CountingFiles(std::unique_ptr<platform::FileSystem> real) : real_(std::move(real)) {}
  ~CountingFiles() override;  // removes the folders it made

  using S = const std::string&;
  // Test set-up, not counted: missing parent folders are made too.
  void AddDirectory(const std::string& path);
  void AddFile(const std::string& path, std::string_view bytes);
  // The file's bytes, or "<missing>".
  std::string Contents(S path) { return real_->ReadFile(path).value_or("<missing>"); }
  // The next atomic write fails with this reason and changes nothing.
  void FailNextWrite(std::string reason) { failNext_ = std::move(reason); }
  // The next atomic write says it succeeded and changes nothing.
  void DropNextWrite() { dropNext_ = true; }
  int ReadCount() const { return reads_; }
  int StampCount() const { return stamps_; }
  int WriteCount() const { return writes_; }
  // Paths that fail to be removed or copied to; held: open in another
  // program, not readable.
  std::set<std::string> failRemove, failCopyTo, held;

  bool MakeDirectory(S p) override { return real_->MakeDirectory(p); }
  bool Copy(S from, S to, bool failIfExists) override {
    return !failCopyTo.contains(to) && real_->Copy(from, to, failIfExists);
  }
  bool Remove(S p) override { return !failRemove.contains(p) && real_->Remove(p); }
  bool RemoveEmptyDirectory(S p) override { return real_->RemoveEmptyDirectory(p); }
  bool SetAttributesNormal(S p) override { return real_->SetAttributesNormal(p); }
  bool HasMarks(S p) override { return real_->HasMarks(p); }
  bool SetReadOnly(S p) override { return real_->SetReadOnly(p); }
  std::vector<std::string> Find(S pattern) override { return real_->Find(pattern); }
  bool Exists(S p) override { return real_->Exists(p); }
  bool IsDirectory(S p) override { return real_->IsDirectory(p); }
  std::optional<std::string> ReadFile(S p) override {
    ++reads_;
    return held.contains(p) ? std::nullopt : real_->ReadFile(p);
  }
  std::optional<platform::FileStamp> Stamp(S p) override { return ++stamps_, real_->Stamp(p); }
  platform::Status WriteFileAtomic(const std::string& path, std::string_view bytes) override;

 private:
  std::vector<std::string> madeTop_;  // the folders made right below a drive
  std::unique_ptr<platform::FileSystem> real_;
  std::string failNext_;
  bool dropNext_ = false;
  int reads_ = 0;
  int stamps_ = 0;
  int writes_ = 0;
};

// A test machine whose file service is a CountingFiles; the profile cache is
// emptied both ways.
class ScopedCountingFiles {
 public:
  ScopedCountingFiles();
  ~ScopedCountingFiles();
  CountingFiles& operator*() const { return *files_; }
  CountingFiles* operator->() const { return files_; }

 private:
  TestMachine machine_;
  CountingFiles* files_;
};

}  // namespace okapi_test
