#include "package/package_tree.h"

#include "platform/platform.h"
#include "store/globals.h"
#include "store/installation.h"

namespace package {

std::string Root() { return layout::PackageDir(); }

std::string PathIn(std::string_view relative) { return Root() + std::string(relative); }

void PrepareTree() {
  auto& files = *platform::Os().files;
  // Existing directories are fine; a failure shows later, where a file is needed.
  const std::string small = std::string("\\") + layout::kSmallImages;
  const std::string large = std::string("\\") + layout::kLargeImages;
  for (const std::string& dir : {std::string(), std::string(layout::kPackageChms),
                                 std::string(layout::kPackageImages), small, large}) {
    (void)files.MakeDirectory(PathIn(dir));
  }
  // The tool's own placeholder replaces whatever spacer.gif was there; a
  // missing placeholder leaves the old ones.
  const std::string spacer = std::string("\\") + layout::kSpacer;
  for (const std::string& target :
       {PathIn(small + spacer), PathIn(large + spacer), g_strInstallDir + small + spacer,
        g_strInstallDir + large + spacer}) {
    (void)files.Copy(g_strHelpRoot + spacer, target, false);
  }
}

bool CopyInto(const std::string& from, std::string_view folder, std::string_view name) {
  auto& files = *platform::Os().files;
  // Usually there already.
  (void)files.MakeDirectory(Root());
  (void)files.MakeDirectory(PathIn(folder));
  return files.Copy(from, PathIn(folder) + "\\" + std::string(name), false);
}

bool CopyIntoPackage(const std::string& from, const std::string& to) {
  auto& files = *platform::Os().files;
  // An earlier copy with a read-only mark: cleared and tried again.
  const bool copied =
      files.Copy(from, to, false) || (files.SetAttributesNormal(to) && files.Copy(from, to, false));
  // Only a marked source leaves anything to clear (asking is cheaper than
  // clearing); a failure shows at the next copy.
  if (copied && files.HasMarks(to)) (void)files.SetAttributesNormal(to);
  return copied;
}

std::string WhyNotCopied(const std::string& from, const std::string& to) {
  auto& files = *platform::Os().files;
  // A file held without read sharing is the common case: an image open in
  // an editor, the table open in a spreadsheet.
  for (const std::string* path : {&from, &to}) {
    if (files.Exists(*path) && !files.IsDirectory(*path) && !files.ReadFile(*path))
      return "Another program has " + *path + " open: close it";
  }
  return "Make sure the package folder exists and can be written";
}

}  // namespace package
