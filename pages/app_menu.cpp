#include "pages/app_menu.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ascii.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/seed.h"
#include "wizard/routing.h"

namespace item = store::item;

namespace {

constexpr std::size_t kMarkerAndComma = 16;  // "__MENU1_TITLE__,"
// "__ABOUT_ALT_KEY__," fills the places before the letter.
constexpr std::size_t kAboutLetterAt = 18;
// Where the fourth title's marker says "4" or "x", and the default menu its digit.
constexpr std::size_t kFourthMarkerAt = 6;
constexpr std::size_t kDefaultMenuDigitAt = 21;

// Each literal ends in the blank that parts the program from its argument.
constexpr std::string_view kSpreadsheets[] = {
    "c:\\Program Files\\Microsoft Office\\Office\\excel.exe ",
    "c:\\tabula\\calc\\calcw.exe ",
};

std::string WithoutQuotes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
  return text;
}

bool Contains(const std::optional<std::string>& value, std::string_view text) {
  return value && value->find(text) != std::string::npos;
}

// A value worth keeping or putting back.
bool IsFirstValue(const std::optional<std::string>& value) { return value && !value->empty(); }

std::string FileName(store::File file) {
  const std::string& path = store::PathOf(file);
  return path.substr(path.find_last_of('\\') + 1);
}

// Where a fixed key lives, as the user can look it up.
std::string Where(const store::Item& fixed) {
  return std::string(fixed.key) + " in section [" + std::string(fixed.section) + "] of " +
         FileName(fixed.file);
}

std::string Marker(const store::Item& item) { return std::string(item.key); }

std::string Joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& part : parts) out += (out.empty() ? "" : ", ") + part;
  return out;
}

std::string AboutLetter() {
  const auto entry = store::Read(item::kAboutAltKey);
  if (!entry || entry->size() <= kAboutLetterAt) return {};
  return std::string(1, platform::ToUpperAscii((*entry)[kAboutLetterAt]));
}

// Changes one character of an entry in place; false when the entry is
// missing or is not the form `prefix` starts (so the place means nothing).
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
  if (!entry || entry->size() <= kMarkerAndComma) return {};
  std::string text = WithoutQuotes(entry->substr(kMarkerAndComma));
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

CAppMenu::CAppMenu()
    : COkapiPage(IDD_APPMENU,
                 {.titleId = IDC_APPMENU_HEADING,
                  .helpButtonId = IDC_APPMENU_HELP,
                  .helpTopic = "::/W03.htm",
                  .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                  .white = {IDC_APPMENU_HEADING, IDC_APPMENU_CSV_LABEL, IDC_APPMENU_MENU1_LABEL,
                            IDC_APPMENU_MENU2_LABEL, IDC_APPMENU_MENU3_LABEL,
                            IDC_APPMENU_ALT_KEY_HEAD, IDC_APPMENU_TITLE_HEAD,
                            IDC_APPMENU_SYS_DETAILS, IDC_APPMENU_WELCOME_TITLE_CHECK}}) {}

void CAppMenu::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_APPMENU_WELCOME_TITLE_CHECK, m_ctlWelcomeTitleCheck);
  DDX_Control(pDX, IDC_APPMENU_ALT_KEY4, m_ctlAltKey4Edit);
  DDX_Control(pDX, IDC_APPMENU_TITLE4, m_ctlTitle4Edit);
  DDX_Text(pDX, IDC_APPMENU_TITLE2, m_strTitle2);
  DDX_Text(pDX, IDC_APPMENU_TITLE3, m_strTitle3);
  DDX_Text(pDX, IDC_APPMENU_TITLE1, m_strTitle1);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY1, m_strAltKey1);
  DDV_MaxChars(pDX, m_strAltKey1, 1);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY2, m_strAltKey2);
  DDV_MaxChars(pDX, m_strAltKey2, 1);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY3, m_strAltKey3);
  DDV_MaxChars(pDX, m_strAltKey3, 1);
  DDX_Check(pDX, IDC_APPMENU_SYS_DETAILS, m_bShowSysDetails);
  DDX_Text(pDX, IDC_APPMENU_TITLE4, m_strTitle4);
  DDX_Text(pDX, IDC_APPMENU_ALT_KEY4, m_strAltKey4);
  DDV_MaxChars(pDX, m_strAltKey4, 1);
  DDX_Check(pDX, IDC_APPMENU_WELCOME_TITLE_CHECK, m_bShowWelcomeTitle);
}

