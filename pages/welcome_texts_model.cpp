#include "pages/welcome_texts_model.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "pages/entry_words.h"
#include "store/item_table.h"
#include "store/seed.h"

namespace item = store::item;

namespace {

constexpr std::string_view kLineBreak = "<br>";

constexpr store::Item kDescriptions[] = {item::kTab1Description, item::kTab2Description,
                                         item::kTab3Description};
constexpr store::Item kTitles[] = {item::kMenu1Title, item::kMenu2Title, item::kMenu3Title};

std::string WithoutQuotes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
  return text;
}

bool IsFirstValue(const std::optional<std::string>& value) { return value && !value->empty(); }

// The quoted payload after the marker and its comma.
std::string Payload(const store::Item& item) {
  return EntryToText(WithoutQuotes(store::ReadValue(item).value_or("")));
}

// The description behind "<b>title</b> "; an entry without the bold title
// is all description.
std::string Description(const store::Item& item) {
  const auto entry = store::Read(item);
  if (!entry) return {};
  const auto first = entry->find('>');
  if (first == std::string::npos) return Payload(item);
  const auto second = entry->find('>', first + 1);
  std::size_t start = second == std::string::npos ? first + 1 : second + 1;
  if (second != std::string::npos && start < entry->size() && (*entry)[start] == ' ') ++start;
  return EntryToText(WithoutQuotes(entry->substr(start)));
}

// One text as Next takes it, in the order the user is told of them.
struct Text {
  const store::Item& item;
  const char* name;
  const std::string& text;
  std::string bold;  // the menu title in front of a description
};

std::vector<Text> Texts(const WelcomeTextsModel& model) {
  const auto bold = [&](std::size_t i) { return "<b>" + model.titles[i] + "</b> "; };
  return {
      {item::kWelcomeIntro, "introduction", model.intro, {}},
      {item::kWelcomeClosing, "closing text", model.closing, {}},
      {kDescriptions[0], "description of the first tab", model.descriptions[0], bold(0)},
      {kDescriptions[1], "description of the second tab", model.descriptions[1], bold(1)},
      {kDescriptions[2], "description of the third tab", model.descriptions[2], bold(2)},
  };
}

std::string Head(const Text& t) { return store::EncodeEntry(t.item.key, "\"" + t.bold); }
std::string Entry(const Text& t) { return Head(t) + TextToEntry(t.text) + "\""; }

}  // namespace

std::string TextToEntry(const std::string& text) {
  std::string entry;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      entry += kLineBreak;
    } else {
      entry += text[i];
    }
  }
  return entry;
}

std::string EntryToText(const std::string& entry) {
  std::string text;
  for (std::size_t i = 0; i < entry.size();) {
    if (entry.compare(i, kLineBreak.size(), kLineBreak) == 0) {
      text += "\r\n";
      i += kLineBreak.size();
    } else {
      text += entry[i++];
    }
  }
  return text;
}

void WelcomeTextsModel::Load() {
  (void)KeepWelcomeImageFirstValue();  // a refusal has been told; the switch tries again
  intro = Payload(item::kWelcomeIntro);
  for (std::size_t i = 0; i < descriptions.size(); ++i)
    descriptions[i] = Description(kDescriptions[i]);
  closing = Payload(item::kWelcomeClosing);
  LoadMenuTitles();
  const auto image = store::Read(item::kWelcomeImage);
  welcomeImage = !(image && image->find("spacer") != std::string::npos);
}

void WelcomeTextsModel::LoadMenuTitles() {
  for (std::size_t i = 0; i < titles.size(); ++i)
    titles[i] = ParseMenuTitle(store::Read(kTitles[i])).title;
}

bool WelcomeTextsModel::KeepWelcomeImageFirstValue() {
  return store::KeepFirstValues(item::kWelcomeImageSaved,
                                {{item::kWelcomeImage, item::kWelcomeImageOrg}});
}

std::optional<Notice> WelcomeTextsModel::Check() const {
  for (const Text& t : Texts(*this)) {
    // The entry is quoted: a quote in it would end it early.
    if (t.text.find('"') != std::string::npos) {
      return Notice{"The " + std::string(t.name) + " cannot contain a double quote (\").",
                    "Information"};
    }
    if (Entry(t).size() > kMaxEntry) {
      const std::size_t room = kMaxEntry - std::min(kMaxEntry, Head(t).size() + 1);
      return Notice{"The " + std::string(t.name) + " is too long: it may have at most " +
                        std::to_string(room) + " characters, a line break counting as four.",
                    "Information"};
    }
  }
  return std::nullopt;
}

SaveResult WelcomeTextsModel::Save() const {
  std::vector<std::pair<store::Item, std::string>> entries;
  std::string unresolved;
  for (const Text& t : Texts(*this)) {
    entries.emplace_back(t.item, Entry(t));
    if (!store::SlotOf(t.item))
      unresolved += (unresolved.empty() ? "" : ", ") + std::string(t.item.key);
  }
  if (store::WriteAll(entries) == store::WriteResult::Failed) return {false, std::nullopt};
  if (unresolved.empty()) return {};
  return {true, Notice{NoEntryMarked(entry_words::FileName(item::kWelcomeIntro), unresolved) +
                           ", so what belongs there was not written.",
                       "Information"}};
}

std::optional<Notice> WelcomeTextsModel::ShowWelcomeImage(bool show) {
  welcomeImage = show;
  // A first value not kept at start is kept before the write it guards.
  if (!KeepWelcomeImageFirstValue()) {
    welcomeImage = !show;
    return std::nullopt;
  }
  if (!show) {
    (void)store::WriteValue(item::kWelcomeImage, "spacer.gif");  // a failure has been told
    return std::nullopt;
  }
  const auto first = store::Read(item::kWelcomeImageOrg);
  if (IsFirstValue(first)) {
    (void)store::Write(item::kWelcomeImage, *first);  // a failure has been told
    return std::nullopt;
  }
  welcomeImage = false;
  return Notice{"The welcome page graphic could not be shown again: its original value (" +
                    std::string(item::kWelcomeImageOrg.key) + " in " +
                    entry_words::FileName(item::kWelcomeImageOrg) + ") is missing.",
                "Information"};
}
