// Finding the help application's installation and edition at start.
#pragma once

#include <functional>
#include <string>

// Sets the eight global paths from the registry (or the fixed directory)
// and picks the executable.
void DiscoverInstallation();

// Runs the discovery and reads the executable's file version into
// g_bVersion35. True when an installation was found; false after telling
// the user through `tell` that there is none.
[[nodiscard]] bool CheckInstallation(const std::function<void(const std::string&)>& tell);
