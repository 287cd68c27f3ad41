// One profile operation from the command line, through the program's engine
// or (Windows build, --win32) through the system's profile functions:
//   ini-probe [--win32] FILE get SECTION KEY DEFAULT SIZE
//   ini-probe [--win32] FILE set SECTION KEY VALUE
//   ini-probe [--win32] FILE delete SECTION [KEY]
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "store/profile.h"

#ifdef _WIN32
#include <windows.h>
// Its macros would rename the engine's functions of the same names.
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

int Usage() {
  std::fputs(
      "usage: ini-probe [--win32] FILE get SECTION KEY DEFAULT SIZE\n"
      "       ini-probe [--win32] FILE set SECTION KEY VALUE\n"
      "       ini-probe [--win32] FILE delete SECTION [KEY]\n",
      stderr);
  return 2;
}

int Fail(const std::string& reason) {
  std::printf("%s\n", reason.c_str());
  return 1;
}

#ifndef _WIN32
// FILE is a host path here, not a path on the program's stand-in drive.
class HostFiles final : public platform::FileSystem {
 public:
  bool MakeDirectory(const std::string&) override { return false; }
  bool Copy(const std::string&, const std::string&, bool) override { return false; }
  bool Remove(const std::string&) override { return false; }
  bool RemoveEmptyDirectory(const std::string&) override { return false; }
  bool SetAttributesNormal(const std::string&) override { return false; }
  bool SetReadOnly(const std::string&) override { return false; }
  std::vector<std::string> Find(const std::string&) override { return {}; }
  bool Exists(const std::string& path) override { return access(path.c_str(), F_OK) == 0; }
  bool IsDirectory(const std::string& path) override {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return std::nullopt;
    return bytes;
  }
  std::optional<platform::FileStamp> Stamp(const std::string& path) override {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    return platform::FileStamp{static_cast<std::uint64_t>(st.st_size),
                               st.st_mtim.tv_sec * 1000000000ll + st.st_mtim.tv_nsec,
                               static_cast<std::uint64_t>(st.st_ino)};
  }
  platform::Status WriteFileAtomic(const std::string& path, std::string_view bytes) override {
    const std::string temp = path + ".ini-probe~";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return platform::Status::Fail("cannot write " + path);
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
      const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
      ok = n > 0;
      if (ok) done += static_cast<std::size_t>(n);
    }
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
      unlink(temp.c_str());
      return platform::Status::Fail("cannot write " + path);
    }
    return platform::Status::Ok();
  }
};
#endif

std::optional<std::size_t> ParseSize(const char* text) {
  char* end = nullptr;
  const unsigned long long n = std::strtoull(text, &end, 10);
  if (!*text || *end || n > 1u << 24) return std::nullopt;
  return static_cast<std::size_t>(n);
}

struct Request {
  std::string file;
  std::string op;
  std::vector<std::string> args;
};

int RunEngine(const Request& r) {
  if (r.op == "get") {
    const auto size = ParseSize(r.args[3].c_str());
    if (!size) return Usage();
    std::printf("%s\n",
                store::ReadString(r.args[0], r.args[1], r.args[2], *size, r.file).c_str());
    return 0;
  }
  std::optional<std::string_view> key, value;
  if (r.args.size() >= 2) key = r.args[1];
  if (r.op == "set") value = r.args[2];
  const platform::Status status = store::WriteString(r.args[0], key, value, r.file);
  return status ? 0 : Fail(status.reason);
}

#ifdef _WIN32
int RunWin32(const Request& r) {
  if (r.op == "get") {
    const auto size = ParseSize(r.args[3].c_str());
    if (!size) return Usage();
    std::string buffer(*size + 1, '\0');
    const DWORD n =
        GetPrivateProfileStringA(r.args[0].c_str(), r.args[1].c_str(), r.args[2].c_str(),
                                 buffer.data(), static_cast<DWORD>(*size), r.file.c_str());
    buffer.resize(n);
    std::printf("%s\n", buffer.c_str());
    return 0;
  }
  const char* key = r.args.size() >= 2 ? r.args[1].c_str() : nullptr;
  const char* value = r.op == "set" ? r.args[2].c_str() : nullptr;
  if (!WritePrivateProfileStringA(r.args[0].c_str(), key, value, r.file.c_str())) {
    return Fail("WritePrivateProfileStringA failed, error " + std::to_string(GetLastError()));
  }
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool win32 = false;
  if (!args.empty() && args[0] == "--win32") {
#ifndef _WIN32
    std::fputs("--win32 exists only in the Windows build\n", stderr);
    return 2;
#else
    win32 = true;
    args.erase(args.begin());
#endif
  }
  if (args.size() < 3) return Usage();
  Request r{args[0], args[1], {args.begin() + 2, args.end()}};
  const std::size_t n = r.args.size();
  if (!((r.op == "get" && n == 4) || (r.op == "set" && n == 3) ||
        (r.op == "delete" && (n == 1 || n == 2)))) {
    return Usage();
  }
#ifdef _WIN32
  if (win32) return RunWin32(r);
#else
  auto services = std::make_unique<platform::Services>();
  services->files = std::make_unique<HostFiles>();
  (void)platform::ReplaceOs(std::move(services));  // the defaults are not wanted here
#endif
  (void)win32;
  return RunEngine(r);
}
