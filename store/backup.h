#pragma once

// The hardware-button registry key and the section of its registry script.
inline constexpr const char* kButtonKey = "Software\\ZAN\\LBHOTKEY\\8001";
inline constexpr const char* kButtonScriptSection =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001";
inline constexpr const char* kButtonScriptKey = "\"File\"";

// Keeps the help application's files as they were before the tool first
// touched them; later runs leave an existing backup alone.
void BackupHelpFiles();
