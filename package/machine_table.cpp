#include "package/machine_table.h"

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
  std::string& text = result.text;
  // Enough for a table of CR LF lines; LF-only line ends grow it as they
  // come. No pass ahead to count them: on a large table each extra pass
  // over memory costs about as much as the filter.
  text.reserve(table.size() + 2);
  std::size_t number = 0;
  std::size_t pos = 0;
  while (pos < table.size()) {
    std::size_t end = table.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? table.size() : end + 1;
    if (end == std::string_view::npos) end = table.size();
    std::string_view line = table.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    const std::size_t start = text.size();
    text.resize(start + line.size() + 2);
    std::size_t unmatched = 0;
    char* out = StripInto(line, text.data() + start, unmatched);
    if (unmatched) {
      result.unmatchedQuotes += unmatched;
      if (result.unmatchedLines.size() < FilteredTable::kListedLines)
        result.unmatchedLines.push_back(number);
    }
    *out++ = '\r';
    *out++ = '\n';
    text.resize(static_cast<std::size_t>(out - text.data()));
    pos = next;
  }
  return result;
}

}  // namespace package
