// Profile (INI) files read and written with the Windows profile functions'
// rules, through the platform's file service. A file is parsed once and read
// from memory until its stamp on disk changes; every write goes to disk at
// once and atomically.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace store {

// GetPrivateProfileStringA: the value of the key, else `def` (trailing spaces
// cut), as a buffer of `size` characters receives it (cut to size - 1).
std::string ReadString(std::string_view section, std::string_view key, std::string_view def,
                       std::size_t size, const std::string& file);

// WritePrivateProfileStringA: creates file, section and key as needed; value
// nullopt deletes the key, key nullopt deletes the section. A failure is also
// passed to the write-failure reporter.
platform::Status WriteString(std::string_view section, std::optional<std::string_view> key,
                             std::optional<std::string_view> value, const std::string& file);

// ReadString for several keys of one section, the file looked up once.
std::vector<std::string> ReadStrings(std::string_view section, const std::vector<std::string>& keys,
                                     std::string_view def, std::size_t size,
                                     const std::string& file);

// What whole reads of the keys give, taken from the file on disk now (read
// once) and not from what this engine holds; nullopt where a key is not there.
struct EntryName {
  std::string_view section, key;
};
std::vector<std::optional<std::string>> ReadStringsFromDisk(const std::vector<EntryName>& entries,
                                                            const std::string& file);

// Several writes to one file, applied in order as WriteString would apply
// them, and put on disk in one atomic write: all of them or none.
struct Edit {
  std::string_view section;
  std::optional<std::string_view> key;
  std::optional<std::string_view> value;
};
platform::Status WriteStrings(const std::string& file, const std::vector<Edit>& edits);

// Replaces the whole file with `bytes`, atomically, and reads from them
// afterwards. The caller tells a failure: it is not passed to the reporter.
platform::Status WriteWholeFile(const std::string& file, std::string bytes);

// Section names in file order; the keys of a section (comments and lines
// without '=' left out). Duplicates repeated. Empty for a missing file.
std::vector<std::string> ReadSectionNames(const std::string& file);
std::vector<std::string> ReadKeyNames(std::string_view section, const std::string& file);

using WriteFailureReporter =
    std::function<void(const std::string& file, const std::string& reason)>;
// Told about every failed write; by default nobody is.
void SetWriteFailureReporter(WriteFailureReporter reporter);

// Drops every parsed file, so the next read goes to disk.
void ForgetCachedFiles();

// While one is alive, files are taken to change on disk only through this
// engine: a file's stamp is checked at its first read in the scope, not at
// every read. For bursts of reads such as the seeding's 400, where checking
// each time would cost far more than the reads. Scopes nest.
class [[nodiscard]] UnchangedFilesScope {
 public:
  UnchangedFilesScope();
  ~UnchangedFilesScope();
  UnchangedFilesScope(const UnchangedFilesScope&) = delete;
  UnchangedFilesScope& operator=(const UnchangedFilesScope&) = delete;
};

}  // namespace store
