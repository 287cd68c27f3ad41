// Case folding of ASCII letters only, as the system folds file, key and
// profile names; code-page letters (\xC9, \xE9) keep their case.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace platform {

constexpr char ToLowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char ToUpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string ToLowerAscii(std::string s) {
  for (char& c : s) c = ToLowerAscii(c);
  return s;
}

inline std::string ToUpperAscii(std::string s) {
  for (char& c : s) c = ToUpperAscii(c);
  return s;
}

constexpr bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return ToLowerAscii(x) == ToLowerAscii(y);
         });
}

// Bytes compare unsigned, as std::string orders them.
constexpr bool LessNoCaseAscii(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(ToLowerAscii(x)) <
           static_cast<unsigned char>(ToLowerAscii(y));
  });
}

}  // namespace platform
