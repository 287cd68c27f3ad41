#include "tests/support/program_templates.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace okapi_test {

// A compiler cache may hand the compiler this file's path relative to the
// build directory, which the tests run below: look from there upwards.
std::string ReadSource(const char* relative) {
  const auto root = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  std::error_code error;
  auto from = std::filesystem::current_path(error);
  for (int up = 0; up < 4; ++up, from = from.parent_path()) {
    std::ifstream in(root.is_absolute() ? root / relative : from / root / relative,
                     std::ios::binary);
    if (!in) continue;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  return {};
}

bool LoadProgramTemplates(fw::headless::HeadlessBackend& backend) {
  const std::string script = ReadSource("res/okapi.rc");
  const std::string header = ReadSource("res/resource.h");
  return !script.empty() && !header.empty() &&
         backend.DefineFromResourceScript(script, header) == 13;
}

}  // namespace okapi_test
