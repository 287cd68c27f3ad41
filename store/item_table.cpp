#include "store/item_table.h"

#include <map>
#include <tuple>

#include "platform/ascii.h"
#include "store/globals.h"
#include "store/items.h"
#include "store/profile.h"
#include "store/profile_text.h"

namespace store {

namespace {

using namespace item;

constexpr ItemRow Marked(const Item& item, Page page, Seed seed = Seed::Marker) {
  return {item, page, Listed::ByMarker, seed};
}
constexpr ItemRow Keyed(const Item& item, Page page, Listed listed = Listed::ByKey) {
  return {item, page, listed};
}

constexpr ItemRow kRows[] = {
    // clang-format off
    Marked(kBackgroundColor, Page::Color),
    Marked(kDefaultBackgroundImage, Page::Backgrounds),
    Marked(kShowSplash, Page::AnimationScreen),
    Marked(kPlaySound, Page::Sounds),
    Marked(kMenu1Background, Page::Backgrounds),
    Marked(kMenu2Background, Page::Backgrounds),
    Marked(kMenu3Background, Page::Backgrounds),
    Marked(kMenu4Background, Page::Backgrounds),
    Marked(kSplashAnimation, Page::AnimationScreen),
    Marked(kSoundFile, Page::Sounds),
    Marked(kWelcomeImage, Page::WelcomePage),
    Marked(kDefaultMenu, Page::Menu),

    // The style rule's selector marks the System Details style.
    {kSmallSysInfoStyle, Page::Menu, Listed::BySection, Seed::Alias, ".SYSINFO "},
    {kLargeSysInfoStyle, Page::Menu, Listed::BySection, Seed::Alias, ".SYSINFO "},

    Marked(kMenu1Title, Page::Menu),
    Marked(kMenu2Title, Page::Menu),
    Marked(kMenu3Title, Page::Menu),
    Marked(kMenu4Title, Page::Menu),
    // The fourth menu's title while the menu is disabled.
    {kMenu4Title, Page::Menu, Listed::ByMarker, Seed::Alias, "__MENUX_TITLE__"},
    Marked(kMoreInformationText, Page::VisualMapButtons),
    Marked(kConfigureText, Page::VisualMapButtons),
    Marked(kMenu1AltKey, Page::Menu),
    Marked(kMenu2AltKey, Page::Menu),
    Marked(kMenu3AltKey, Page::Menu, Seed::FirstSlot),
    Marked(kMenu4AltKey, Page::Menu),
    Marked(kSystemInformation, Page::Menu),
    {kSysInfo, Page::Other, Listed::No, Seed::Marker},
    Marked(kAboutAltKey, Page::Menu),
    Marked(kSysInfoAltKey, Page::Menu),
    Marked(kTitle, Page::ModifiedBy),
    Marked(kTab1Description, Page::WelcomePage),
    Marked(kTab2Description, Page::WelcomePage),
    Marked(kTab3Description, Page::WelcomePage),
    Marked(kWelcomeIntro, Page::WelcomePage),
    Marked(kWelcomeClosing, Page::WelcomePage),

    Keyed(kWelcomeImageOrg, Page::WelcomePage),
    Keyed(kSmallSysInfoOrg, Page::Menu),
    Keyed(kLargeSysInfoOrg, Page::Menu),
    Keyed(kOemTab1Default, Page::Backgrounds, Listed::BySection),
    Keyed(kOemTab2Default, Page::Backgrounds, Listed::BySection),
    Keyed(kOemTab3Default, Page::Backgrounds, Listed::BySection),
    Keyed(kOemTab4Default, Page::Backgrounds, Listed::BySection),
    Keyed(kOemSound, Page::Sounds),
    Keyed(kOemSplash, Page::AnimationScreen),
    Keyed(kConfigBackgrounds, Page::Backgrounds, Listed::BySection),
    Keyed(kMenuPartsConfigure, Page::VisualMapButtons, Listed::BySection),
    Keyed(kMenuPartsMoreInformation, Page::VisualMapButtons, Listed::BySection),
    Keyed(kMenuPartsConfigureOrg, Page::VisualMapButtons, Listed::BySection),
    Keyed(kMenuPartsMoreInformationOrg, Page::VisualMapButtons, Listed::BySection),
    Keyed(kMouseOverColor, Page::Color),
    Keyed(kRegularTextColor, Page::Color),
    Keyed(kMainMenuTextColor, Page::Color),
    Keyed(kVersion, Page::Packaging),
    Keyed(kVersionCM, Page::Packaging),
    Keyed(kConfigSaved, Page::VisualMapButtons),
    Keyed(kMoreSaved, Page::VisualMapButtons),
    Keyed(kWelcomeImageSaved, Page::WelcomePage),

    Keyed(kFirstTitle, Page::ModifiedBy),
    Keyed(kText5Org, Page::Menu),
    Keyed(kText30Org, Page::Menu),
    // Their entries carry a marker, which names them in the report.
    Keyed(kText20, Page::VisualMapButtons, Listed::No),
    Keyed(kText21, Page::VisualMapButtons, Listed::No),
    Keyed(kText20Org, Page::VisualMapButtons),
    Keyed(kText21Org, Page::VisualMapButtons),
    Keyed(kTextBackgrounds, Page::Backgrounds, Listed::BySection),
    Keyed(kDefaultBackgroundText, Page::Backgrounds),
    Keyed(kSysDetailsSaved, Page::Menu),

    Keyed(kUsesVisualMap, Page::Other, Listed::No),
    Keyed(kMenu4Enabled, Page::Menu, Listed::No),
    Keyed(kFreeSlots, Page::Backgrounds, Listed::No),
    Keyed(kMenuBackgroundFiles, Page::Backgrounds, Listed::No),
    // clang-format on
};

// Markers of the help application's own that no item names; the report
// files them with their family's page.
struct MarkerFamily {
  std::string_view start;
  Page page;
};
constexpr MarkerFamily kMarkerFamilies[] = {
    {"__TAB", Page::WelcomePage},
    {"__WELCOME_", Page::WelcomePage},
};

}  // namespace

const std::span<const ItemRow> kItemRows = kRows;

std::string SeekOf(const ItemRow& row) {
  switch (row.seed) {
    case Seed::No:
      return {};
    case Seed::Marker:
    case Seed::FirstSlot:
      return platform::ToUpperAscii(std::string(row.item.key));
    case Seed::Alias:
      return platform::ToUpperAscii(std::string(row.seekAs));
  }
  return {};
}

std::string SeededKeyOf(const ItemRow& row) {
  // A marker is recorded as found, in capitals, whatever case the item spells it in.
  return row.seed == Seed::Alias ? std::string(row.item.key) : SeekOf(row);
}

std::string_view SlotPrefixOf(const Item& item) {
  if (item.file == File::Text) return "TEXT";
  return item.section == kGlobalOptions ? "OPTION" : "STYLE";
}

Page PageOfEntry(std::string_view section, std::string_view key, std::string_view marker) {
  if (!marker.empty()) {
    const std::string upper = platform::ToUpperAscii(std::string(marker));
    for (const ItemRow& row : kRows) {
      if (row.listed == Listed::ByMarker && SeekOf(row) == upper) return row.page;
    }
    for (const MarkerFamily& family : kMarkerFamilies) {
      if (upper.starts_with(family.start)) return family.page;
    }
  }
  const auto in = [&](const ItemRow& row) {
    return platform::EqualsNoCaseAscii(row.item.section, section);
  };
  for (const ItemRow& row : kRows) {
    if (row.listed == Listed::ByKey && in(row) && platform::EqualsNoCaseAscii(row.item.key, key))
      return row.page;
  }
  for (const ItemRow& row : kRows) {
    if (row.listed == Listed::BySection && in(row)) return row.page;
  }
  return Page::Other;
}

namespace {
// Slot names are at most nine characters; the map file's cut never matters.
constexpr std::size_t kSlotBuffer = 64;
}  // namespace

const std::string& PathOf(File file) {
  switch (file) {
    case File::Config:
      return g_strConfigFile;
    case File::Text:
      return g_strTextFile;
    case File::Map:
      return g_strMapFile;
    case File::MachineTable:
      return g_strCsvFile;
  }
  return g_strConfigFile;
}

std::optional<std::string> SlotOf(const Item& item) {
  std::string slot = item.mapSection.empty()
                         ? std::string(item.key)
                         : ResolveItemKey(item.mapSection, item.key, kSlotBuffer);
  if (IsUnresolvedSlot(slot)) return std::nullopt;
  return slot;
}

std::optional<std::string> Read(const Item& item) {
  const auto slot = SlotOf(item);
  if (!slot) return std::nullopt;
  const std::string& file = PathOf(item.file);
  std::string value = ReadItem(file, item.section, *slot, kWholeValue);
  if (value == kSentinel) return std::nullopt;
  // Cut as the item's buffer cuts it; a short buffer would cut the sentinel too.
  if (item.readSize != kWholeValue) return ReadItem(file, item.section, *slot, item.readSize);
  return value;
}

bool HoldsSentinel(std::string_view value) {
  return value.find(kSentinel) != std::string_view::npos;
}

namespace {

struct Written {
  std::string name, file, section, slot;
  std::optional<std::string> expected;  // as a whole read gives it back
};

struct ReadBack {
  ReadBackReporter reporter;
  // By file, section and slot, spelled as written: the last write counts.
  std::map<std::tuple<std::string, std::string, std::string>, Written> written;
};

ReadBack& TheReadBack() {
  static ReadBack readBack;
  return readBack;
}

// A write with its slot resolved, and what a read of it must give back.
struct Pending {
  Written record;
  std::optional<std::string_view> value;
};

std::optional<Pending> Resolve(const Item& item, std::optional<std::string_view> value) {
  const auto slot = SlotOf(item);
  if (!slot) return std::nullopt;
  Written w{std::string(item.key), PathOf(item.file), std::string(item.section), *slot, {}};
  if (w.name.empty()) w.name = *slot;
  if (value) w.expected = ProfileResult(*value, {}, kWholeValue);
  return Pending{std::move(w), value};
}

// All in one file: one write of it, one read back from disk.
bool WriteResolved(std::vector<Pending>& pending) {
  if (pending.empty()) return true;
  const std::string& file = pending.front().record.file;
  std::vector<Edit> edits;
  std::vector<EntryName> names;
  for (const Pending& p : pending) {
    edits.push_back({p.record.section, p.record.slot, p.value});
    names.push_back({p.record.section, p.record.slot});
  }
  if (!WriteStrings(file, edits)) return false;
  auto found = ReadStringsFromDisk(names, file);
  auto& readBack = TheReadBack();
  std::vector<ReadBackMismatch> mismatches;
  for (std::size_t i = 0; i < pending.size(); ++i) {
    Written& w = pending[i].record;
    if (found[i] != w.expected) mismatches.push_back({w.name, w.file, w.expected, found[i]});
    readBack.written.insert_or_assign({w.file, w.section, w.slot}, std::move(w));
  }
  if (!mismatches.empty() && readBack.reporter) readBack.reporter(mismatches);
  return true;
}

}  // namespace

namespace {
int& HeldWrites() {
  static int held = 0;
  return held;
}
}  // namespace

WritesHeld::WritesHeld() { ++HeldWrites(); }
WritesHeld::~WritesHeld() { --HeldWrites(); }

WriteResult Write(const Item& item, std::optional<std::string_view> value) {
  if (HeldWrites()) return {WriteResult::Failed};
  auto pending = Resolve(item, value);
  if (!pending) return {WriteResult::NoSlot};
  std::vector<Pending> one;
  one.push_back(std::move(*pending));
  return {WriteResolved(one) ? WriteResult::Written : WriteResult::Failed};
}

WriteResult WriteAll(const std::vector<std::pair<Item, std::string>>& writes) {
  if (HeldWrites()) return {WriteResult::Failed};
  std::vector<Pending> pending;
  bool resolved = true;
  for (const auto& [item, value] : writes) {
    auto p = Resolve(item, value);
    if (!p || p->record.file != PathOf(writes.front().first.file)) {
      resolved = false;
      continue;
    }
    pending.push_back(std::move(*p));
  }
  if (!WriteResolved(pending)) return {WriteResult::Failed};
  return {resolved ? WriteResult::Written : WriteResult::NoSlot};
}

std::string EncodeEntry(std::string_view marker, std::string_view value) {
  std::string entry;
  entry.reserve(marker.size() + 1 + value.size());
  return entry.append(marker).append(1, ',').append(value);
}

std::optional<std::string> DecodeEntry(std::string_view marker,
                                       const std::optional<std::string>& entry) {
  const std::size_t at = marker.size() + 1;
  if (!entry || entry->size() < at) return std::nullopt;
  return entry->substr(at);
}

std::optional<std::string> ReadValue(const Item& item) { return DecodeEntry(item.key, Read(item)); }

WriteResult WriteValue(const Item& item, std::string_view value) {
  return Write(item, EncodeEntry(item.key, value));
}

bool KeepFirstValues(const Item& flag, const std::vector<std::pair<Item, Item>>& fromFirst,
                     FirstValue kind) {
  const auto isFirst = [kind](const std::optional<std::string>& v) {
    return v && (kind == FirstValue::AnyText || !v->empty());
  };
  const auto set = Read(flag);
  if (set && !HoldsSentinel(*set)) return true;
  bool all = true, refused = false;
  for (const auto& [from, first] : fromFirst) {
    if (isFirst(Read(first))) continue;
    const auto value = Read(from);
    // Not there now (a damaged file): the flag stays unset, so that the
    // copy is taken once the entry is back.
    if (!isFirst(value)) {
      all = false;
    } else if (!Write(first, *value)) {
      all = false;
      refused = true;
    }
  }
  if (all) (void)Write(flag, "TRUE");
  return !refused;
}

namespace {
// More lines than this would not fit a message box on a small screen.
constexpr std::size_t kEntriesShown = 8;

std::string Shown(const std::optional<std::string>& v) {
  return v ? "\"" + *v + "\"" : std::string("nothing (the entry is missing)");
}
}  // namespace

std::string DescribeEntry(const ReadBackMismatch& m) {
  return m.name + " in " + m.file + ": " + Shown(m.found) + " instead of " + Shown(m.written);
}

std::string Describe(const std::vector<ReadBackMismatch>& mismatches) {
  if (mismatches.empty()) return {};
  const ReadBackMismatch& m = mismatches.front();
  if (mismatches.size() == 1) {
    return "OKAPI wrote " + m.name + " in " + m.file + ", but the file now holds " +
           Shown(m.found) + " there instead of " + Shown(m.written) +
           ".\n\nAnother program may have changed the file, or Windows did not keep the "
           "change. Check the file before you distribute the package.";
  }
  std::string text = "OKAPI wrote these " + std::to_string(mismatches.size()) +
                     " entries, but the files now hold something else:\n";
  for (std::size_t i = 0; i < mismatches.size() && i < kEntriesShown; ++i)
    text += "\n" + DescribeEntry(mismatches[i]);
  if (mismatches.size() > kEntriesShown) {
    text += "\n... and " + std::to_string(mismatches.size() - kEntriesShown) +
            " more, all listed in the changes report";
  }
  return text +
         "\n\nAnother program may have changed the files, or Windows did not keep the "
         "changes. Check the files before you distribute the package.";
}

void SetReadBackReporter(ReadBackReporter reporter) {
  TheReadBack().reporter = std::move(reporter);
}

void ForgetWrittenItems() { TheReadBack().written.clear(); }

std::vector<ReadBackMismatch> CheckWrittenItems() {
  std::vector<ReadBackMismatch> mismatches;
  const auto& written = TheReadBack().written;
  // Ordered by file first: each file is read from disk once.
  for (auto first = written.begin(); first != written.end();) {
    const std::string& file = first->second.file;
    std::vector<EntryName> names;
    auto last = first;
    for (; last != written.end() && last->second.file == file; ++last) {
      names.push_back({last->second.section, last->second.slot});
    }
    auto found = ReadStringsFromDisk(names, file);
    for (std::size_t i = 0; first != last; ++first, ++i) {
      const Written& w = first->second;
      if (found[i] != w.expected) {
        mismatches.push_back({w.name, w.file, w.expected, std::move(found[i])});
      }
    }
  }
  return mismatches;
}

}  // namespace store
