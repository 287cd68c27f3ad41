// The help application's background list: numbered slots, each an entry's
// text in the text file and its image in the config file, with a mark in the
// map file while it is free; and the menus' background files the package
// carries. The keys and their case are the help application's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/item_table.h"

namespace store::backgrounds {

inline constexpr int kSlots = 99;
inline constexpr std::size_t kMenus = 3;

// A slot's list text and its image; nullopt when missing.
std::optional<std::string> Text(int slot);
std::optional<std::string> Image(int slot);

// The texts the list shows, slot by slot: a text holding the sentinel is
// none to the help application.
std::vector<std::string> ListedTexts();

// The first slot marked free whose text is missing: a mark left on a slot
// in use again must not hand its entry over.
std::optional<int> FreeSlot();
// The first slot whose text is exactly `text`.
std::optional<int> SlotWithText(std::string_view text);
// The first slot whose text is `name` without regard to case, as the
// settings tell names apart.
std::optional<int> SlotNamed(std::string_view name);
// The first slot in use showing `file`, compared as the file system compares.
std::optional<int> SlotWithImage(std::string_view file);

// Marks every slot without a text free, in one write of the map file.
[[nodiscard]] WriteResult MarkFreeSlots();
// Lists an entry in a free slot: the image first, the text next, so that a
// failed write leaves the slot free. The text as the file gives it back, or
// nullopt when a write failed (the store has told the user).
[[nodiscard]] std::optional<std::string> List(int slot, std::string_view text,
                                              std::string_view image);
// Takes a slot's entry off the list: true once its text is gone. Its image
// goes next, and only then is the slot marked free, since Add overwrites
// free slots; a failure there is told and leaves the slot unmarked.
[[nodiscard]] bool Unlist(int slot);

// Where the package finds a menu's background file (menu 0 to 2).
const Item& MenuFile(std::size_t menu);

}  // namespace store::backgrounds
