#include "framework/headless/headless.h"

#include <algorithm>
#include <cctype>

#include "platform/platform.h"

namespace fw::headless {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

// What Enter gives: the default button of the box's set.
int DefaultButton(unsigned flags) {
  const unsigned set = flags & 0xFu;
  if (set != MB_YESNO && set != MB_YESNOCANCEL) return IDOK;
  return (flags & 0xF00u) == MB_DEFBUTTON2 ? IDNO : IDYES;
}

}  // namespace

// A live window: a dialog, a page or the sheet.
class Window : public WindowHost {
 public:
  Window(HeadlessBackend& backend, CDialog* dialog, unsigned templateId, SheetState* sheet)
      : m_backend(backend), m_dialog(dialog), m_templateId(templateId), m_sheet(sheet) {
    if (const DialogSpec* spec = backend.SpecOf(templateId)) {
      m_strict = true;
      m_text = spec->caption;
      for (const auto& c : spec->controls) m_controls[c.id] = Control{c};
    }
  }

  CDialog* Dialog() const { return m_dialog; }
  unsigned TemplateId() const { return m_templateId; }
  const std::string& Text() const { return m_text; }
  void SetOwnText(const std::string& text) { m_text = text; }
  bool Ended() const { return m_ended; }
  int EndResult() const { return m_endResult; }

  // The record; made when missing unless the template is defined.
  Control* Lookup(int id, Kind implied) {
    auto it = m_controls.find(id);
    if (it == m_controls.end()) {
      if (m_strict) {
        m_backend.Fault("dialog " + std::to_string(m_templateId) + " has no control " +
                        std::to_string(id));
        return nullptr;
      }
      it = m_controls.emplace(id, Control{}).first;
      it->second.id = id;
    }
    if (it->second.kind == Kind::Unknown) it->second.kind = implied;
    return &it->second;
  }

  bool HasControl(int id) override { return !m_strict || m_controls.count(id) > 0; }

  std::string GetText(int id) override {
    if (id == CWnd::kSelf) return m_text;
    const Control* c = Lookup(id, Kind::Unknown);
    if (!c) return {};
    if (c->kind == Kind::ComboBox && c->curSel >= 0 && c->curSel < int(c->items.size()))
      return c->items[c->curSel];
    return c->text;
  }

  void SetText(int id, const std::string& text) override {
    if (id == CWnd::kSelf) {
      SetOwnText(text);
      return;
    }
    Control* c = Lookup(id, Kind::Unknown);
    if (!c) return;
    c->text = text;
    // A single-line edit reports every change of its text, as Windows does.
    if (c->kind == Kind::Edit && m_dialog) m_dialog->OnCommand(id, EN_CHANGE);
  }

  int GetCheck(int id) override {
    const Control* c = Lookup(id, Kind::CheckBox);
    return c ? c->check : 0;
  }
  void SetCheck(int id, int check) override {
    if (Control* c = Lookup(id, Kind::CheckBox)) c->check = check;
  }

