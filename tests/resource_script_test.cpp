// res/okapi.rc and res/resource.h read as text: the checks that need no
// Windows, so they run in the native build too.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path ResDir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "res";
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

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

// okapi.rc: the dialogs and, for each control, its text and id as written.
struct RcControl {
  std::string keyword, text, id;
};
struct RcDialog {
  std::string name;
  std::string font;
  std::string style;
  std::vector<RcControl> controls;
};

struct Token {
  enum Kind { Word, String, Comma } kind;
  std::string text;
};

// Splits a resource script into words, strings and commas; skips comments and
// preprocessor lines; resolves the escapes of strings ("" and \\).
std::vector<Token> Tokenize(const std::string& text) {
  std::vector<Token> tokens;
  size_t i = 0;
  bool lineStart = true;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') {
      lineStart = true;
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if ((lineStart && c == '#') || text.compare(i, 2, "//") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos) break;
    } else if (c == ',') {
      tokens.push_back({Token::Comma, ","});
      lineStart = false;
      ++i;
    } else if (c == '"') {
      std::string s;
      for (++i; i < text.size(); ++i) {
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
          s += '"';
          ++i;
        } else if (text[i] == '"') {
          ++i;
          break;
        } else if (text[i] == '\\' && i + 1 < text.size()) {
          s += text[++i];
        } else {
          s += text[i];
        }
      }
      tokens.push_back({Token::String, s});
      lineStart = false;
    } else {
      size_t end = i;
      while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) &&
             text[end] != ',' && text[end] != '"')
        ++end;
      tokens.push_back({Token::Word, text.substr(i, end - i)});
      lineStart = false;
      i = end;
    }
  }
  return tokens;
}

const std::set<std::string> kControlKeywords = {
    "LTEXT",    "CTEXT",   "RTEXT",    "PUSHBUTTON", "DEFPUSHBUTTON", "GROUPBOX",
    "EDITTEXT", "LISTBOX", "COMBOBOX", "CONTROL",    "ICON"};

std::vector<RcDialog> ParseScript(const std::string& text) {
  const std::vector<Token> tokens = Tokenize(text);
  std::vector<RcDialog> dialogs;
  for (size_t i = 1; i < tokens.size(); ++i) {
    if (tokens[i].text != "DIALOGEX") continue;
    RcDialog dialog{tokens[i - 1].text, "", "", {}};
    size_t j = i + 1;
    bool inStyle = false;
    for (; j < tokens.size() && tokens[j].text != "BEGIN"; ++j) {
      const std::string& word = tokens[j].text;
      if (word == "CAPTION" || word == "FONT") inStyle = false;
      if (word == "FONT" && j + 3 < tokens.size())
        dialog.font = tokens[j + 1].text + tokens[j + 3].text;
      if (inStyle) dialog.style += word + " ";
      if (word == "STYLE") {
        inStyle = true;
        dialog.style = " ";
      }
    }
    for (++j; j < tokens.size() && tokens[j].text != "END"; ++j) {
      if (tokens[j].kind != Token::Word || !kControlKeywords.count(tokens[j].text)) continue;
      // Fields up to the next control: text (all but three keywords), id.
      std::vector<std::string> fields(1);
      for (size_t k = j + 1; k < tokens.size(); ++k) {
        if (tokens[k].kind == Token::Word &&
            (kControlKeywords.count(tokens[k].text) || tokens[k].text == "END"))
          break;
        if (tokens[k].kind == Token::Comma)
          fields.emplace_back();
        else
          fields.back() += tokens[k].text;
      }
      const std::string& keyword = tokens[j].text;
      const bool hasText = keyword != "EDITTEXT" && keyword != "LISTBOX" && keyword != "COMBOBOX";
      RcControl control{keyword, hasText ? fields[0] : "", fields[hasText ? 1 : 0]};
      dialog.controls.push_back(control);
    }
    dialogs.push_back(dialog);
    i = j;
  }
  return dialogs;
}

class ResourceScript : public ::testing::Test {
 protected:
  void SetUp() override {
    header_ = ParseHeader(ReadFile(ResDir() / "resource.h"));
    dialogs_ = ParseScript(ReadFile(ResDir() / "okapi.rc"));
    ASSERT_FALSE(header_.empty()) << ResDir();
    ASSERT_FALSE(dialogs_.empty()) << ResDir();
  }

