// Each page's answers: its section and keys, and how its model takes them.
#include <array>
#include <cstdio>

#include "app/answers_run.h"
#include "pages/color_model.h"

namespace answers {

namespace {

// [Colors]: each row as "#rrggbb", the way the help application keeps it.
constexpr std::array<std::pair<std::string_view, ColorModel::Row>, ColorModel::kRows> kColorKeys = {
    {{"MouseOver", ColorModel::Row::MouseOver},
     {"Menu", ColorModel::Row::Menu},
     {"ToolBar", ColorModel::Row::ToolBar},
     {"Background", ColorModel::Row::Background}}};

std::optional<ColorModel::Rgb> ColorAnswer(std::string_view value) {
  if (value.starts_with('#')) value.remove_prefix(1);
  const store::Item plain = store::item::kMouseOverColor;  // a colour alone after '#'
  if (value.size() != 6) return std::nullopt;
  return ParseColor(plain, "#" + std::string(value));
}

std::string ColorText(ColorModel::Rgb color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", color.red, color.green, color.blue);
  return text;
}

PageAnswers Colors() {
  PageAnswers page;
  page.section = "Colors";
  for (const auto& [key, row] : kColorKeys) page.keys.push_back(key);
  page.exportTo = [](Answers& answers) {
    ColorModel model;
    model.Load();
    for (const auto& [key, row] : kColorKeys) {
      if (store::Read(ColorModel::ItemOf(row)))
        answers.Set("Colors", key, ColorText(model.Color(row)));
    }
  };
  page.check = [](Section& section) -> std::optional<KeyRefusal> {
    for (Answer& answer : section.answers) {
      const auto color = ColorAnswer(answer.value);
      if (!color) {
        return KeyRefusal{answer.key, "\"" + answer.value +
                                          "\" is no colour: write six hexadecimal digits, red, "
                                          "green and blue, such as #0000ff for blue."};
      }
      answer.value = ColorText(*color);
    }
    return std::nullopt;
  };
  page.apply = [](const Section& section, RunLog& log) {
    ColorModel model;
    model.Load();
    for (const auto& [key, row] : kColorKeys) {
      for (const Answer& answer : section.answers) {
        if (answer.key != key) continue;
        model.Target(row);
        (void)model.Pick(*ColorAnswer(answer.value));
        log.Add("[Colors] " + answer.key + "=" + answer.value);
      }
    }
    return model.Save();
  };
  return page;
}

}  // namespace

const std::vector<PageAnswers>& Pages() {
  static const std::vector<PageAnswers> pages = {Colors()};
  return pages;
}

}  // namespace answers
