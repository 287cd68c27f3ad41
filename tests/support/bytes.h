// Test file contents that string literals cannot say directly.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace okapi_test {

// A literal with NULs inside, whole.
template <std::size_t N>
std::string Bytes(const char (&s)[N]) {
  return std::string(s, N - 1);
}

// ASCII text as a UTF-16 LE file, byte-order mark first.
inline std::string Utf16(std::string_view ascii) {
  std::string out("\xFF\xFE", 2);
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

}  // namespace okapi_test
