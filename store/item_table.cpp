#include "store/item_table.h"

#include <map>
#include <tuple>

#include "store/globals.h"
#include "store/items.h"
#include "store/profile.h"
#include "store/profile_text.h"

namespace store {

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

WriteResult Write(const Item& item, std::optional<std::string_view> value) {
  auto pending = Resolve(item, value);
  if (!pending) return {WriteResult::NoSlot};
  std::vector<Pending> one;
  one.push_back(std::move(*pending));
  return {WriteResolved(one) ? WriteResult::Written : WriteResult::Failed};
}

WriteResult WriteAll(const std::vector<std::pair<Item, std::string>>& writes) {
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
