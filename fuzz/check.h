// What the fuzz targets share: a property check that stops the run with its
// name, and the blanks the profile functions trim.
#pragma once

#include <cstdio>
#include <cstdlib>

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

inline void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
  }
}
