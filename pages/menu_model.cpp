#include "pages/menu_model.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "framework/framework.h"
#include "pages/entry_words.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/item_table.h"
#include "store/seed.h"

namespace item = store::item;

namespace {

constexpr store::Item kTitles[] = {item::kMenu1Title, item::kMenu2Title, item::kMenu3Title,
                                   item::kMenu4Title};
constexpr store::Item kLetters[] = {item::kMenu1AltKey, item::kMenu2AltKey, item::kMenu3AltKey,
                                    item::kMenu4AltKey};
static_assert(std::size(kTitles) == MenuModel::kMenus && std::size(kLetters) == MenuModel::kMenus);

// The help application switches the fourth menu off by the digit in its
// title's marker ("4" on, "x" off), and names the default menu by the digit
// after "MENU" in its value.
constexpr std::size_t kFourthMarkerAt = item::kMenu4Title.key.find('4');
constexpr std::string_view kMenuWord = "MENU";

// Each literal ends in the blank that parts the program from its argument.
constexpr std::string_view kSpreadsheets[] = {
    "c:\\Program Files\\Microsoft Office\\Office\\excel.exe ",
    "c:\\tabula\\calc\\calcw.exe ",
};

Notice Information(std::string text) { return {std::move(text), "Information"}; }
Notice Error(std::string text) { return {std::move(text), "Error"}; }

std::string WithoutQuotes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
  return text;
}

bool Contains(const std::optional<std::string>& value, std::string_view text) {
  return value && value->find(text) != std::string::npos;
}

// A value worth keeping or putting back.
bool IsFirstValue(const std::optional<std::string>& value) { return value && !value->empty(); }

// Where a fixed key lives, as the user can look it up.
std::string Where(const store::Item& fixed) {
  return std::string(fixed.key) + " in section [" + std::string(fixed.section) + "] of " +
         entry_words::FileName(fixed);
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& part : parts) out += (out.empty() ? "" : ", ") + part;
  return out;
}

std::string AboutLetter() {
  const auto letter = store::ReadValue(item::kAboutAltKey);
  if (!letter || letter->empty()) return {};
  return std::string(1, platform::ToUpperAscii(letter->front()));
}

// Changes one character of an entry in place, keeping the marker as the file
// spells it; false when the entry is missing or is not the form `prefix`
// starts (so the place means nothing).
bool SetCharAt(const store::Item& item, std::size_t at, char c, std::string_view prefix) {
  auto entry = store::Read(item);
  if (!entry || entry->size() <= at ||
      !platform::EqualsNoCaseAscii(std::string_view(*entry).substr(0, prefix.size()), prefix)) {
    return false;
  }
  (*entry)[at] = c;
  (void)store::Write(item, *entry);  // a failure has been told by the store
  return true;
}

}  // namespace

MenuTitle ParseMenuTitle(const std::optional<std::string>& entry) {
  // Every title marker is as long as the first one.
  const auto payload = store::DecodeEntry(item::kMenu1Title.key, entry);
  if (!payload) return {};
  std::string text = WithoutQuotes(*payload);
  const auto open = text.find('<');
  const auto openEnd = open == std::string::npos ? open : text.find('>', open);
  if (openEnd == std::string::npos) return {text, {}};
  std::string letter;
  if (openEnd + 1 < text.size() && text[openEnd + 1] != '<') letter = text.substr(openEnd + 1, 1);
  text.erase(open, openEnd - open + 1);
  const auto close = text.find('<', open);
  const auto closeEnd = close == std::string::npos ? close : text.find('>', close);
  if (closeEnd != std::string::npos) text.erase(close, closeEnd - close + 1);
  return {text, letter};
}

std::optional<std::string> MarkMenuTitle(const std::string& title, const std::string& letter) {
  const auto at = letter.empty() ? std::string::npos : title.find(letter);
  if (at == std::string::npos) return std::nullopt;
  return title.substr(0, at) + "<u>" + letter + "</u>" + title.substr(at + letter.size());
}

