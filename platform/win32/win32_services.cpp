#include "platform/win32/win32_services.h"

namespace platform::win32 {
namespace {

HKEY Root(Hive hive) { return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT; }

// The help application and its button tool are 32-bit programs: on 64-bit
// Windows their keys under HKEY_LOCAL_MACHINE\Software live in the 32-bit
// view, which this 64-bit program must ask for. Classes stay in the native
// view, where the help control this process can load is registered.
REGSAM View(Hive hive) { return hive == Hive::LocalMachine ? KEY_WOW64_32KEY : 0; }

REGSAM Rights(Hive hive, Access access) {
  return (access == Access::Read ? KEY_READ : KEY_WRITE) | View(hive);
}

class Win32Key final : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;
  ~Win32Key() override { RegCloseKey(key_); }

  std::optional<std::string> QueryString(const std::string& name, std::size_t bufferSize) override {
    std::string buffer(bufferSize, '\0');
    DWORD size = static_cast<DWORD>(bufferSize);
    LONG result = RegQueryValueExA(key_, name.empty() ? nullptr : name.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result != ERROR_SUCCESS) return std::nullopt;
    buffer.resize(std::min<std::size_t>(size, bufferSize));
    // The data need not carry its terminating zero; stop at the first one.
    return buffer.substr(0, buffer.find('\0'));
  }

  bool SetString(const std::string& name, const std::string& value) override {
    return RegSetValueExA(key_, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

}  // namespace

std::string ErrorText(DWORD error) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length ? std::string(text, length) : "error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

std::unique_ptr<RegistryKey> Win32Registry::Open(Hive hive, const std::string& subkey,
                                                 Access access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root(hive), subkey.c_str(), 0, Rights(hive, access), &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

bool Win32Registry::CreateAndSet(Hive hive, const std::string& subkey, const std::string& name,
                                 const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(Root(hive), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      Rights(hive, Access::Write), nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return Win32Key(key).SetString(name, value);
}

bool Win32Registry::DeleteTree(Hive hive, const std::string& subkey) {
  if (subkey.find_first_not_of('\\') == std::string::npos) return false;  // never a whole hive
  // RegDeleteTree takes no view: empty the key opened in ours, then delete it.
  HKEY key = nullptr;
  LONG result = RegOpenKeyExA(Root(hive), subkey.c_str(), 0, KEY_ALL_ACCESS | View(hive), &key);
  if (result == ERROR_FILE_NOT_FOUND) return true;
  if (result != ERROR_SUCCESS) return false;
  result = RegDeleteTreeA(key, nullptr);
  RegCloseKey(key);
  if (result == ERROR_SUCCESS) result = RegDeleteKeyExA(Root(hive), subkey.c_str(), View(hive), 0);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::optional<VersionInfo> Win32Versions::Read(const std::string& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;
  void* fixed = nullptr;
  UINT length = 0;
  char root[] = "\\";
  if (!VerQueryValueA(block.data(), root, &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
    return VersionInfo{};
  }
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
  if (info->dwSignature != 0xFEEF04BD) return VersionInfo{};
  return VersionInfo{FileVersion{info->dwFileVersionMS, info->dwFileVersionLS}};
}

bool Win32Processes::Start(const std::string& commandLine, const std::string& currentDirectory) {
  std::string mutableLine = commandLine;  // CreateProcessA may write into it
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Instances::ClaimMutex(const std::string& name) {
  SetLastError(ERROR_SUCCESS);
  Handle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
  const DWORD error = GetLastError();
  // Only a mutex that is there already (or one we may not open) means another
  // copy; any other failure must not keep the only copy from starting.
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) return false;
  if (mutex) owned_.push_back(std::move(mutex));
  return true;
}

WindowId Win32Instances::FindTopLevelWindow(const std::string& title) {
  return reinterpret_cast<WindowId>(FindWindowA(nullptr, title.c_str()));
}

bool Win32Instances::IsMinimized(WindowId window) {
  return IsIconic(reinterpret_cast<HWND>(window)) != 0;
}

WindowId Win32Instances::Foreground() { return reinterpret_cast<WindowId>(GetForegroundWindow()); }

void Win32Instances::SetForeground(WindowId window) {
  SetForegroundWindow(reinterpret_cast<HWND>(window));
}

void Win32Instances::Show(WindowId window, ShowCommand command) {
  ShowWindow(reinterpret_cast<HWND>(window),
             command == ShowCommand::Minimize ? SW_MINIMIZE : SW_SHOWNORMAL);
}

Modules::Handle Win32Modules::Load(const std::string& pathOrName) {
  return LoadLibraryA(pathOrName.c_str());
}

Modules::Proc Win32Modules::ProcByOrdinal(Modules::Handle module, unsigned ordinal) {
  if (!module || ordinal == 0 || ordinal > 0xFFFF) return nullptr;
  FARPROC proc = GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal));
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(proc));
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<Services> MakeNativeServices(const std::string&) {
  auto services = std::make_unique<Services>();
  services->files = std::make_unique<win32::Win32FileSystem>();
  services->registry = std::make_unique<win32::Win32Registry>();
  services->versions = std::make_unique<win32::Win32Versions>();
  services->processes = std::make_unique<win32::Win32Processes>();
  services->instances = std::make_unique<win32::Win32Instances>();
  services->modules = std::make_unique<win32::Win32Modules>();
  return services;
}

}  // namespace platform
