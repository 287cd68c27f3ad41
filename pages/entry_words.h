// How the pages' messages name an entry's place for the user.
#pragma once

#include <string>

#include "store/item_table.h"

namespace entry_words {

// The name of the item's file, without its folder.
inline std::string FileName(const store::Item& item) {
  const std::string& path = store::PathOf(item.file);
  return path.substr(path.find_last_of('\\') + 1);
}

// Its key (or the marker that names its slot) and its file.
inline std::string Where(const store::Item& item) {
  if (!item.mapSection.empty())
    return "entry marked " + std::string(item.key) + " in " + FileName(item);
  return std::string(item.key) + " in " + FileName(item);
}

}  // namespace entry_words
