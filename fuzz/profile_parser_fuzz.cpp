// The profile parser on arbitrary bytes: beyond not crashing, a write must
// read back as written and must leave every other key as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "store/profile_text.h"

namespace {

// Names and values a caller can expect to read back: no line breaks or
// NULs, no blanks at the ends; a section name without ']', a key without
// '=' that does not start like a comment or a section.
std::string Clean(std::string s, const char* banned) {
  std::string out;
  for (char c : s) {
    if (c != '\r' && c != '\n' && c != '\0' && !std::strchr(banned, c)) out += c;
  }
  while (!out.empty() && IsBlank(out.front())) out.erase(out.begin());
  while (!out.empty() && IsBlank(out.back())) out.pop_back();
  return out;
}

// Whether the engine takes (section, key) for the same entry as (s, k).
bool SameEntry(const std::string& s, const std::string& k, const std::string& section,
               const std::string& key) {
  const store::ProfileText probe("[" + s + "]\n" + k + "=1\n");
  return probe.RawValue(section, key).has_value();
}

struct Known {
  std::string section, key;
  std::optional<std::string> value;
};

std::vector<Known> Snapshot(const store::ProfileText& text) {
  std::vector<Known> known;
  for (const std::string& section : text.SectionNames()) {
    for (const std::string& key : text.KeyNames(section)) {
      if (known.size() >= 64) return known;
      known.push_back({section, key, text.RawValue(section, key)});
    }
  }
  return known;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int op = in.ConsumeIntegralInRange(0, 3);
  std::string section = Clean(in.ConsumeRandomLengthString(24), "]");
  std::string key = Clean(in.ConsumeRandomLengthString(24), "=");
  if (!key.empty() && (key[0] == ';' || key[0] == '[')) key.insert(key.begin(), 'k');
  const std::string value = Clean(in.ConsumeRandomLengthString(64), "");
  const std::size_t bufferSize = in.ConsumeIntegralInRange<std::size_t>(0, 80);
  const store::ProfileText before(in.ConsumeRemainingBytesAsString());

  // Reads of whatever names the input holds.
  const auto raw = before.RawValue(section, key);
  const std::string result = before.Read(section, key, value, bufferSize);
  Check(result == store::ProfileResult(raw ? std::optional<std::string_view>(*raw) : std::nullopt,
                                       value, bufferSize),
        "a read is the stored value as the buffer receives it");
  Check(result.size() < std::max<std::size_t>(bufferSize, 1), "result fits the buffer");
  const std::vector<Known> known = Snapshot(before);

  std::optional<std::string_view> writeKey = key, writeValue = value;
  if (op == 1) writeValue.reset();
  if (op == 2) writeKey.reset();
  const std::string bytes = before.Edited(section, writeKey, writeValue);
  const store::ProfileText after(bytes);

  if (op == 0 || op == 3) {
    Check(after.RawValue(section, key) == value, "a written value reads back");
  }
  if (op == 1 && !raw) Check(bytes == before.Bytes(), "deleting a missing key changes nothing");
  if (op == 2 && before.SectionNames().empty())
    Check(bytes == before.Bytes(), "no section, no change");
  for (const Known& k : known) {
    if (op == 2 ? SameEntry(section, "x", k.section, "x")
                : SameEntry(section, key, k.section, k.key))
      continue;
    Check(after.RawValue(k.section, k.key) == k.value, "other keys keep their values");
  }
  // Writing the same again is a no-op on the bytes, and known as one.
  if (op == 0) {
    Check(after.Edited(section, key, value) == bytes, "a repeated write changes nothing");
    if (before.Keeps(section, key, value))
      Check(bytes == before.Bytes(), "a kept write is a no-op");
    const bool wide = bytes.rfind("\xFF\xFE", 0) == 0;
    if (!key.empty() && !wide) Check(after.Keeps(section, key, value), "a written entry is kept");
  }
  return 0;
}