  bool IsEnabled(int id) override {
    if (id == CWnd::kSelf) return true;
    const Control* c = Lookup(id, Kind::Unknown);
    return c && c->enabled;
  }
  void Enable(int id, bool enable) override {
    if (id == CWnd::kSelf) return;
    if (Control* c = Lookup(id, Kind::Unknown)) c->enabled = enable;
  }
  bool IsVisible(int id) override {
    if (id == CWnd::kSelf) return true;
    const Control* c = Lookup(id, Kind::Unknown);
    return c && c->visible;
  }
  void Show(int id, bool show) override {
    if (id == CWnd::kSelf) return;
    if (Control* c = Lookup(id, Kind::Unknown)) c->visible = show;
  }
  CRect GetRect(int id) override {
    if (id == CWnd::kSelf) {
      const DialogSpec* spec = m_backend.SpecOf(m_templateId);
      return spec ? MapDialogUnits(spec->rect) : CRect{};
    }
    const Control* c = Lookup(id, Kind::Unknown);
    return c ? c->rect : CRect{};
  }
  // A font of 6 by 13 base units at 96 dpi, grown with the dpi.
  CRect MapDialogUnits(const CRect& units) override {
    const int dpi = m_backend.LogPixelsY();
    const auto x = [&](int v) { return (v * 6 * dpi + 4 * 96 / 2) / (4 * 96); };
    const auto y = [&](int v) { return (v * 13 * dpi + 8 * 96 / 2) / (8 * 96); };
    return {x(units.left), y(units.top), x(units.right), y(units.bottom)};
  }
  void SetPos(int id, int x, int y, int cx, int cy, unsigned flags) override {
    if (id == CWnd::kSelf) return;
    Control* c = Lookup(id, Kind::Unknown);
    if (!c) return;
    if (!(flags & SWP_NOMOVE)) {
      const int w = c->rect.Width(), h = c->rect.Height();
      c->rect = {x, y, x + w, y + h};
    }
    if (!(flags & SWP_NOSIZE)) {
      c->rect.right = c->rect.left + cx;
      c->rect.bottom = c->rect.top + cy;
    }
  }
  void SetFont(int id, const CFont& font, bool) override {
    Control* c = Lookup(id, Kind::Unknown);
    if (!c) return;
    const LogFont* made = m_backend.FontOf(font.GetSafeHandle());
    if (!made) {
      m_backend.Fault("font set on control " + std::to_string(id) + " is not a live font");
      return;
    }
    c->font = *made;
  }
  void SetFocus(int) override {}
  void LimitText(int id, int maxChars) override {
    if (Control* c = Lookup(id, Kind::Edit)) c->limit = maxChars;
  }
  void SetSel(int id, int, int) override { Lookup(id, Kind::Edit); }
  bool SetBitmapFromFile(int id, const std::string& path, int cx, int cy) override {
    auto& files = platform::Os().files;
    return files && files->Exists(path) && ShowImage(id, path, cx, cy);
  }
  bool SetBitmapFromResource(int id, unsigned resourceId, int cx, int cy) override {
    return ShowImage(id, "#" + std::to_string(resourceId), cx, cy);
  }
  bool ShowImage(int id, std::string image, int cx, int cy) {
    Control* c = Lookup(id, Kind::Static);
    if (!c) return false;
    c->image = std::move(image);
    c->imageWidth = cx;
    c->imageHeight = cy;
    return true;
  }

  int ListAdd(int id, const std::string& text) override {
    const Control* c = Lookup(id, Kind::ListBox);
    if (!c) return LB_ERR;
    const auto at = std::upper_bound(c->items.begin(), c->items.end(), text, LessNoCase);
    return ListInsert(id, c->sorted ? static_cast<int>(at - c->items.begin()) : -1, text);
  }
  int ListInsert(int id, int index, const std::string& text) override {
    Control* c = Lookup(id, Kind::ListBox);
    if (!c) return LB_ERR;
    if (index < 0) index = static_cast<int>(c->items.size());
    if (index > int(c->items.size())) return LB_ERR;
    c->items.insert(c->items.begin() + index, text);
    if (c->curSel >= index) ++c->curSel;
    return index;
  }
  int ListDelete(int id, int index) override {
    Control* c = Lookup(id, Kind::ListBox);
    if (!c || index < 0 || index >= int(c->items.size())) return LB_ERR;
    c->items.erase(c->items.begin() + index);
    if (c->curSel == index)
      c->curSel = -1;
    else if (c->curSel > index)
      --c->curSel;
    return static_cast<int>(c->items.size());
  }
  void ListReset(int id) override {
    if (Control* c = Lookup(id, Kind::ListBox)) {
      c->items.clear();
      c->curSel = -1;
    }
  }
  int ListCount(int id) override {
    const Control* c = Lookup(id, Kind::ListBox);
    return c ? static_cast<int>(c->items.size()) : LB_ERR;
  }
  int ListGetCurSel(int id) override {
    const Control* c = Lookup(id, Kind::ListBox);
    return c ? c->curSel : LB_ERR;
  }
  int ListSetCurSel(int id, int index) override {
    Control* c = Lookup(id, Kind::ListBox);
    if (!c) return LB_ERR;
    if (index < 0 || index >= int(c->items.size())) {
      c->curSel = -1;
      return LB_ERR;
    }
    c->curSel = index;
    return index;
  }
  std::optional<std::string> ListGetText(int id, int index) override {
    const Control* c = Lookup(id, Kind::ListBox);
    if (!c || index < 0 || index >= int(c->items.size())) return std::nullopt;
    return c->items[index];
  }

  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
    return m_backend.ShowMessageBox(text, caption, flags);
  }
  bool HasSystemMenu() override { return true; }
  bool AppendSystemMenu(unsigned, unsigned, const std::string&) override { return true; }
  void SetIcon(unsigned) override {}
  void EndDialog(int result) override {
    m_ended = true;
    m_endResult = result;
  }
  void PostWizardButtons(unsigned flags) override;
  bool SetActivePage(int index) override;
  void TitleOverrideChanged() override;
  void OwnerDestroyed() override;

 private:
  HeadlessBackend& m_backend;
  CDialog* m_dialog;
  unsigned m_templateId;
  SheetState* m_sheet;
  bool m_strict = false;
  std::string m_text;
  std::map<int, Control> m_controls;
  bool m_ended = false;
  int m_endResult = 0;
};

