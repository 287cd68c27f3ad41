#include "tests/support/program_templates.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace okapi_test {

std::string ReadSource(const char* relative) {
  namespace fs = std::filesystem;
  // A compiler cache may make __FILE__ relative to the build directory, so
  // the tree is also looked for above the working directory.
  std::vector<fs::path> roots = {fs::path(__FILE__).parent_path().parent_path().parent_path()};
  std::error_code error;
  for (fs::path dir = fs::current_path(error); !dir.empty(); dir = dir.parent_path()) {
    roots.push_back(dir);
    if (dir == dir.parent_path()) break;
  }
  for (const fs::path& root : roots) {
    std::ifstream in(root / relative, std::ios::binary);
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
