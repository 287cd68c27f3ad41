#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/posix/posix_services.h"
#include "platform/version_resource.h"

namespace platform::posix {
namespace {

std::vector<std::string> SplitKey(const std::string& subkey) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= subkey.size()) {
    std::size_t end = subkey.find('\\', start);
    if (end == std::string::npos) end = subkey.size();
    if (end > start) parts.push_back(subkey.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string RefusalName(Hive hive, const std::string& subkey) {
  std::string name = hive == Hive::LocalMachine ? "hklm" : "hkcr";
  for (const std::string& part : SplitKey(subkey)) {
    name += '\\';
    name += ToLowerAscii(part);
  }
  return name;
}

}  // namespace

struct MemoryRegistry::Node {
  std::map<std::string, std::string, NoCaseLess> values;
  std::map<std::string, std::shared_ptr<Node>, NoCaseLess> keys;
  bool deleted = false;  // an open handle outlives its key, as on Windows

  void MarkDeleted() {
    deleted = true;
    for (auto& [name, child] : keys) child->MarkDeleted();
  }
};

namespace {

class MemoryKey final : public RegistryKey {
 public:
  MemoryKey(std::shared_ptr<MemoryRegistry::Node> node, Access access)
      : node_(std::move(node)), access_(access) {}

  std::optional<std::string> QueryString(const std::string& name, std::size_t bufferSize) override {
    if (node_->deleted) return std::nullopt;
    auto it = node_->values.find(name);
    // The stored text and its terminating zero must fit, else ERROR_MORE_DATA.
    if (it == node_->values.end() || it->second.size() + 1 > bufferSize) return std::nullopt;
    return it->second;
  }

  bool SetString(const std::string& name, const std::string& value) override {
    if (node_->deleted || access_ != Access::Write) return false;
    node_->values[name] = value.substr(0, value.find('\0'));
    return true;
  }

 private:
  std::shared_ptr<MemoryRegistry::Node> node_;
  Access access_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() : roots_{std::make_shared<Node>(), std::make_shared<Node>()} {}
MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Find(Hive hive, const std::string& subkey,
                                                           bool create) {
  std::shared_ptr<Node> node = roots_[hive == Hive::LocalMachine ? 0 : 1];
  for (const std::string& part : SplitKey(subkey)) {
    auto it = node->keys.find(part);
    if (it == node->keys.end()) {
      if (!create) return nullptr;
      it = node->keys.emplace(part, std::make_shared<Node>()).first;
    }
    node = it->second;
  }
  return node;
}

std::unique_ptr<RegistryKey> MemoryRegistry::Open(Hive hive, const std::string& subkey,
                                                  Access access) {
  if (refused_.count({RefusalName(hive, subkey), access})) return nullptr;
  auto node = Find(hive, subkey, false);
  if (!node) return nullptr;
  return std::make_unique<MemoryKey>(std::move(node), access);
}

bool MemoryRegistry::CreateAndSet(Hive hive, const std::string& subkey, const std::string& name,
                                  const std::string& value) {
  if (refused_.count({RefusalName(hive, subkey), Access::Write})) return false;
  return MemoryKey(Find(hive, subkey, true), Access::Write).SetString(name, value);
}

bool MemoryRegistry::DeleteTree(Hive hive, const std::string& subkey) {
  std::vector<std::string> parts = SplitKey(subkey);
  if (parts.empty()) return false;  // a hive's root is not removable
  std::string leaf = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const std::string& part : parts) parentPath += part + "\\";
  auto parent = Find(hive, parentPath, false);
  if (!parent) return true;
  auto it = parent->keys.find(leaf);
  if (it == parent->keys.end()) return true;
  it->second->MarkDeleted();
  parent->keys.erase(it);
  return true;
}

void MemoryRegistry::RefuseAccess(Hive hive, const std::string& subkey, Access access) {
  refused_.insert({RefusalName(hive, subkey), access});
}

std::optional<VersionInfo> ScanningVersions::Read(const std::string& path) {
  auto bytes = Os().files->ReadFile(path);
  if (!bytes) return std::nullopt;
  return FindVersionResource(*bytes);
}

bool RecordingProcesses::Start(const std::string& commandLine,
                               const std::string& currentDirectory) {
  started.push_back({commandLine, currentDirectory});
  return !refuse;
}

bool MemoryInstances::ClaimMutex(const std::string& name) { return mutexes_.insert(name).second; }

WindowId MemoryInstances::FindTopLevelWindow(const std::string& title) {
  // FindWindowA compares titles without regard to case.
  for (const auto& [id, window] : windows) {
    if (EqualsNoCaseAscii(window.title, title)) return id;
  }
  return 0;
}

bool MemoryInstances::IsMinimized(WindowId window) {
  auto it = windows.find(window);
  return it != windows.end() && it->second.minimized;
}

WindowId MemoryInstances::Foreground() { return foreground; }

void MemoryInstances::SetForeground(WindowId window) {
  if (windows.count(window)) foreground = window;
}

void MemoryInstances::Show(WindowId window, ShowCommand command) {
  shown.emplace_back(window, command);
  auto it = windows.find(window);
  if (it != windows.end()) it->second.minimized = command == ShowCommand::Minimize;
}

WindowId MemoryInstances::AddWindow(std::string title, bool minimized) {
  WindowId id = next_++;
  windows[id] = Window{std::move(title), minimized};
  return id;
}

Modules::Handle FakeModules::Load(const std::string& pathOrName) {
  loaded.push_back(pathOrName);
  std::string_view base = pathOrName;
  std::size_t cut = base.find_last_of("\\/");
  if (cut != std::string_view::npos) base.remove_prefix(cut + 1);
  for (auto& module : modules_) {
    if (EqualsNoCaseAscii(module->name, base)) return module.get();
  }
  return nullptr;
}

Modules::Proc FakeModules::ProcByOrdinal(Handle module, unsigned ordinal) {
  for (auto& known : modules_) {
    if (known.get() != module) continue;
    auto it = known->procs.find(ordinal);
    return it == known->procs.end() ? nullptr : it->second;
  }
  return nullptr;
}

void FakeModules::Register(const std::string& name, std::map<unsigned, Proc> procs) {
  modules_.push_back(std::make_unique<Module>(Module{name, std::move(procs)}));
}

}  // namespace platform::posix

namespace platform {

std::unique_ptr<Services> MakeNativeServices(const std::string& driveRoot) {
  std::string root = driveRoot;
  if (root.empty()) {
    if (const char* env = std::getenv("OKAPI_DRIVE_ROOT"); env && *env) root = env;
  }
  if (root.empty()) {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "okapi-drive-XXXXXX").string();
    root = mkdtemp(pattern.data()) ? pattern : (base / "okapi-drive").string();
  }
  auto services = std::make_unique<Services>();
  services->files = std::make_unique<posix::PosixFileSystem>(root);
  services->versions = std::make_unique<posix::ScanningVersions>();
  services->registry = std::make_unique<posix::MemoryRegistry>();
  services->processes = std::make_unique<posix::RecordingProcesses>();
  services->instances = std::make_unique<posix::MemoryInstances>();
  services->modules = std::make_unique<posix::FakeModules>();
  return services;
}

}  // namespace platform
