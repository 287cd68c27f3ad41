#include "pages/backgrounds_model.h"

#include <algorithm>
#include <string_view>

#include "platform/ascii.h"
#include "store/globals.h"
#include "store/items.h"
#include "store/seed.h"

namespace {

namespace slots = store::backgrounds;
using Outcome = BackgroundsModel::Outcome;

constexpr char kInformation[] = "Information";
constexpr std::string_view kConfigWords = "the help application's configuration file";
// The help application's files name this image with this case only.
constexpr std::string_view kOnTheWeb = "On_the_Web.jpg";

Notice Tell(std::string message) { return {std::move(message), kInformation}; }

Outcome Refused(Notice refusal) {
  Outcome outcome;
  outcome.refusal = std::move(refusal);
  return outcome;
}
Outcome Refused(std::string message) { return Refused(Tell(std::move(message))); }
Outcome Done(std::optional<std::string> listed = std::nullopt,
             std::optional<Notice> refusal = std::nullopt) {
  Outcome outcome;
  outcome.done = true;
  outcome.refusal = std::move(refusal);
  outcome.listed = std::move(listed);
  return outcome;
}

const Notice kNoSelection = Tell("You need to make a selection");
const Notice kNoFreeSlot = Tell("You need to free up a Friendly List Name");

// Version 3.5 keeps the opening image with the fourth menu and its default
// among the OEM defaults.
const store::Item& CurrentImageOption() {
  return g_bVersion35 ? store::item::kMenu4Background : store::item::kDefaultBackgroundImage;
}
const store::Item& DefaultImage() {
  return g_bVersion35 ? store::item::kOemTab1Default : store::item::kDefaultBackgroundText;
}

std::string FileOfOption(const store::Item& option) {
  return store::ReadValue(option).value_or(std::string());
}

// A setting's label says in words what the sentinel would leave unsaid.
constexpr char kNotSet[] = "Not set";
std::string NotListed(const std::string& name) { return "Not listed: " + name; }

// The opening image shows the first entry of its file.
std::optional<int> CurrentImageSlot() {
  const std::string current = FileOfOption(CurrentImageOption());
  return current.empty() ? std::nullopt : slots::SlotWithImage(current);
}

std::string DefaultImageLabel() {
  const auto name = store::Read(DefaultImage());
  if (!name || name->empty() || store::HoldsSentinel(*name)) return kNotSet;
  return slots::SlotNamed(*name) ? *name : NotListed(*name);
}

// Version 3.5 names the file; 3.0 the entry that shows it.
std::string CurrentImageLabel() {
  const std::string current = FileOfOption(CurrentImageOption());
  if (current.empty()) return kNotSet;
  const auto slot = slots::SlotWithImage(current);
  if (!slot) return NotListed(current);
  return g_bVersion35 ? current : slots::Text(*slot).value_or(current);
}

// The opening image's settings that name an entry, as their buttons say.
std::string SettingsNaming(int slot, const std::string& text) {
  const bool current = CurrentImageSlot() == slot;
  const auto defaultName = store::Read(DefaultImage());
  const bool isDefault = defaultName && platform::EqualsNoCaseAscii(*defaultName, text);
  if (current && isDefault) return "Current Setting and Default Setting";
  if (current) return "Current Setting";
  return isDefault ? "Default Setting" : "";
}

// The slot whose whole text the selected entry is; the refusal when nothing
// is selected or no slot holds that text any more.
std::optional<Notice> FindSlot(const std::optional<std::string>& selected, int& slot) {
  if (!selected) return kNoSelection;
  const auto found = slots::SlotWithText(*selected);
  if (!found) {
    return Tell("\"" + *selected +
                "\" is no longer in the help application's background list. Nothing was "
                "changed.");
  }
  slot = *found;
  return std::nullopt;
}

// What a profile read gives back of a typed name: no blanks around it.
std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<Notice> TooLongForMenu(const std::string& file) {
  if (file.size() <= BackgroundsModel::kMaxMenuFile) return std::nullopt;
  return Tell("The file name \"" + file +
              "\" is too long for a menu background: it can have at most " +
              std::to_string(BackgroundsModel::kMaxMenuFile) + " characters.");
}

struct Menu {
  store::Item option;
  store::Item oemDefault;
};

// The first menu's default is the second tab's: the first tab is the opening image's.
const Menu kMenus[slots::kMenus] = {
    {store::item::kMenu1Background, store::item::kOemTab2Default},
    {store::item::kMenu2Background, store::item::kOemTab3Default},
    {store::item::kMenu3Background, store::item::kOemTab4Default},
};

}  // namespace

void BackgroundsModel::Load() {
  m_entries = slots::ListedTexts();
  Relabel();
  for (std::size_t i = 0; i < slots::kMenus; ++i) m_menuFiles[i] = FileOfOption(kMenus[i].option);
}

void BackgroundsModel::Relabel() {
  m_defaultLabel = DefaultImageLabel();
  m_currentLabel = CurrentImageLabel();
}

void BackgroundsModel::MarkFreeSlots() {
  // Told by the store; the marks are written again at the next run.
  (void)slots::MarkFreeSlots();
}

void BackgroundsModel::Unlisted(const std::string& text) {
  const auto at = std::find(m_entries.begin(), m_entries.end(), text);
  if (at != m_entries.end()) m_entries.erase(at);
}

