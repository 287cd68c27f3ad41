#include "store/item_table.h"

#include "store/globals.h"
#include "store/items.h"

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

bool Write(const Item& item, std::optional<std::string_view> value) {
  const auto slot = SlotOf(item);
  if (!slot) return false;
  return WriteItem(PathOf(item.file), item.section, *slot, value);
}

}  // namespace store
