#include "package/images.h"

#include <optional>

#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/profile.h"

namespace package {

namespace {

std::string_view SizeName(ImageSize size) { return size == ImageSize::Small ? "small" : "large"; }

const char* Folder(ImageSize size) {
  return size == ImageSize::Small ? layout::kSmallImages : layout::kLargeImages;
}

// Where a list lives, for the messages.
std::string Where(const ImageList& list, const std::string& key) {
  const std::string& path = store::PathOf(list.family.file);
  const std::size_t cut = path.find_last_of('\\');
  return key + " of section " + std::string(list.family.section) + " in " +
         (cut == std::string::npos ? path : path.substr(cut + 1));
}

// One size of one image; false when it is not in the package (told).
bool CopyImage(const std::string& name, ImageSize size, const Tell& tell) {
  auto& files = *platform::Os().files;
  const std::string from = InstallationImages(size) + "\\" + name;
  const std::string to = PackageImages(size) + "\\" + name;
  if (CopyIntoPackage(from, to)) return true;
  const std::string sizeName(SizeName(size));
  if (!files.Exists(from)) {
    tell("Could not find the " + sizeName + " version of the file " + name +
             ". \n You need to copy this file into " + InstallationImages(size) + " first.",
         "Error");
  } else {
    tell("Could not copy the " + sizeName + " version of the file " + name + " into " +
             PackageImages(size) + ".\n\n" + WhyNotCopied(from, to) + ", then click Finish again.",
         "Error");
  }
  return false;
}

// The list's entry n: nullopt when it names no image (missing, the
// sentinel, empty).
std::optional<std::string> ListedName(const ImageList& list, int n, std::string& key) {
  key = std::string(list.prefix) + std::to_string(n);
  std::optional<std::string> name = store::Read(list.family.WithKey(key));
  if (!name || store::HoldsSentinel(*name) || name->empty()) return std::nullopt;
  return name;
}

}  // namespace

std::string InstallationImages(ImageSize size) {
  std::string dir = g_strInstallDir;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir + Folder(size);
}

std::string PackageImages(ImageSize size) { return PathIn("\\" + std::string(Folder(size))); }

bool IsPlainImageName(std::string_view name) {
  if (name.find_first_of("\\/:") != std::string_view::npos) return false;
  // Windows drops trailing dots and blanks: such a name is the folder or its parent.
  return name.find_first_not_of(". ") != std::string_view::npos;
}

std::set<std::string> ImagesToReplace(ImageSize size) {
  auto& files = *platform::Os().files;
  store::UnchangedFilesScope unchanged;
  std::set<std::string> names;
  std::string key;
  for (const ImageList* list : {&kBackgroundFiles, &kBackgroundList}) {
    for (int n = 1; n <= list->last; ++n) {
      const std::optional<std::string> name = ListedName(*list, n, key);
      if (name && IsPlainImageName(*name) && files.Exists(InstallationImages(size) + "\\" + *name))
        names.insert(*name);
    }
  }
  return names;
}

bool PurgeJpgFiles(ImageSize size, const Tell& tell, const std::set<std::string>& replaced) {
  auto& files = *platform::Os().files;
  const std::string dir = PackageImages(size);
  std::string stayed;
  for (const std::string& name : files.Find(dir + "\\*.jpg")) {
    // Exact case only: a copy over a file keeps the old file's spelling.
    if (replaced.count(name)) continue;
    const std::string path = dir + "\\" + name;
    if (files.Remove(path) || files.IsDirectory(path)) continue;
    // A read-only mark is the usual reason; clearing it first for every file
    // would cost the common case a second call.
    if (!files.SetAttributesNormal(path) || !files.Remove(path)) stayed += "\n" + path;
  }
  if (stayed.empty()) return true;
  tell("These images of an earlier Finish could not be removed from the package:\n" + stayed +
           "\n\nThey may not be in use any more. Close the programs that use them, then click "
           "Finish again.",
       "Error");
  return false;
}

bool CopyListedImages(const ImageList& list, const Tell& tell) {
  bool whole = true;
  // Nothing writes the lists while they are walked: one look at each file.
  store::UnchangedFilesScope unchanged;
  std::string key;
  for (int n = 1; n <= list.last; ++n) {
    const std::optional<std::string> name = ListedName(list, n, key);
    if (!name) continue;
    if (!IsPlainImageName(*name)) {
      tell("The background image " + Where(list, key) + " is \"" + *name +
               "\", which is not a plain file name: a name with a folder, a drive or \"..\" "
               "would copy from or into another folder.\n\nCorrect it to the bare file name, "
               "then click Finish again.",
           "Error");
      whole = false;
      continue;
    }
    // The large copy is tried whatever became of the small one.
    const bool small = CopyImage(*name, ImageSize::Small, tell);
    const bool large = CopyImage(*name, ImageSize::Large, tell);
    whole = whole && small && large;
  }
  return whole;
}

}  // namespace package
