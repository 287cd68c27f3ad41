// The contents of one profile (INI) file, parsed with the reading rules of
// the Windows profile functions, and the edits their writes make. Pure: no
// file access, so the rules can be tested, fuzzed and measured on bytes.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

class ProfileText {
 public:
  explicit ProfileText(std::string bytes);
  ~ProfileText();
  // Parsed names point into the text: neither copied nor moved.
  ProfileText(const ProfileText&) = delete;
  ProfileText& operator=(const ProfileText&) = delete;

  const std::string& Bytes() const { return bytes_; }

  // The stored value of the key, blanks around it trimmed, quotes intact;
  // nullopt when the section or the key is not found. Names are compared as
  // given (callers trim parameters first).
  std::optional<std::string> RawValue(std::string_view section, std::string_view key) const;

  // What GetPrivateProfileStringA gives for the key into a buffer of `size`
  // characters: the value unquoted and cut, or the default.
  std::string Read(std::string_view section, std::string_view key, std::string_view def,
                   std::size_t size) const;

  // Section names in file order, duplicates repeated.
  std::vector<std::string> SectionNames() const;
  // Keys of the first section of that name, in file order, duplicates
  // repeated; comments and lines without '=' are not keys.
  std::vector<std::string> KeyNames(std::string_view section) const;

  // The file's bytes after a write. key nullopt deletes the section (its
  // comments stay), value nullopt deletes the key. Names as given.
  std::string Edited(std::string_view section, std::optional<std::string_view> key,
                     std::optional<std::string_view> value) const;

  // True when Edited(section, key, value) would give Bytes() back; false
  // may still be such a write. Cheap: no copy of the text.
  bool Keeps(std::string_view section, std::string_view key, std::string_view value) const;

  struct Parsed;

 private:
  std::string bytes_;
  std::unique_ptr<Parsed> parsed_;
};

// The bytes a write creates when the file does not exist yet.
std::string NewProfileBytes(std::string_view section, std::optional<std::string_view> key,
                            std::optional<std::string_view> value);

// What the caller's buffer of `size` characters receives for a stored value
// (nullopt: not found) or else the default.
std::string ProfileResult(std::optional<std::string_view> raw, std::string_view def,
                          std::size_t size);

// Name parameters lose leading and trailing spaces only (not tabs).
std::string_view TrimNameParameter(std::string_view name);

}  // namespace store
