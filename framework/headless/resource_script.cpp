// Reads the dialog templates and the string table of a resource script (the
// subset the program's own script uses) into headless definitions.
#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/headless/headless.h"

namespace fw::headless {
namespace {

using Symbols = std::map<std::string, long>;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::optional<long> Number(const std::string& raw) {
  std::string text = Trim(raw);
  while (text.size() >= 2 && text.front() == '(' && text.back() == ')')
    text = Trim(text.substr(1, text.size() - 2));
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 0);
  if (*end != '\0' && !(std::toupper(static_cast<unsigned char>(*end)) == 'L' && end[1] == '\0'))
    return std::nullopt;
  return value;
}

using Macros = std::map<std::string, std::string>;

// A #define: a number names an id, anything else is a style macro.
void ReadDefine(const std::string& line, Symbols& symbols, Macros& macros) {
  std::istringstream words(line);
  std::string directive, name, value;
  words >> directive >> name;
  std::getline(words, value);
  if (directive != "#define" || name.empty()) return;
  if (const auto number = Number(value))
    symbols[name] = *number;
  else
    macros[name] = Trim(value);
}

std::optional<long> Resolve(const Symbols& symbols, const std::string& token) {
  if (const auto number = Number(token)) return number;
  const auto it = symbols.find(Trim(token));
  if (it == symbols.end()) return std::nullopt;
  return it->second;
}

// A quoted string of the script: "" is a quote, backslash escapes as in C.
std::optional<std::string> Unquote(const std::string& raw) {
  const std::string text = Trim(raw);
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
  std::string value;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' && text[i + 1] == '"' && i + 2 < text.size()) {
      value += '"';
      ++i;
    } else if (c == '\\' && i + 2 < text.size()) {
      const char next = text[++i];
      value += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    } else {
      value += c;
    }
  }
  return value;
}

// Splits at commas outside quotes.
std::vector<std::string> Arguments(const std::string& text) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) {
      parts.emplace_back();
      continue;
    }
    parts.back() += c;
  }
  for (auto& part : parts) part = Trim(part);
  return parts;
}

enum class Style { Absent, Set, Cleared };

// A style word as a whole word; "NOT WS_VISIBLE" clears what the statement
// would otherwise set.
Style StyleOf(const std::string& styles, const std::string& name) {
  const auto isWord = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  };
  Style found = Style::Absent;
  for (std::size_t at = styles.find(name); at != std::string::npos;
       at = styles.find(name, at + name.size())) {
    const std::size_t end = at + name.size();
    if ((at > 0 && isWord(styles[at - 1])) || (end < styles.size() && isWord(styles[end])))
      continue;
    const std::string before = Trim(styles.substr(0, at));
    const bool negated = before.size() >= 3 && before.compare(before.size() - 3, 3, "NOT") == 0;
    if (negated) return Style::Cleared;
    found = Style::Set;
  }
  return found;
}

bool HasStyle(const std::string& styles, const std::string& name) {
  return StyleOf(styles, name) == Style::Set;
}

const std::map<std::string, Kind>& Statements() {
  static const std::map<std::string, Kind> kinds = {
      {"LTEXT", Kind::Static},
      {"CTEXT", Kind::Static},
      {"RTEXT", Kind::Static},
      {"GROUPBOX", Kind::Static},
      {"ICON", Kind::Static},
      {"PUSHBUTTON", Kind::PushButton},
      {"DEFPUSHBUTTON", Kind::PushButton},
      {"CHECKBOX", Kind::CheckBox},
      {"AUTOCHECKBOX", Kind::CheckBox},
      {"RADIOBUTTON", Kind::RadioButton},
      {"AUTORADIOBUTTON", Kind::RadioButton},
      {"EDITTEXT", Kind::Edit},
      {"LISTBOX", Kind::ListBox},
      {"COMBOBOX", Kind::ComboBox},
      {"CONTROL", Kind::Unknown},
  };
  return kinds;
}

Kind KindOfControl(const std::string& className, const std::string& styles) {
  std::string name = className;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name == "edit") return Kind::Edit;
  if (name == "listbox") return Kind::ListBox;
  if (name == "combobox") return Kind::ComboBox;
  if (name == "button") {
    if (HasStyle(styles, "BS_AUTOCHECKBOX") || HasStyle(styles, "BS_CHECKBOX") ||
        HasStyle(styles, "BS_AUTO3STATE"))
      return Kind::CheckBox;
    if (HasStyle(styles, "BS_AUTORADIOBUTTON") || HasStyle(styles, "BS_RADIOBUTTON"))
      return Kind::RadioButton;
    if (HasStyle(styles, "BS_GROUPBOX")) return Kind::Static;
    return Kind::PushButton;
  }
  return Kind::Static;
}

