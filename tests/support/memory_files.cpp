#include "tests/support/memory_files.h"

#include <utility>

#include "platform/ascii.h"
#include "store/profile.h"

namespace okapi_test {

std::string MemoryFiles::Key(const std::string& path) {
  std::string key;
  for (char c : path) {
    if (c == '/') c = '\\';
    if (c == '\\' && !key.empty() && key.back() == '\\') continue;
    key += platform::ToLowerAscii(c);
  }
  while (!key.empty() && (key.back() == '\\' || key.back() == ' ')) key.pop_back();
  return key;
}

std::string MemoryFiles::Parent(const std::string& key) {
  const auto slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

void MemoryFiles::AddDirectory(const std::string& path) {
  for (std::string key = Key(path); !key.empty(); key = Parent(key)) dirs_.insert(key);
}

void MemoryFiles::AddFile(const std::string& path, std::string bytes) {
  const std::string key = Key(path);
  AddDirectory(Parent(key));
  Put(key, std::move(bytes));
}

void MemoryFiles::Put(const std::string& key, std::string bytes) {
  File& f = files_[key];
  f.bytes = std::move(bytes);
  // Every replacement is a new file, as after a rename over the old one.
  f.stamp = platform::FileStamp{f.bytes.size(), 0, nextIdentity_++};
}

std::string MemoryFiles::Contents(const std::string& path) const {
  auto it = files_.find(Key(path));
  return it == files_.end() ? "<missing>" : it->second.bytes;
}

bool MemoryFiles::CreateDirectory(const std::string& path) {
  const std::string key = Key(path);
  if (dirs_.count(key) || files_.count(key)) return false;
  const std::string parent = Parent(key);
  if (!parent.empty() && !dirs_.count(parent)) return false;
  dirs_.insert(key);
  return true;
}

bool MemoryFiles::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  auto src = files_.find(Key(from));
  const std::string dst = Key(to);
  if (src == files_.end() || !dirs_.count(Parent(dst))) return false;
  if (auto it = files_.find(dst); it != files_.end() && (failIfExists || it->second.readOnly)) {
    return false;
  }
  Put(dst, src->second.bytes);
  return true;
}

bool MemoryFiles::DeleteFile(const std::string& path) {
  auto it = files_.find(Key(path));
  if (it == files_.end() || it->second.readOnly) return false;
  files_.erase(it);
  return true;
}

bool MemoryFiles::RemoveDirectory(const std::string& path) {
  const std::string key = Key(path);
  if (!dirs_.count(key)) return false;
  for (const auto& [k, f] : files_) {
    if (Parent(k) == key) return false;
  }
  for (const auto& d : dirs_) {
    if (Parent(d) == key) return false;
  }
  dirs_.erase(key);
  return true;
}

bool MemoryFiles::SetAttributesNormal(const std::string& path) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return dirs_.count(Key(path)) > 0;
  it->second.readOnly = false;
  return true;
}

bool MemoryFiles::SetReadOnly(const std::string& path) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return false;
  it->second.readOnly = true;
  return true;
}

std::vector<std::string> MemoryFiles::Find(const std::string& pattern) {
  // Enough for "dir\*" and "dir\*.ext".
  const std::string key = Key(pattern);
  const std::string dir = Parent(key);
  const std::string mask = key.substr(dir.size() + 1);
  const std::string ext = mask.rfind("*", 0) == 0 ? mask.substr(1) : mask;
  std::vector<std::string> names;
  auto consider = [&](const std::string& k) {
    if (Parent(k) != dir) return;
    const std::string name = k.substr(dir.size() + 1);
    if (name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
      names.push_back(name);
  };
  for (const auto& [k, f] : files_) consider(k);
  for (const auto& d : dirs_) consider(d);
  return names;
}

bool MemoryFiles::Exists(const std::string& path) {
  const std::string key = Key(path);
  return files_.count(key) || dirs_.count(key);
}

bool MemoryFiles::IsDirectory(const std::string& path) { return dirs_.count(Key(path)) > 0; }

std::optional<std::string> MemoryFiles::ReadFile(const std::string& path) {
  ++reads_;
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.bytes;
}

std::optional<platform::FileStamp> MemoryFiles::Stamp(const std::string& path) {
  ++stamps_;
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.stamp;
}

platform::Status MemoryFiles::WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string key = Key(path);
  if (!failNext_.empty()) return platform::Status::Fail(std::exchange(failNext_, {}));
  if (!dirs_.count(Parent(key))) return platform::Status::Fail("the folder does not exist");
  if (auto it = files_.find(key); it != files_.end() && it->second.readOnly) {
    return platform::Status::Fail("access denied");
  }
  ++writes_;
  Put(key, std::string(bytes));
  return platform::Status::Ok();
}

ScopedMemoryFiles::ScopedMemoryFiles() {
  auto services = std::make_unique<platform::Services>();
  auto files = std::make_unique<MemoryFiles>();
  files_ = files.get();
  services->files = std::move(files);
  previous_ = platform::ReplaceOs(std::move(services));
  store::ForgetCachedFiles();
}

ScopedMemoryFiles::~ScopedMemoryFiles() {
  store::ForgetCachedFiles();
  platform::ReplaceOs(std::move(previous_));
}

}  // namespace okapi_test