void MenuModel::Load(bool version35) {
  m_version35 = version35;
  for (std::size_t i = 0; i < (version35 ? kMenus : kMenus - 1); ++i)
    menus[i] = ParseMenuTitle(store::Read(kTitles[i]));

  if (!version35) {
    menus[3] = {"4", "4"};
    fourthMenu = false;
  } else {
    const auto enabled = store::Read(item::kMenu4Enabled);
    fourthMenu = Contains(enabled, "True") || !enabled || store::HoldsSentinel(*enabled);
    if (fourthMenu && !Contains(enabled, "True")) (void)store::Write(item::kMenu4Enabled, "True");
  }

  // A visible version-3.0 item underlines its letter; a hidden one is empty.
  showSysDetails = version35 ? !Contains(store::Read(item::kSmallSysInfoStyle), "hidden")
                             : Contains(store::Read(item::kSystemInformation), "<");
  (void)KeepSysDetailsFirstValues();  // a refusal has been told; a switch tries again
}

bool MenuModel::KeepSysDetailsFirstValues() {
  return store::KeepFirstValues(item::kSysDetailsSaved,
                                {{item::kSystemInformation, item::kText5Org},
                                 {item::kSysInfoAltKey, item::kText30Org},
                                 {item::kSmallSysInfoStyle, item::kSmallSysInfoOrg},
                                 {item::kLargeSysInfoStyle, item::kLargeSysInfoOrg}});
}

std::optional<Notice> MenuModel::Check() const {
  for (const MenuTitle& menu : menus) {
    if (menu.title.empty()) return Information("You need to enter a Menu Title");
  }
  for (const MenuTitle& menu : menus) {
    if (menu.title.size() > kMaxTitle) return Information("One of the menu titles is too long.");
  }
  // The title is stored in double quotes with its letter in markup.
  for (const MenuTitle& menu : menus) {
    if (menu.title.find_first_of("\"<>") != std::string::npos) {
      return Information("The menu title \"" + menu.title +
                         "\" cannot contain a double quote (\") or the characters < and >.");
    }
  }
  for (const MenuTitle& menu : menus) {
    if (menu.letter.empty()) return Information("You need to enter an Alt-Key letter");
  }

  const std::string about = AboutLetter();
  const std::string used =
      "The accelerator keys " + (about.empty() ? std::string() : about + ", ") + "K, P, S";
  std::string upper[kMenus];
  for (std::size_t i = 0; i < kMenus; ++i) upper[i] = platform::ToUpperAscii(menus[i].letter);
  std::string reserved = about + "KPS!";
  const auto taken = [&](int i) { return reserved.find(upper[i]) != std::string::npos; };
  const auto change = [&](int i) {
    return " are already used. Change Alt-Key" + std::to_string(i + 1) + "(" + menus[i].letter +
           ") to another key";
  };
  if (taken(0)) return Error(used + change(0));
  reserved += upper[0];
  if (taken(1)) return Error(used + " " + upper[0] + change(1));
  reserved += upper[1];
  if (taken(2)) return Error(used + " " + upper[0] + ", " + upper[1] + change(2));
  reserved += upper[2];
  if (taken(3)) return Error(used + " " + upper[0] + ", " + upper[1] + change(3));

  for (int i = 0; i < WrittenMenus(); ++i) {
    if (!MarkMenuTitle(menus[i].title, menus[i].letter)) {
      return Error("The accelerator key " + menus[i].letter + " was not found, Please re-enter it");
    }
  }
  return std::nullopt;
}

SaveResult MenuModel::Save() const {
  std::vector<std::pair<store::Item, std::string>> entries;
  for (int i = 0; i < WrittenMenus(); ++i)
    entries.emplace_back(kLetters[i], store::EncodeEntry(kLetters[i].key, menus[i].letter));
  for (int i = 0; i < WrittenMenus(); ++i) {
    const std::string marked = MarkMenuTitle(menus[i].title, menus[i].letter).value_or("");
    entries.emplace_back(kTitles[i], store::EncodeEntry(kTitles[i].key, "\"" + marked + "\""));
  }

  std::vector<std::string> unresolved;
  for (const auto& [entry, value] : entries) {
    if (!store::SlotOf(entry)) unresolved.emplace_back(entry.key);
  }
  if (store::WriteAll(entries) == store::WriteResult::Failed) return {false, std::nullopt};
  if (unresolved.empty()) return {};
  return {true, Information(NoEntryMarked(entry_words::FileName(kTitles[0]), Joined(unresolved)) +
                            ", so what belongs there was not written.")};
}

