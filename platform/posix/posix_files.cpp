#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/ascii.h"
#include "platform/posix/posix_services.h"

namespace platform::posix {
namespace {

// Windows wildcards on one name: '*' any run, '?' one character, no case.
bool MatchPattern(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || ToLowerAscii(pattern[p]) == ToLowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  // As on Windows, dots and stars left over at the end match nothing: "*.*"
  // and "*o*.*" take names without a dot too.
  while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '.')) ++p;
  return p == pattern.size();
}

std::vector<std::string> DirectoryNames(const std::string& hostDir) {
  std::vector<std::string> names;
  DIR* dir = opendir(hostDir.c_str());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  closedir(dir);
  return names;
}

struct Info {
  bool exists = false;
  bool directory = false;
  bool readOnly = false;
  struct stat st {};
};

Info Inspect(const std::string& hostPath) {
  Info info;
  if (stat(hostPath.c_str(), &info.st) != 0) return info;
  info.exists = true;
  info.directory = S_ISDIR(info.st.st_mode);
  // The owner's write bit stands for the read-only attribute; checked here
  // because the kernel ignores it when the tests run as root.
  info.readOnly = (info.st.st_mode & S_IWUSR) == 0;
  return info;
}

std::string Parent(const std::string& hostPath) { return hostPath.substr(0, hostPath.rfind('/')); }

std::string Reason(const std::string& what, const std::string& path, int error) {
  return what + " " + path + ": " + std::strerror(error);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes now and tells whether the last writes reached the file.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::optional<std::string> ReadAll(int fd) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

PosixFileSystem::PosixFileSystem(std::string driveRoot) : root_(std::move(driveRoot)) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  // Every Windows machine has a c: drive.
  std::error_code ignored;  // a root that cannot be made shows as a missing drive
  std::filesystem::create_directories(root_ + "/c", ignored);
}

std::optional<std::string> PosixFileSystem::HostPath(std::string_view windowsPath) const {
  std::string path(windowsPath);
  std::replace(path.begin(), path.end(), '/', '\\');
  std::string drive = "c";
  std::string_view rest = path;
  if (rest.size() >= 2 && rest[1] == ':') {
    char letter = ToLowerAscii(rest[0]);
    if (letter < 'a' || letter > 'z') return std::nullopt;
    drive.assign(1, letter);
    rest.remove_prefix(2);
  } else if (rest.size() >= 2 && rest[0] == '\\' && rest[1] == '\\') {
    return std::nullopt;  // UNC names lead off the machine
  }
  // A path without a drive, or a drive-relative one, counts from the root of
  // the drive: the program has no current directory of its own worth keeping.
  bool endsWithSeparator = !rest.empty() && rest.back() == '\\';

  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) end = rest.size();
    std::string part(rest.substr(start, end - start));
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    if (part.find_first_of("<>:\"|?*") != std::string::npos) return std::nullopt;
    parts.push_back(std::move(part));
  }
  // Windows drops trailing blanks and dots from the last name.
  if (!endsWithSeparator && !parts.empty()) {
    std::string& last = parts.back();
    while (!last.empty() && (last.back() == ' ' || last.back() == '.')) last.pop_back();
    if (last.empty()) parts.pop_back();
  }

  std::string host = root_ + "/" + drive;
  if (!Inspect(host).directory) return std::nullopt;
  // Usually the path is on disk as spelled: one look instead of one per
  // component, and no folder listing.
  std::string spelled = host;
  for (const std::string& part : parts) spelled.append("/").append(part);
  if (access(spelled.c_str(), F_OK) == 0) return spelled;
  bool onDisk = true;
  for (const std::string& part : parts) {
    std::string exact = host + "/" + part;
    if (onDisk && access(exact.c_str(), F_OK) != 0) {
      onDisk = false;
      std::vector<std::string> names = DirectoryNames(host);
      std::sort(names.begin(), names.end());
      for (const std::string& name : names) {
        if (EqualsNoCaseAscii(name, part)) {
          exact = host + "/" + name;
          onDisk = true;
          break;
        }
      }
    }
    host = std::move(exact);
  }
  return host;
}

bool PosixFileSystem::MakeDirectory(const std::string& path) {
  auto host = HostPath(path);
  return host && mkdir(host->c_str(), 0777) == 0;
}

bool PosixFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  auto source = HostPath(from);
  auto target = HostPath(to);
  if (!source || !target) return false;
  Info in = Inspect(*source);
  Info out = Inspect(*target);
  if (!in.exists || in.directory) return false;
  if (out.exists) {
    if (failIfExists || out.directory || out.readOnly) return false;
    // Copying a file onto itself would truncate it before reading it.
    if (out.st.st_dev == in.st.st_dev && out.st.st_ino == in.st.st_ino) return false;
  }
  Fd src(open(source->c_str(), O_RDONLY | O_CLOEXEC));
  if (!src) return false;
  auto bytes = ReadAll(src.get());
  if (!bytes) return false;
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
  Fd dst(open(target->c_str(), flags, 0666));
  if (!dst || !WriteAll(dst.get(), *bytes)) return false;
  // As CopyFileA: attributes and the time of last write travel with the data.
  fchmod(dst.get(), in.st.st_mode & 07777);
  const timespec times[2] = {in.st.st_atim, in.st.st_mtim};
  futimens(dst.get(), times);
  return dst.Close();
}

