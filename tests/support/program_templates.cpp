#include "tests/support/program_templates.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace okapi_test {

std::string ReadSource(const char* relative) {
  auto path = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / relative;
  // A compiler cache may give __FILE__ relative to the build folder, not to
  // the test's working folder: then the source tree is found above it.
  std::error_code ignored;
  for (auto dir = std::filesystem::current_path(ignored);
       !std::filesystem::exists(path, ignored) && dir.has_relative_path();
       dir = dir.parent_path()) {
    path = dir / relative;
  }
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
