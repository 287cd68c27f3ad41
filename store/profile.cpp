#include "store/profile.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>

#include "store/profile_text.h"

namespace store {
namespace {

struct CachedFile {
  platform::FileStamp stamp;
  std::unique_ptr<const ProfileText> text;
  std::uint64_t checkedInScope = 0;  // the scope generation of the last stamp check
};

struct Cache {
  std::unordered_map<std::string, CachedFile> files;
  WriteFailureReporter reporter;
  int scopeDepth = 0;
  std::uint64_t scopeGeneration = 0;
  std::uint64_t CurrentScope() const { return scopeDepth > 0 ? scopeGeneration : 0; }
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

// The text stays valid until the cache next changes.
struct Loaded {
  enum class State { Missing, Unreadable, Present } state = State::Missing;
  const ProfileText* text = nullptr;
};

Loaded Load(platform::FileSystem& fs, const std::string& file, bool forWrite = false) {
  auto& cache = TheCache();
  auto& files = cache.files;
  const std::uint64_t scope = cache.CurrentScope();
  if (scope != 0 && !forWrite) {
    if (auto it = files.find(file); it != files.end() && it->second.checkedInScope == scope) {
      return {Loaded::State::Present, it->second.text.get()};
    }
  }
  const auto stamp = fs.Stamp(file);
  if (!stamp) {
    files.erase(file);
    return {};
  }
  if (auto it = files.find(file); it != files.end() && it->second.stamp == *stamp) {
    it->second.checkedInScope = scope;
    return {Loaded::State::Present, it->second.text.get()};
  }
  auto bytes = fs.ReadFile(file);
  if (!bytes) {
    files.erase(file);
    return {Loaded::State::Unreadable, nullptr};
  }
  CachedFile& entry = files[file];
  entry = CachedFile{*stamp, std::make_unique<const ProfileText>(std::move(*bytes)), scope};
  return {Loaded::State::Present, entry.text.get()};
}

platform::FileSystem* Files() { return platform::Os().files.get(); }

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Parameters end at a NUL, as the C strings of the system call do.
std::string_view CString(std::string_view s) { return s.substr(0, s.find('\0')); }

// Puts `text` on disk as the whole file, atomically, and keeps it as the
// file's parsed text: the next read checks the stamp, not the bytes.
platform::Status Commit(platform::FileSystem& fs, const std::string& file,
                        std::unique_ptr<const ProfileText> text) {
  auto& cache = TheCache();
  // Another spelling of this path may be cached too: every file is checked
  // again at its next read in the scope.
  if (cache.scopeDepth > 0) ++cache.scopeGeneration;
  if (auto status = fs.WriteFileAtomic(file, text->Bytes()); !status) {
    cache.files.erase(file);
    return status;
  }
  if (const auto stamp = fs.Stamp(file)) {
    cache.files[file] = CachedFile{*stamp, std::move(text), cache.CurrentScope()};
  } else {
    cache.files.erase(file);
  }
  return platform::Status::Ok();
}

platform::Status Failed(const std::string& file, std::string reason) {
  if (const auto& report = TheCache().reporter) report(file, reason);
  return platform::Status::Fail(std::move(reason));
}

}  // namespace

std::string ReadString(std::string_view section, std::string_view key, std::string_view def,
                       std::size_t size, const std::string& file) {
  def = CString(def);
  if (auto* fs = Files()) {
    const Loaded loaded = Load(*fs, file);
    if (loaded.text) {
      return loaded.text->Read(TrimNameParameter(section), TrimNameParameter(key), def, size);
    }
  }
  return ProfileResult(std::nullopt, def, size);
}

std::vector<std::string> ReadStrings(std::string_view section, const std::vector<std::string>& keys,
                                     std::string_view def, std::size_t size,
                                     const std::string& file) {
  def = CString(def);
  auto* fs = Files();
  const Loaded loaded = fs ? Load(*fs, file) : Loaded{};
  section = TrimNameParameter(section);
  std::vector<std::string> values;
  values.reserve(keys.size());
  for (const std::string& key : keys) {
    values.push_back(loaded.text ? loaded.text->Read(section, TrimNameParameter(key), def, size)
                                 : ProfileResult(std::nullopt, def, size));
  }
  return values;
}

std::vector<std::optional<std::string>> ReadStringsFromDisk(const std::vector<EntryName>& entries,
                                                            const std::string& file) {
  std::vector<std::optional<std::string>> values(entries.size());
  auto* fs = Files();
  auto bytes = fs ? fs->ReadFile(file) : std::nullopt;
  if (!bytes) return values;
  const ProfileText text(std::move(*bytes));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto raw =
        text.RawValue(TrimNameParameter(entries[i].section), TrimNameParameter(entries[i].key));
    if (raw) values[i] = ProfileResult(*raw, {}, 0x10000);
  }
  return values;
}

platform::Status WriteString(std::string_view section, std::optional<std::string_view> key,
                             std::optional<std::string_view> value, const std::string& file) {
  return WriteStrings(file, {{section, key, value}});
}

platform::Status WriteStrings(const std::string& file, const std::vector<Edit>& edits) {
  std::vector<Edit> cleaned;
  cleaned.reserve(edits.size());
  for (Edit edit : edits) {
    edit.section = TrimNameParameter(edit.section);
    if (edit.key) edit.key = TrimNameParameter(*edit.key);
    if (edit.value) edit.value = CString(*edit.value);
    // Windows would write a line break as given and so split the entry into
    // lines of its own, corrupting the file's structure.
    if (HasLineBreak(edit.section) || (edit.key && HasLineBreak(*edit.key)) ||
        (edit.value && HasLineBreak(*edit.value))) {
      return Failed(file, "a name or value holds a line break");
    }
    cleaned.push_back(edit);
  }
  auto* fs = Files();
  if (!fs) return Failed(file, "no file service");
  const Loaded loaded = Load(*fs, file, /*forWrite=*/true);
  if (loaded.state == Loaded::State::Unreadable) return Failed(file, "the file cannot be read");
  // An edit that leaves the text as it is needs no new parse: seeding an
  // already seeded map is a batch of such edits.
  std::unique_ptr<const ProfileText> edited;
  const ProfileText* current = loaded.text;
  for (const Edit& edit : cleaned) {
    if (current && edit.key && edit.value && current->Keeps(edit.section, *edit.key, *edit.value)) {
      continue;
    }
    std::string next = current ? current->Edited(edit.section, edit.key, edit.value)
                               : NewProfileBytes(edit.section, edit.key, edit.value);
    if (current && next == current->Bytes()) continue;
    edited = std::make_unique<const ProfileText>(std::move(next));
    current = edited.get();
  }
  if (!edited || (loaded.text && edited->Bytes() == loaded.text->Bytes())) {
    return platform::Status::Ok();
  }

  if (auto status = Commit(*fs, file, std::move(edited)); !status) {
    return Failed(file, std::move(status.reason));
  }
  return platform::Status::Ok();
}

platform::Status WriteWholeFile(const std::string& file, std::string bytes) {
  auto* fs = Files();
  if (!fs) return platform::Status::Fail("no file service");
  return Commit(*fs, file, std::make_unique<const ProfileText>(std::move(bytes)));
}

std::vector<std::string> ReadSectionNames(const std::string& file) {
  auto* fs = Files();
  if (!fs) return {};
  const Loaded loaded = Load(*fs, file);
  return loaded.text ? loaded.text->SectionNames() : std::vector<std::string>{};
}

std::vector<std::string> ReadKeyNames(std::string_view section, const std::string& file) {
  auto* fs = Files();
  if (!fs) return {};
  const Loaded loaded = Load(*fs, file);
  return loaded.text ? loaded.text->KeyNames(TrimNameParameter(section))
                     : std::vector<std::string>{};
}

void SetWriteFailureReporter(WriteFailureReporter reporter) {
  TheCache().reporter = std::move(reporter);
}

void ForgetCachedFiles() { TheCache().files.clear(); }

UnchangedFilesScope::UnchangedFilesScope() {
  auto& cache = TheCache();
  if (cache.scopeDepth++ == 0) ++cache.scopeGeneration;
}

UnchangedFilesScope::~UnchangedFilesScope() { --TheCache().scopeDepth; }

}  // namespace store
