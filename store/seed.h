#pragma once

#include <string>
#include <string_view>

// Rebuilds the map file's slot tables (sections "OPTIONS", "Small Styles",
// "Large Styles", "TEXT") from the help application's current files.
void SeedMapFile();

// The user's words for markers the map holds no entry for: the file lacks
// them, or the map could not be saved at start-up to say where they are.
std::string NoEntryMarked(std::string_view fileName, std::string_view markers);
