// Finish as the last page runs it, with its questions and boxes put through
// `ask`, so that it runs without the page.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "framework/framework.h"

namespace packaging {

// Shows a box; the button clicked (IDOK, IDYES, IDNO).
using Ask = std::function<int(const std::string& text, const std::string& caption, unsigned type)>;

// False keeps the wizard on the page: the user chose to go back, or the
// package is not whole (told).
bool Finish(const Ask& ask);
// Writes the changes report beside the package; its path, or nothing when it
// could not be written (told).
std::optional<std::string> WriteReport(const Ask& ask);
// In the user's browser; a failure is told.
void OpenReport(const std::string& path, const Ask& ask);

}  // namespace packaging
