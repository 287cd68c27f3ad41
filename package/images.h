// The background images in the package: its image folders emptied of JPEG
// files, then filled with the images the two lists name, in both sizes.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "package/finish.h"
#include "store/item_table.h"

namespace package {

enum class ImageSize { Small, Large };

// The installation's and the package's image folder, no trailing backslash.
std::string InstallationImages(ImageSize size);
std::string PackageImages(ImageSize size);

// A numbered list of image names: `family` with the keys prefix 1 ... last.
struct ImageList {
  store::Item family;
  std::string_view prefix;
  int last = 0;
};
// The menus' background files of the map file, the help application's own list.
inline constexpr ImageList kBackgroundFiles{store::item::kMenuBackgroundFiles, "File", 3};
inline constexpr ImageList kBackgroundList{store::item::kConfigBackgrounds, "Back", 99};

// The listed names whose image the installation has in `size`:
// their package copies are about to be replaced anyway.
std::set<std::string> ImagesToReplace(ImageSize size);

// Removes the package folder's *.jpg files, but for those about to be
// replaced; false when one stayed (told).
[[nodiscard]] bool PurgeJpgFiles(ImageSize size, const Tell& tell,
                                 const std::set<std::string>& replaced = {});

// Copies every listed image in both sizes, the whole list walked. True when
// every one is in the package; false when a copy failed or a name was
// refused (each told).
[[nodiscard]] bool CopyListedImages(const ImageList& list, const Tell& tell);

// A bare file name that stays inside the image folders: no folder, drive or
// name made of dots only.
bool IsPlainImageName(std::string_view name);

}  // namespace package
