#pragma once

// Rebuilds the map file's slot tables (sections "OPTIONS", "Small Styles",
// "Large Styles", "TEXT") from the help application's current files.
void SeedMapFile();
