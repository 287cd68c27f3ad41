#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

// Writes the registry script that gives the button `application`: the header
// line registry scripts need, the section and its one entry, backslashes
// doubled. Other lines stay. A failed write is also reported by the store.
platform::Status WriteButtonScript(const std::string& path, const std::string& application);

// Keeps the help application's files as they were before the tool first
// touched them; later runs leave an existing backup alone.
void BackupHelpFiles();

// The one comparison of a kept file with the file now, for /restore's counts
// and the changes report alike.
namespace store {

// An entry as the files store it, quotes and all: a change of quoting alone
// is a change, since putting the file back undoes it. nullopt: not there.
struct EntryDifference {
  std::string section, key;
  std::optional<std::string> before, after;
};
// Every entry whose stored value differs or that only one side has; names
// compared without regard to case, each entry once, `before`'s first.
std::vector<EntryDifference> DifferingEntries(std::string before, std::string after);

struct LineDifference {
  int line = 0;  // from 1
  std::optional<std::string> before, after;
};
// Line by line, CR LF or LF alike; a line only one side has differs.
std::vector<LineDifference> DifferingLines(std::string_view before, std::string_view after);

}  // namespace store