struct SheetState {
  HeadlessBackend* backend = nullptr;
  CPropertySheet* sheet = nullptr;
  std::unique_ptr<Window> window;
  std::map<int, std::unique_ptr<Window>> pages;
  int active = -1;
  unsigned buttons = 0;
  bool open = false;
  int result = 0;

  Window* PageWindow(int index) {
    const auto it = pages.find(index);
    return it == pages.end() ? nullptr : it->second.get();
  }

  int FindByTemplate(int templateId) const {
    for (int i = 0; i < sheet->GetPageCount(); ++i)
      if (static_cast<int>(sheet->GetPage(i)->GetTemplateId()) == templateId) return i;
    return sheet->GetPageCount();
  }

  // The page's caption (when its template is defined) as the wizard's title,
  // unless the sheet keeps a title of its own.
  void ApplyTitle() {
    if (!sheet->GetTitleOverride().empty()) {
      window->SetOwnText(sheet->GetTitleOverride());
      return;
    }
    if (active < 0) return;
    if (const DialogSpec* spec = backend->SpecOf(sheet->GetPage(active)->GetTemplateId()))
      window->SetOwnText(spec->caption);
  }

  // PSN_KILLACTIVE to the active page; true when it may be left.
  bool CanLeave() {
    if (active < 0) return true;
    return sheet->GetPage(active)->OnKillActive();
  }

  // As the property sheet selects a page: the page is created (and
  // initialised) at its first activation; a page refusing activation is
  // skipped in the direction of travel.
  bool SetCurSel(int index, int skipDirection) {
    const int count = sheet->GetPageCount();
    if (index < 0 || index >= count) return false;
    active = -1;
    while (true) {
      CPropertyPage* page = sheet->GetPage(index);
      if (!pages.count(index)) {
        auto window = std::make_unique<Window>(*backend, page, page->GetTemplateId(), this);
        page->Attach(window.get());
        pages[index] = std::move(window);
        page->OnInitDialog();
      }
      if (page->OnSetActive()) break;
      index += skipDirection;
      if (index < 0) {
        index = 0;
        break;
      }
      if (index >= count) {
        index = count - 1;
        break;
      }
    }
    active = index;
    sheet->SetActiveIndexFromBackend(index);
    ApplyTitle();
    return true;
  }

  void Close(int how) {
    if (!open || !sheet) return;
    open = false;
    result = how;
    for (auto& [index, window] : pages)
      if (CDialog* page = window->Dialog()) page->Detach();
    sheet->Detach();
  }

  // The active page; a fault when there is none (a start page out of range).
  CPropertyPage* Active() {
    CPropertyPage* page = sheet ? sheet->GetPage(active) : nullptr;
    if (!page) backend->Fault("the sheet has no active page");
    return page;
  }
};

void Window::PostWizardButtons(unsigned flags) {
  SheetState* sheet = m_sheet;
  if (!sheet) {
    m_backend.Fault("wizard buttons set outside a sheet");
    return;
  }
  m_backend.Post([sheet, flags] {
    if (sheet->open) sheet->buttons = flags;
  });
}

bool Window::SetActivePage(int index) {
  if (!m_sheet || !m_sheet->open) return false;
  if (!m_sheet->CanLeave()) return false;
  return m_sheet->SetCurSel(index, 1);
}

void Window::OwnerDestroyed() {
  if (!m_dialog && m_sheet) {
    // The sheet object went: its pages may be gone too.
    m_sheet->open = false;
    m_sheet->sheet = nullptr;
  }
  m_dialog = nullptr;
}

void Window::TitleOverrideChanged() {
  if (m_sheet) m_sheet->ApplyTitle();
}

// --- drivers ----------------------------------------------------------------

namespace {
// The dialog while its window exists.
CDialog* Live(Window& window) {
  CDialog* dialog = window.Dialog();
  return dialog && dialog->IsCreated() ? dialog : nullptr;
}
}  // namespace

unsigned DialogDriver::TemplateId() const { return m_window->TemplateId(); }
const Control& DialogDriver::Get(int id) const {
  static const Control missing;
  const Control* c = m_window->Lookup(id, Kind::Unknown);
  return c ? *c : missing;
}

// The control when a user can reach it: present, enabled, shown, in a live dialog.
Control* DialogDriver::Usable(int id, Kind implied) const {
  Control* c = m_window->HasControl(id) ? m_window->Lookup(id, implied) : nullptr;
  return c && c->enabled && c->visible && Live(*m_window) ? c : nullptr;
}

