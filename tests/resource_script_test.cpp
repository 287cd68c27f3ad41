// res/resource.h read as text and res/okapi.rc through the headless templates:
// the checks that need no Windows, so they run in the native build too.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/headless/headless.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::DialogSpec;

// resource.h: "// Title" starts a block, "#define NAME VALUE" adds to it.
struct Define {
  std::string name;
  long value;
};
struct Block {
  std::string title;
  std::vector<Define> defines;
};

std::vector<Block> ParseHeader(const std::string& text) {
  std::vector<Block> blocks;
  std::istringstream lines(text);
  std::string line;
  bool blank = true;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      blank = true;
      continue;
    }
    if (line.rfind("// ", 0) == 0 && blank) blocks.push_back({line.substr(3), {}});
    blank = false;
    std::istringstream words(line);
    std::string directive, name, value;
    if (words >> directive >> name >> value && directive == "#define" && !blocks.empty())
      blocks.back().defines.push_back({name, std::stol(value, nullptr, 0)});
  }
  return blocks;
}

class ResourceScript : public ::testing::Test {
 protected:
  void SetUp() override {
    header_ = ParseHeader(okapi_test::ReadSource("res/resource.h"));
    ASSERT_FALSE(header_.empty());
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*backend_));
  }

  std::vector<Block> header_;
  fw::headless::ScopedHeadless backend_;
};

// The mnemonic of a text, if any: the letter after a single '&' ("&&" is a
// literal ampersand).
char Mnemonic(const std::string& text) {
  for (auto i = text.find('&'); i != std::string::npos && i + 1 < text.size();
       i = text.find('&', i + 2))
    if (text[i + 1] != '&')
      return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  return 0;
}

// Every dialog has a block and a number of its own. Within the block every
// name is a control of that page, with its own number; the page's template
// uses each of them exactly once and no other number, and no mnemonic twice
// (labels without an id carry none in this script, so the controls with one
// are all there is to compare).
TEST_F(ResourceScript, EachDialogMatchesItsBlockAndRepeatsNoMnemonic) {
  std::set<long> numbers;
  for (const Block& block : header_) {
    if (block.defines.empty() || block.defines.front().name.rfind("IDD_", 0) != 0) continue;
    const auto& [dialog, number] = block.defines.front();
    SCOPED_TRACE(dialog);
    EXPECT_TRUE(numbers.insert(number).second);
    const DialogSpec* spec = backend_->SpecOf(static_cast<unsigned>(number));
    ASSERT_TRUE(spec) << "no template";
    const std::string prefix = "IDC_" + dialog.substr(4) + "_";
    std::map<long, std::string> names;
    for (std::size_t i = 1; i < block.defines.size(); ++i) {
      const Define& d = block.defines[i];
      EXPECT_EQ(0u, d.name.rfind(prefix, 0)) << d.name;
      const auto [it, fresh] = names.emplace(d.value, d.name);
      EXPECT_TRUE(fresh) << d.name << " repeats " << d.value << " of " << it->second;
    }
    std::map<long, int> uses;
    std::map<char, std::string> mnemonics;
    for (const auto& control : spec->controls) {
      if (const char key = Mnemonic(control.text)) {
        const auto [it, fresh] = mnemonics.emplace(key, control.text);
        EXPECT_TRUE(fresh) << "\"" << control.text << "\" and \"" << it->second << "\" share Alt+"
                           << key;
      }
      if (control.id == 1 && !names.count(1)) continue;  // the About box's IDOK
      if (!names.count(control.id))
        ADD_FAILURE() << control.id << " (\"" << control.text << "\") is not in the block";
      ++uses[control.id];
    }
    for (const auto& [value, name] : names) EXPECT_EQ(1, uses[value]) << name;
  }
  EXPECT_EQ(13u, numbers.size()) << "twelve pages and the About box, as in the script";
}

TEST_F(ResourceScript, HeaderNamesAreDefinedOnce) {
  std::set<std::string> names;
  for (const Block& block : header_)
    for (const Define& d : block.defines) EXPECT_TRUE(names.insert(d.name).second) << d.name;
}

}  // namespace
