#include "pages/backgrounds.h"

#include <string_view>

#include "platform/ascii.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/items.h"
#include "store/profile.h"
#include "store/seed.h"
#include "wizard/routing.h"

namespace {

constexpr std::string_view kFreed = "Freed";
constexpr char kInformation[] = "Information";
constexpr std::string_view kConfigWords = "the help application's configuration file";
constexpr char kNoSelection[] = "You need to make a selection";
constexpr char kNoFreeSlot[] = "You need to free up a Friendly List Name";
// The help application's files name this image with this case only.
constexpr std::string_view kOnTheWeb = "On_the_Web.jpg";

// One numbered place of the background list: its text in the text file, its
// image in the config file, its free mark in the map file. New keys are
// spelled as the help application's lists and earlier runs spell them.
class Slot {
 public:
  explicit Slot(int n)
      : m_number(std::to_string(n)),
        m_listKey("BACK" + m_number + "TEXT"),
        m_imageKey("BACK" + m_number),
        m_markKey(MarkKey(n)) {}

  static std::string MarkKey(int n) {
    return (n == 1 ? "BACK" : "Back") + std::to_string(n) + "TEXT";
  }

  store::Item ListText() const { return store::item::kTextBackgrounds.WithKey(m_listKey); }
  store::Item Image() const { return store::item::kConfigBackgrounds.WithKey(m_imageKey); }
  store::Item FreeMark() const { return store::item::kFreeSlots.WithKey(m_markKey); }

  std::optional<std::string> Text() const { return store::Read(ListText()); }
  // A slot whose text exists is in use, whatever the text or the mark says.
  bool InUse() const { return Text().has_value(); }
  bool MarkedFree() const {
    const auto mark = store::Read(FreeMark());
    return mark && mark->find(kFreed) != std::string::npos;
  }

