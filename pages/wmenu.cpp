#include "pages/wmenu.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "pages/app_menu.h"
#include "res/resource.h"
#include "store/item_table.h"
#include "store/seed.h"
#include "wizard/routing.h"

namespace item = store::item;

namespace {

constexpr std::string_view kLineBreak = "<br>";

std::string WithoutQuotes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
  return text;
}

std::string FileName(store::File file) {
  const std::string& path = store::PathOf(file);
  return path.substr(path.find_last_of('\\') + 1);
}

bool IsFirstValue(const std::optional<std::string>& value) { return value && !value->empty(); }

// The quoted payload after the marker and its comma.
std::string Payload(const std::optional<std::string>& entry, const store::Item& item) {
  const std::size_t start = item.key.size() + 1;
  if (!entry || entry->size() <= start) return {};
  return EntryToText(WithoutQuotes(entry->substr(start)));
}

// The description behind "<b>title</b> "; an entry without the bold title
// is all description.
std::string Description(const std::optional<std::string>& entry, const store::Item& item) {
  if (!entry) return {};
  const auto first = entry->find('>');
  if (first == std::string::npos) return Payload(entry, item);
  const auto second = entry->find('>', first + 1);
  std::size_t start = second == std::string::npos ? first + 1 : second + 1;
  if (second != std::string::npos && start < entry->size() && (*entry)[start] == ' ') ++start;
  return EntryToText(WithoutQuotes(entry->substr(start)));
}

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

CWMenu::CWMenu()
    : COkapiPage(IDD_WMENU,
                 {.titleId = IDC_WMENU_HEADING,
                  .helpButtonId = IDC_WMENU_HELP,
                  .helpTopic = "::/W035.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_WMENU_HEADING, IDC_WMENU_IMAGE_CHECK, IDC_WMENU_MENU1_LABEL,
                            IDC_WMENU_MENU2_LABEL, IDC_WMENU_MENU3_LABEL}}) {}

void CWMenu::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WMENU_IMAGE_CHECK, m_ctlWelcomeImageCheck);
  DDX_Text(pDX, IDC_WMENU_INTRO, m_strIntro);
  DDX_Text(pDX, IDC_WMENU_TAB1_DESC, m_strTab1Desc);
  DDX_Text(pDX, IDC_WMENU_TAB2_DESC, m_strTab2Desc);
  DDX_Text(pDX, IDC_WMENU_TAB3_DESC, m_strTab3Desc);
  DDX_Text(pDX, IDC_WMENU_CLOSING, m_strClosing);
  DDX_Text(pDX, IDC_WMENU_MENU1_LABEL, m_strMenu1Label);
  DDX_Text(pDX, IDC_WMENU_MENU2_LABEL, m_strMenu2Label);
  DDX_Text(pDX, IDC_WMENU_MENU3_LABEL, m_strMenu3Label);
  DDX_Check(pDX, IDC_WMENU_IMAGE_CHECK, m_bWelcomeImage);
}

