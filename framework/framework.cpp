#include "framework/framework.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "framework/backend.h"

namespace fw {
namespace {

std::unique_ptr<Backend>& BackendSlot() {
  static std::unique_ptr<Backend> backend;
  return backend;
}

}  // namespace

Backend& CurrentBackend() {
  auto& slot = BackendSlot();
  // A program that forgot to choose one must not run its dialogs nowhere and
  // report success.
  if (!slot) {
    std::fputs("okapi: no window backend was chosen before the first dialog\n", stderr);
    std::abort();
  }
  return *slot;
}

std::unique_ptr<Backend> ReplaceBackend(std::unique_ptr<Backend> next) {
  auto previous = std::move(BackendSlot());
  BackendSlot() = std::move(next);
  return previous;
}

}  // namespace fw

namespace {

bool EqualNoCase(const std::string& a, const std::string& b, std::size_t length) {
  if (a.size() < length || b.size() < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// Whole text, optional sign, decimal digits; false on anything else or overflow.
bool ParseInt(const std::string& raw, long long& value) {
  const std::string text = Trimmed(raw);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long result = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    result = result * 10 + (text[i] - '0');
    if (result > static_cast<long long>(INT_MAX) + 1) return false;
  }
  value = negative ? -result : result;
  return value >= INT_MIN && value <= INT_MAX;
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// --- fonts, strings -------------------------------------------------------

CFont::~CFont() { Release(); }

// A font outliving the backend that made it (a test's backend replaced
// first) is left alone: that backend may be gone.
void CFont::Release() {
  if (m_handle && m_backend == &fw::CurrentBackend()) m_backend->ReleaseFont(m_handle);
  m_handle = 0;
}

bool CFont::CreateFontIndirect(const LogFont& font) {
  Release();
  m_backend = &fw::CurrentBackend();
  m_handle = m_backend->MakeFont(font);
  m_logFont = font;
  return m_handle != 0;
}

LogFont GetMessageFont() { return fw::CurrentBackend().MessageFont(); }
int GetScreenLogPixelsY() { return fw::CurrentBackend().LogPixelsY(); }
std::string LoadResourceString(unsigned id) { return fw::CurrentBackend().LoadResourceString(id); }

int AfxMessageBox(const std::string& text, unsigned flags) {
  return fw::CurrentBackend().ShowMessageBox(text, kAppName, flags);
}

// --- windows and controls ---------------------------------------------------

void CWnd::BindTo(CDialog& dialog, int id) {
  m_root = &dialog;
  m_id = id;
}

void CWnd::SetWindowText(const std::string& text) {
  if (auto* host = Host()) host->SetText(m_id, text);
}

std::string CWnd::GetWindowText() const {
  auto* host = Host();
  return host ? host->GetText(m_id) : std::string();
}

bool CWnd::EnableWindow(bool enable) {
  auto* host = Host();
  if (!host) return false;
  const bool wasDisabled = !host->IsEnabled(m_id);
  host->Enable(m_id, enable);
  return wasDisabled;
}

bool CWnd::IsWindowEnabled() const {
  auto* host = Host();
  return host && host->IsEnabled(m_id);
}

bool CWnd::ShowWindow(int command) {
  auto* host = Host();
  if (!host) return false;
  const bool wasVisible = host->IsVisible(m_id);
  host->Show(m_id, command != SW_HIDE);
  return wasVisible;
}

bool CWnd::IsWindowVisible() const {
  auto* host = Host();
  return host && host->IsVisible(m_id);
}

bool CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, unsigned flags) {
  auto* host = Host();
  if (!host) return false;
  host->SetPos(m_id, x, y, cx, cy, flags);
  return true;
}

CRect CWnd::GetWindowRect() const {
  auto* host = Host();
  return host ? host->GetRect(m_id) : CRect{};
}

void CWnd::SetFont(const CFont* font, bool redraw) {
  auto* host = Host();
  if (host && font) host->SetFont(m_id, *font, redraw);
}

void CWnd::SetFocus() {
  if (auto* host = Host()) host->SetFocus(m_id);
}

int CButton::GetCheck() const {
  auto* host = Host();
  return host ? host->GetCheck(m_id) : 0;
}

void CButton::SetCheck(int check) {
  if (auto* host = Host()) host->SetCheck(m_id, check);
}

void CEdit::LimitText(int maxChars) {
  if (auto* host = Host()) host->LimitText(m_id, maxChars);
}

void CEdit::SetSel(int start, int end) {
  if (auto* host = Host()) host->SetSel(m_id, start, end);
}

bool CStatic::SetBitmapFromFile(const std::string& path, int cx, int cy) {
  auto* host = Host();
  return host && host->SetBitmapFromFile(m_id, path, cx, cy);
}

bool CStatic::SetBitmapFromResource(unsigned resourceId, int cx, int cy) {
  auto* host = Host();
  return host && host->SetBitmapFromResource(m_id, resourceId, cx, cy);
}

int CListControl::AddString(const std::string& text) {
  auto* host = Host();
  return host ? host->ListAdd(m_id, text) : LB_ERR;
}

int CListControl::InsertString(int index, const std::string& text) {
  auto* host = Host();
  return host ? host->ListInsert(m_id, index, text) : LB_ERR;
}

int CListControl::DeleteString(int index) {
  auto* host = Host();
  return host ? host->ListDelete(m_id, index) : LB_ERR;
}

void CListControl::ResetContent() {
  if (auto* host = Host()) host->ListReset(m_id);
}

int CListControl::GetCount() const {
  auto* host = Host();
  return host ? host->ListCount(m_id) : 0;
}

int CListControl::GetCurSel() const {
  auto* host = Host();
  return host ? host->ListGetCurSel(m_id) : LB_ERR;
}

int CListControl::SetCurSel(int index) {
  auto* host = Host();
  return host ? host->ListSetCurSel(m_id, index) : LB_ERR;
}

std::string CListControl::GetItemText(int index) const {
  auto* host = Host();
  if (!host) return {};
  return host->ListGetText(m_id, index).value_or(std::string());
}

// As LB_FINDSTRING(EXACT): from the item after `after` to the end, then from
// the top around to `after`.
static int FindItem(fw::WindowHost* host, int id, int after, const std::string& text, bool exact) {
  if (!host) return LB_ERR;
  const int count = host->ListCount(id);
  if (count <= 0) return LB_ERR;
  const int start = (after < 0 || after >= count) ? 0 : after + 1;
  for (int n = 0; n < count; ++n) {
    const int index = (start + n) % count;
    const auto item = host->ListGetText(id, index);
    if (!item) continue;
    if (exact ? (item->size() == text.size() && EqualNoCase(*item, text, text.size()))
              : EqualNoCase(*item, text, text.size()))
      return index;
  }
  return LB_ERR;
}

int CListControl::FindStringExact(int after, const std::string& text) const {
  return FindItem(Host(), m_id, after, text, true);
}

int CListControl::FindString(int after, const std::string& prefix) const {
  return FindItem(Host(), m_id, after, prefix, false);
}

int CListControl::SelectString(int after, const std::string& prefix) {
  const int index = FindString(after, prefix);
  if (index == LB_ERR) return LB_ERR;
  return SetCurSel(index);
}

int CListBox::GetText(int index, std::string& text) const {
  auto* host = Host();
  if (!host) return LB_ERR;
  const auto item = host->ListGetText(m_id, index);
  if (!item) return LB_ERR;
  text = *item;
  return static_cast<int>(text.size());
}

int CComboBox::GetLBText(int index, std::string& text) const {
  auto* host = Host();
  if (!host) return CB_ERR;
  const auto item = host->ListGetText(m_id, index);
  if (!item) return CB_ERR;
  text = *item;
  return static_cast<int>(text.size());
}

bool CMenu::AppendMenu(unsigned flags, unsigned id, const std::string& text) {
  auto* host = m_owner->GetHost();
  return host && host->AppendSystemMenu(flags, id, text);
}

// --- data exchange ----------------------------------------------------------

void CDataExchange::Fail(const std::string& message) {
  if (m_failed) return;
  m_failed = true;
  auto* host = m_pDlg->GetHost();
  if (!host) return;
  host->ShowMessageBox(message, kAppName, MB_OK | MB_ICONEXCLAMATION);
  host->SetFocus(m_idLastControl);
  host->SetSel(m_idLastControl, 0, -1);
}

namespace {

// The dialog's window for an exchange with control `id`; null when there is
// nothing to exchange (no window, or an earlier control failed).
fw::WindowHost* Prepare(CDataExchange* pDX, int id) {
  auto* host = pDX->m_pDlg->GetHost();
  if (pDX->Failed() || !host) return nullptr;
  pDX->PrepareCtrl(id);
  return host;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
  auto* host = Prepare(pDX, id);
  if (!host) return;
  if (pDX->m_bSaveAndValidate)
    value = host->GetText(id);
  else
    host->SetText(id, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
  auto* host = Prepare(pDX, id);
  if (!host) return;
  if (!pDX->m_bSaveAndValidate) {
    host->SetText(id, std::to_string(value));
    return;
  }
  long long parsed = 0;
  if (!ParseInt(host->GetText(id), parsed)) {
    pDX->Fail("Please enter an integer.");
    return;
  }
  value = static_cast<int>(parsed);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint8_t& value) {
  auto* host = Prepare(pDX, id);
  if (!host) return;
  if (!pDX->m_bSaveAndValidate) {
    host->SetText(id, std::to_string(value));
    return;
  }
  long long parsed = 0;
  const std::string text = host->GetText(id);
  const bool signedText = Trimmed(text).find_first_of("+-") == 0;
  if (signedText || !ParseInt(text, parsed) || parsed < 0 || parsed > 255) {
    pDX->Fail("Please enter an integer between 0 and 255.");
    return;
  }
  value = static_cast<std::uint8_t>(parsed);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  auto* host = Prepare(pDX, id);
  if (!host) return;
  if (pDX->m_bSaveAndValidate)
    value = host->GetCheck(id);
  else
    host->SetCheck(id, value);
}

void DDX_Check(CDataExchange* pDX, int id, bool& value) {
  int check = value ? 1 : 0;
  DDX_Check(pDX, id, check);
  if (pDX->m_bSaveAndValidate && !pDX->Failed()) value = check == 1;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (pDX->Failed()) return;
  pDX->PrepareCtrl(id);
  if (!control.IsBound()) control.BindTo(*pDX->m_pDlg, id);
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars) {
  if (pDX->Failed()) return;
  if (!pDX->m_bSaveAndValidate) {
    if (auto* host = pDX->m_pDlg->GetHost()) host->LimitText(pDX->LastControl(), maxChars);
    return;
  }
  if (static_cast<long long>(value.size()) > maxChars)
    pDX->Fail("Please enter no more than " + std::to_string(maxChars) + " characters.");
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (pDX->Failed() || !pDX->m_bSaveAndValidate) return;
  if (value < minVal || value > maxVal)
    pDX->Fail("Please enter an integer between " + std::to_string(minVal) + " and " +
              std::to_string(maxVal) + ".");
}

void DDV_MinMaxByte(CDataExchange* pDX, std::uint8_t value, std::uint8_t minVal,
                    std::uint8_t maxVal) {
  DDV_MinMaxInt(pDX, value, minVal, maxVal);
}

// --- dialogs ----------------------------------------------------------------

CDialog::CDialog(unsigned templateId) : m_templateId(templateId) {
  m_root = this;
  m_id = kSelf;
}

CDialog::~CDialog() {
  if (m_host) m_host->OwnerDestroyed();
}

int CDialog::DoModal() { return fw::CurrentBackend().RunDialog(*this); }

void CDialog::EndDialog(int result) {
  if (m_host) m_host->EndDialog(result);
}

void CDialog::Detach() {
  m_host = nullptr;
  m_systemMenu.reset();
}

bool CDialog::UpdateData(bool save) {
  CDataExchange dx(this, save);
  DoDataExchange(&dx);
  return !dx.Failed();
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (m_host) return m_host->ShowMessageBox(text, caption, flags);
  return fw::CurrentBackend().ShowMessageBox(text, caption, flags);
}

CWnd* CDialog::GetDlgItem(int id) {
  if (!m_host || !m_host->HasControl(id)) return nullptr;
  auto& item = m_items[id];
  if (!item) {
    item = std::make_unique<CWnd>();
    item->BindTo(*this, id);
  }
  return item.get();
}

CRect CDialog::MapDialogRect(const CRect& units) const {
  return m_host ? m_host->MapDialogUnits(units) : CRect{};
}

std::string CDialog::GetDlgItemText(int id) const {
  return m_host ? m_host->GetText(id) : std::string();
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
  if (m_host) m_host->SetText(id, text);
}

void CDialog::CheckDlgButton(int id, int check) {
  if (m_host) m_host->SetCheck(id, check);
}

int CDialog::IsDlgButtonChecked(int id) const { return m_host ? m_host->GetCheck(id) : 0; }

CMenu* CDialog::GetSystemMenu(bool) {
  if (!m_host || !m_host->HasSystemMenu()) return nullptr;
  if (!m_systemMenu) m_systemMenu.reset(new CMenu(this));
  return m_systemMenu.get();
}

void CDialog::SetIcon(unsigned iconResourceId) {
  if (m_host) m_host->SetIcon(iconResourceId);
}

CFont* CDialog::KeepFont(std::unique_ptr<CFont> font) {
  m_fonts.push_back(std::move(font));
  return m_fonts.back().get();
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnCommand(int id, unsigned code) {
  if (code != BN_CLICKED) return false;
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

CtlColor CDialog::OnCtlColor(int, int) { return {}; }
bool CDialog::OnSysCommand(unsigned) { return false; }
void CDialog::OnLButtonUp(CPoint) {}
void CDialog::OnPaint() {}

// --- property pages and sheet -----------------------------------------------

CPropertyPage::CPropertyPage(unsigned templateId) : CDialog(templateId) {
  m_psp.dwFlags = PSP_HASHELP;
}

void CPropertyPage::SetWizardButtons(unsigned flags) {
  if (auto* host = GetHost())
    host->PostWizardButtons(flags);
  else if (m_sheet)
    m_sheet->SetWizardButtons(flags);
}

bool CPropertyPage::OnSetActive() { return true; }
bool CPropertyPage::OnKillActive() { return true; }
int CPropertyPage::OnWizardNext() { return kWizardInOrder; }
int CPropertyPage::OnWizardBack() { return kWizardInOrder; }
bool CPropertyPage::OnWizardFinish() { return true; }
bool CPropertyPage::OnQueryCancel() { return true; }
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

CPropertySheet::CPropertySheet(unsigned captionId, CWnd* parent, unsigned selectPage)
    : CPropertySheet(std::string(), parent, selectPage) {
  m_captionId = captionId;
}

CPropertySheet::CPropertySheet(const std::string& caption, CWnd*, unsigned selectPage)
    : m_caption(caption) {
  m_root = this;
  m_id = kSelf;
  m_psh.dwFlags = PSH_HASHELP;
  m_psh.nStartPage = selectPage;
}

// Pages may already be gone: the program destroys them before the sheet.
CPropertySheet::~CPropertySheet() {
  if (m_host) m_host->OwnerDestroyed();
}

void CPropertySheet::AddPage(CPropertyPage* page) {
  m_pages.push_back(page);
  page->SetParentSheet(this);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
  if (index < 0 || index >= GetPageCount()) return nullptr;
  return m_pages[index];
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
  const auto it = std::find(m_pages.begin(), m_pages.end(), page);
  return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

int CPropertySheet::GetActiveIndex() const {
  return m_active >= 0 ? m_active : static_cast<int>(m_psh.nStartPage);
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

bool CPropertySheet::SetActivePage(int index) {
  if (index < 0 || index >= GetPageCount()) return false;
  if (m_host) return m_host->SetActivePage(index);
  m_psh.nStartPage = static_cast<unsigned>(index);
  return true;
}

bool CPropertySheet::SetActivePage(CPropertyPage* page) {
  return SetActivePage(GetPageIndex(page));
}

void CPropertySheet::SetWizardButtons(unsigned flags) {
  if (m_host) m_host->PostWizardButtons(flags);
}

int CPropertySheet::DoModal() { return fw::CurrentBackend().RunSheet(*this); }

std::string CPropertySheet::GetCaption() const {
  if (!m_caption.empty() || m_captionId == 0) return m_caption;
  return LoadResourceString(m_captionId);
}

void CPropertySheet::SetTitleOverride(const std::string& title) {
  m_titleOverride = title;
  if (m_host) m_host->TitleOverrideChanged();
}

bool CPropertySheet::OnInitDialog() { return true; }
CtlColor CPropertySheet::OnCtlColor(int, int) { return {}; }

// --- common dialogs ---------------------------------------------------------

CFileDialog::CFileDialog(bool openFileDialog, const std::string& defExt,
                         const std::string& fileName, unsigned flags, const std::string& filter,
                         CWnd*) {
  m_ofn.open = openFileDialog;
  m_ofn.defExt = defExt;
  m_ofn.fileName = fileName;
  m_ofn.flags = flags;
  m_ofn.filter = filter;
}

int CFileDialog::DoModal() {
  const auto chosen = fw::CurrentBackend().OpenFile(m_ofn);
  if (!chosen) return IDCANCEL;
  m_path = *chosen;
  return IDOK;
}

std::string CFileDialog::GetFileName() const { return FileNameOf(m_path); }

std::string CFileDialog::GetFileExt() const {
  const std::string name = GetFileName();
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string CFileDialog::GetFileTitle() const {
  const std::string name = GetFileName();
  return name.substr(0, name.rfind('.'));
}

CColorDialog::CColorDialog(COLORREF initial, unsigned flags, CWnd*) {
  m_cc.initial = initial;
  m_cc.flags = flags;
}

COLORREF* CColorDialog::GetSavedCustomColors() {
  static COLORREF colors[16] = {
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
  return colors;
}

int CColorDialog::DoModal() {
  const auto chosen = fw::CurrentBackend().PickColor(m_cc, GetSavedCustomColors());
  if (!chosen) return IDCANCEL;
  m_color = *chosen;
  return IDOK;
}