 private:
  std::string m_number;
  std::string m_listKey;
  std::string m_imageKey;
  std::string m_markKey;
};

template <class Match>
std::optional<int> FirstSlot(Match match) {
  store::UnchangedFilesScope scope;
  for (int n = 1; n <= CBackgrounds::kSlots; ++n) {
    if (match(Slot(n))) return n;
  }
  return std::nullopt;
}

// A mark left on a slot that is in use again must not hand its entry over.
std::optional<int> FreeSlot() {
  return FirstSlot([](const Slot& slot) { return slot.MarkedFree() && !slot.InUse(); });
}

std::optional<int> SlotWithText(const std::string& text) {
  return FirstSlot([&](const Slot& slot) { return slot.Text() == text; });
}

// File names compare as the file system compares them.
std::optional<int> SlotWithImage(const std::string& file) {
  return FirstSlot([&](const Slot& slot) {
    const auto image = store::Read(slot.Image());
    return image && platform::EqualsNoCaseAscii(*image, file) && slot.InUse();
  });
}

// Version 3.5 keeps the opening image with the fourth menu and its default
// among the OEM defaults.
const store::Item& CurrentImageOption() {
  return g_bVersion35 ? store::item::kMenu4Background : store::item::kDefaultBackgroundImage;
}
const store::Item& DefaultImage() {
  return g_bVersion35 ? store::item::kOemTab1Default : store::item::kDefaultBackgroundText;
}

std::string OptionValue(const store::Item& option, std::string_view file) {
  return ImageOption(option.key, file);
}
std::string FileOfOption(const store::Item& option) {
  return ImageOfOption(option.key, store::Read(option));
}

// A setting's label says in words what the sentinel would leave unsaid.
constexpr char kNotSet[] = "Not set";
std::string NotListed(const std::string& name) { return "Not listed: " + name; }

// Settings name entries as names are told apart: without regard to case.
std::optional<int> SlotNamed(const std::string& name) {
  return FirstSlot([&](const Slot& slot) {
    const auto text = slot.Text();
    return text && platform::EqualsNoCaseAscii(*text, name);
  });
}

// The opening image shows the first entry of its file.
std::optional<int> CurrentImageSlot() {
  const std::string current = FileOfOption(CurrentImageOption());
  return current.empty() ? std::nullopt : SlotWithImage(current);
}

std::string DefaultImageLabel() {
  const auto name = store::Read(DefaultImage());
  if (!name || name->empty() || store::HoldsSentinel(*name)) return kNotSet;
  return SlotNamed(*name) ? *name : NotListed(*name);
}

// Version 3.5 names the file; 3.0 the entry that shows it.
std::string CurrentImageLabel() {
  const std::string current = FileOfOption(CurrentImageOption());
  if (current.empty()) return kNotSet;
  const auto slot = SlotWithImage(current);
  if (!slot) return NotListed(current);
  return g_bVersion35 ? current : Slot(*slot).Text().value_or(current);
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

// What a profile read gives back of a typed name: no blanks around it.
std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct Menu {
  std::string CBackgrounds::*member;
  store::Item option;
  store::Item oemDefault;
  std::string_view packageKey;
};

// The first menu's default is the second tab's: the first tab is the opening image's.
const Menu kMenus[] = {
    {&CBackgrounds::m_strMenu1Jpeg, store::item::kMenu1Background, store::item::kOemTab2Default,
     "File1"},
    {&CBackgrounds::m_strMenu2Jpeg, store::item::kMenu2Background, store::item::kOemTab3Default,
     "File2"},
    {&CBackgrounds::m_strMenu3Jpeg, store::item::kMenu3Background, store::item::kOemTab4Default,
     "File3"},
};

}  // namespace

std::string ImageOption(std::string_view marker, std::string_view file) {
  std::string value(marker);
  value += ',';
  value += file;
  return value;
}

std::string ImageOfOption(std::string_view marker, const std::optional<std::string>& value) {
  const std::size_t prefix = marker.size() + 1;
  return value && value->size() > prefix ? value->substr(prefix) : std::string();
}

std::optional<std::string> UnlistedOpeningImage() {
  const std::string current = FileOfOption(CurrentImageOption());
  if (current.empty() || SlotWithImage(current)) return std::nullopt;
  return current;
}

CBackgrounds::CBackgrounds()
    : COkapiPage(
          IDD_BACKGROUNDS,
          {.titleId = IDC_BACKGROUNDS_HEADING,
           .helpButtonId = IDC_BACKGROUNDS_HELP,
           .helpTopic = "::/W05.htm",
           .buttonsOnActivate = 0,
           .white = {
               IDC_BACKGROUNDS_HEADING, IDC_BACKGROUNDS_LIST_LABEL, IDC_BACKGROUNDS_LIST_ARROW,
               IDC_BACKGROUNDS_CURRENT_NAME, IDC_BACKGROUNDS_DEFAULT_NAME,
               IDC_BACKGROUNDS_CURRENT_ARROW, IDC_BACKGROUNDS_DEFAULT_ARROW,
               IDC_BACKGROUNDS_MENU1_LABEL, IDC_BACKGROUNDS_MENU2_LABEL,
               IDC_BACKGROUNDS_MENU3_LABEL, IDC_BACKGROUNDS_MENU1_JPEG, IDC_BACKGROUNDS_MENU2_JPEG,
               IDC_BACKGROUNDS_MENU3_JPEG, IDC_BACKGROUNDS_JPEG, IDC_BACKGROUNDS_NAME_LABEL,
               IDC_BACKGROUNDS_JPEG_LABEL, IDC_BACKGROUNDS_OPENING_LABEL, IDC_BACKGROUNDS_NOTE}}) {}

void CBackgrounds::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_BACKGROUNDS_LIST, m_lstBackgrounds);
  DDX_Text(pDX, IDC_BACKGROUNDS_MENU1_JPEG, m_strMenu1Jpeg);
  DDX_Text(pDX, IDC_BACKGROUNDS_MENU2_JPEG, m_strMenu2Jpeg);
  DDX_Text(pDX, IDC_BACKGROUNDS_MENU3_JPEG, m_strMenu3Jpeg);
  DDX_Text(pDX, IDC_BACKGROUNDS_JPEG, m_strJpegFileName);
}

