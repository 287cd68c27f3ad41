#pragma once

#include <string>

#include "platform/platform.h"

// The hardware-button registry key and the section of its registry script.
inline constexpr const char* kButtonKey = "Software\\ZAN\\LBHOTKEY\\8001";
inline constexpr const char* kButtonScriptSection =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001";
inline constexpr const char* kButtonScriptKey = "\"File\"";

// Writes the registry script that gives the button `application`: the header
// line registry scripts need, the section and its one entry, backslashes
// doubled. Other lines stay. A failed write is also reported by the store.
platform::Status WriteButtonScript(const std::string& path, const std::string& application);

// Keeps the help application's files as they were before the tool first
// touched them; later runs leave an existing backup alone.
void BackupHelpFiles();
