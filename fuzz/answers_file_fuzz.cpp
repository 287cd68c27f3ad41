// Answers files on arbitrary bytes: the reader never crashes, and whatever it
// takes formats into a file that reads back to the same answers.
#include <cstdint>
#include <string_view>
#include <variant>

#include "app/answers_file.h"
#include "fuzz/check.h"

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
  Check(back && *back == *taken, "formatted answers read back the same");
  return 0;
}
