// The program's own logs: dated lines appended to a text file.
#pragma once

#include <string>
#include <vector>

// "YYYY-MM-DD hh:mm:ss", local time.
std::string Now();

// Adds each line, after the date and time, to the file in one write of it;
// false when the file could not be written (its reason goes to `why`).
bool AppendDatedLines(const std::string& path, const std::vector<std::string>& lines,
                      std::string* why = nullptr);
