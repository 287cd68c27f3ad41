// The package tree under customization\package: what Finish assembles for
// distribution, and where the pages put the pieces they make themselves.
#pragma once

#include <string>
#include <string_view>

namespace package {

// customization\package below the help root, no trailing backslash.
std::string Root();
// A folder or file inside the package: `relative` starts with a backslash
// ("\images\small"); empty gives the root.
std::string PathIn(std::string_view relative);

// The package's folders and the placeholder images of the help application
// and of the package, made at every start.
void PrepareTree();

// Copies `from` into the package's `folder` (made if missing) as `name`,
// replacing what was there. False when the copy failed.
[[nodiscard]] bool CopyInto(const std::string& from, std::string_view folder,
                            std::string_view name);

// Copies `from` over `to` inside the package and leaves the copy writable:
// a copy takes its source's read-only mark, and Windows would then refuse
// the next copy over it, the next purge its removal. False when the copy failed.
[[nodiscard]] bool CopyIntoPackage(const std::string& from, const std::string& to);
// Why a copy failed, in the user's words: another program has the source or
// the target open (there, but not readable), else the package folder.
std::string WhyNotCopied(const std::string& from, const std::string& to);

}  // namespace package
