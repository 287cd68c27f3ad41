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

bool LoadProgramTemplates(fw::headless::HeadlessBackend& backend) {
  const std::string script = ReadSource("res/okapi.rc");
  const std::string header = ReadSource("res/resource.h");
  return !script.empty() && !header.empty() &&
         backend.DefineFromResourceScript(script, header) == 13;
}

}  // namespace okapi_test
