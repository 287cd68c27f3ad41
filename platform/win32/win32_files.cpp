#include "platform/win32/win32_services.h"

namespace platform::win32 {
namespace {

std::string DirectoryOf(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return ".";
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);  // "c:\"
  return path.substr(0, cut);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool IsFileAttributes(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool Win32FileSystem::MakeDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  // Windows refuses to copy over a read-only file; Wine copies over it.
  DWORD target = Attributes(to);
  if (!failIfExists && target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return CopyFileA(from.c_str(), to.c_str(), failIfExists) != 0;
}

bool Win32FileSystem::Remove(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::RemoveEmptyDirectory(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != 0;
}

bool Win32FileSystem::SetAttributesNormal(const std::string& path) {
  return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

bool Win32FileSystem::HasMarks(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes == INVALID_FILE_ATTRIBUTES ||
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool Win32FileSystem::SetReadOnly(const std::string& path) {
  DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  attributes =
      (attributes & ~(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL)) | FILE_ATTRIBUTE_READONLY;
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

std::vector<std::string> Win32FileSystem::Find(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA(pattern.c_str(), &data));
  if (!find) return names;
  do {
    std::string_view name = data.cFileName;
    if (name != "." && name != "..") names.emplace_back(name);
  } while (FindNextFileA(find.get(), &data));
  return names;
}

bool Win32FileSystem::Exists(const std::string& path) {
  return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::IsDirectory(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
  if (!IsFileAttributes(Attributes(path))) return std::nullopt;
  Handle file(CreateFileA(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(buffer, got);
  }
}

std::optional<FileStamp> Win32FileSystem::Stamp(const std::string& path) {
  if (!IsFileAttributes(Attributes(path))) return std::nullopt;
  // No access rights asked: the stamp must not disturb anyone holding the file.
  Handle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  FileStamp stamp;
  stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  stamp.modified =
      static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime);
  stamp.identity = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return stamp;
}

Status Win32FileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes) {
  DWORD existing = Attributes(path);
  if (existing != INVALID_FILE_ATTRIBUTES) {
    if (existing & FILE_ATTRIBUTE_DIRECTORY) {
      return Status::Fail("cannot write " + path + ": it is a folder");
    }
    if (existing & FILE_ATTRIBUTE_READONLY) {
      return Status::Fail("cannot write " + path + ": the file is read-only");
    }
  }
  std::string folder = DirectoryOf(path);
  DWORD folderAttributes = Attributes(folder);
  if (folderAttributes == INVALID_FILE_ATTRIBUTES ||
      !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Status::Fail("cannot write " + path + ": the folder does not exist");
  }

  char temp[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "~ok", 0, temp)) {
    return Status::Fail("cannot write " + path + ": " + ErrorText(GetLastError()));
  }
  Handle file(
      CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  // The temporary file is opened without sharing: it can only be deleted
  // once closed, or it would stay behind in the help application's folder.
  auto fail = [&](DWORD error) {
    file.Close();
    DeleteFileA(temp);
    return Status::Fail("cannot write " + path + ": " + ErrorText(error));
  };
  if (!file) return fail(GetLastError());
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
      return fail(GetLastError());
    }
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file.get())) return fail(GetLastError());
  if (!file.Close()) return fail(GetLastError());
  // An edited file keeps its name as it is on disk, whatever the spelling
  // of the path; ReplaceFileA keeps its attributes and security too.
  std::string target = path;
  if (existing != INVALID_FILE_ATTRIBUTES) {
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(path.c_str(), &data));
    if (find) target = Join(folder, data.cFileName);
    if (ReplaceFileA(target.c_str(), temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
      return Status::Ok();
    }
  }
  if (!MoveFileExA(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail(GetLastError());
  }
  return Status::Ok();
}

}  // namespace platform::win32