bool DialogDriver::Notify(int id, unsigned code) {
  m_window->Dialog()->OnCommand(id, code);
  m_backend->DeliverPosted();
  return true;
}

bool DialogDriver::Click(int id) {
  Control* c = Usable(id, Kind::PushButton);
  if (!c || (c->kind == Kind::Static && !c->notify)) return false;
  if (c->kind == Kind::CheckBox) c->check = c->check ? 0 : 1;
  if (c->kind == Kind::RadioButton) c->check = 1;
  return Notify(id, BN_CLICKED);
}

bool DialogDriver::Type(int id, const std::string& text) {
  Control* c = Usable(id, Kind::Edit);
  if (!c || c->readOnly) return false;
  c->text = c->limit > 0 && int(text.size()) > c->limit ? text.substr(0, c->limit) : text;
  return Notify(id, EN_CHANGE);
}

bool DialogDriver::Select(int id, int index) {
  Control* c = Usable(id, Kind::ListBox);
  if (!c || index < 0 || index >= int(c->items.size())) return false;
  c->curSel = index;
  return Notify(id, c->kind == Kind::ComboBox ? CBN_SELCHANGE : LBN_SELCHANGE);
}

void DialogDriver::Paint() {
  if (CDialog* dialog = Live(*m_window)) dialog->OnPaint();
  m_backend->DeliverPosted();
}

// Next is hidden while Finish shows.
bool SheetDriver::PressNext() { return !(m_state->buttons & PSWIZB_FINISH) && Press(1); }
bool SheetDriver::PressBack() { return Press(-1); }

bool SheetDriver::Press(int step) {
  SheetState& s = *m_state;
  if (!s.open || !(s.buttons & (step > 0 ? PSWIZB_NEXT : PSWIZB_BACK))) return false;
  CPropertyPage* page = s.Active();
  if (!page) return false;
  const int result = step > 0 ? page->OnWizardNext() : page->OnWizardBack();
  if (result != kWizardStay && s.open) {
    const int index = result == kWizardInOrder ? s.active + step : s.FindByTemplate(result);
    if (index >= 0 && index < s.sheet->GetPageCount() && s.CanLeave()) s.SetCurSel(index, step);
  }
  m_backend->DeliverPosted();
  return true;
}

bool SheetDriver::PressFinish() {
  SheetState& s = *m_state;
  if (!s.open || !(s.buttons & PSWIZB_FINISH)) return false;
  CPropertyPage* page = s.Active();
  if (!page) return false;
  if (page->OnWizardFinish()) s.Close(IDOK);
  m_backend->DeliverPosted();
  return true;
}

bool SheetDriver::PressCancel() {
  SheetState& s = *m_state;
  if (!s.open) return false;
  CPropertyPage* page = s.Active();
  if (!page || page->OnQueryCancel()) {
    for (auto& [index, window] : s.pages)
      if (CDialog* shown = window->Dialog()) shown->OnCancel();
    s.Close(IDCANCEL);
  }
  m_backend->DeliverPosted();
  return true;
}

bool SheetDriver::IsOpen() const { return m_state->open; }
CPropertySheet& SheetDriver::Sheet() const { return *m_state->sheet; }
unsigned SheetDriver::ActiveTemplateId() const {
  const auto* page = ActivePage();
  return page ? page->GetTemplateId() : 0;
}
CPropertyPage* SheetDriver::ActivePage() const {
  return m_state->sheet ? m_state->sheet->GetPage(m_state->active) : nullptr;
}
unsigned SheetDriver::Buttons() const { return m_state->buttons; }
std::string SheetDriver::Title() const { return m_state->window->Text(); }

// Without the page asked for, the sheet's own window: it has no dialog, so
// every action on it is refused.
DialogDriver SheetDriver::Page() const {
  Window* window = m_state->PageWindow(m_state->active);
  if (!window) {
    m_backend->Fault("the sheet has no active page");
    window = m_state->window.get();
  }
  return DialogDriver(*m_backend, *window);
}

// --- backend ----------------------------------------------------------------

HeadlessBackend::HeadlessBackend() {
  m_messageFont.faceName = "Tahoma";
  m_messageFont.height = -11;
}

HeadlessBackend::~HeadlessBackend() {
  for (auto& sheet : m_sheets) sheet->Close(IDCANCEL);
}

