#include "pages/modified.h"

#include <algorithm>

#include "app/globals.h"
#include "res/resource.h"
#include "store/items.h"

namespace {

constexpr const char* kTextSection = "Lumen Text";
constexpr const char* kFirstTitleKey = "Text1_org";
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
  const std::string slot = ResolveItemKey("Text", "__TITLE__", 64);
  const std::string title = ReadItem(g_strTextFile, kTextSection, slot, 128);
  const auto at = title.find(kModifiedBy);
  if (at == std::string::npos) {
    // Keeps the first title current, so a later suffix is built on it. A
    // missing title is no first title.
    if (title != "Error") (void)WriteItem(g_strTextFile, kTextSection, kFirstTitleKey, title);
    return;
  }
  const std::size_t nameStart = at + kModifiedBy.size() + 1;
  std::string name = nameStart < title.size() ? title.substr(nameStart) : std::string();
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

  const std::string first = ReadItem(g_strTextFile, kTextSection, kFirstTitleKey, 128);
  const std::string slot = ResolveItemKey("Text", "__TITLE__", 32);
  if (first == "Error" || first.empty() || slot == "Error") {
    MessageBox(
        "The title of Lumen ZAN was left unchanged: its original text could not be found, "
        "so the company name cannot be added to it.\n\nRestore lumen-text.ini from the "
        "backup folder to customize the title.",
        "Information", MB_OK);
    return COkapiPage::OnWizardNext();
  }

  // A title not in quotes (edited by hand) gets no stray closing quote.
  std::string title = first;
  const bool quoted = title.back() == '"';
  if (quoted) title.pop_back();
  title += " - Modified by " + m_strCompany + (quoted ? "\"" : "");
  // A failed write has been shown by the store; staying lets the user retry.
  if (!WriteItem(g_strTextFile, kTextSection, slot, title)) return kWizardStay;
  return COkapiPage::OnWizardNext();
}
