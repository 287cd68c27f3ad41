#include "store/items.h"

#include <map>
#include <utility>

#include "platform/ascii.h"
#include "store/globals.h"
#include "store/profile.h"
#include "store/profile_text.h"

using store::kSentinel;

namespace {

using SlotKey = std::pair<std::string, std::string>;  // in small letters
std::optional<std::map<SlotKey, std::string>>& Seeded() {
  static std::optional<std::map<SlotKey, std::string>> seeded;
  return seeded;
}

}  // namespace

void UseSeededSlots(const std::vector<SeededSlot>& found) {
  auto& seeded = Seeded().emplace();
  for (const SeededSlot& s : found) {
    seeded[{platform::ToLowerAscii(s.mapSection), platform::ToLowerAscii(s.marker)}] = s.slot;
  }
}

void ForgetSeededSlots() { Seeded().reset(); }

// The file never holds a key named like the sentinel on purpose, so any
// spelling of it is treated alike.
bool IsUnresolvedSlot(std::string_view slot) {
  return slot.empty() || platform::EqualsNoCaseAscii(slot, kSentinel);
}

std::string ResolveItemKey(std::string_view mapSection, std::string_view marker, std::size_t size) {
  if (const auto& seeded = Seeded()) {
    const auto at = seeded->find({platform::ToLowerAscii(std::string(mapSection)),
                                  platform::ToLowerAscii(std::string(marker))});
    return store::ProfileResult(
        at == seeded->end() ? std::nullopt : std::optional<std::string_view>(at->second), kSentinel,
        size);
  }
  return store::ReadString(mapSection, marker, kSentinel, size, g_strMapFile);
}

std::string ReadItem(const std::string& file, std::string_view section, std::string_view slot,
                     std::size_t size) {
  // A junk "Error" key left by older tools must not pass for an item.
  if (IsUnresolvedSlot(slot)) return store::ProfileResult(std::nullopt, kSentinel, size);
  return store::ReadString(section, slot, kSentinel, size, file);
}

bool WriteItem(const std::string& file, std::string_view section, std::string_view slot,
               std::optional<std::string_view> value) {
  if (IsUnresolvedSlot(slot)) return false;
  return store::WriteString(section, slot, value, file).ok;
}
