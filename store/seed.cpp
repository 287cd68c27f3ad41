#include "store/seed.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ascii.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/items.h"
#include "store/profile.h"

namespace {

constexpr int kSlotCount = 100;
constexpr std::size_t kSlotBuffer = 255;

constexpr std::string_view kOptionMarkers[] = {
    "__BACKGROUND_COLOR__", "__DEFAULT_BACKGROUND_IMAGE__",
    "__SHOW_SPLASH__",      "__PLAY_SOUND__",
    "__MENU1_BACKGROUND__", "__MENU2_BACKGROUND__",
    "__MENU3_BACKGROUND__", "__MENU4_BACKGROUND__",
    "__SPLASH_ANIMATION__", "__SOUND_FILE__",
    "__WELCOME_IMAGE__",    "__DEFAULT_MENU__",
};

// The disabled fourth menu's marker is matched in capitals like the rest.
constexpr std::string_view kTextMarkers[] = {
    "__MENU1_TITLE__",      "__MENU2_TITLE__",
    "__MENU3_TITLE__",      "__MENU4_TITLE__",
    "__MENUX_TITLE__",      "__MORE_INFORMATION_TEXT__",
    "__CONFIGURE_TEXT__",   "__MENU1_ALT_KEY__",
    "__MENU2_ALT_KEY__",    "__MENU3_ALT_KEY__",
    "__MENU4_ALT_KEY__",    "__SYSTEM_INFORMATION__",
    "__SYS_INFO__",         "__ABOUT_ALT_KEY__",
    "__SYSINFO_ALT_KEY__",  "__TITLE__",
    "__TAB1_DESCRIPTION__", "__TAB2_DESCRIPTION__",
    "__TAB3_DESCRIPTION__", "__WELCOME_INTRO__",
    "__WELCOME_CLOSING__",
};

constexpr std::string_view kStyleMarkers[] = {".SYSINFO "};

struct Scan {
  const std::string* file;
  std::string_view section;
  std::string_view slotPrefix;
  std::span<const std::string_view> markers;  // in the order they are tried
  std::string_view mapSection;
  // Map key for a found marker; the markers themselves unless fixed.
  std::string_view fixedKey;
};

std::string_view MapKeyFor(const Scan& scan, std::string_view marker) {
  if (!scan.fixedKey.empty()) return scan.fixedKey;
  if (marker == "__MENUX_TITLE__") return "__MENU4_TITLE__";
  return marker;
}

// Entries in the order they were first found; a later slot with the same
// marker replaces the slot, as repeated profile writes would.
using Findings = std::vector<std::pair<std::string, std::string>>;

Findings RunScan(const Scan& scan) {
  Findings found;
  // Most slots are missing and read as the short default: no marker fits.
  const std::size_t shortest =
      std::min_element(scan.markers.begin(), scan.markers.end(), [](auto a, auto b) {
        return a.size() < b.size();
      })->size();
  std::vector<std::string> slots;
  for (int n = 1; n <= kSlotCount; ++n)
    slots.push_back(std::string(scan.slotPrefix) + std::to_string(n));
  std::vector<std::string> values =
      store::ReadStrings(scan.section, slots, "Error", kSlotBuffer, *scan.file);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const std::string& slot = slots[i];
    std::string& value = values[i];
    if (value.size() < shortest) continue;
    value = platform::ToUpperAscii(std::move(value));
    const auto hit = std::find_if(
        scan.markers.begin(), scan.markers.end(),
        [&](std::string_view marker) { return value.find(marker) != std::string::npos; });
    if (hit == scan.markers.end()) continue;
    const std::string key(MapKeyFor(scan, *hit));
    auto known = std::find_if(found.begin(), found.end(),
                              [&](const auto& entry) { return entry.first == key; });
    if (known == found.end()) {
      found.emplace_back(key, slot);
    } else if (key != "__MENU3_ALT_KEY__") {  // the help application uses the first one
      known->second = slot;
    }
  }
  return found;
}

}  // namespace

void SeedMapFile() {
  const Scan scans[] = {
      {&g_strConfigFile,
       store::item::kGlobalOptions,
       "OPTION",
       kOptionMarkers,
       store::item::kOptionSlots,
       {}},
      {&g_strConfigFile, store::item::kSmallSysInfoStyle.section, "STYLE", kStyleMarkers,
       store::item::kSmallSysInfoStyle.mapSection, store::item::kSmallSysInfoStyle.key},
      {&g_strConfigFile, store::item::kLargeSysInfoStyle.section, "STYLE", kStyleMarkers,
       store::item::kLargeSysInfoStyle.mapSection, store::item::kLargeSysInfoStyle.key},
      {&g_strTextFile, store::item::kLumenText, "TEXT", kTextMarkers, store::item::kTextSlots, {}},
  };
  // Nothing else touches the files during the 400 reads: one stamp check each.
  const store::UnchangedFilesScope unchanged;
  std::vector<std::vector<std::pair<std::string, std::string>>> found;
  std::vector<store::Edit> edits;
  std::vector<SeededSlot> seeded;
  for (const Scan& scan : scans) found.push_back(RunScan(scan));
  for (std::size_t i = 0; i < std::size(scans); ++i) {
    for (const auto& [key, slot] : found[i]) {
      edits.push_back({scans[i].mapSection, key, slot});
      seeded.push_back({std::string(scans[i].mapSection), key, slot});
    }
  }
  // The map file is this run's record, not its source: entries it keeps for
  // markers not found now are another computer's or another time's.
  UseSeededSlots(seeded);
  // One write for the whole map: a failure is told once, and start-up does
  // not pay an atomic replace per marker. Unsaved, the map costs the pages
  // nothing: they use what was found above.
  (void)store::WriteStrings(g_strMapFile, edits);
}

std::string NoEntryMarked(std::string_view fileName, std::string_view markers) {
  std::string text(fileName);
  text += " has no entry marked ";
  text += markers;
  return text;
}
