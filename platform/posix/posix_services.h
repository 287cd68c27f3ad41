// The native (non-Windows) backend: files on a host folder that stands for
// the drives, everything else in memory. The classes are visible so that
// native tests can reach their hooks through a downcast of Os()'s members.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ascii.h"
#include "platform/platform.h"

namespace platform::posix {

// Orders names as Windows compares them: ASCII letters without regard to case.
struct NoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return LessNoCaseAscii(a, b); }
};

// Drive "x:" is the folder "x" below the root; a missing folder is a missing drive.
class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(std::string driveRoot);

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

  // The host path that a Windows path stands for: existing components with
  // the case found on disk, the rest as given. nullopt for a path that
  // Windows would refuse (no drive, missing drive, forbidden characters).
  std::optional<std::string> HostPath(std::string_view windowsPath) const;
  const std::string& DriveRoot() const { return root_; }

 private:
  std::string root_;
};

class MemoryRegistry final : public Registry {
 public:
  struct Node;

  MemoryRegistry();
  ~MemoryRegistry() override;

  std::unique_ptr<RegistryKey> Open(Hive hive, const std::string& subkey, Access access) override;
  bool CreateAndSet(Hive hive, const std::string& subkey, const std::string& name,
                    const std::string& value) override;
  bool DeleteTree(Hive hive, const std::string& subkey) override;

  // Test hook: opening the key (an existing or a future one) with this
  // access is refused, as for a user without the rights.
  void RefuseAccess(Hive hive, const std::string& subkey, Access access);

 private:
  std::shared_ptr<Node> Find(Hive hive, const std::string& subkey, bool create);
  std::shared_ptr<Node> roots_[2];
  std::set<std::pair<std::string, Access>, std::less<>> refused_;  // "hive\subkey" folded
};

// Reads the fixed file information from the file's bytes, through the file
// service in use, so the same demo executables serve both builds.
class ScanningVersions final : public Versions {
 public:
  std::optional<VersionInfo> Read(const std::string& path) override;
};

class RecordingProcesses final : public Processes {
 public:
  struct Started {
    std::string commandLine;
    std::string currentDirectory;
  };
  bool Start(const std::string& commandLine, const std::string& currentDirectory) override;

  std::vector<Started> started;  // every start asked for, in order
  bool refuse = false;           // test hook: every start fails
};

class MemoryInstances final : public Instances {
 public:
  struct Window {
    std::string title;
    bool minimized = false;
  };

  bool ClaimMutex(const std::string& name) override;
  WindowId FindTopLevelWindow(const std::string& title) override;
  bool IsMinimized(WindowId window) override;
  WindowId Foreground() override;
  void SetForeground(WindowId window) override;
  void Show(WindowId window, ShowCommand command) override;

  // Test hooks.
  WindowId AddWindow(std::string title, bool minimized = false);
  void ClaimedElsewhere(const std::string& mutexName) { mutexes_.insert(mutexName); }
  std::map<WindowId, Window> windows;
  WindowId foreground = 0;
  std::vector<std::pair<WindowId, ShowCommand>> shown;  // every Show call, in order

 private:
  std::set<std::string> mutexes_;  // names are case-sensitive, as kernel objects' are
  WindowId next_ = 0x100;
};

class FakeModules final : public Modules {
 public:
  Handle Load(const std::string& pathOrName) override;
  Proc ProcByOrdinal(Handle module, unsigned ordinal) override;

  // Test hook: a module that Load finds by this name (or a path ending in it).
  void Register(const std::string& name, std::map<unsigned, Proc> procs);
  std::vector<std::string> loaded;  // every name or path offered to Load

 private:
  struct Module {
    std::string name;
    std::map<unsigned, Proc> procs;
  };
  std::vector<std::unique_ptr<Module>> modules_;
};

}  // namespace platform::posix
