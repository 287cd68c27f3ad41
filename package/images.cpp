#include "package/images.h"

#include <optional>

#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/profile.h"

namespace package {

namespace {

std::string_view SizeName(ImageSize size) { return size == ImageSize::Small ? "small" : "large"; }

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
  // The package's own copy may carry a read-only mark from its source; the
  // user's installation is never changed.
  (void)files.SetAttributesNormal(to);  // usually not there after the purge
  if (files.Copy(from, to, false)) {
    (void)files.SetAttributesNormal(to);  // a mark left would only stop the next purge, told then
    return true;
  }
  const std::string sizeName(SizeName(size));
  if (!files.Exists(from)) {
    tell("Could not find the " + sizeName + " version of the file " + name +
             ". \n You need to copy this file into " + InstallationImages(size) + " first.",
         "Error");
  } else {
    tell("Could not copy the " + sizeName + " version of the file " + name + " into " +
             PackageImages(size) +
             ".\n\nMake sure that folder exists and can be written, then click Finish again.",
         "Error");
  }
  return false;
}

}  // namespace

std::string InstallationImages(ImageSize size) {
  std::string dir = g_strInstallDir;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir + "images\\" + std::string(SizeName(size));
}

std::string PackageImages(ImageSize size) {
  return PathIn("\\images\\" + std::string(SizeName(size)));
}

bool IsPlainImageName(std::string_view name) {
  if (name.find_first_of("\\/:") != std::string_view::npos) return false;
  // Windows drops trailing dots and blanks: such a name is the folder or its parent.
  return name.find_first_not_of(". ") != std::string_view::npos;
}

bool PurgeJpgFiles(ImageSize size, const Tell& tell) {
  auto& files = *platform::Os().files;
  const std::string dir = PackageImages(size);
  std::string stayed;
  for (const std::string& name : files.Find(dir + "\\*.jpg")) {
    const std::string path = dir + "\\" + name;
    if (files.IsDirectory(path)) continue;
    (void)files.SetAttributesNormal(path);  // the removal below tells
    if (!files.Remove(path)) stayed += "\n" + path;
  }
  if (stayed.empty()) return true;
  tell("These images of an earlier Finish could not be removed from the package:\n" + stayed +
           "\n\nThey may not be in use any more. Close the programs that use them, then click "
           "Finish again.",
       "Error");
  return false;
}

bool CopyListedImages(const ImageList& list, const Tell& tell) {
  bool failed = false;
  // Nothing writes the lists while they are walked: one look at each file.
  store::UnchangedFilesScope unchanged;
  for (int n = 1; n <= list.last; ++n) {
    const std::string key = std::string(list.prefix) + std::to_string(n);
    const std::optional<std::string> name = store::Read(list.family.WithKey(key));
    if (!name || store::HoldsSentinel(*name) || name->empty()) continue;
    if (!IsPlainImageName(*name)) {
      tell("The background image " + Where(list, key) + " is \"" + *name +
               "\", which is not a plain file name: a name with a folder, a drive or \"..\" "
               "would copy from or into another folder.\n\nCorrect it to the bare file name, "
               "then click Finish again.",
           "Error");
      failed = true;
      continue;
    }
    // The large copy is tried whatever became of the small one.
    const bool small = CopyImage(*name, ImageSize::Small, tell);
    const bool large = CopyImage(*name, ImageSize::Large, tell);
    failed = failed || !small || !large;
  }
  return failed;
}

}  // namespace package
