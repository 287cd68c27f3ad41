// An in-memory file service for tests of code that reaches files only
// through platform::Os().files. Paths compare without regard to case, as on
// Windows; a file can be written only into a folder that exists.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/platform.h"

namespace okapi_test {

class MemoryFiles : public platform::FileSystem {
 public:
  // Test set-up: folders and files appear at once, parents included.
  void AddDirectory(const std::string& path);
  void AddFile(const std::string& path, std::string bytes);
  // The file's bytes, or "<missing>".
  std::string Contents(const std::string& path) const;
  // The next atomic write fails with this reason and changes nothing.
  void FailNextWrite(std::string reason) { failNext_ = std::move(reason); }
  int WriteCount() const { return writes_; }
  int ReadCount() const { return reads_; }
  int StampCount() const { return stamps_; }

  bool CreateDirectory(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  bool DeleteFile(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool SetAttributesNormal(const std::string& path) override;
  bool SetReadOnly(const std::string& path) override;
  std::vector<std::string> Find(const std::string& pattern) override;
  bool Exists(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  std::optional<platform::FileStamp> Stamp(const std::string& path) override;
  platform::Status WriteFileAtomic(const std::string& path, std::string_view bytes) override;

 private:
  struct File {
    std::string bytes;
    bool readOnly = false;
    platform::FileStamp stamp;
  };
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& key);
  void Put(const std::string& key, std::string bytes);

  std::map<std::string, File> files_;
  std::set<std::string> dirs_;
  std::string failNext_;
  std::uint64_t nextIdentity_ = 1;
  int writes_ = 0;
  int reads_ = 0;
  int stamps_ = 0;
};

// Installs a MemoryFiles as the process's file service for one test and puts
// the previous services back afterwards; the profile cache is emptied both ways.
class ScopedMemoryFiles {
 public:
  ScopedMemoryFiles();
  ~ScopedMemoryFiles();
  ScopedMemoryFiles(const ScopedMemoryFiles&) = delete;
  ScopedMemoryFiles& operator=(const ScopedMemoryFiles&) = delete;
  MemoryFiles& operator*() const { return *files_; }
  MemoryFiles* operator->() const { return files_; }

 private:
  MemoryFiles* files_;
  std::unique_ptr<platform::Services> previous_;
};

}  // namespace okapi_test
