// Operating-system services the program calls. Paths are Windows paths
// ("c:\zantools\zanhelp\okapi.ini") everywhere; only the posix backend
// translates them onto a host folder.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Outcome of an operation whose failure the caller may want to show.
struct [[nodiscard]] Status {
  bool ok = true;
  std::string reason;  // human-readable, empty when ok

  static Status Ok() { return {}; }
  static Status Fail(std::string why) { return {false, std::move(why)}; }
  explicit operator bool() const { return ok; }
};

// Identity of a file's current contents, used to notice changes on disk.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;   // backend-specific clock, only compared for equality
  std::uint64_t identity = 0;  // inode / file index: changes when a file is replaced
  bool operator==(const FileStamp&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // CreateDirectoryA: fails when the parent is missing or the directory exists.
  [[nodiscard]] virtual bool MakeDirectory(const std::string& path) = 0;
  // CopyFileA: with failIfExists an existing target is left alone and the call fails.
  [[nodiscard]] virtual bool Copy(const std::string& from, const std::string& to,
                                  bool failIfExists) = 0;
  [[nodiscard]] virtual bool Remove(const std::string& path) = 0;
  // RemoveDirectoryA: only an empty directory goes.
  [[nodiscard]] virtual bool RemoveEmptyDirectory(const std::string& path) = 0;
  // SetFileAttributesA(FILE_ATTRIBUTE_NORMAL): clears read-only.
  [[nodiscard]] virtual bool SetAttributesNormal(const std::string& path) = 0;
  // Whether the file carries a read-only, hidden or system mark: what
  // SetAttributesNormal would clear but for the archive mark, which every
  // copy has. True when unknown.
  [[nodiscard]] virtual bool HasMarks(const std::string& path) {
    (void)path;
    return true;
  }
  // Makes a file read-only (used by tests to provoke write failures).
  [[nodiscard]] virtual bool SetReadOnly(const std::string& path) = 0;
  // FindFirstFileA/FindNextFileA on a pattern such as "c:\dir\*.jpg": the names
  // (no directory part) of the matching files and directories, "." and ".." excluded.
  virtual std::vector<std::string> Find(const std::string& pattern) = 0;
  [[nodiscard]] virtual bool Exists(const std::string& path) = 0;
  [[nodiscard]] virtual bool IsDirectory(const std::string& path) = 0;

  // Whole-file access for the profile engine. ReadFile gives nullopt for a
  // missing or unreadable file.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
  // Writes via a temporary file in the same folder, then replaces the target,
  // so a crash never leaves a torn file.
  virtual Status WriteFileAtomic(const std::string& path, std::string_view bytes) = 0;
};

enum class Hive { LocalMachine, ClassesRoot };
enum class Access { Read, Write };  // KEY_READ (0x20019), KEY_WRITE (0x20006)

// An open registry key; closing happens on destruction.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // RegQueryValueExA into a buffer of bufferSize bytes; the type is not examined.
  // An empty name reads the default value.
  virtual std::optional<std::string> QueryString(const std::string& name,
                                                 std::size_t bufferSize) = 0;
  // RegSetValueExA as REG_SZ, length including the terminating zero.
  [[nodiscard]] virtual bool SetString(const std::string& name, const std::string& value) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // RegOpenKeyExA: null when the key is missing or access is refused.
  virtual std::unique_ptr<RegistryKey> Open(Hive hive, const std::string& subkey,
                                            Access access) = 0;
  // Creates the key and sets a value (fixtures, demo installation).
  [[nodiscard]] virtual bool CreateAndSet(Hive hive, const std::string& subkey,
                                          const std::string& name, const std::string& value) = 0;
  // Removes a key and everything below it (fixtures); a key that is not
  // there counts as removed. A hive's root is never removed.
  [[nodiscard]] virtual bool DeleteTree(Hive hive, const std::string& subkey) = 0;
};

// VS_FIXEDFILEINFO's version words.
struct FileVersion {
  std::uint32_t fileVersionMS = 0;
  std::uint32_t fileVersionLS = 0;
};

struct VersionInfo {
  // nullopt: the resource holds no fixed file information.
  std::optional<FileVersion> fixed;
};

class Versions {
 public:
  virtual ~Versions() = default;
  // GetFileVersionInfoSizeA/GetFileVersionInfoA/VerQueryValueA("\"): nullopt
  // when the file is missing or carries no version resource.
  virtual std::optional<VersionInfo> Read(const std::string& path) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // CreateProcessA on a command line, shown (SW_SHOW), in the given current
  // directory (empty: the caller's); true when the process started.
  [[nodiscard]] virtual bool Start(const std::string& commandLine,
                                   const std::string& currentDirectory = {}) = 0;
};

using WindowId = std::uintptr_t;  // 0: no window

enum class ShowCommand { Minimize, ShowNormal };

class Instances {
 public:
  virtual ~Instances() = default;
  // CreateMutexA(initial owner): true when this process is the first owner of
  // the name. The handle stays open as long as these services.
  [[nodiscard]] virtual bool ClaimMutex(const std::string& name) = 0;
  // FindWindowA(NULL, title).
  virtual WindowId FindTopLevelWindow(const std::string& title) = 0;
  virtual bool IsMinimized(WindowId window) = 0;
  virtual WindowId Foreground() = 0;
  virtual void SetForeground(WindowId window) = 0;
  virtual void Show(WindowId window, ShowCommand command) = 0;
};

// Loading a DLL and an entry by ordinal (the HTML Help control).
class Modules {
 public:
  virtual ~Modules() = default;
  using Handle = void*;
  using Proc = void (*)();
  virtual Handle Load(const std::string& pathOrName) = 0;           // null on failure
  virtual Proc ProcByOrdinal(Handle module, unsigned ordinal) = 0;  // null on failure
};

// Everything together; one instance serves the process.
struct Services {
  std::unique_ptr<FileSystem> files;
  std::unique_ptr<Registry> registry;
  std::unique_ptr<Versions> versions;
  std::unique_ptr<Processes> processes;
  std::unique_ptr<Instances> instances;
  std::unique_ptr<Modules> modules;
};

// The services in use. Defaults to the build's native backend.
Services& Os();
// Replaces the services (tests); returns the previous ones.
std::unique_ptr<Services> ReplaceOs(std::unique_ptr<Services> next);

// The build's native backend: Win32 on Windows (driveRoot unused); on posix,
// files under driveRoot (drive letter folders "c", "d" ... below it; empty:
// $OKAPI_DRIVE_ROOT, else a new temporary folder) and the rest in memory.
std::unique_ptr<Services> MakeNativeServices(const std::string& driveRoot = {});

}  // namespace platform
