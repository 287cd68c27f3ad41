// The customization store: markers resolved to slots through the map file,
// and the slots of the help application's files read and written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {
// Every read's default: a result equal to it means the entry is missing.
inline constexpr std::string_view kSentinel = "Error";
}  // namespace store

// The slot name recorded for `marker` in `mapSection`, or "Error": where this
// run's seeding found it once it has run, else as the map file records it.
std::string ResolveItemKey(std::string_view mapSection, std::string_view marker,
                           std::size_t size = 64);

// The seeding's findings, by map section and marker. The map file may be
// stale (copied from another computer) and unwritable: a slot it names that
// this run did not find may hold another item.
struct SeededSlot {
  std::string mapSection, marker, slot;
};
void UseSeededSlots(const std::vector<SeededSlot>& found);
// Back to the map file alone (tests start each machine so).
void ForgetSeededSlots();

// True for a slot that names no key: "Error" in any case, or empty (a map
// line "marker=" edited by hand).
bool IsUnresolvedSlot(std::string_view slot);

// The whole marker entry held by `slot`, cut to size - 1, or "Error".
std::string ReadItem(const std::string& file, std::string_view section, std::string_view slot,
                     std::size_t size);

// Writes the whole marker entry to `slot`; nullopt deletes it. False when the
// write failed (already reported) or the slot is unresolved (not reported).
[[nodiscard]] bool WriteItem(const std::string& file, std::string_view section,
                             std::string_view slot, std::optional<std::string_view> value);
