// The machine table's quote filter on arbitrary bytes, held to a plain
// model of its rule: quotes pair up in order along a line, a pair that
// encloses a comma stays and any other goes, and a last quote without a
// partner stays only when a comma follows it. Beyond that: no line grows,
// and a second pass changes nothing.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/check.h"
#include "package/machine_table.h"

namespace {

std::string Model(std::string_view line) {
  std::vector<std::size_t> quotes;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] == '"') quotes.push_back(i);
  std::vector<bool> keep(line.size(), true);
  for (std::size_t k = 0; k < quotes.size(); k += 2) {
    const std::size_t close = k + 1 < quotes.size() ? quotes[k + 1] : line.size();
    const bool comma =
        line.substr(quotes[k], close - quotes[k]).find(',') != std::string_view::npos;
    keep[quotes[k]] = comma;
    if (close < line.size()) keep[close] = comma;
  }
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (keep[i]) out += line[i];
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view table(reinterpret_cast<const char*>(data), size);
  const package::FilteredTable once = package::FilterMachineTable(table);

  std::string expected, crlf;
  for (std::string_view rest = table; !rest.empty();) {
    std::string_view line = rest.substr(0, rest.find('\n'));
    rest.remove_prefix(std::min(rest.size(), line.size() + 1));
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::string stripped;
    (void)package::StripQuotes(line, stripped);
    Check(stripped.size() <= line.size(), "a line grew");
    expected += Model(line) + "\r\n";
    crlf += std::string(line) + "\r\n";
  }
  Check(once.text == expected, "a pair enclosing a comma went, or another pair stayed");
  Check(package::FilterMachineTable(crlf).text.size() <= crlf.size(), "the table grew");

  const package::FilteredTable twice = package::FilterMachineTable(once.text);
  Check(twice.text == once.text, "a second pass changed the table");
  Check(twice.unmatchedQuotes == 0, "a second pass found quotes without a partner");
  return 0;
}