bool CWMenu::OnCommand(int id, unsigned code) {
  static const CommandEntry<CWMenu> kCommands[] = {
      {IDC_WMENU_IMAGE_CHECK, BN_CLICKED, &CWMenu::OnWelcomeImageClicked},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CWMenu::LoadPage() {
  (void)SaveWelcomeImageOriginal();  // a refusal has been told; a click tries again
  LoadWelcomeTexts();
}

bool CWMenu::SaveWelcomeImageOriginal() {
  return store::KeepFirstValues(item::kWelcomeImageSaved,
                                {{item::kWelcomeImage, item::kWelcomeImageOrg}});
}

void CWMenu::LoadMenuTitles() {
  const std::pair<store::Item, std::pair<std::string*, std::string*>> menus[] = {
      {item::kMenu1Title, {&m_strMenu1Label, &m_strTab1Title}},
      {item::kMenu2Title, {&m_strMenu2Label, &m_strTab2Title}},
      {item::kMenu3Title, {&m_strMenu3Label, &m_strTab3Title}},
  };
  for (const auto& [menu, members] : menus) {
    *members.first = *members.second = ParseMenuTitle(store::Read(menu)).title;
  }
}

void CWMenu::LoadWelcomeTexts() {
  m_strIntro = Payload(store::Read(item::kWelcomeIntro), item::kWelcomeIntro);
  m_strTab1Desc = Description(store::Read(item::kTab1Description), item::kTab1Description);
  m_strTab2Desc = Description(store::Read(item::kTab2Description), item::kTab2Description);
  m_strTab3Desc = Description(store::Read(item::kTab3Description), item::kTab3Description);
  m_strClosing = Payload(store::Read(item::kWelcomeClosing), item::kWelcomeClosing);
  LoadMenuTitles();
  const auto image = store::Read(item::kWelcomeImage);
  m_bWelcomeImage = !(image && image->find("spacer") != std::string::npos);
  UpdateData(false);
}

bool CWMenu::OnSetActive() {
  // Titles renamed on the menu page since: only the labels change on screen,
  // what the user typed into the texts stays.
  LoadMenuTitles();
  SetDlgItemText(IDC_WMENU_MENU1_LABEL, m_strMenu1Label);
  SetDlgItemText(IDC_WMENU_MENU2_LABEL, m_strMenu2Label);
  SetDlgItemText(IDC_WMENU_MENU3_LABEL, m_strMenu3Label);
  return COkapiPage::OnSetActive();
}

int CWMenu::OnWizardNext() {
  if (!UpdateData(true)) return kWizardStay;
  struct Text {
    store::Item item;
    const char* name;
    const std::string& text;
    std::string bold;  // the menu title in front of a description
  };
  const Text texts[] = {
      {item::kWelcomeIntro, "introduction", m_strIntro, {}},
      {item::kWelcomeClosing, "closing text", m_strClosing, {}},
      {item::kTab1Description, "description of the first tab", m_strTab1Desc,
       "<b>" + m_strTab1Title + "</b> "},
      {item::kTab2Description, "description of the second tab", m_strTab2Desc,
       "<b>" + m_strTab2Title + "</b> "},
      {item::kTab3Description, "description of the third tab", m_strTab3Desc,
       "<b>" + m_strTab3Title + "</b> "},
  };

  std::vector<std::pair<store::Item, std::string>> entries;
  for (const Text& t : texts) {
    // The entry is quoted: a quote in it would end it early.
    if (t.text.find('"') != std::string::npos) {
      MessageBox("The " + std::string(t.name) + " cannot contain a double quote (\").",
                 "Information", MB_OK);
      return kWizardStay;
    }
    const std::string head = std::string(t.item.key) + ",\"" + t.bold;
    const std::string entry = head + TextToEntry(t.text) + "\"";
    if (entry.size() > kMaxEntry) {
      const std::size_t room = kMaxEntry - std::min(kMaxEntry, head.size() + 1);
      MessageBox("The " + std::string(t.name) + " is too long: it may have at most " +
                     std::to_string(room) + " characters, a line break counting as four.",
                 "Information", MB_OK);
      return kWizardStay;
    }
    entries.emplace_back(t.item, entry);
  }

  std::string unresolved;
  for (const auto& [entry, value] : entries) {
    if (!store::SlotOf(entry)) {
      unresolved += (unresolved.empty() ? "" : ", ") + std::string(entry.key);
      continue;
    }
    if (!store::Write(entry, value)) return kWizardStay;  // told by the store
  }
  if (!unresolved.empty()) {
    MessageBox(NoEntryMarked(FileName(store::File::Text), unresolved) +
                   ", so what belongs there was not written.",
               "Information", MB_OK);
  }
  return routing::RouteFrom(IDD_WMENU, routing::Move::Next);
}

void CWMenu::OnWelcomeImageClicked() {
  if (!UpdateData(true)) return;
  // A first value not kept at start is kept before the write it guards.
  if (!SaveWelcomeImageOriginal()) {
    m_bWelcomeImage = !m_bWelcomeImage;
    CheckDlgButton(IDC_WMENU_IMAGE_CHECK, m_bWelcomeImage ? 1 : 0);
    return;
  }
  if (!m_bWelcomeImage) {
    (void)store::Write(item::kWelcomeImage, std::string(item::kWelcomeImage.key) + ",spacer.gif");
    return;
  }
  const auto first = store::Read(item::kWelcomeImageOrg);
  if (IsFirstValue(first)) {
    (void)store::Write(item::kWelcomeImage, *first);
    return;
  }
  m_bWelcomeImage = false;
  CheckDlgButton(IDC_WMENU_IMAGE_CHECK, 0);
  MessageBox("The welcome page graphic could not be shown again: its original value (" +
                 std::string(item::kWelcomeImageOrg.key) + " in " +
                 FileName(item::kWelcomeImageOrg.file) + ") is missing.",
             "Information", MB_OK);
}
