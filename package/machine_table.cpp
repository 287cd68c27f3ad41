#include "package/machine_table.h"

#include <algorithm>

namespace package {

namespace {

// Writes the filtered line at `out` (room for the whole line) and returns
// the end of what it wrote. One pass over the bytes: a table's many short
// fields make a call per field cost more than the work itself.
char* StripInto(std::string_view line, char* out, std::size_t& unmatched) {
  bool outside = true;
  bool dropping = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c != '"') {
      *out++ = c;
      continue;
    }
    if (outside) {
      const std::optional<bool> comma = CommaComesFirst(line, i);
      if (!comma) ++unmatched;
      dropping = !comma.value_or(false);
    }
    outside = !outside;
    if (!dropping) *out++ = c;
  }
  return out;
}

}  // namespace

std::optional<bool> CommaComesFirst(std::string_view line, std::size_t position) {
  for (std::size_t i = position + 1; i < line.size(); ++i) {
    if (line[i] == ',') return true;
    if (line[i] == '"') return false;
  }
  return std::nullopt;
}

std::size_t StripQuotes(std::string_view line, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + line.size());
  std::size_t unmatched = 0;
  char* end = StripInto(line, out.data() + start, unmatched);
  out.resize(static_cast<std::size_t>(end - out.data()));
  return unmatched;
}

FilteredTable FilterMachineTable(std::string_view table) {
  FilteredTable result;
  // Never longer than the table with every line end grown to CR LF, and a
  // line end added to the last line.
  result.text.resize(table.size() +
                     static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n')) + 2);
  char* out = result.text.data();
  std::size_t number = 0;
  std::size_t pos = 0;
  while (pos < table.size()) {
    std::size_t end = table.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? table.size() : end + 1;
    if (end == std::string_view::npos) end = table.size();
    std::string_view line = table.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    std::size_t unmatched = 0;
    out = StripInto(line, out, unmatched);
    if (unmatched) {
      result.unmatchedQuotes += unmatched;
      if (result.unmatchedLines.size() < FilteredTable::kListedLines)
        result.unmatchedLines.push_back(number);
    }
    *out++ = '\r';
    *out++ = '\n';
    pos = next;
  }
  result.text.resize(static_cast<std::size_t>(out - result.text.data()));
  return result;
}

}  // namespace package
