#include "package/machine_table.h"

namespace package {

std::optional<bool> CommaComesFirst(std::string_view line, std::size_t position) {
  for (std::size_t i = position + 1; i < line.size(); ++i) {
    if (line[i] == ',') return true;
    if (line[i] == '"') return false;
  }
  return std::nullopt;
}

std::size_t StripQuotes(std::string_view line, std::string& out) {
  std::size_t unmatched = 0;
  bool outside = true;
  bool dropping = false;
  std::size_t copied = 0;  // line[copied...] is not in `out` yet
  for (std::size_t q = line.find('"'); q != std::string_view::npos; q = line.find('"', q + 1)) {
    if (outside) {
      const std::optional<bool> comma = CommaComesFirst(line, q);
      if (!comma) ++unmatched;
      dropping = !comma.value_or(false);
    }
    outside = !outside;
    if (dropping) {
      out.append(line.data() + copied, q - copied);
      copied = q + 1;
    }
  }
  out.append(line.data() + copied, line.size() - copied);
  return unmatched;
}

FilteredTable FilterMachineTable(std::string_view table) {
  FilteredTable result;
  // Room for LF line ends growing to CR LF on short lines.
  result.text.reserve(table.size() + table.size() / 16 + 2);
  std::size_t number = 0;
  std::size_t pos = 0;
  while (pos < table.size()) {
    std::size_t end = table.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? table.size() : end + 1;
    if (end == std::string_view::npos) end = table.size();
    std::string_view line = table.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    if (const std::size_t unmatched = StripQuotes(line, result.text)) {
      result.unmatchedQuotes += unmatched;
      if (result.unmatchedLines.size() < FilteredTable::kListedLines)
        result.unmatchedLines.push_back(number);
    }
    result.text += "\r\n";
    pos = next;
  }
  return result;
}

}  // namespace package