std::optional<Notice> MenuModel::ShowSysDetails(bool show) {
  showSysDetails = show;
  // First values not kept at start are kept before the writes they guard:
  // written over first, they would be lost.
  if (!KeepSysDetailsFirstValues()) {
    showSysDetails = !show;
    return std::nullopt;
  }
  std::vector<std::string> missing;
  bool changed = false;
  if (m_version35) {
    const std::pair<store::Item, store::Item> styles[] = {
        {item::kSmallSysInfoStyle, item::kSmallSysInfoOrg},
        {item::kLargeSysInfoStyle, item::kLargeSysInfoOrg},
    };
    for (const auto& [style, org] : styles) {
      auto value = store::Read(org);
      if (!IsFirstValue(value)) {
        missing.push_back(Where(org));
        continue;
      }
      // Built from the first value, so hiding twice adds the property once.
      if (!show) value->insert(value->size() - 1, " visibility: hidden;");
      changed = store::Write(style, *value) || changed;
    }
  } else {
    const auto title = store::Read(item::kText5Org);
    const auto key = store::Read(item::kText30Org);
    if (!IsFirstValue(title)) missing.push_back(Where(item::kText5Org));
    if (!IsFirstValue(key)) missing.push_back(Where(item::kText30Org));
    // Hidden without a first value, the item could never be shown again:
    // both are written or neither. A failed write has been told by the store.
    if (missing.empty()) {
      (void)(show ? store::Write(item::kSystemInformation, *title)
                  : store::WriteValue(item::kSystemInformation, "\"\""));
      (void)(show ? store::Write(item::kSysInfoAltKey, *key)
                  : store::WriteValue(item::kSysInfoAltKey, "0"));
    }
  }
  if (missing.empty()) return std::nullopt;
  if (!changed) showSysDetails = !show;
  return Information(std::string("The System Details item could not be ") +
                     (show ? "shown" : "hidden") + (changed ? " everywhere" : "") +
                     ": its original value is missing (" + Joined(missing) + ").");
}

bool MenuModel::FourthMenuMarked() {
  const auto entry = store::Read(item::kMenu4Title);
  return entry && entry->size() > kFourthMarkerAt && (*entry)[kFourthMarkerAt] == '4';
}

std::optional<Notice> MenuModel::EnableFourthMenu(bool enable) {
  fourthMenu = enable;
  const auto markedIn = [](const store::Item& entry) {
    return std::string(entry.key) + " in " + entry_words::FileName(entry);
  };
  std::vector<std::string> skipped;
  if (!SetCharAt(item::kMenu4Title, kFourthMarkerAt, enable ? '4' : 'x',
                 item::kMenu4Title.key.substr(0, kFourthMarkerAt))) {
    skipped.push_back(markedIn(item::kMenu4Title));
  }
  (void)store::Write(item::kMenu4Enabled, enable ? "True" : "False");
  // The welcome page is the default menu exactly while it is enabled.
  const std::string defaultMenu = store::EncodeEntry(item::kDefaultMenu.key, kMenuWord);
  if (!SetCharAt(item::kDefaultMenu, defaultMenu.size(), enable ? '4' : '1', defaultMenu)) {
    skipped.push_back(markedIn(item::kDefaultMenu));
  }
  if (skipped.empty()) return std::nullopt;
  return Information("The entry marked " + Joined(skipped) +
                     " is missing or incomplete and was left unchanged, so the help "
                     "application may still show the welcome page as it was.");
}

std::vector<Notice> OpenInSpreadsheet(const std::string& csvFile, const std::string& directory) {
  const auto* found = std::find_if(std::begin(kSpreadsheets), std::end(kSpreadsheets),
                                   [](std::string_view program) {
                                     program.remove_suffix(1);
                                     return platform::Os().files->Exists(std::string(program));
                                   });
  if (found == std::end(kSpreadsheets)) {
    return {
        {"Can't find either Tabula Calc or Microsoft Excel in their default location", kAppName},
        Information("You may need to either install Tabula Calc or Microsoft Excel to open the "
                    "Machine-Specifics.CSV file or \n you need to start one of these application "
                    "and open the file yourself.")};
  }
  const std::string commandLine = std::string(*found) + "\"" + csvFile + "\"";
  if (!platform::Os().processes->Start(commandLine, directory)) {
    return {{"The spreadsheet program could not be started:\n" + commandLine +
                 "\n\nStart it yourself and open the file in it.",
             kAppName}};
  }
  return {};
}
