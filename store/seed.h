#pragma once

#include <string>
#include <string_view>

// Rebuilds the map file's slot tables (sections "OPTIONS", "Small Styles",
// "Large Styles", "TEXT") from the help application's current files.
void SeedMapFile();

// The user's words for markers this run's seeding did not find in the file.
std::string NoEntryMarked(std::string_view fileName, std::string_view markers);
