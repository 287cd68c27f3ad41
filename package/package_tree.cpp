#include "package/package_tree.h"

#include "platform/platform.h"
#include "store/globals.h"

namespace package {

std::string Root() { return g_strHelpRoot + "\\customization\\package"; }

std::string PathIn(std::string_view relative) { return Root() + std::string(relative); }

void PrepareTree() {
  auto& files = *platform::Os().files;
  // Existing directories are fine; a failure shows later, where a file is needed.
  for (const char* dir : {"", "\\chms", "\\images", "\\images\\small", "\\images\\large"}) {
    (void)files.MakeDirectory(PathIn(dir));
  }
  // The tool's own placeholder replaces whatever spacer.gif was there; a
  // missing placeholder leaves the old ones.
  const std::string spacer = g_strHelpRoot + "\\spacer.gif";
  for (const std::string& target :
       {PathIn("\\images\\small\\spacer.gif"), PathIn("\\images\\large\\spacer.gif"),
        g_strInstallDir + "\\images\\small\\spacer.gif",
        g_strInstallDir + "\\images\\large\\spacer.gif"}) {
    (void)files.Copy(spacer, target, false);
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
