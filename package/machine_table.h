// The machine table's needless double quotes: a pair of quotes that encloses
// no comma goes, a pair that encloses one stays, so the spreadsheet's
// quoting of plain fields does not reach the help application. Pure
// functions on bytes: no file is touched here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace package {

// After the double quote at `position`: true when a comma comes before the
// next double quote, false when a quote comes first, nullopt when the line
// holds neither after it.
std::optional<bool> CommaComesFirst(std::string_view line, std::size_t position);

// Appends `line` (no line end) to `out` without the quote pairs that enclose
// no comma. A doubled quote closes one pair and opens the next. An opening
// quote with neither a comma nor a quote after it goes too; the result is
// the number of those.
std::size_t StripQuotes(std::string_view line, std::string& out);

struct FilteredTable {
  std::string text;      // every line once, in order, each ended by CR LF
  bool changed = false;  // text differs from the table
  std::size_t unmatchedQuotes = 0;
  // Line numbers (from 1) of the first lines with such a quote.
  std::vector<std::size_t> unmatchedLines;
  static constexpr std::size_t kListedLines = 10;
};

// The whole table. A line ends at LF; a CR before it (or before the end of
// the table) belongs to the line end. Every other byte is data, 0x1A and NUL
// included, and lines have no length limit.
FilteredTable FilterMachineTable(std::string_view table);
// The same on a table the caller gives up: filtered in its own memory.
FilteredTable FilterMachineTable(std::string&& table);

}  // namespace package