  // The header block that starts with the dialog's IDD_.
  const Block* BlockOf(const std::string& dialog) const {
    for (const Block& block : header_)
      if (!block.defines.empty() && block.defines.front().name == dialog) return &block;
    return nullptr;
  }

  std::vector<Block> header_;
  std::vector<RcDialog> dialogs_;
};

TEST_F(ResourceScript, EveryDialogHasItsOwnHeaderBlockAndNumber) {
  std::set<long> numbers;
  for (const RcDialog& dialog : dialogs_) {
    SCOPED_TRACE(dialog.name);
    const Block* block = BlockOf(dialog.name);
    ASSERT_TRUE(block);
    EXPECT_TRUE(numbers.insert(block->defines.front().value).second);
  }
  EXPECT_EQ(13u, dialogs_.size());
}

// Within a page's block every name is a control of that page, with its own
// number; the page's template uses each of them exactly once and no other
// page's names.
TEST_F(ResourceScript, PageBlocksMatchTheirTemplates) {
  for (const RcDialog& dialog : dialogs_) {
    SCOPED_TRACE(dialog.name);
    const Block* block = BlockOf(dialog.name);
    ASSERT_TRUE(block);
    const std::string prefix = "IDC_" + dialog.name.substr(4) + "_";
    std::map<std::string, int> uses;
    std::set<long> values;
    for (size_t i = 1; i < block->defines.size(); ++i) {
      const Define& d = block->defines[i];
      EXPECT_EQ(0u, d.name.rfind(prefix, 0)) << d.name;
      EXPECT_TRUE(values.insert(d.value).second) << d.name << " repeats " << d.value;
      uses[d.name] = 0;
    }
    for (const RcControl& control : dialog.controls) {
      if (control.id == "IDC_STATIC" || control.id == "IDOK") continue;
      auto use = uses.find(control.id);
      if (use == uses.end())
        ADD_FAILURE() << control.id << " (\"" << control.text << "\") is not in the block";
      else
        ++use->second;
    }
    for (const auto& [name, count] : uses) EXPECT_EQ(1, count) << name;
  }
}

TEST_F(ResourceScript, HeaderNamesAreDefinedOnce) {
  std::set<std::string> names;
  for (const Block& block : header_)
    for (const Define& d : block.defines) EXPECT_TRUE(names.insert(d.name).second) << d.name;
}

// The mnemonic of each text, if any: the letter after a single '&'.
char Mnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

TEST(ResourceMnemonic, TakesTheLetterAfterASingleAmpersand) {
  EXPECT_EQ('H', Mnemonic("&Help"));
  EXPECT_EQ('F', Mnemonic("De&fault Setting"));
  EXPECT_EQ('X', Mnemonic("Save && e&xit"));
  EXPECT_EQ(0, Mnemonic("Tom && Jerry"));
  EXPECT_EQ(0, Mnemonic("Help"));
}

TEST_F(ResourceScript, NoDialogRepeatsAMnemonic) {
  for (const RcDialog& dialog : dialogs_) {
    std::map<char, std::string> seen;
    for (const RcControl& control : dialog.controls) {
      const char key = Mnemonic(control.text);
      if (!key) continue;
      auto [it, fresh] = seen.emplace(key, control.text);
      EXPECT_TRUE(fresh) << dialog.name << ": \"" << control.text << "\" and \"" << it->second
                         << "\" share Alt+" << key;
    }
  }
}

// Pages are children of the property sheet, in the font the layout was made
// for, and start with the banner.
TEST_F(ResourceScript, PagesArePropertyPageTemplatesWithTheBannerFirst) {
  for (const RcDialog& dialog : dialogs_) {
    SCOPED_TRACE(dialog.name);
    EXPECT_EQ("8MS Sans Serif", dialog.font);
    if (dialog.name == "IDD_ABOUTBOX") continue;
    EXPECT_NE(std::string::npos, dialog.style.find(" WS_CHILD "));
    EXPECT_NE(std::string::npos, dialog.style.find(" DS_CONTROL "));
    EXPECT_EQ(std::string::npos, dialog.style.find("WS_POPUP"));
    ASSERT_FALSE(dialog.controls.empty());
    EXPECT_EQ("IDB_BANNER", dialog.controls.front().text);
  }
}

}  // namespace
