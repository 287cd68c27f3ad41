// Each page's answers: its section and keys, and how its model takes them.
// An answer is merged into what the model loaded, so that a key left out
// leaves its entry as it is, and the model's own checks judge the result.
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "app/answers_run.h"
#include "pages/backgrounds_model.h"
#include "pages/color_model.h"
#include "pages/company_model.h"
#include "pages/lb_button_model.h"
#include "pages/menu_model.h"
#include "pages/opening_effect_model.h"
#include "pages/visual_map_model.h"
#include "pages/welcome_texts_model.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/background_slots.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/item_table.h"
#include "wizard/routing.h"

namespace answers {

namespace {

const Answer* In(const Section& section, std::string_view key) {
  for (const Answer& answer : section.answers) {
    if (answer.key == key) return &answer;
  }
  return nullptr;
}

// A switch's two words, as the page's check box is ticked or not.
struct Words {
  std::string_view on, off;
};
constexpr Words kOnOff{"on", "off"};
constexpr Words kShownHidden{"shown", "hidden"};

std::string Word(bool on, Words words) { return std::string(on ? words.on : words.off); }

// Takes either word in any case, and writes it back as the export does.
std::optional<KeyRefusal> CheckWord(Answer& answer, Words words) {
  if (platform::EqualsNoCaseAscii(answer.value, words.on)) {
    answer.value = words.on;
  } else if (platform::EqualsNoCaseAscii(answer.value, words.off)) {
    answer.value = words.off;
  } else {
    return KeyRefusal{answer.key, answer.key + " is " + std::string(words.on) + " or " +
                                      std::string(words.off) + ", not \"" + answer.value + "\"."};
  }
  return std::nullopt;
}

std::optional<bool> SwitchIn(const Section& section, std::string_view key, Words words) {
  const Answer* answer = In(section, key);
  if (!answer) return std::nullopt;
  return answer->value == words.on;
}

// ---- Company

PageAnswers Company() {
  PageAnswers page;
  page.section = "Company";
  page.keys = {"Name"};
  page.exportTo = [](Answers& answers) {
    CompanyModel model;
    model.Load();
    if (!model.Name().empty()) answers.Set("Company", "Name", model.Name());
  };
  page.check = [](Section& section) -> std::optional<KeyRefusal> {
    if (!In(section, "Name")) return std::nullopt;
    CompanyModel model;
    model.Name() = In(section, "Name")->value;
    if (auto refusal = model.Check()) return KeyRefusal{"Name", refusal->message};
    return std::nullopt;
  };
  page.apply = [](const Section& section, RunLog& log) {
    if (!In(section, "Name")) return true;
    CompanyModel model;
    model.Load();
    model.Name() = In(section, "Name")->value;
    const auto outcome = model.Next();
    if (outcome.told) log.Add("[Company] " + outcome.told->message);
    if (outcome.kind == CompanyModel::Outcome::Written) log.Add("[Company] Name written");
    return outcome.kind != CompanyModel::Outcome::Failed;
  };
  return page;
}

// ---- Menu

constexpr std::string_view kTitleKeys[] = {"Title1", "Title2", "Title3", "Title4"};
constexpr std::string_view kLetterKeys[] = {"Key1", "Key2", "Key3", "Key4"};

// Whether the fourth menu (the welcome page's) is on once the answers are
// applied: as the answers say, else as the wizard finds it now.
bool FourthMenuWillBeOn(const Answers& wanted) {
  if (!g_bVersion35) return false;
  if (const Answer* on = wanted.Find("Menu", "FourthMenu"))
    return platform::EqualsNoCaseAscii(on->value, kOnOff.on);
  // The text file's marker, not the map file's flag, which a /restore leaves.
  return MenuModel::FourthMenuMarked();
}

void MergeMenus(MenuModel& model, const Section& section) {
  for (std::size_t i = 0; i < MenuModel::kMenus; ++i) {
    if (!model.Version35() && i == 3) break;
    if (const Answer* a = In(section, kTitleKeys[i])) model.menus[i].title = a->value;
    if (const Answer* a = In(section, kLetterKeys[i])) model.menus[i].letter = a->value;
  }
  if (auto on = SwitchIn(section, "FourthMenu", kOnOff); on && model.Version35())
    model.fourthMenu = *on;
}

PageAnswers Menu() {
  PageAnswers page;
  page.section = "Menu";
  page.keys = {"Title1", "Key1",       "Title2", "Key2", "Title3",
               "Key3",   "FourthMenu", "Title4", "Key4", "SystemDetails"};
  page.leftOut = [](const Answers& wanted) {
    std::vector<std::pair<std::string, std::string>> out;
    if (!g_bVersion35) out.emplace_back("FourthMenu", "version 3.0 has no fourth menu");
    if (!FourthMenuWillBeOn(wanted)) {
      const char* why = g_bVersion35 ? "the fourth menu is off" : "version 3.0 has no fourth menu";
      out.emplace_back(kTitleKeys[3], why);
      out.emplace_back(kLetterKeys[3], why);
    }
    return out;
  };
  page.exportTo = [](Answers& answers) {
    MenuModel model;
    model.Load(g_bVersion35);
    const bool fourth = FourthMenuWillBeOn(Answers{});
    for (std::size_t i = 0; i < (fourth ? 4u : 3u); ++i) {
      answers.Set("Menu", kTitleKeys[i], model.menus[i].title);
      answers.Set("Menu", kLetterKeys[i], model.menus[i].letter);
    }
    if (g_bVersion35) answers.Set("Menu", "FourthMenu", Word(fourth, kOnOff));
    answers.Set("Menu", "SystemDetails", Word(model.showSysDetails, kShownHidden));
  };
  page.check = [](Section& section) -> std::optional<KeyRefusal> {
    for (Answer& answer : section.answers) {
      std::optional<KeyRefusal> refusal;
      if (answer.key == "FourthMenu") refusal = CheckWord(answer, kOnOff);
      if (answer.key == "SystemDetails") refusal = CheckWord(answer, kShownHidden);
      if (refusal) return refusal;
    }
    MenuModel model;
    model.Load(g_bVersion35);
    MergeMenus(model, section);
    if (auto notice = model.Check()) return KeyRefusal{"", notice->message};
    return std::nullopt;
  };
  page.apply = [](const Section& section, RunLog& log) {
    MenuModel model;
    model.Load(g_bVersion35);
    const bool wasOn = model.fourthMenu && MenuModel::FourthMenuMarked();
    MergeMenus(model, section);
    // As a click on the switch would: only when the answer differs from the
    // map file's flag or from the files (a /restore leaves the flag).
    if (g_bVersion35 && In(section, "FourthMenu") &&
        (model.fourthMenu != wasOn || model.fourthMenu != MenuModel::FourthMenuMarked())) {
      if (auto notice = model.EnableFourthMenu(model.fourthMenu))
        log.Add("[Menu] " + notice->message);
    }
    const SaveResult saved = model.Save();
    if (saved.notice) log.Add("[Menu] " + saved.notice->message);
    if (auto show = SwitchIn(section, "SystemDetails", kShownHidden);
        show && *show != model.showSysDetails) {
      if (auto notice = model.ShowSysDetails(*show)) log.Add("[Menu] " + notice->message);
    }
    return saved.saved;
  };
  return page;
}

// ---- Welcome page (version 3.5)

constexpr std::string_view kTextKeys[] = {"Intro", "Tab1", "Tab2", "Tab3", "Closing"};

std::string* TextOf(WelcomeTextsModel& model, std::size_t i) {
  if (i == 0) return &model.intro;
  if (i == 4) return &model.closing;
  return &model.descriptions[i - 1];
}

void MergeTexts(WelcomeTextsModel& model, const Section& section) {
  for (std::size_t i = 0; i < std::size(kTextKeys); ++i) {
    // A line break is written as the help application keeps it: <br>.
    if (const Answer* a = In(section, kTextKeys[i])) *TextOf(model, i) = EntryToText(a->value);
  }
}

PageAnswers WelcomePage() {
  PageAnswers page;
  page.section = "WelcomePage";
  page.keys = {"Intro", "Tab1", "Tab2", "Tab3", "Closing", "Image"};
  page.skipped = [](const Answers& wanted) -> std::optional<std::string> {
    if (!g_bVersion35) return "version 3.0 has no welcome page";
    if (!FourthMenuWillBeOn(wanted)) return "the fourth menu is off, so there is no welcome page";
    return std::nullopt;
  };
  page.exportTo = [](Answers& answers) {
    WelcomeTextsModel model;
    model.Load();
    for (std::size_t i = 0; i < std::size(kTextKeys); ++i)
      answers.Set("WelcomePage", kTextKeys[i], TextToEntry(*TextOf(model, i)));
    answers.Set("WelcomePage", "Image", Word(model.welcomeImage, kShownHidden));
  };
  page.check = [](Section& section) -> std::optional<KeyRefusal> {
    for (Answer& answer : section.answers) {
      if (answer.key != "Image") continue;
      if (auto refusal = CheckWord(answer, kShownHidden)) return refusal;
    }
    WelcomeTextsModel model;
    model.Load();
    MergeTexts(model, section);
    if (auto notice = model.Check()) return KeyRefusal{"", notice->message};
    return std::nullopt;
  };
  page.apply = [](const Section& section, RunLog& log) {
    WelcomeTextsModel model;
    model.Load();
    MergeTexts(model, section);
    const SaveResult saved = model.Save();
    if (saved.notice) log.Add("[WelcomePage] " + saved.notice->message);
    if (auto show = SwitchIn(section, "Image", kShownHidden); show && *show != model.welcomeImage) {
      if (auto notice = model.ShowWelcomeImage(*show)) log.Add("[WelcomePage] " + notice->message);
    }
    return saved.saved;
  };
  return page;
}

// ---- Visual Map buttons

constexpr std::pair<std::string_view, VisualMapModel::Button> kButtons[] = {
    {"MoreInformation", VisualMapModel::Button::MoreInformation},
    {"Configure", VisualMapModel::Button::Configure}};

PageAnswers VisualMap() {
  PageAnswers page;
  page.section = "VisualMap";
  page.keys = {"MoreInformation", "Configure"};
  page.skipped = [](const Answers&) -> std::optional<std::string> {
    if (routing::UsesVisualMap()) return std::nullopt;
    return "the machine table does not use the Visual Map";
  };
  page.exportTo = [](Answers& answers) {
    VisualMapModel model;
    model.Load();
    for (const auto& [key, button] : kButtons)
      answers.Set("VisualMap", key, Word(model.Shown(button), kShownHidden));
  };
  page.check = [](Section& section) -> std::optional<KeyRefusal> {
    for (Answer& answer : section.answers) {
      if (auto refusal = CheckWord(answer, kShownHidden)) return refusal;
    }
    return std::nullopt;
  };
  page.apply = [](const Section& section, RunLog& log) {
    VisualMapModel model;
    model.Load();
    bool whole = true;
    for (const auto& [key, button] : kButtons) {
      const auto show = SwitchIn(section, key, kShownHidden);
      if (!show || *show == model.Shown(button)) continue;
      const auto outcome = model.Set(button, *show);
      if (outcome.told) log.Add("[VisualMap] " + outcome.told->message);
      whole = outcome.applied && whole;
    }
    return whole;
  };
  return page;
}

// ---- Backgrounds

namespace slots = store::backgrounds;

struct ListEntry {
  std::string name, file;
};

// The list the answers give, by number; nullopt when they give none.
std::optional<std::vector<ListEntry>> ListIn(const Section& section) {
  std::map<int, ListEntry> byNumber;
  for (const Answer& answer : section.answers) {
    for (std::string_view stem : {"Name", "File"}) {
      if (!answer.key.starts_with(stem) || answer.key.size() == stem.size()) continue;
      const std::string digits = answer.key.substr(stem.size());
      if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
      ListEntry& entry = byNumber[std::stoi(digits)];
      (stem == "Name" ? entry.name : entry.file) = answer.value;
    }
  }
  if (byNumber.empty()) return std::nullopt;
  std::vector<ListEntry> list;
  for (auto& [number, entry] : byNumber) list.push_back(std::move(entry));
  return list;
}

std::vector<ListEntry> ListNow() {
  std::vector<ListEntry> list;
  for (const std::string& text : slots::ListedTexts()) {
    const auto slot = slots::SlotWithText(text);
    list.push_back({text, slot ? slots::Image(*slot).value_or("") : ""});
  }
  return list;
}

bool SameEntry(const ListEntry& a, const ListEntry& b) {
  return a.name == b.name && platform::EqualsNoCaseAscii(a.file, b.file);
}

Answer* Mutable(Section& section, std::string_view key) {
  for (Answer& answer : section.answers) {
    if (answer.key == key) return &answer;
  }
  return nullptr;
}

// An image the answers name, in both sizes: where the installation lacks
// it, the copy beside the answers file; nullopt when one size is nowhere.
std::optional<std::vector<std::pair<std::string, std::string>>> ImageCopies(
    const std::string& file) {
  auto& files = *platform::Os().files;
  const std::string& answersFile = AnswersFile();
  const std::string beside = answersFile.substr(0, answersFile.find_last_of('\\') + 1);
  std::vector<std::pair<std::string, std::string>> copies;
  for (std::string_view size : {layout::kSmallImages, layout::kLargeImages}) {
    const std::string installed = g_strInstallDir + std::string(size) + "\\" + file;
    if (files.Exists(installed)) continue;
    const std::string source = beside + std::string(size) + "\\" + file;
    if (!files.Exists(source)) return std::nullopt;
    copies.emplace_back(source, installed);
  }
  return copies;
}

std::vector<std::string> AnsweredImages(const Section& section) {
  std::vector<std::string> images;
  for (const Answer& answer : section.answers) {
    if (answer.key.starts_with("File") || answer.key.starts_with("Menu")) {
      if (!answer.value.empty()) images.push_back(answer.value);
    }
  }
  return images;
}

constexpr std::string_view kMenuKeys[] = {"Menu1", "Menu2", "Menu3"};

// The entry an opening image's label names: version 3.5 labels the current
// image by its file. "Not set" and "Not listed: ..." name none.
std::optional<std::string> EntryOf(const BackgroundsModel& model, const std::string& label) {
  const auto& entries = model.Entries();
  if (std::find(entries.begin(), entries.end(), label) != entries.end()) return label;
  if (const auto slot = slots::SlotWithImage(label)) return slots::Text(*slot);
  return std::nullopt;
}

PageAnswers Backgrounds() {
  PageAnswers page;
  page.section = "Backgrounds";
  page.keys = {"Name#", "File#", "OpeningImage", "DefaultImage", "Menu1", "Menu2", "Menu3"};
  page.exportTo = [](Answers& answers) {
    BackgroundsModel model;
    model.Load();
    const auto list = ListNow();
    for (std::size_t i = 0; i < list.size(); ++i) {
      answers.Set("Backgrounds", "Name" + std::to_string(i + 1), list[i].name);
      answers.Set("Backgrounds", "File" + std::to_string(i + 1), list[i].file);
    }
    if (const auto entry = EntryOf(model, model.CurrentLabel()))
      answers.Set("Backgrounds", "OpeningImage", *entry);
    if (const auto entry = EntryOf(model, model.DefaultLabel()))
      answers.Set("Backgrounds", "DefaultImage", *entry);
    for (std::size_t i = 0; i < slots::kMenus; ++i) {
      if (!model.MenuFile(i).empty()) answers.Set("Backgrounds", kMenuKeys[i], model.MenuFile(i));
    }
  };
  page.check = [](Section& section) -> std::optional<KeyRefusal> {
    auto list = ListIn(section);
    std::vector<std::string> texts;
    if (list && g_bVersion35) {
      // Version 3.5 lists a new entry by its file name, whatever name it had.
      const auto now = ListNow();
      for (const Answer& answer : std::vector<Answer>(section.answers)) {
        if (!answer.key.starts_with("Name")) continue;
        const std::string digits = answer.key.substr(4);
        const Answer* file = In(section, "File" + digits);
        if (!file) continue;
        const ListEntry entry{answer.value, file->value};
        if (std::none_of(now.begin(), now.end(),
                         [&](const ListEntry& e) { return SameEntry(entry, e); }))
          Mutable(section, answer.key)->value = file->value;
      }
      list = ListIn(section);
    }
    if (list) {
      for (std::size_t i = 0; i < list->size(); ++i) {
        const ListEntry& e = (*list)[i];
        if (e.name.empty() || e.file.empty()) {
          return KeyRefusal{"", "Each entry of the list needs both its NameN and its FileN."};
        }
        for (const std::string& text : texts) {
          if (platform::EqualsNoCaseAscii(text, e.name))
            return KeyRefusal{"", "The list holds \"" + e.name + "\" twice."};
        }
        texts.push_back(e.name);
      }
    } else {
      texts = slots::ListedTexts();
    }
    for (const std::string& image : AnsweredImages(section)) {
      if (!ImageCopies(image)) {
        return KeyRefusal{"", image +
                                  " is neither in the installation's images\\small and "
                                  "images\\large nor beside the answers file in them."};
      }
    }
    BackgroundsModel model;
    model.Load();
    for (const std::string key : {"OpeningImage", "DefaultImage"}) {
      const Answer* answer = In(section, key);
      const std::string label =
          EntryOf(model, key == "OpeningImage" ? model.CurrentLabel() : model.DefaultLabel())
              .value_or("");
      std::string wanted = answer ? answer->value : label;
      for (const std::string& t : texts) {
        if (platform::EqualsNoCaseAscii(t, wanted)) wanted = t;
      }
      if (answer) Mutable(section, key)->value = wanted;
      // An entry the settings name may not leave the list.
      const bool listed = std::any_of(texts.begin(), texts.end(), [&wanted](const std::string& t) {
        return platform::EqualsNoCaseAscii(t, wanted);
      });
      if (answer && !listed)
        return KeyRefusal{std::string(key), "\"" + wanted + "\" is not in the list."};
      if (!answer && list && !listed &&
          std::find(model.Entries().begin(), model.Entries().end(), label) !=
              model.Entries().end()) {
        return KeyRefusal{std::string(key), "The list leaves out \"" + label +
                                                "\", which the opening image's settings name: "
                                                "give " +
                                                std::string(key) + " too."};
      }
    }
    for (std::size_t i = 0; i < slots::kMenus; ++i) {
      if (const Answer* a = In(section, kMenuKeys[i])) model.MenuFile(i) = a->value;
    }
    if (auto notice = model.CheckMenus()) return KeyRefusal{"", notice->message};
    return std::nullopt;
  };
  page.apply = [](const Section& section, RunLog& log) {
    auto& files = *platform::Os().files;
    for (const std::string& image : AnsweredImages(section)) {
      const auto copies = ImageCopies(image);  // checked before any write
      for (const auto& [from, to] : *copies) {
        if (!files.Copy(from, to, false)) {
          log.Add("[Backgrounds] " + from + " could not be copied to " + to);
          return false;
        }
        log.Add("[Backgrounds] copied " + from + " to " + to);
      }
    }
    BackgroundsModel model;
    model.Load();
    model.MarkFreeSlots();
    bool whole = true;
    const auto done = [&log, &whole](const BackgroundsModel::Outcome& outcome,
                                     const std::string& what) {
      if (outcome.refusal) log.Add("[Backgrounds] " + outcome.refusal->message);
      if (outcome.done) log.Add("[Backgrounds] " + what);
      whole = outcome.done && whole;
    };
    const auto now = ListNow();
    const auto list = ListIn(section);
    const auto unlisted = [&list](const ListEntry& entry) {
      return std::none_of(list->begin(), list->end(),
                          [&entry](const ListEntry& e) { return SameEntry(e, entry); });
    };
    // Entries the settings name go once the settings name others.
    const auto named = [&model](const ListEntry& entry) {
      return entry.name == EntryOf(model, model.CurrentLabel()) ||
             entry.name == EntryOf(model, model.DefaultLabel());
    };
    if (list) {
      for (const ListEntry& entry : now) {
        if (unlisted(entry) && !named(entry))
          done(model.Delete(entry.name), "took off the list: " + entry.name);
      }
      for (const ListEntry& entry : *list) {
        if (std::none_of(now.begin(), now.end(),
                         [&entry](const ListEntry& e) { return SameEntry(entry, e); }))
          done(model.Add(entry.name, entry.file), "listed: " + entry.name + ", " + entry.file);
      }
    }
    if (const Answer* a = In(section, "OpeningImage");
        a && a->value != EntryOf(model, model.CurrentLabel()))
      done(model.SetCurrent(a->value), "opening image: " + a->value);
    if (const Answer* a = In(section, "DefaultImage");
        a && a->value != EntryOf(model, model.DefaultLabel()))
      done(model.SetDefault(a->value), "opening image after a revert: " + a->value);
    if (list) {
      for (const ListEntry& entry : ListNow()) {
        if (unlisted(entry)) done(model.Delete(entry.name), "took off the list: " + entry.name);
      }
    }
    bool menus = false;
    for (std::size_t i = 0; i < slots::kMenus; ++i) {
      const Answer* a = In(section, kMenuKeys[i]);
      if (!a) continue;
      // Next on the page writes the menus' backgrounds whether or not one
      // changed: their defaults after a revert follow them.
      menus = true;
      if (a->value != model.MenuFile(i))
        done(model.PickMenuFile(i, a->value), std::string(kMenuKeys[i]) + "=" + a->value);
    }
    if (menus) {
      if (auto notice = model.CheckMenus()) log.Add("[Backgrounds] " + notice->message);
      const SaveResult saved = model.SaveMenus();
      if (saved.notice) log.Add("[Backgrounds] " + saved.notice->message);
      whole = saved.saved && whole;
    }
    return whole;
  };
  return page;
}

// ---- Colors

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
    for (const auto& [key, row] : kColorKeys) {
      const store::Item& item = ColorModel::ItemOf(row);
      // A row the page shows black for want of a colour is no answer.
      if (const auto color = ParseColor(item, store::Read(item)))
        answers.Set("Colors", key, ColorText(*color));
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

// ---- Sound and Animation

// The file an answer names: in the installation already, else beside the
// answers file; nothing when neither has it.
std::optional<std::string> EffectSource(const OpeningEffectModel::Effect& effect,
                                        const std::string& name) {
  auto& files = *platform::Os().files;
  const std::string installed = effect.InInstallation(name);
  if (files.Exists(installed)) return installed;
  const std::string& answersFile = AnswersFile();
  const std::string beside = answersFile.substr(0, answersFile.find_last_of('\\') + 1) + name;
  if (files.Exists(beside)) return beside;
  return std::nullopt;
}

PageAnswers Effect(std::string_view section, const OpeningEffectModel::Effect& effect,
                   std::string_view nowKey, std::string_view afterRevertKey) {
  PageAnswers page;
  page.section = section;
  page.keys = {nowKey, afterRevertKey, "File"};
  page.exportTo = [section, &effect, nowKey, afterRevertKey](Answers& answers) {
    OpeningEffectModel model(effect);
    model.Load();
    answers.Set(section, nowKey, Word(model.Now(), kOnOff));
    answers.Set(section, afterRevertKey, Word(model.AfterRevert(), kOnOff));
    if (const auto file = store::ReadValue(effect.file); file && !file->empty())
      answers.Set(section, "File", *file);
  };
  page.check = [&effect](Section& section) -> std::optional<KeyRefusal> {
    for (Answer& answer : section.answers) {
      if (answer.key == "File") {
        if (answer.value.empty() || answer.value.find_first_of("\\/:") != std::string::npos)
          return KeyRefusal{"File", "File is a file's name alone, not \"" + answer.value + "\"."};
        // The file in use needs no copy, wherever it is.
        if (store::ReadValue(effect.file) != answer.value && !EffectSource(effect, answer.value)) {
          return KeyRefusal{"File", answer.value +
                                        " is neither in the installation nor beside "
                                        "the answers file."};
        }
      } else if (auto refusal = CheckWord(answer, kOnOff)) {
        return refusal;
      }
    }
    return std::nullopt;
  };
  page.apply = [section, &effect, nowKey, afterRevertKey](const Section& answers, RunLog& log) {
    OpeningEffectModel model(effect);
    model.Load();
    bool whole = true;
    const auto told = [&log, section](const std::optional<OpeningEffectModel::Told>& t) {
      if (t) log.Add("[" + std::string(section) + "] " + t->message);
    };
    if (const Answer* file = In(answers, "File")) {
      const auto current = store::ReadValue(effect.file);
      if (!current || *current != file->value) {
        const auto told1 = model.UseFile(*EffectSource(effect, file->value), file->value);
        told(told1);
        whole = !told1 && whole;
      }
    }
    if (auto on = SwitchIn(answers, nowKey, kOnOff); on && *on != model.Now()) {
      const auto outcome = model.SetNow(*on);
      told(outcome.told);
      whole = outcome.applied && whole;
    }
    if (auto on = SwitchIn(answers, afterRevertKey, kOnOff); on && *on != model.AfterRevert()) {
      const auto outcome = model.SetAfterRevert(*on);
      told(outcome.told);
      whole = outcome.applied && whole;
    }
    return whole;
  };
  return page;
}

// ---- Larkbook button

PageAnswers Button() {
  PageAnswers page;
  page.section = "Button";
  page.keys = {"Application"};
  page.skipped = [](const Answers&) -> std::optional<std::string> {
    if (routing::HardwareButtonPresent()) return std::nullopt;
    return "this computer has no Larkbook button";
  };
  page.exportTo = [](Answers& answers) {
    LBButtonModel model;
    model.Load();
    if (!model.Application().empty()) answers.Set("Button", "Application", model.Application());
  };
  page.check = [](Section& section) -> std::optional<KeyRefusal> {
    const Answer* answer = In(section, "Application");
    if (answer && answer->value.empty())
      return KeyRefusal{"Application", "Application names no program."};
    return std::nullopt;
  };
  page.apply = [](const Section& section, RunLog& log) {
    if (!In(section, "Application")) return true;
    LBButtonModel model;
    model.Load();
    const std::string& wanted = In(section, "Application")->value;
    if (model.Application() == wanted) return true;
    for (const auto& message : model.Select(wanted)) log.Add("[Button] " + message.message);
    return model.Application() == wanted;
  };
  return page;
}

}  // namespace

const std::vector<PageAnswers>& Pages() {
  static const std::vector<PageAnswers> pages = {
      Company(),
      Menu(),
      WelcomePage(),
      VisualMap(),
      Backgrounds(),
      Colors(),
      Effect("Sound", OpeningEffectModel::Sound(), "Play", "PlayAfterRevert"),
      Effect("Animation", OpeningEffectModel::Animation(), "Show", "ShowAfterRevert"),
      Button(),
  };
  return pages;
}

}  // namespace answers