Outcome BackgroundsModel::SetCurrent(const std::optional<std::string>& selected) {
  int slot = 0;
  if (auto refusal = FindSlot(selected, slot)) return Refused(std::move(*refusal));
  const auto image = slots::Image(slot);
  if (!image || image->empty() || store::HoldsSentinel(*image)) {
    return Refused("The opening image was not changed: \"" + *selected +
                   "\" names no JPEG file in the help application's configuration file.");
  }
  const store::Item& option = CurrentImageOption();
  const store::WriteResult written = store::WriteValue(option, *image);
  if (written == store::WriteResult::NoSlot) {
    return Refused("The opening image was not changed: " + NoEntryMarked(kConfigWords, option.key) +
                   ".");
  }
  // A failed write has been told; the label keeps what the file holds.
  if (!written) return {};
  m_currentLabel = *selected;
  return Done();
}

Outcome BackgroundsModel::SetDefault(const std::optional<std::string>& selected) {
  if (!selected) return Refused(kNoSelection);
  if (!store::Write(DefaultImage(), *selected)) return {};
  m_defaultLabel = *selected;
  return Done();
}

Outcome BackgroundsModel::Delete(const std::optional<std::string>& selected) {
  int slot = 0;
  if (auto refusal = FindSlot(selected, slot)) return Refused(std::move(*refusal));
  // The help application would open on, or revert to, an image it no longer
  // lists, and the package would not carry it.
  if (const std::string settings = SettingsNaming(slot, *selected); !settings.empty()) {
    return Refused("\"" + *selected + "\" cannot be deleted: it is the opening image's " +
                   settings + ".\n\nSelect another entry and click " + settings +
                   " first, then delete \"" + *selected + "\".");
  }
  if (!slots::Unlist(slot)) return {};
  Unlisted(*selected);
  return Done();
}

Outcome BackgroundsModel::Add(const std::string& typedName, const std::string& file) {
  const auto free = slots::FreeSlot();
  if (!free) return Refused(kNoFreeSlot);
  const std::string name = Trimmed(typedName);
  if (name.empty()) return Refused("You need to enter a Friendly Name");
  if (slots::SlotNamed(name)) {
    return Refused("You entered a duplicate friendly name.\n Please enter a unique friendly name");
  }
  if (file.empty()) return Refused("You need to enter a JPEG File Name");
  // Version 3.5 lists its entries by their file names.
  const std::string& text = g_bVersion35 ? file : name;
  if (store::HoldsSentinel(text)) {
    return Refused("\"" + text +
                   "\" cannot be listed: the help application takes a name containing \"" +
                   std::string(store::kSentinel) + "\" for a missing one.");
  }
  auto listed = slots::List(*free, text, file);
  if (!listed) return {};
  Listed(*listed);
  return Done(std::move(listed));
}

Outcome BackgroundsModel::PickMenuFile(std::size_t menu, const std::string& file) {
  if (auto refusal = TooLongForMenu(file)) return Refused(std::move(*refusal));
  m_menuFiles[menu] = file;
  // Listed once is packaged: a further slot would only fill the list.
  if (!g_bVersion35 || slots::SlotWithImage(file)) return Done();
  const auto free = slots::FreeSlot();
  if (!free) return Done(std::nullopt, kNoFreeSlot);
  auto listed = slots::List(*free, file, file);
  if (listed) Listed(*listed);
  return Done(std::move(listed));
}

std::optional<Notice> BackgroundsModel::CheckMenus() {
  for (const std::string& file : m_menuFiles) {
    if (file.empty()) return Tell("You need to enter a JPEG File name for the menu");
  }
  for (const std::string& file : m_menuFiles) {
    if (auto refusal = TooLongForMenu(file)) return refusal;
  }
  for (std::string& file : m_menuFiles) {
    if (platform::EqualsNoCaseAscii(file, kOnTheWeb)) file = kOnTheWeb;
  }
  return std::nullopt;
}

SaveResult BackgroundsModel::SaveMenus() {
  SaveResult result;
  std::string unresolved;
  for (std::size_t i = 0; i < slots::kMenus; ++i) {
    const Menu& menu = kMenus[i];
    const std::string& file = m_menuFiles[i];
    const store::WriteResult option = store::WriteValue(menu.option, file);
    if (option == store::WriteResult::NoSlot) {
      unresolved += (unresolved.empty() ? "" : ", ") + std::string(menu.option.key);
    } else if (!option) {
      result.saved = false;
    }
    result.saved = store::Write(menu.oemDefault, file) && result.saved;
    result.saved = store::Write(slots::MenuFile(i), file) && result.saved;
  }
  if (!unresolved.empty()) {
    std::string text = NoEntryMarked(kConfigWords, unresolved);
    text[0] = platform::ToUpperAscii(text[0]);
    // After refused writes (told before this) "written" would be untrue.
    result.notice = Tell(text + ", so that menu's background was not set there." +
                         (result.saved ? " The other entries were written."
                                       : " The other entries could not be saved either, as told "
                                         "before this."));
  }
  return result;
}

std::optional<std::string> UnlistedOpeningImage() {
  const std::string current = FileOfOption(CurrentImageOption());
  if (current.empty() || slots::SlotWithImage(current)) return std::nullopt;
  return current;
}
