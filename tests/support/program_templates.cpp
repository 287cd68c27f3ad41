#include "tests/support/program_templates.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace okapi_test {

// From the source tree itself: a compiler cache may make __FILE__ relative.
std::string ReadSource(const char* relative) {
  const auto path = std::filesystem::path(OKAPI_SOURCE_DIR) / relative;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace okapi_test
