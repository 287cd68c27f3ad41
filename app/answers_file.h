// The answers file: what the wizard's pages hold, as an INI file that an
// administrator reads and edits, and okapi.exe exports, applies and verifies
// without a window. This is its text form alone; what the answers mean is
// the pages' business.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace answers {

struct Answer {
  std::string key;  // as the schema spells it
  std::string value;
  int line = 0;  // 0: not read from a file
  bool operator==(const Answer& other) const { return key == other.key && value == other.value; }
};

struct Section {
  std::string name;  // as the schema spells it
  std::vector<Answer> answers;
  int line = 0;
  // Takes the key's answer out; false when there was none.
  bool Erase(std::string_view key);
  bool operator==(const Section& other) const {
    return name == other.name && answers == other.answers;
  }
};

// The sections and keys an answers file may hold, in the order an export
// writes them. A key ending in '#' stands for a numbered family ("Name#":
// Name1 to Name99, without leading zeros).
struct SectionSchema {
  std::string_view name;
  std::vector<std::string_view> keys;
};
using Schema = std::vector<SectionSchema>;

class Answers {
 public:
  // Section and key compare without letter case, as in any INI file.
  const Answer* Find(std::string_view section, std::string_view key) const;
  const Section* FindSection(std::string_view section) const;
  Section* FindSection(std::string_view section);
  // Takes the section and its answers out.
  void Erase(std::string_view section);
  // Adds the answer, or replaces the value of one already there.
  void Set(std::string_view section, std::string_view key, std::string value);

  const std::vector<Section>& Sections() const { return m_sections; }
  bool operator==(const Answers& other) const = default;

 private:
  friend struct Reader;
  std::vector<Section> m_sections;
};

// Why a file was not taken, and on which line (0: the file as a whole).
struct Refusal {
  int line = 0;
  std::string text;
};

// Files larger than this are no answers file anyone wrote.
inline constexpr std::size_t kMaxBytes = 1 << 20;

// Reads the bytes of an answers file (ANSI text; a UTF-8 mark at its start
// is skipped). An unknown section or key, a repeated one, or a line that is
// neither a section, a key=value pair, a comment (';' or '#') nor blank is
// refused. Blanks around keys and values go; a value in double quotes keeps
// its blanks.
std::variant<Answers, Refusal> Parse(std::string_view bytes, const Schema& schema);

// The file's text: `comments` as "; " lines at the top, then the sections.
// Parse gives back what Format was given (for keys the schema knows).
std::string Format(const Answers& answers, const std::vector<std::string>& comments);

}  // namespace answers
