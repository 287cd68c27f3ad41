#include "app/answers_file.h"

#include <algorithm>
#include <optional>

#include "platform/ascii.h"

namespace answers {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool Quoted(std::string_view value) {
  return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

// The schema's spelling of `key` in `section`, or nothing when it knows none.
std::optional<std::string> KnownKey(const SectionSchema& section, std::string_view key) {
  for (std::string_view known : section.keys) {
    if (known.ends_with('#')) {
      const std::string_view stem = known.substr(0, known.size() - 1);
      if (key.size() <= stem.size() || key.size() > stem.size() + 2) continue;
      if (!platform::EqualsNoCaseAscii(key.substr(0, stem.size()), stem)) continue;
      const std::string_view number = key.substr(stem.size());
      if (number.front() == '0' ||
          !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        continue;
      return std::string(stem) + std::string(number);
    }
    if (platform::EqualsNoCaseAscii(key, known)) return std::string(known);
  }
  return std::nullopt;
}

// Sections and answers alike, const or not.
template <typename Items, typename Field>
auto FindNoCase(Items& items, std::string_view name, Field field) -> decltype(&items.front()) {
  for (auto& item : items) {
    if (platform::EqualsNoCaseAscii(item.*field, name)) return &item;
  }
  return nullptr;
}

}  // namespace

const Section* Answers::FindSection(std::string_view section) const {
  return FindNoCase(m_sections, section, &Section::name);
}

void Answers::Erase(std::string_view section) {
  std::erase_if(m_sections, [section](const Section& s) {
    return platform::EqualsNoCaseAscii(s.name, section);
  });
}

bool Section::Erase(std::string_view key) {
  const auto at = std::find_if(answers.begin(), answers.end(), [key](const Answer& answer) {
    return platform::EqualsNoCaseAscii(answer.key, key);
  });
  if (at == answers.end()) return false;
  answers.erase(at);
  return true;
}

Section* Answers::FindSection(std::string_view section) {
  return FindNoCase(m_sections, section, &Section::name);
}

const Answer* Answers::Find(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return nullptr;
  return FindNoCase(found->answers, key, &Answer::key);
}

void Answers::Set(std::string_view section, std::string_view key, std::string value) {
  Section* s = FindNoCase(m_sections, section, &Section::name);
  if (!s) s = &m_sections.emplace_back(Section{std::string(section), {}, 0});
  if (Answer* a = FindNoCase(s->answers, key, &Answer::key)) {
    a->value = std::move(value);
  } else {
    s->answers.push_back({std::string(key), std::move(value), 0});
  }
}

struct Reader {
  static std::variant<Answers, Refusal> Read(std::string_view bytes, const Schema& schema) {
    if (bytes.size() > kMaxBytes) {
      return Refusal{0, "The file is larger than 1 MB, so it is no answers file."};
    }
    if (bytes.find('\0') != std::string_view::npos) {
      return Refusal{0,
                     "The file is not plain text (it holds zero bytes). A file saved as "
                     "Unicode (UTF-16) is not read: save it as ANSI text."};
    }
    if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());

    Answers answers;
    const SectionSchema* schemaSection = nullptr;
    Section* section = nullptr;
    int number = 0;
    while (!bytes.empty()) {
      ++number;
      const auto end = bytes.find('\n');
      std::string_view line = bytes.substr(0, end);
      bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
      if (line.ends_with('\r')) line.remove_suffix(1);
      line = Trimmed(line);
      if (line.empty() || line.front() == ';' || line.front() == '#') continue;

      if (line.front() == '[') {
        if (!line.ends_with(']')) return Refusal{number, "The section name has no closing ]."};
        const std::string_view name = Trimmed(line.substr(1, line.size() - 2));
        schemaSection = nullptr;
        for (const SectionSchema& s : schema) {
          if (platform::EqualsNoCaseAscii(s.name, name)) schemaSection = &s;
        }
        if (!schemaSection)
          return Refusal{number, "OKAPI knows no section [" + std::string(name) + "]."};
        if (answers.FindSection(name)) {
          return Refusal{number,
                         "The section [" + std::string(schemaSection->name) + "] is there twice."};
        }
        section =
            &answers.m_sections.emplace_back(Section{std::string(schemaSection->name), {}, number});
        continue;
      }

      const auto equals = line.find('=');
      if (equals == std::string_view::npos) {
        return Refusal{number, "The line is neither a section, a Key=Value line nor a comment."};
      }
      if (!section) return Refusal{number, "The line comes before the first section."};
      const std::string_view key = Trimmed(line.substr(0, equals));
      const auto known = KnownKey(*schemaSection, key);
      if (!known) {
        return Refusal{number, "OKAPI knows no key " + std::string(key) + " in section [" +
                                   section->name + "]."};
      }
      if (FindNoCase(section->answers, *known, &Answer::key)) {
        return Refusal{number,
                       "The key " + *known + " is in section [" + section->name + "] twice."};
      }
      std::string_view value = Trimmed(line.substr(equals + 1));
      if (Quoted(value)) value = value.substr(1, value.size() - 2);
      section->answers.push_back({*known, std::string(value), number});
    }
    return answers;
  }
};

std::variant<Answers, Refusal> Parse(std::string_view bytes, const Schema& schema) {
  return Reader::Read(bytes, schema);
}

std::string Format(const Answers& answers, const std::vector<std::string>& comments) {
  std::string text;
  for (const std::string& comment : comments) text += "; " + comment + "\r\n";
  for (const Section& section : answers.Sections()) {
    if (!text.empty()) text += "\r\n";
    text += "[" + section.name + "]\r\n";
    for (const Answer& answer : section.answers) {
      const std::string_view value = answer.value;
      // Blanks at either end, or quotes around the whole, would be lost.
      const bool quote = Quoted(value) || (!value.empty() &&
                                           (kBlanks.find(value.front()) != std::string_view::npos ||
                                            kBlanks.find(value.back()) != std::string_view::npos));
      text += answer.key + "=" + (quote ? "\"" + answer.value + "\"" : answer.value) + "\r\n";
    }
  }
  return text;
}

}  // namespace answers