void HeadlessBackend::AnswerMessageBox(int button) { m_messageAnswers.push_back(button); }
void HeadlessBackend::AnswerFileDialog(std::optional<std::string> path) {
  m_fileAnswers.push_back(std::move(path));
}
void HeadlessBackend::AnswerColorDialog(std::optional<COLORREF> color) {
  m_colorAnswers.push_back(color);
}
void HeadlessBackend::OnSheet(std::function<void(SheetDriver&)> script) {
  m_sheetScript = std::move(script);
}

const DialogSpec* HeadlessBackend::SpecOf(unsigned templateId) const {
  const auto it = m_specs.find(templateId);
  return it == m_specs.end() ? nullptr : &it->second;
}

const LogFont* HeadlessBackend::FontOf(std::uintptr_t handle) const {
  const auto it = m_fonts.find(handle);
  return it == m_fonts.end() ? nullptr : &it->second;
}

void HeadlessBackend::DeliverPosted() {
  while (!m_posted.empty()) {
    auto message = std::move(m_posted.front());
    m_posted.pop_front();
    message();
  }
}

SheetDriver HeadlessBackend::Open(CPropertySheet& sheet) {
  auto state = std::make_shared<SheetState>();
  state->backend = this;
  state->sheet = &sheet;
  state->window = std::make_unique<Window>(*this, nullptr, 0, state.get());
  state->window->SetOwnText(sheet.GetCaption());
  state->open = true;
  m_sheets.push_back(state);
  sheet.Attach(state->window.get());
  state->buttons = PSWIZB_BACK | PSWIZB_NEXT;
  sheet.OnInitDialog();
  if (!state->SetCurSel(static_cast<int>(sheet.m_psh.nStartPage), 1))
    Fault("start page " + std::to_string(sheet.m_psh.nStartPage) + " is not a page of the sheet");
  DeliverPosted();
  return SheetDriver(*this, state);
}

int HeadlessBackend::RunSheet(CPropertySheet& sheet) {
  SheetDriver driver = Open(sheet);
  const std::shared_ptr<SheetState> state = m_sheets.back();
  if (m_sheetScript) m_sheetScript(driver);
  if (driver.IsOpen()) driver.PressCancel();
  if (driver.IsOpen()) {
    Fault("the sheet refused Cancel at the end of its script");
    state->Close(IDCANCEL);
  }
  return state->result;
}

int HeadlessBackend::RunDialog(CDialog& dialog) {
  Window window(*this, &dialog, dialog.GetTemplateId(), nullptr);
  dialog.Attach(&window);
  dialog.OnInitDialog();
  DeliverPosted();
  if (!window.Ended()) dialog.OnCommand(IDOK, BN_CLICKED);
  if (!window.Ended()) {
    Fault("dialog " + std::to_string(dialog.GetTemplateId()) + " did not end on OK");
    window.EndDialog(IDCANCEL);
  }
  dialog.Detach();
  return window.EndResult();
}

namespace {
// The next queued answer, or `none`. A dialog runs a message loop: what was
// posted arrives meanwhile.
template <typename T>
T Take(HeadlessBackend& backend, std::deque<T>& answers, T none) {
  backend.DeliverPosted();
  if (answers.empty()) return none;
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}
}  // namespace

int HeadlessBackend::ShowMessageBox(const std::string& text, const std::string& caption,
                                    unsigned flags) {
  m_messages.push_back({text, caption});
  return Take(*this, m_messageAnswers, DefaultButton(flags));
}

std::optional<std::string> HeadlessBackend::OpenFile(const CFileDialog::Options&) {
  return Take(*this, m_fileAnswers, std::optional<std::string>());
}

std::optional<COLORREF> HeadlessBackend::PickColor(const CColorDialog::Options&, COLORREF*) {
  return Take(*this, m_colorAnswers, std::optional<COLORREF>());
}

std::uintptr_t HeadlessBackend::MakeFont(const LogFont& font) {
  const std::uintptr_t handle = m_nextFont++;
  m_fonts[handle] = font;
  return handle;
}

void HeadlessBackend::ReleaseFont(std::uintptr_t font) {
  if (!m_fonts.erase(font)) Fault("font deleted twice or never made");
}

std::string HeadlessBackend::LoadResourceString(unsigned id) {
  const auto it = m_strings.find(id);
  return it == m_strings.end() ? std::string() : it->second;
}

ScopedHeadless::ScopedHeadless() {
  auto backend = std::make_unique<HeadlessBackend>();
  m_backend = backend.get();
  m_previous = ReplaceBackend(std::move(backend));
}

ScopedHeadless::~ScopedHeadless() { ReplaceBackend(std::move(m_previous)); }

}  // namespace fw::headless
