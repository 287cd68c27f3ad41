#include "pages/modified.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "store/item_table.h"
#include "store/seed.h"

namespace {

constexpr std::string_view kModifiedBy = "Modified by";

}  // namespace

CModified::CModified()
    : COkapiPage(IDD_MODIFIED, {.titleId = IDC_MODIFIED_HEADING,
                                .helpButtonId = IDC_MODIFIED_HELP,
                                .helpTopic = "::/W10.htm",
                                .white = {IDC_MODIFIED_HEADING, IDC_MODIFIED_PROMPT,
                                          IDC_MODIFIED_COMPANY_LABEL}}) {}

void CModified::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_MODIFIED_COMPANY, m_strCompany);
}

void CModified::LoadCompanyName() {
  // Titles this page builds can pass 127 characters; the item is read whole
  // enough that neither the name nor the closing quote is lost.
  const auto title = store::Read(store::item::kTitle);
  if (!title) return;  // a missing title is no first title
  const auto at = title->find(kModifiedBy);
  if (at == std::string::npos) {
    // Keeps the first title current, so a later suffix is built on it.
    (void)store::Write(store::item::kFirstTitle, *title);
    return;
  }
  const std::size_t nameStart = at + kModifiedBy.size() + 1;
  std::string name = nameStart < title->size() ? title->substr(nameStart) : std::string();
  name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
  m_strCompany = name;
  UpdateData(false);
}

int CModified::OnWizardNext() {
  if (!UpdateData(true)) return kWizardStay;
  if (m_strCompany.empty()) {
    MessageBox("You need to enter a company name", "Information", MB_OK);
    return kWizardStay;
  }
  if (m_strCompany.size() > kMaxCompany) {
    MessageBox("The company name you entered is too long", "Information", MB_OK);
    return kWizardStay;
  }
  // The title is stored in double quotes: one in the name would end it early.
  if (m_strCompany.find('"') != std::string::npos) {
    MessageBox("The company name cannot contain a double quote (\")", "Information", MB_OK);
    return kWizardStay;
  }

  if (!store::SlotOf(store::item::kTitle)) {
    MessageBox("The title was left unchanged: " + NoEntryMarked("lumen-text.ini", "__TITLE__") +
                   ", so there is no title to add the company name to.",
               "Information", MB_OK);
    return COkapiPage::OnWizardNext();
  }
  auto first = store::Read(store::item::kFirstTitle);
  // Keeping the first title failed at start (told then); a title without
  // the suffix is still its own first title, and is kept with the write it
  // guards, or the next run would have none.
  bool keepFirst = false;
  if (!first || first->empty()) {
    const auto title = store::Read(store::item::kTitle);
    keepFirst = title && !title->empty() && title->find(kModifiedBy) == std::string::npos;
    if (keepFirst) first = title;
  }
  if (!first || first->empty()) {
    MessageBox(
        "The title was left unchanged: its original text (Text1_org in lumen-text.ini) is "
        "missing or empty. This happens when the title already carried \"Modified by\" "
        "before OKAPI first ran.\n\nRemove the \"- Modified by\" part from the title in "
        "lumen-text.ini, then run OKAPI again to add the company name.",
        "Information", MB_OK);
    return COkapiPage::OnWizardNext();
  }

  // A title not in quotes (edited by hand) gets no stray closing quote.
  std::string title = *first;
  const bool quoted = title.back() == '"';
  if (quoted) title.pop_back();
  title += " - Modified by " + m_strCompany + (quoted ? "\"" : "");
  std::vector<std::pair<store::Item, std::string>> writes;
  if (keepFirst) writes.emplace_back(store::item::kFirstTitle, *first);
  writes.emplace_back(store::item::kTitle, title);
  // One write of the file: both or neither. A failure has been shown by the
  // store; staying lets the user retry.
  if (!store::WriteAll(writes)) return kWizardStay;
  return COkapiPage::OnWizardNext();
}