bool CAppMenu::OnCommand(int id, unsigned code) {
  static const CommandEntry<CAppMenu> kCommands[] = {
      {IDC_APPMENU_SYS_DETAILS, BN_CLICKED, &CAppMenu::OnSysDetailsClicked},
      {IDC_APPMENU_WELCOME_TITLE_CHECK, BN_CLICKED, &CAppMenu::OnWelcomeTitleClicked},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

void CAppMenu::LoadPage() {
  LoadMenuTitles();
  (void)SaveSysDetailsOriginals();  // a refusal has been told; a click tries again
}

void CAppMenu::LoadMenuTitles() {
  const std::pair<store::Item, std::pair<std::string*, std::string*>> menus[] = {
      {item::kMenu1Title, {&m_strTitle1, &m_strAltKey1}},
      {item::kMenu2Title, {&m_strTitle2, &m_strAltKey2}},
      {item::kMenu3Title, {&m_strTitle3, &m_strAltKey3}},
      {item::kMenu4Title, {&m_strTitle4, &m_strAltKey4}},
  };
  for (int i = 0; i < (g_bVersion35 ? 4 : 3); ++i) {
    auto [title, letter] = ParseMenuTitle(store::Read(menus[i].first));
    *menus[i].second.first = std::move(title);
    *menus[i].second.second = std::move(letter);
  }

  if (!g_bVersion35) {
    // Placeholders that pass the checks of Next; never written.
    m_strTitle4.assign(1, '4');
    m_strAltKey4.assign(1, '4');
    m_ctlWelcomeTitleCheck.ShowWindow(SW_HIDE);
    ShowFourthMenuEdits(false);
  } else {
    const auto enabled = store::Read(item::kMenu4Enabled);
    if (Contains(enabled, "True")) {
      m_bShowWelcomeTitle = true;
    } else if (!enabled || store::HoldsSentinel(*enabled)) {
      m_bShowWelcomeTitle = true;
      (void)store::Write(item::kMenu4Enabled, "True");
    } else {
      m_bShowWelcomeTitle = false;
      ShowFourthMenuEdits(false);
    }
  }

  // A visible version-3.0 item underlines its letter; a hidden one is empty.
  m_bShowSysDetails = g_bVersion35 ? !Contains(store::Read(item::kSmallSysInfoStyle), "hidden")
                                   : Contains(store::Read(item::kSystemInformation), "<");
  UpdateData(false);
}

bool CAppMenu::SaveSysDetailsOriginals() {
  return store::KeepFirstValues(item::kSysDetailsSaved,
                                {{item::kSystemInformation, item::kText5Org},
                                 {item::kSysInfoAltKey, item::kText30Org},
                                 {item::kSmallSysInfoStyle, item::kSmallSysInfoOrg},
                                 {item::kLargeSysInfoStyle, item::kLargeSysInfoOrg}});
}

void CAppMenu::OnSysDetailsClicked() {
  if (!UpdateData(true)) return;
  const bool show = m_bShowSysDetails;
  // First values not kept at start are kept before the writes they guard:
  // written over first, they would be lost.
  if (!SaveSysDetailsOriginals()) {
    m_bShowSysDetails = !show;
    CheckDlgButton(IDC_APPMENU_SYS_DETAILS, m_bShowSysDetails ? 1 : 0);
    return;
  }
  std::vector<std::string> missing;
  bool changed = false;
  if (g_bVersion35) {
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
    // Hidden without a first value, the item could never be shown again.
    if (missing.empty()) {
      const auto titleWritten = show ? store::Write(item::kSystemInformation, *title)
                                     : store::WriteValue(item::kSystemInformation, "\"\"");
      const auto keyWritten = show ? store::Write(item::kSysInfoAltKey, *key)
                                   : store::WriteValue(item::kSysInfoAltKey, "0");
      changed = titleWritten || keyWritten;
    }
  }
  if (missing.empty()) return;
  if (!changed) {
    m_bShowSysDetails = !show;
    CheckDlgButton(IDC_APPMENU_SYS_DETAILS, m_bShowSysDetails ? 1 : 0);
  }
  MessageBox(std::string("The System Details item could not be ") + (show ? "shown" : "hidden") +
                 (changed ? " everywhere" : "") + ": its original value is missing (" +
                 Joined(missing) + ").",
             "Information", MB_OK);
}

void CAppMenu::OnWelcomeTitleClicked() {
  if (!UpdateData(true)) return;
  const bool enable = m_bShowWelcomeTitle;
  ShowFourthMenuEdits(enable);
  std::vector<std::string> skipped;
  if (!SetCharAt(item::kMenu4Title, kFourthMarkerAt, enable ? '4' : 'x',
                 item::kMenu4Title.key.substr(0, kFourthMarkerAt))) {
    skipped.push_back(Marker(item::kMenu4Title) + " in " + FileName(item::kMenu4Title.file));
  }
  (void)store::Write(item::kMenu4Enabled, enable ? "True" : "False");
  // The welcome page is the default menu exactly while it is enabled.
  if (!SetCharAt(item::kDefaultMenu, kDefaultMenuDigitAt, enable ? '4' : '1',
                 Marker(item::kDefaultMenu) + ",MENU")) {
    skipped.push_back(Marker(item::kDefaultMenu) + " in " + FileName(item::kDefaultMenu.file));
  }
  if (skipped.empty()) return;
  MessageBox("The entry marked " + Joined(skipped) +
                 " is missing or incomplete and was left unchanged, so the help application "
                 "may still show the welcome page as it was.",
             "Information", MB_OK);
}

void CAppMenu::ShowFourthMenuEdits(bool show) {
  m_ctlTitle4Edit.ShowWindow(show ? SW_SHOW : SW_HIDE);
  m_ctlAltKey4Edit.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

std::optional<CAppMenu::Refusal> CAppMenu::CheckMenus() const {
  const std::string* titles[] = {&m_strTitle1, &m_strTitle2, &m_strTitle3, &m_strTitle4};
  const std::string* letters[] = {&m_strAltKey1, &m_strAltKey2, &m_strAltKey3, &m_strAltKey4};
  const auto info = [](std::string text) { return Refusal{std::move(text), "Information"}; };
  const auto error = [](std::string text) { return Refusal{std::move(text), "Error"}; };

  for (const std::string* title : titles) {
    if (title->empty()) return info("You need to enter a Menu Title");
  }
  for (const std::string* title : titles) {
    if (title->size() > kMaxTitle) return info("One of the menu titles is too long.");
  }
  // The title is stored in double quotes with its letter in markup.
  for (const std::string* title : titles) {
    if (title->find_first_of("\"<>") != std::string::npos) {
      return info("The menu title \"" + *title +
                  "\" cannot contain a double quote (\") or the characters < and >.");
    }
  }
  for (const std::string* letter : letters) {
    if (letter->empty()) return info("You need to enter an Alt-Key letter");
  }

  const std::string about = AboutLetter();
  const std::string used =
      "The accelerator keys " + (about.empty() ? std::string() : about + ", ") + "K, P, S";
  std::string upper[4];
  for (int i = 0; i < 4; ++i) upper[i] = platform::ToUpperAscii(*letters[i]);
  std::string reserved = about + "KPS!";
  const auto taken = [&](int i) { return reserved.find(upper[i]) != std::string::npos; };
  const auto change = [&](int i) {
    return " are already used. Change Alt-Key" + std::to_string(i + 1) + "(" + *letters[i] +
           ") to another key";
  };
  if (taken(0)) return error(used + change(0));
  reserved += upper[0];
  if (taken(1)) return error(used + " " + upper[0] + change(1));
  reserved += upper[1];
  if (taken(2)) return error(used + " " + upper[0] + ", " + upper[1] + change(2));
  reserved += upper[2];
  if (taken(3)) return error(used + " " + upper[0] + ", " + upper[1] + change(3));

  const int menus = m_bShowWelcomeTitle ? 4 : 3;
  for (int i = 0; i < menus; ++i) {
    if (!MarkMenuTitle(*titles[i], *letters[i])) {
      return error("The accelerator key " + *letters[i] + " was not found, Please re-enter it");
    }
  }
  return std::nullopt;
}

bool CAppMenu::WriteMenus() {
  const std::pair<store::Item, store::Item> items[] = {
      {item::kMenu1AltKey, item::kMenu1Title},
      {item::kMenu2AltKey, item::kMenu2Title},
      {item::kMenu3AltKey, item::kMenu3Title},
      {item::kMenu4AltKey, item::kMenu4Title},
  };
  const std::string* titles[] = {&m_strTitle1, &m_strTitle2, &m_strTitle3, &m_strTitle4};
  const std::string* letters[] = {&m_strAltKey1, &m_strAltKey2, &m_strAltKey3, &m_strAltKey4};
  const int menus = m_bShowWelcomeTitle ? 4 : 3;

  std::vector<std::pair<store::Item, std::string>> entries;
  for (int i = 0; i < menus; ++i) {
    const store::Item& key = items[i].first;
    entries.emplace_back(key, Marker(key) + "," + *letters[i]);
  }
  for (int i = 0; i < menus; ++i) {
    const store::Item& title = items[i].second;
    entries.emplace_back(
        title, Marker(title) + ",\"" + MarkMenuTitle(*titles[i], *letters[i]).value_or("") + "\"");
  }

  std::vector<std::string> unresolved;
  for (const auto& [entry, value] : entries) {
    if (!store::SlotOf(entry)) {
      unresolved.emplace_back(entry.key);
      continue;
    }
    if (!store::Write(entry, value)) return false;
  }
  if (!unresolved.empty()) {
    MessageBox(NoEntryMarked(FileName(store::File::Text), Joined(unresolved)) +
                   ", so what belongs there was not written.",
               "Information", MB_OK);
  }
  return true;
}

int CAppMenu::OnWizardNext() {
  if (!UpdateData(true)) return kWizardStay;
  // Everything is checked before anything is written, so the files never
  // hold new letters with old titles.
  if (const auto refusal = CheckMenus()) {
    MessageBox(refusal->message, refusal->caption, MB_OK);
    return kWizardStay;
  }
  if (!WriteMenus()) return kWizardStay;
  return routing::Route(IDD_APPMENU, routing::Move::Next,
                        {.version35 = g_bVersion35,
                         .fourthMenu = m_bShowWelcomeTitle,
                         .visualMap = routing::UsesVisualMap()});
}

void CAppMenu::OnOpenCsvFile() {
  const auto* found = std::find_if(std::begin(kSpreadsheets), std::end(kSpreadsheets),
                                   [](std::string_view program) {
                                     program.remove_suffix(1);
                                     return platform::Os().files->Exists(std::string(program));
                                   });
  if (found == std::end(kSpreadsheets)) {
    MessageBox("Can't find either Tabula Calc or Microsoft Excel in their default location");
    MessageBox(
        "You may need to either install Tabula Calc or Microsoft Excel to open the "
        "Machine-Specifics.CSV file or \n you need to start one of these application and open "
        "the file yourself.",
        "Information", MB_OK);
    return;
  }
  const std::string commandLine = std::string(*found) + "\"" + g_strCsvFile + "\"";
  if (!platform::Os().processes->Start(commandLine, g_strInstallDir)) {
    MessageBox("The spreadsheet program could not be started:\n" + commandLine +
               "\n\nStart it yourself and open the file in it.");
  }
}
