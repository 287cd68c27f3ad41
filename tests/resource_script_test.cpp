// The program's own dialogs as a keyboard user meets them, read from the
// resource script through the headless templates.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "framework/headless/headless.h"
#include "res/resource.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::ScopedHeadless;

// The mnemonic of a text, if any: the letter after a single '&' ("&&" is a
// literal ampersand).
char Mnemonic(const std::string& text) {
  for (auto i = text.find('&'); i != std::string::npos && i + 1 < text.size();
       i = text.find('&', i + 2))
    if (text[i + 1] != '&')
      return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  return 0;
}

// A repeated id leaves the second control out of reach; a repeated Alt+ key
// reaches only the first. Labels without an id carry no mnemonic in this
// script, so the controls with one are all there is to compare.
TEST(ProgramTemplates, NoDialogRepeatsAnIdOrAMnemonic) {
  ScopedHeadless backend;
  ASSERT_TRUE(okapi_test::LoadProgramTemplates(*backend));
  for (unsigned dialog :
       {IDD_ABOUTBOX, IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU, IDD_WMENU, IDD_VICONS,
        IDD_BACKGROUNDS, IDD_TCOLOR, IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING}) {
    SCOPED_TRACE("dialog " + std::to_string(dialog));
    const auto* spec = backend->SpecOf(dialog);
    ASSERT_TRUE(spec);
    std::map<int, std::string> ids;
    std::map<char, std::string> mnemonics;
    for (const auto& control : spec->controls) {
      const auto [it, fresh] = ids.emplace(control.id, control.text);
      EXPECT_TRUE(fresh) << control.id << " \"" << control.text << "\" and \"" << it->second
                         << "\"";
      if (const char key = Mnemonic(control.text)) {
        const auto [other, first] = mnemonics.emplace(key, control.text);
        EXPECT_TRUE(first) << "\"" << control.text << "\" and \"" << other->second
                           << "\" share Alt+" << key;
      }
    }
  }
}

}  // namespace
