// What Finish does: the machine table processed in place, a new
// customization version stamped into the config file, the data files and
// the background images in use copied into the package tree.
#pragma once

#include <functional>
#include <string>

namespace package {

// How the sequence tells the user: a message box owned by the page.
using Tell = std::function<void(const std::string& text, const std::string& caption)>;

// Rewrites the machine table without its needless quotes, atomically: the
// table on disk is the old one or the new one. Failures are told and leave
// the table as it was; they do not stop Finish.
void ProcessCsvFile(const Tell& tell);

// "Version" becomes its first 6 characters, two spaces and the raised
// "VersionCM"; a config file without a version is left unstamped.
void StampVersion();

// The machine table, the text file and the config file into the package.
// False when one of them could not be copied (told).
[[nodiscard]] bool CopyDataFiles(const Tell& tell);

// The answers of this installation as an answers file's text, which Finish
// puts at the package's root as answers.ini so that the package can be
// applied as it stands. Set by the program: the package cannot read pages.
using AnswersText = std::function<std::string()>;
void SetPackageAnswers(AnswersText text);

// The whole sequence; false when the package is not whole and the wizard
// should stay on the page.
[[nodiscard]] bool Finish(const Tell& tell);

}  // namespace package
