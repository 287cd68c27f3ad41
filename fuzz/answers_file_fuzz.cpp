// Answers files on arbitrary bytes: the reader never crashes, and whatever it
// takes formats into a file that reads back to the same answers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "app/answers_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const answers::Schema schema = {{"Company", {"Name"}},
                                         {"Menu", {"Title1", "Key1", "FourthMenu"}},
                                         {"Backgrounds", {"Name#", "File#"}}};
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto parsed = answers::Parse(bytes, schema);
  const auto* taken = std::get_if<answers::Answers>(&parsed);
  if (!taken) return 0;
  const auto again = answers::Parse(answers::Format(*taken, {"fuzz"}), schema);
  const auto* back = std::get_if<answers::Answers>(&again);
  if (!back || !(*back == *taken)) {
    std::fprintf(stderr, "property violated: formatted answers do not read back the same\n");
    std::abort();
  }
  return 0;
}
