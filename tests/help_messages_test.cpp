// Every message text the program shows is in the help topic of the page or
// command that shows it, so the help cannot drift from the code. The texts are
// the prose string literals of the sources: a message built of several pieces
// is checked piece by piece, its names and numbers being the pieces between.
// Natively only: the source tree is read from where it was built.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::filesystem::path kTop = OKAPI_SOURCE_DIR;

std::string Read(const std::string& relative) {
  std::ifstream in(kTop / relative, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Blanks of any kind as one space, none at the ends.
std::string Squeezed(const std::string& text) {
  std::istringstream words(text);
  std::string out;
  for (std::string word; words >> word;) out += (out.empty() ? "" : " ") + word;
  return out;
}

// A help page's words as a reader sees them: no markup, entities decoded.
std::string PageText(const std::string& topic) {
  std::string text;
  bool tag = false;
  for (char c : Read("docs/help/" + topic + ".htm")) {
    tag = c == '<' || (tag && c != '>');
    if (!tag && c != '>') text += c;
  }
  for (const std::string_view entity : {"&quot;\"", "&lt;<", "&gt;>", "&amp;&"})
    for (std::size_t at; (at = text.find(entity.substr(0, entity.size() - 1))) != text.npos;)
      text.replace(at, entity.size() - 1, 1, entity.back());
  EXPECT_FALSE(text.empty()) << topic;
  return Squeezed(text);
}

// The string literals of C++ source, adjacent ones joined, comments and
// static assertions left out. With `call`, only those inside its parentheses.
std::vector<std::string> Literals(const std::string& src, const std::string& call) {
  std::vector<std::string> out;
  std::string joined;
  bool open = false;  // the last token was a literal
  int depth = 0, callDepth = -1;
  for (std::size_t i = 0; i < src.size(); ++i) {
    const char c = src[i];
    if (src.compare(i, 2, "//") == 0 || src.compare(i, 13, "static_assert") == 0) {
      i = src.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (c == '"') {
      std::string literal;
      for (++i; i < src.size() && src[i] != '"'; ++i) {
        if (src[i] == '\\') {
          const char e = src[++i];
          literal += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        } else {
          literal += src[i];
        }
      }
      if (call.empty() || callDepth >= 0) joined += literal, open = true;
      continue;
    }
    if (open) out.push_back(joined), joined.clear(), open = false;
    if (c == '\'') {
      i = src.find('\'', i + (src[i + 1] == '\\' ? 3 : 2));
    } else if (c == '(' || c == '{') {  // a call, or a notice built with braces
      if (callDepth < 0 && !call.empty() && i >= call.size() &&
          src.compare(i - call.size(), call.size(), call) == 0)
        callDepth = depth;
      ++depth;
    } else if ((c == ')' || c == '}') && --depth == callDepth) {
      callDepth = -1;
    }
  }
  return out;
}

// Three words or more: what a reader reads, not a key, a name or a path.
bool IsProse(const std::string& text) {
  std::istringstream words(text);
  int count = 0;
  for (std::string word; words >> word;)
    count += std::isalpha(static_cast<unsigned char>(word[0])) && word.find('\\') == word.npos;
  return count >= 3;
}

struct Source {
  std::string source, call;         // with a call, only texts passed to it
  std::vector<std::string> topics;  // the text is in each
};

// help_messages.txt beside this test: a source a line, its topics, and
// after "only" the call whose texts alone it shows.
std::vector<Source> Sources() {
  std::vector<Source> sources;
  std::istringstream lines(Read("tests/help_messages.txt"));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    Source s;
    if (line.starts_with("#") || !(words >> s.source)) continue;
    for (std::string word; words >> word;)
      word == "only" ? void(words >> s.call) : s.topics.push_back(word);
    sources.push_back(s);
  }
  EXPECT_GT(sources.size(), 10u) << "tests/help_messages.txt";
  return sources;
}

TEST(HelpMessages, EveryMessageTextIsInTheHelpTopicOfWhereItIsShown) {
  for (const auto& s : Sources()) {
    SCOPED_TRACE(s.source);
    const std::string source = Read(s.source);
    ASSERT_FALSE(source.empty());
    int messages = 0;
    for (const std::string& literal : Literals(source, s.call)) {
      const std::string text = Squeezed(literal);
      if (!IsProse(text)) continue;
      ++messages;
      for (const std::string& topic : s.topics)
        EXPECT_NE(std::string::npos, PageText(topic).find(text)) << topic << ".htm lacks: " << text;
    }
    EXPECT_GT(messages, 0) << "no message found: the reading of the source is wrong";
  }
}

// A source outside the list that shows a box or tells a text of its own
// would escape the check above.
TEST(HelpMessages, EverySourceThatShowsATextOfItsOwnIsChecked) {
  std::set<std::string> checked;
  for (const auto& s : Sources()) checked.insert(s.source);
  for (const char* layer : {"app", "pages", "package", "store", "wizard", "framework"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kTop / layer)) {
      const std::string file = entry.path().lexically_relative(kTop).generic_string();
      if (entry.path().extension() != ".cpp" || checked.contains(file)) continue;
      const std::string source = Read(file);
      for (const char* call : {"MessageBox", "tell", "ask", "Notice", "Told", "Tell", "refuse"})
        for (const std::string& literal : Literals(source, call))
          EXPECT_FALSE(IsProse(Squeezed(literal))) << file << " shows, unchecked: " << literal;
    }
  }
}

}  // namespace
#endif