bool CBackgrounds::OnCommand(int id, unsigned code) {
  static const CommandEntry<CBackgrounds> kCommands[] = {
      {IDC_BACKGROUNDS_CURRENT, BN_CLICKED, &CBackgrounds::OnCurrentSetting},
      {IDC_BACKGROUNDS_DEFAULT, BN_CLICKED, &CBackgrounds::OnDefaultSetting},
      {IDC_BACKGROUNDS_DELETE, BN_CLICKED, &CBackgrounds::OnDelete},
      {IDC_BACKGROUNDS_ADD, BN_CLICKED, &CBackgrounds::OnAdd},
      {IDC_BACKGROUNDS_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowse},
      {IDC_BACKGROUNDS_MENU1_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowseMenu1},
      {IDC_BACKGROUNDS_MENU2_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowseMenu2},
      {IDC_BACKGROUNDS_MENU3_BROWSE, BN_CLICKED, &CBackgrounds::OnBrowseMenu3},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CBackgrounds::LoadPage() {
  LoadBackgroundSettings();
  MarkFreeSlots();
}

void CBackgrounds::LoadBackgroundSettings() {
  store::UnchangedFilesScope scope;
  for (int n = 1; n <= kSlots; ++n) {
    const auto text = Slot(n).Text();
    if (text && !store::HoldsSentinel(*text)) m_lstBackgrounds.AddString(*text);
  }
  SetDlgItemText(IDC_BACKGROUNDS_DEFAULT_NAME, DefaultImageLabel());
  SetDlgItemText(IDC_BACKGROUNDS_CURRENT_NAME, CurrentImageLabel());

  for (const Menu& menu : kMenus) this->*menu.member = FileOfOption(menu.option);
  UpdateData(false);
}

void CBackgrounds::MarkFreeSlots() {
  std::vector<std::string> keys;  // the items below name them
  {
    store::UnchangedFilesScope scope;
    for (int n = 1; n <= kSlots; ++n) {
      if (!Slot(n).InUse()) keys.push_back(Slot::MarkKey(n));
    }
  }
  std::vector<std::pair<store::Item, std::string>> marks;
  for (const std::string& key : keys) {
    marks.emplace_back(store::item::kFreeSlots.WithKey(key), kFreed);
  }
  // One write for all the marks: a failure is told once, not per slot, and
  // the marks are written again at the next run.
  (void)store::WriteAll(marks);
}

bool CBackgrounds::IsDuplicateFriendlyName(const std::string& name) {
  return SlotNamed(name).has_value();
}

std::optional<CBackgrounds::Selection> CBackgrounds::FindSelection() {
  const int index = m_lstBackgrounds.GetCurSel();
  if (index == LB_ERR) {
    MessageBox(kNoSelection, kInformation, MB_OK);
    return std::nullopt;
  }
  Selection selection{index, 0, {}};
  m_lstBackgrounds.GetText(index, selection.text);
  const auto slot = SlotWithText(selection.text);
  if (!slot) {
    MessageBox("\"" + selection.text +
                   "\" is no longer in the help application's background list. Nothing was "
                   "changed.",
               kInformation, MB_OK);
    return std::nullopt;
  }
  selection.slot = *slot;
  return selection;
}

void CBackgrounds::OnCurrentSetting() {
  const auto selection = FindSelection();
  if (!selection) return;
  const auto image = store::Read(Slot(selection->slot).Image());
  if (!image || image->empty() || store::HoldsSentinel(*image)) {
    MessageBox("The opening image was not changed: \"" + selection->text +
                   "\" names no JPEG file in the help application's configuration file.",
               kInformation, MB_OK);
    return;
  }
  const store::Item& option = CurrentImageOption();
  if (!store::SlotOf(option)) {
    MessageBox(
        "The opening image was not changed: " + NoEntryMarked(kConfigWords, option.key) + ".",
        kInformation, MB_OK);
    return;
  }
  // A failed write has been shown by the store; the label keeps what the file holds.
  if (!store::Write(option, OptionValue(option, *image))) return;
  SetDlgItemText(IDC_BACKGROUNDS_CURRENT_NAME, selection->text);
}

void CBackgrounds::OnDefaultSetting() {
  const int index = m_lstBackgrounds.GetCurSel();
  if (index == LB_ERR) {
    MessageBox(kNoSelection, kInformation, MB_OK);
    return;
  }
  std::string text;
  m_lstBackgrounds.GetText(index, text);
  if (!store::Write(DefaultImage(), text)) return;
  SetDlgItemText(IDC_BACKGROUNDS_DEFAULT_NAME, text);
}

void CBackgrounds::OnDelete() {
  const auto selection = FindSelection();
  if (!selection) return;
  // The help application would open on, or revert to, an image it no longer
  // lists, and the package would not carry it.
  if (const std::string settings = SettingsNaming(selection->slot, selection->text);
      !settings.empty()) {
    MessageBox("\"" + selection->text + "\" cannot be deleted: it is the opening image's " +
                   settings + ".\n\nSelect another entry and click " + settings +
                   " first, then delete \"" + selection->text + "\".",
               kInformation, MB_OK);
    return;
  }
  const Slot slot(selection->slot);
  if (!store::Write(slot.ListText(), std::nullopt)) return;
  m_lstBackgrounds.DeleteString(selection->index);
  // Marked free only once nothing of the entry is left: Add overwrites free slots.
  if (store::Write(slot.Image(), std::nullopt)) (void)store::Write(slot.FreeMark(), kFreed);
}

void CBackgrounds::OnAdd() {
  const auto free = FreeSlot();
  if (!free) {
    MessageBox(kNoFreeSlot, kInformation, MB_OK);
    return;
  }
  const std::string name = Trimmed(GetDlgItemText(IDC_BACKGROUNDS_NAME));
  if (name.empty()) {
    MessageBox("You need to enter a Friendly Name", kInformation, MB_OK);
    return;
  }
  if (IsDuplicateFriendlyName(name)) {
    MessageBox("You entered a duplicate friendly name.\n Please enter a unique friendly name",
               kInformation, MB_OK);
    return;
  }
  m_strJpegFileName = GetDlgItemText(IDC_BACKGROUNDS_JPEG);
  if (m_strJpegFileName.empty()) {
    MessageBox("You need to enter a JPEG File Name", kInformation, MB_OK);
    return;
  }
  // Version 3.5 lists its entries by their file names.
  const std::string text = g_bVersion35 ? m_strJpegFileName : name;
  if (store::HoldsSentinel(text)) {
    MessageBox("\"" + text +
                   "\" cannot be listed: the help application takes a name containing \"" +
                   std::string(store::kSentinel) + "\" for a missing one.",
               kInformation, MB_OK);
    return;
  }
  ListInSlot(*free, text, m_strJpegFileName);
}

void CBackgrounds::AddMenuFileToSlots(const std::string& file) {
  if (!g_bVersion35) return;
  // Listed once is packaged: a further slot would only fill the list.
  if (SlotWithImage(file)) return;
  const auto free = FreeSlot();
  if (!free) {
    MessageBox(kNoFreeSlot, kInformation, MB_OK);
    return;
  }
  ListInSlot(*free, file, file);
}

bool CBackgrounds::ListInSlot(int n, const std::string& text, const std::string& image) {
  const Slot slot(n);
  // The image first, the mark last: a failed write leaves the slot free.
  if (!store::Write(slot.Image(), image)) return false;
  if (!store::Write(slot.ListText(), text)) return false;
  // The list shows what the file gives back, so the entry is found again.
  m_lstBackgrounds.AddString(slot.Text().value_or(text));
  // A mark left behind is harmless: a slot in use is never taken.
  (void)store::Write(slot.FreeMark(), std::nullopt);
  return true;
}

std::optional<std::string> CBackgrounds::BrowseJpeg() {
  CFileDialog dialog(true, "jpg", "*.jpg", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "JPEG Image (*.jpg)|*.jpg|");
  dialog.m_ofn.initialDir = g_strInstallDir + "IMAGES\\SMALL";
  if (dialog.DoModal() != IDOK) return std::nullopt;
  std::string name = dialog.GetFileName();
  if (name.empty()) return std::nullopt;
  return name;
}

void CBackgrounds::OnBrowse() {
  const auto name = BrowseJpeg();
  if (!name) return;
  m_strJpegFileName = *name;
  UpdateData(false);
}

void CBackgrounds::BrowseMenu(std::string& member) {
  const auto name = BrowseJpeg();
  if (!name || !MenuFileFits(*name)) return;
  member = *name;
  AddMenuFileToSlots(*name);
  UpdateData(false);
}

bool CBackgrounds::MenuFileFits(const std::string& file) {
  if (file.size() <= kMaxMenuFile) return true;
  MessageBox("The file name \"" + file +
                 "\" is too long for a menu background: it can have at most " +
                 std::to_string(kMaxMenuFile) + " characters.",
             kInformation, MB_OK);
  return false;
}

int CBackgrounds::OnWizardBack() {
  return routing::RouteFrom(IDD_BACKGROUNDS, routing::Move::Back);
}

int CBackgrounds::OnWizardNext() {
  // Plain text fields: nothing can be refused here.
  (void)UpdateData(true);
  for (const Menu& menu : kMenus) {
    if ((this->*menu.member).empty()) {
      MessageBox("You need to enter a JPEG File name for the menu", kInformation, MB_OK);
      return kWizardStay;
    }
  }
  for (const Menu& menu : kMenus) {
    if (!MenuFileFits(this->*menu.member)) return kWizardStay;
  }
  for (const Menu& menu : kMenus) {
    std::string& file = this->*menu.member;
    if (platform::EqualsNoCaseAscii(file, kOnTheWeb)) file = kOnTheWeb;
  }
  UpdateData(false);

  bool written = true;
  std::string unresolved;
  for (const Menu& menu : kMenus) {
    const std::string& file = this->*menu.member;
    if (store::SlotOf(menu.option)) {
      written = store::Write(menu.option, OptionValue(menu.option, file)) && written;
    } else {
      unresolved += (unresolved.empty() ? "" : ", ") + std::string(menu.option.key);
    }
    written = store::Write(menu.oemDefault, file) && written;
    written =
        store::Write(store::item::kMenuBackgroundFiles.WithKey(menu.packageKey), file) && written;
  }
  if (!unresolved.empty()) {
    std::string text = NoEntryMarked(kConfigWords, unresolved);
    text[0] = platform::ToUpperAscii(text[0]);
    // After refused writes (told before this) "written" would be untrue.
    MessageBox(text + ", so that menu's background was not set there." +
                   (written ? " The other entries were written."
                            : " The other entries could not be saved either, as told before this."),
               kInformation, MB_OK);
  }
  // A failed write has been shown by the store; staying lets the user retry.
  if (!written) return kWizardStay;
  return COkapiPage::OnWizardNext();
}
