// Table rows kept in tests/data beside the tests, for rows that are mostly
// long texts. A row is a block of "field: value" lines, rows apart by a blank
// line; an indented line goes on the value before it after a space (after a
// line break: directly), '#' starts a comment line. Values are spelled as the
// insides of C++ string literals: c:\\dir, \r\n, \0, \xAC.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace okapi_test {

struct Row {
  std::vector<std::pair<std::string, std::string>> fields;
  // The field's value, or nullopt when the row has none.
  std::optional<std::string> Get(const std::string& field) const {
    for (const auto& [name, value] : fields)
      if (name == field) return value;
    return std::nullopt;
  }
  std::string operator[](const std::string& field) const { return Get(field).value_or(""); }
  // A field given once for each value.
  std::vector<std::string> All(const std::string& field) const {
    std::vector<std::string> all;
    for (const auto& [name, value] : fields)
      if (name == field) all.push_back(value);
    return all;
  }
};

inline std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t at =
        i + 1 < text.size() && text[i] == '\\' ? std::string("nrt0\\\"x").find(text[++i]) : 9;
    EXPECT_NE(std::string::npos, at) << "unknown escape in " << text;
    if (at == 6)
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)), i += 2;
    else
      out += at < 6 ? std::string("\n\r\t\0\\\"", 6)[at] : text[i];
  }
  return out;
}

// The rows of tests/data/<file>, read from the source tree (under Wine through
// the drive that shows the host's root).
inline std::vector<Row> Rows(const std::string& file) {
#ifdef _WIN32
  std::string path = "Z:" OKAPI_SOURCE_DIR "/tests/data/" + file;
#else
  std::string path = OKAPI_SOURCE_DIR "/tests/data/" + file;
#endif
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::vector<Row> rows(1);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with('#')) continue;
    const std::size_t text = line.find_first_not_of(' ');
    if (text == std::string::npos) {
      if (!rows.back().fields.empty()) rows.emplace_back();
    } else if (text > 0 && !rows.back().fields.empty()) {
      std::string& value = rows.back().fields.back().second;
      value += (value.ends_with('\n') ? "" : " ") + Unescaped(line.substr(text));
    } else {
      const std::size_t colon = line.find(':');
      EXPECT_NE(std::string::npos, colon) << path << ": " << line;
      const std::size_t value = std::min(line.size(), colon + 2);
      rows.back().fields.emplace_back(line.substr(0, colon), Unescaped(line.substr(value)));
    }
  }
  if (rows.back().fields.empty()) rows.pop_back();
  EXPECT_FALSE(rows.empty()) << path << " has no rows";
  return rows;
}

}  // namespace okapi_test
