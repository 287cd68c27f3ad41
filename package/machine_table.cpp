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
  return FilterMachineTable(std::string(table));
}

FilteredTable FilterMachineTable(std::string&& table) {
  FilteredTable result;
  std::string& text = result.text = std::move(table);
  // Filtered in place: a filtered line is never longer than the line, and
  // on a large table fresh memory for a second copy costs about as much as
  // the filter. Only LF-only line ends (CR LF written) can make the output
  // overtake the input; from there the input is read from a copy.
  std::string rest;
  std::string_view in = text;
  std::size_t out = 0;
  std::size_t number = 0;
  std::size_t pos = 0;
  while (pos < in.size()) {
    std::size_t end = in.find('\n', pos);
    std::size_t next = end == std::string_view::npos ? in.size() : end + 1;
    if (end == std::string_view::npos) end = in.size();
    std::size_t lineEnd = end > pos && in[end - 1] == '\r' ? end - 1 : end;
    if (in.data() == text.data() && out + (lineEnd - pos) + 2 > next) {
      rest.assign(in.substr(pos));
      in = rest;
      end -= pos;
      next -= pos;
      lineEnd -= pos;
      pos = 0;
    }
    const std::string_view line = in.substr(pos, lineEnd - pos);
    ++number;
    if (in.data() != text.data() && text.size() < out + line.size() + 2)
      text.resize(std::max(out + line.size() + 2, text.size() + text.size() / 2));
    std::size_t unmatched = 0;
    char* start = text.data() + out;
    char* written = StripInto(line, start, unmatched);
    if (unmatched) {
      result.unmatchedQuotes += unmatched;
      if (result.unmatchedLines.size() < FilteredTable::kListedLines)
        result.unmatchedLines.push_back(number);
    }
    result.changed = result.changed || static_cast<std::size_t>(written - start) != line.size() ||
                     next - lineEnd != 2;
    *written++ = '\r';
    *written++ = '\n';
    out = static_cast<std::size_t>(written - text.data());
    pos = next;
  }
  text.resize(out);
  return result;
}

}  // namespace package
