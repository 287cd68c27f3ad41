#include "store/background_slots.h"

#include "platform/ascii.h"
#include "store/profile.h"

namespace store::backgrounds {

namespace {

constexpr std::string_view kFreed = "Freed";

std::string Number(int slot) { return std::to_string(slot); }

// The keys an Item names must outlive it: each read and write builds its own.
struct Keys {
  explicit Keys(int slot)
      : text("BACK" + Number(slot) + "TEXT"),
        image("BACK" + Number(slot)),
        // As the help application's lists and earlier runs spell the marks.
        mark((slot == 1 ? "BACK" : "Back") + Number(slot) + "TEXT") {}
  Item Text() const { return item::kTextBackgrounds.WithKey(text); }
  Item Image() const { return item::kConfigBackgrounds.WithKey(image); }
  Item Mark() const { return item::kFreeSlots.WithKey(mark); }
  std::string text, image, mark;
};

bool MarkedFree(int slot) {
  const auto mark = Read(Keys(slot).Mark());
  return mark && mark->find(kFreed) != std::string::npos;
}

template <class Match>
std::optional<int> FirstSlot(Match match) {
  UnchangedFilesScope scope;
  for (int n = 1; n <= kSlots; ++n) {
    if (match(n)) return n;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> Text(int slot) { return Read(Keys(slot).Text()); }
std::optional<std::string> Image(int slot) { return Read(Keys(slot).Image()); }

std::vector<std::string> ListedTexts() {
  UnchangedFilesScope scope;
  std::vector<std::string> texts;
  for (int n = 1; n <= kSlots; ++n) {
    auto text = Text(n);
    if (text && !HoldsSentinel(*text)) texts.push_back(std::move(*text));
  }
  return texts;
}

std::optional<int> FreeSlot() {
  return FirstSlot([](int n) { return MarkedFree(n) && !Text(n); });
}

std::optional<int> SlotWithText(std::string_view text) {
  return FirstSlot([&](int n) { return Text(n) == text; });
}

std::optional<int> SlotNamed(std::string_view name) {
  return FirstSlot([&](int n) {
    const auto text = Text(n);
    return text && platform::EqualsNoCaseAscii(*text, name);
  });
}

std::optional<int> SlotWithImage(std::string_view file) {
  return FirstSlot([&](int n) {
    const auto image = Image(n);
    return image && platform::EqualsNoCaseAscii(*image, file) && Text(n);
  });
}

WriteResult MarkFreeSlots() {
  std::vector<Keys> free;  // the items below name their keys
  {
    UnchangedFilesScope scope;
    for (int n = 1; n <= kSlots; ++n) {
      if (!Text(n)) free.emplace_back(n);
    }
  }
  std::vector<std::pair<Item, std::string>> marks;
  for (const Keys& keys : free) marks.emplace_back(keys.Mark(), kFreed);
  // One write for all the marks: a failure is told once, not per slot, and
  // the marks are written again at the next run.
  return WriteAll(marks);
}

std::optional<std::string> List(int slot, std::string_view text, std::string_view image) {
  const Keys keys(slot);
  if (!Write(keys.Image(), image)) return std::nullopt;
  if (!Write(keys.Text(), text)) return std::nullopt;
  // A mark left behind is harmless: a slot in use is never taken.
  (void)Write(keys.Mark(), std::nullopt);
  return Read(keys.Text()).value_or(std::string(text));
}

bool Unlist(int slot) {
  const Keys keys(slot);
  if (!Write(keys.Text(), std::nullopt)) return false;
  if (Write(keys.Image(), std::nullopt)) (void)Write(keys.Mark(), kFreed);
  return true;
}

const Item& MenuFile(std::size_t menu) {
  static constexpr Item kFiles[kMenus] = {
      item::kMenuBackgroundFiles.WithKey("File1"),
      item::kMenuBackgroundFiles.WithKey("File2"),
      item::kMenuBackgroundFiles.WithKey("File3"),
  };
  return kFiles[menu];
}

}  // namespace store::backgrounds
