#include "store/seed.h"

#include <algorithm>
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

// One section of slots and the rows looked for in it, in the table's order.
struct Scan {
  const store::Item* where;
  std::vector<std::pair<std::string, const store::ItemRow*>> seeks;
};

std::vector<Scan> Scans() {
  std::vector<Scan> scans;
  for (const store::ItemRow& row : store::kItemRows) {
    if (row.seed == store::Seed::No) continue;
    const store::Item& item = row.item;
    auto scan = std::find_if(scans.begin(), scans.end(), [&](const Scan& s) {
      return s.where->file == item.file && s.where->section == item.section &&
             s.where->mapSection == item.mapSection;
    });
    if (scan == scans.end()) scan = scans.insert(scans.end(), {&item, {}});
    scan->seeks.emplace_back(store::SeekOf(row), &row);
  }
  return scans;
}

// Entries in the order they were first found; a later slot with the same
// marker replaces the slot, as repeated profile writes would.
using Findings = std::vector<std::pair<std::string, std::string>>;

Findings RunScan(const Scan& scan) {
  Findings found;
  // Most slots are missing and read as the short default: no marker fits.
  const std::size_t shortest =
      std::min_element(scan.seeks.begin(), scan.seeks.end(), [](const auto& a, const auto& b) {
        return a.first.size() < b.first.size();
      })->first.size();
  const std::string_view prefix = store::SlotPrefixOf(*scan.where);
  std::vector<std::string> slots;
  for (int n = 1; n <= kSlotCount; ++n) slots.push_back(std::string(prefix) + std::to_string(n));
  std::vector<std::string> values = store::ReadStrings(
      scan.where->section, slots, store::kSentinel, kSlotBuffer, store::PathOf(scan.where->file));
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const std::string& slot = slots[i];
    std::string& value = values[i];
    if (value.size() < shortest) continue;
    value = platform::ToUpperAscii(std::move(value));
    const auto hit = std::find_if(scan.seeks.begin(), scan.seeks.end(), [&](const auto& seek) {
      return value.find(seek.first) != std::string::npos;
    });
    if (hit == scan.seeks.end()) continue;
    const store::ItemRow& row = *hit->second;
    const std::string key = store::SeededKeyOf(row);
    auto known = std::find_if(found.begin(), found.end(),
                              [&](const auto& entry) { return entry.first == key; });
    if (known == found.end()) {
      found.emplace_back(key, slot);
    } else if (row.seed != store::Seed::FirstSlot) {
      known->second = slot;
    }
  }
  return found;
}

}  // namespace

void SeedMapFile() {
  const std::vector<Scan> scans = Scans();
  // Nothing else touches the files during the 400 reads: one stamp check each.
  const store::UnchangedFilesScope unchanged;
  std::vector<Findings> found;
  std::vector<store::Edit> edits;
  std::vector<SeededSlot> seeded;
  for (const Scan& scan : scans) found.push_back(RunScan(scan));
  for (std::size_t i = 0; i < scans.size(); ++i) {
    const std::string_view mapSection = scans[i].where->mapSection;
    for (const auto& [key, slot] : found[i]) {
      edits.push_back({mapSection, key, slot});
      seeded.push_back({std::string(mapSection), key, slot});
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