// Style macros of the script itself, one level deep.
std::string Expand(const Macros& macros, const std::string& styles) {
  std::string result;
  std::string word;
  const auto emit = [&] {
    const auto it = macros.find(word);
    result += it == macros.end() ? word : it->second;
    word.clear();
  };
  for (const char c : styles) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      word += c;
    } else {
      emit();
      result += c;
    }
  }
  emit();
  return result;
}

// One control statement (keyword and its arguments, continuation lines joined).
std::optional<ControlSpec> ReadControl(const Symbols& symbols, const Macros& macros,
                                       const std::string& keyword, const std::string& rest) {
  auto args = Arguments(rest);
  for (auto& arg : args) arg = Expand(macros, arg);
  ControlSpec control;
  std::size_t idAt = 1;
  std::string styles;
  Kind kind = Statements().at(keyword);
  if (keyword == "CONTROL") {
    if (args.size() < 4) return std::nullopt;
    control.text = Unquote(args[0]).value_or(std::string());
    kind = KindOfControl(Unquote(args[2]).value_or(args[2]), args[3]);
    styles = args[3];
  } else if (kind == Kind::Edit || kind == Kind::ListBox || kind == Kind::ComboBox) {
    idAt = 0;
    if (args.size() > 5) styles = args[5];
  } else {
    control.text = Unquote(args[0]).value_or(std::string());
    if (args.size() > 6) styles = args[6];
  }
  if (args.size() <= idAt) return std::nullopt;
  const auto id = Resolve(symbols, args[idAt]);
  if (!id || *id == -1) return std::nullopt;
  control.id = static_cast<int>(*id);
  control.kind = kind;
  control.visible = StyleOf(styles, "WS_VISIBLE") != Style::Cleared;
  control.enabled = !HasStyle(styles, "WS_DISABLED");
  control.sorted = HasStyle(styles, "LBS_SORT") || HasStyle(styles, "CBS_SORT");
  control.readOnly = kind == Kind::Edit && HasStyle(styles, "ES_READONLY");
  control.notify = kind == Kind::Static && HasStyle(styles, "SS_NOTIFY");
  return control;
}

}  // namespace

int HeadlessBackend::DefineFromResourceScript(const std::string& script,
                                              const std::string& header) {
  // The framework's own names that scripts use without defining them.
  Symbols symbols = {{"IDC_STATIC", -1}, {"IDOK", 1}, {"IDCANCEL", 2}};
  Macros macros;
  std::string line;
  for (std::istringstream in(header); std::getline(in, line);) ReadDefine(line, symbols, macros);
  std::istringstream in(script);
  std::optional<DialogSpec> dialog;
  bool inControls = false, inStrings = false;
  std::string keyword, statement;
  int defined = 0;

  const auto flush = [&] {
    if (dialog && !keyword.empty()) {
      if (auto control = ReadControl(symbols, macros, keyword, statement))
        dialog->controls.push_back(*control);
    }
    keyword.clear();
    statement.clear();
  };

  while (std::getline(in, line)) {
    const auto comment = line.find("//");
    if (comment != std::string::npos && line.find('"') > comment) line.erase(comment);
    const std::string text = Trim(line);
    if (text.empty()) continue;
    if (text[0] == '#') {
      ReadDefine(text, symbols, macros);
      continue;
    }
    std::istringstream words(text);
    std::string first, second;
    words >> first >> second;

    if (inStrings) {
      if (first == "END") {
        inStrings = false;
      } else if (const auto id = Resolve(symbols, first)) {
        if (const auto value = Unquote(text.substr(first.size()))) m_strings[*id] = *value;
      }
      continue;
    }
    if (inControls) {
      if (first == "END") {
        flush();
        ++defined;
        m_specs[dialog->templateId] = *dialog;
        dialog.reset();
        inControls = false;
      } else if (Statements().count(first)) {
        flush();
        keyword = first;
        statement = text.substr(first.size());
      } else {
        statement += " " + text;
      }
      continue;
    }
    if (first == "STRINGTABLE") {
      inStrings = true;  // its BEGIN names no string
    } else if (second == "DIALOGEX" || second == "DIALOG") {
      if (const auto id = Resolve(symbols, first)) {
        dialog = DialogSpec{static_cast<unsigned>(*id), {}, {}, {}};
        std::istringstream box(text.substr(text.find(second) + second.size()));
        std::vector<int> at;
        for (std::string part; std::getline(box, part, ',');)
          if (const auto number = Number(Trim(part))) at.push_back(static_cast<int>(*number));
        if (at.size() == 4) dialog->rect = {at[0], at[1], at[0] + at[2], at[1] + at[3]};
      }
    } else if (dialog && first == "CAPTION") {
      dialog->caption = Unquote(text.substr(first.size())).value_or(std::string());
    } else if (dialog && first == "BEGIN") {
      inControls = true;
    }
  }
  return defined;
}

}  // namespace fw::headless