bool PosixFileSystem::Remove(const std::string& path) {
  auto host = HostPath(path);
  if (!host) return false;
  Info info = Inspect(*host);
  if (!info.exists || info.directory || info.readOnly) return false;
  return unlink(host->c_str()) == 0;
}

bool PosixFileSystem::RemoveEmptyDirectory(const std::string& path) {
  auto host = HostPath(path);
  if (!host) return false;
  Info info = Inspect(*host);
  if (!info.directory || info.readOnly) return false;
  return rmdir(host->c_str()) == 0;
}

bool PosixFileSystem::SetAttributesNormal(const std::string& path) {
  auto host = HostPath(path);
  if (!host) return false;
  Info info = Inspect(*host);
  return info.exists && chmod(host->c_str(), (info.st.st_mode & 07777) | S_IWUSR) == 0;
}

bool PosixFileSystem::HasMarks(const std::string& path) {
  auto host = HostPath(path);
  return !host || Inspect(*host).readOnly;
}

bool PosixFileSystem::SetReadOnly(const std::string& path) {
  auto host = HostPath(path);
  if (!host) return false;
  Info info = Inspect(*host);
  return info.exists && chmod(host->c_str(), info.st.st_mode & 07555) == 0;
}

std::vector<std::string> PosixFileSystem::Find(const std::string& pattern) {
  std::string normal = pattern;
  std::replace(normal.begin(), normal.end(), '/', '\\');
  while (!normal.empty() && normal.back() == ' ') normal.pop_back();
  std::size_t cut = normal.rfind('\\');
  if (cut == std::string::npos) cut = normal.find(':') == 1 ? 1 : std::string::npos;
  std::string directory = cut == std::string::npos ? "" : normal.substr(0, cut + 1);
  std::string names = cut == std::string::npos ? normal : normal.substr(cut + 1);
  if (names.empty()) return {};

  auto host = HostPath(directory.empty() ? "\\" : directory);
  if (!host || !Inspect(*host).directory) return {};
  std::vector<std::string> found;
  for (std::string& name : DirectoryNames(*host)) {
    if (MatchPattern(names, name)) found.push_back(std::move(name));
  }
  std::sort(found.begin(), found.end(), NoCaseLess{});
  return found;
}

bool PosixFileSystem::Exists(const std::string& path) {
  auto host = HostPath(path);
  return host && Inspect(*host).exists;
}

bool PosixFileSystem::IsDirectory(const std::string& path) {
  auto host = HostPath(path);
  return host && Inspect(*host).directory;
}

std::optional<std::string> PosixFileSystem::ReadFile(const std::string& path) {
  auto host = HostPath(path);
  if (!host || Inspect(*host).directory) return std::nullopt;
  Fd fd(open(host->c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return std::nullopt;
  return ReadAll(fd.get());
}

std::optional<FileStamp> PosixFileSystem::Stamp(const std::string& path) {
  auto host = HostPath(path);
  if (!host) return std::nullopt;
  Info info = Inspect(*host);
  if (!info.exists || info.directory) return std::nullopt;
  FileStamp stamp;
  stamp.size = static_cast<std::uint64_t>(info.st.st_size);
  stamp.modified =
      static_cast<std::int64_t>(info.st.st_mtim.tv_sec) * 1000000000 + info.st.st_mtim.tv_nsec;
  stamp.identity = static_cast<std::uint64_t>(info.st.st_ino);
  return stamp;
}

Status PosixFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes) {
  auto host = HostPath(path);
  if (!host) return Status::Fail("cannot write " + path + ": not a valid path");
  if (!Inspect(Parent(*host)).directory) {
    return Status::Fail("cannot write " + path + ": the folder does not exist");
  }
  Info target = Inspect(*host);
  if (target.directory) return Status::Fail("cannot write " + path + ": it is a folder");
  if (target.readOnly && target.exists) {
    return Status::Fail("cannot write " + path + ": the file is read-only");
  }

  std::string temp = Parent(*host) + "/~okapi-XXXXXX.tmp";
  Fd fd(mkstemps(temp.data(), 4));
  if (!fd) return Status::Fail(Reason("cannot write", path, errno));
  auto fail = [&](int error) {
    unlink(temp.c_str());
    return Status::Fail(Reason("cannot write", path, error));
  };
  if (!WriteAll(fd.get(), bytes) || fsync(fd.get()) != 0) return fail(errno);
  mode_t mode = target.exists ? (target.st.st_mode & 07777) : 0644;
  if (fchmod(fd.get(), mode) != 0) return fail(errno);
  if (!fd.Close()) return fail(errno);
  if (rename(temp.c_str(), host->c_str()) != 0) return fail(errno);
  return Status::Ok();
}

}  // namespace platform::posix
