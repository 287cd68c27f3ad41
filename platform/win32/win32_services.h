// The Win32 backend. Only files of this folder see these declarations.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::win32 {

// A kernel handle closed on destruction.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  Handle(Handle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Handle& operator=(Handle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~Handle() { Close(); }
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Closes now; false when the system reports a failure (a late write error).
  bool Close() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return !handle || CloseHandle(handle);
  }

 private:
  HANDLE handle_ = nullptr;
};

// The system's text for an error code, without the trailing line break.
std::string ErrorText(DWORD error);

class Win32FileSystem final : public FileSystem {
 public:
  bool MakeDirectory(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
  bool Remove(const std::string& path) override;
  bool RemoveEmptyDirectory(const std::string& path) override;
  bool SetAttributesNormal(const std::string& path) override;
  bool HasMarks(const std::string& path) override;
  bool SetReadOnly(const std::string& path) override;
  std::vector<std::string> Find(const std::string& pattern) override;
  bool Exists(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  std::optional<FileStamp> Stamp(const std::string& path) override;
  Status WriteFileAtomic(const std::string& path, std::string_view bytes) override;
};

class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> Open(Hive hive, const std::string& subkey, Access access) override;
  bool CreateAndSet(Hive hive, const std::string& subkey, const std::string& name,
                    const std::string& value) override;
  bool DeleteTree(Hive hive, const std::string& subkey) override;
};

class Win32Versions final : public Versions {
 public:
  std::optional<VersionInfo> Read(const std::string& path) override;
};

class Win32Processes final : public Processes {
 public:
  bool Start(const std::string& commandLine, const std::string& currentDirectory) override;
};

class Win32Instances final : public Instances {
 public:
  bool ClaimMutex(const std::string& name) override;
  WindowId FindTopLevelWindow(const std::string& title) override;
  bool IsMinimized(WindowId window) override;
  WindowId Foreground() override;
  void SetForeground(WindowId window) override;
  void Show(WindowId window, ShowCommand command) override;

 private:
  std::vector<Handle> owned_;  // closed with these services: at exit for the process's own
};

class Win32Modules final : public Modules {
 public:
  Handle Load(const std::string& pathOrName) override;
  Proc ProcByOrdinal(Handle module, unsigned ordinal) override;
};

}  // namespace platform::win32
