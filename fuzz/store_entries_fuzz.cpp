// Marker entries on arbitrary text: an entry decodes back to the value it
// was encoded with, a decode stays inside the entry, an entry written to a
// file of marker slots reads back and decodes to its value, and the seeding
// finds the item's slot by it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/check.h"
#include "platform/ascii.h"
#include "store/item_table.h"
#include "store/items.h"
#include "store/profile_text.h"

namespace {

// What the profile functions would trim or cut: the value is then not the
// file's, whatever the codec does.
bool FitsOneLine(const std::string& value) {
  return value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
         (value.empty() || !IsBlank(value.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto& rows = store::kItemRows;
  const store::ItemRow& row = rows[in.ConsumeIntegralInRange<std::size_t>(0, rows.size() - 1)];
  const std::string marker = in.ConsumeRandomLengthString(64);
  const std::string value = in.ConsumeRandomLengthString(512);
  const std::string entry = in.ConsumeRemainingBytesAsString();

  Check(store::DecodeEntry(marker, store::EncodeEntry(marker, value)) == value,
        "an entry decodes to the value it was encoded with");
  Check(store::DecodeEntry(marker, std::nullopt) == std::nullopt, "a missing entry has no value");

  // Exactly the entry's bytes on the heap: a read past them is caught.
  const std::optional<std::string> held(entry);
  if (const auto decoded = store::DecodeEntry(marker, held)) {
    Check(entry.size() == marker.size() + 1 + decoded->size(), "a value is the entry's tail");
    Check(entry.ends_with(*decoded), "a value is the entry's tail");
  } else {
    Check(entry.size() <= marker.size(), "an entry long enough has a value");
  }

  // A marker item's entry through its file: written to a slot, read whole.
  const store::Item& item = row.item;
  if (item.mapSection.empty() || !FitsOneLine(value)) return 0;
  const std::string written = store::EncodeEntry(item.key, value);
  const std::string slot = std::string(store::SlotPrefixOf(item)) + "7";
  std::string comment = ";" + entry;
  std::erase_if(comment, [](char c) { return c == '\r' || c == '\n'; });
  const std::string bytes =
      "[" + std::string(item.section) + "]\r\n" + comment + "\r\n" + slot + "=" + written + "\r\n";
  const store::ProfileText file(bytes);
  const std::string read = file.Read(item.section, slot, store::kSentinel, 0x10000);
  Check(store::DecodeEntry(item.key, read) == value, "a written entry reads back to its value");
  if (row.seed == store::Seed::Marker || row.seed == store::Seed::FirstSlot) {
    Check(platform::ToUpperAscii(read).find(store::SeekOf(row)) == 0,
          "the seeding finds an item's entry by its start");
  }
  return 0;
}
