#include "framework/win32/win32_api.h"
// (first: see win32_api.h)
#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "framework/win32/win32_backend.h"

namespace fw::win32 {
namespace {

HINSTANCE g_module = nullptr;

// comdlg32 brings the print spooler's libraries with it, which cost the
// wizard's start; it is loaded, from the system folder, when a page first
// asks for one of its dialogs.
HMODULE CommonDialogs() {
  static const HMODULE module = [] {
    char path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof "\\comdlg32.dll" > MAX_PATH) return HMODULE{};
    lstrcatA(path, "\\comdlg32.dll");
    return LoadLibraryA(path);
  }();
  return module;
}

template <class Function>
Function* CommonDialog(const char* name) {
  const HMODULE module = CommonDialogs();
  if (!module) return nullptr;
  // Through void (*)(): the cast between the two function types is meant.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::function<void(void*)> g_sheetCreatedHook;

class Host;

// One PropertySheetA call.
struct SheetRun {
  CPropertySheet* sheet = nullptr;
  HWND hwnd = nullptr;
  std::unique_ptr<Host> host;  // the sheet window's
  // System-menu commands and the dialog that added each.
  std::map<unsigned, CDialog*> systemCommands;
  bool shown = false;
};

// Users expect a wizard in the middle of the screen, not where Windows
// happens to cascade a new top-level window.
void CentreOnWorkArea(HWND hwnd) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT window{};
  if (!GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor) ||
      !GetWindowRect(hwnd, &window))
    return;
  const RECT& work = monitor.rcWork;
  const int width = window.right - window.left, height = window.bottom - window.top;
  // A window larger than the screen keeps its title bar reachable.
  const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - width) / 2);
  const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - height) / 2);
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Hands the run to the sheet's callback, which PropertySheetA calls with
// PSCB_INITIALIZED before it creates the first page; pages then find the run
// on their parent, the sheet window.
thread_local SheetRun* t_starting = nullptr;
constexpr char kRunProp[] = "okapi.run";

SheetRun* RunOf(HWND sheet) { return static_cast<SheetRun*>(GetPropA(sheet, kRunProp)); }

// CTLCOLOR_* of a WM_CTLCOLOR* message; -1 for any other message.
int CtlTypeOf(UINT message) {
  switch (message) {
    case WM_CTLCOLOREDIT:
      return CTLCOLOR_EDIT;
    case WM_CTLCOLORLISTBOX:
      return CTLCOLOR_LISTBOX;
    case WM_CTLCOLORBTN:
      return CTLCOLOR_BTN;
    case WM_CTLCOLORDLG:
      return CTLCOLOR_DLG;
    case WM_CTLCOLORSCROLLBAR:
      return CTLCOLOR_SCROLLBAR;
    case WM_CTLCOLORSTATIC:
      return CTLCOLOR_STATIC;
    default:
      return -1;
  }
}

// Applies a colour decision to the DC; the brush to return, or null for the
// default handling.
HBRUSH ApplyCtlColor(const CtlColor& color, HDC dc, int ctlType) {
  if (color == CtlColor{}) return nullptr;
  if (color.textColor) SetTextColor(dc, *color.textColor);
  if (color.bkColor) SetBkColor(dc, *color.bkColor);
  switch (color.brush) {
    case CtlColor::Brush::White:
      return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    case CtlColor::Brush::Window:
      return GetSysColorBrush(COLOR_WINDOW);
    case CtlColor::Brush::Default:
      break;
  }
  const bool field = ctlType == CTLCOLOR_EDIT || ctlType == CTLCOLOR_LISTBOX;
  return GetSysColorBrush(field ? COLOR_WINDOW : COLOR_BTNFACE);
}

int ControlIdOf(HWND window, LPARAM control) {
  const HWND child = reinterpret_cast<HWND>(control);
  return child == window || !child ? CWnd::kSelf : GetDlgCtrlID(child);
}

// The brush a dialog or the sheet answers a WM_CTLCOLOR* message with; null
// for the default handling.
template <class Owner>
HBRUSH AnswerCtlColor(Owner& owner, HWND hwnd, int ctlType, WPARAM wParam, LPARAM lParam) {
  const CtlColor color = owner.OnCtlColor(ControlIdOf(hwnd, lParam), ctlType);
  return ApplyCtlColor(color, reinterpret_cast<HDC>(wParam), ctlType);
}

bool IsCombo(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

// A live window seen by the framework: a page, a modal dialog or the sheet.
class Host : public WindowHost {
 public:
  Host(HWND hwnd, CDialog* dialog, SheetRun* run) : m_hwnd(hwnd), m_dialog(dialog), m_run(run) {}
  ~Host() override {
    ForgetCommands();
    for (auto& [id, bitmap] : m_bitmaps) DeleteObject(bitmap);
  }

  HWND Hwnd() const { return m_hwnd; }

  HWND Item(int id) const { return id == CWnd::kSelf ? m_hwnd : GetDlgItem(m_hwnd, id); }
  HWND Top() const { return GetAncestor(m_hwnd, GA_ROOT); }
  HWND SheetWindow() const { return m_run ? m_run->hwnd : nullptr; }

  bool HasControl(int id) override { return Item(id) != nullptr; }

  std::string GetText(int id) override {
    const HWND item = Item(id);
    if (!item) return {};
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    const int length = GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? length : 0);
    return text;
  }
  void SetText(int id, const std::string& text) override {
    if (const HWND item = Item(id)) SetWindowTextA(item, text.c_str());
  }
  int GetCheck(int id) override {
    const HWND item = Item(id);
    return item ? static_cast<int>(SendMessageA(item, BM_GETCHECK, 0, 0)) : 0;
  }
  void SetCheck(int id, int check) override {
    if (const HWND item = Item(id)) SendMessageA(item, BM_SETCHECK, check, 0);
  }
  bool IsEnabled(int id) override {
    const HWND item = Item(id);
    return item && IsWindowEnabled(item);
  }
  void Enable(int id, bool enable) override {
    if (const HWND item = Item(id)) EnableWindow(item, enable);
  }
  // The window's own visibility, whether or not its page is shown.
  bool IsVisible(int id) override {
    const HWND item = Item(id);
    return item && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE);
  }
  void Show(int id, bool show) override {
    if (const HWND item = Item(id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
  }
  CRect GetRect(int id) override {
    const HWND item = Item(id);
    if (!item) return {};
    RECT r{};
    GetWindowRect(item, &r);
    MapWindowPoints(nullptr, item == m_hwnd ? GetParent(m_hwnd) : m_hwnd,
                    reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
  }
  CRect MapDialogUnits(const CRect& units) override {
    RECT r{units.left, units.top, units.right, units.bottom};
    MapDialogRect(m_hwnd, &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  void SetPos(int id, int x, int y, int cx, int cy, unsigned flags) override {
    if (const HWND item = Item(id)) SetWindowPos(item, nullptr, x, y, cx, cy, flags);
  }
  void SetFont(int id, const CFont& font, bool redraw) override {
    if (const HWND item = Item(id))
      SendMessageA(item, WM_SETFONT, static_cast<WPARAM>(font.GetSafeHandle()), redraw);
  }
  void SetFocus(int id) override {
    if (const HWND item = Item(id)) ::SetFocus(item);
  }
  void LimitText(int id, int maxChars) override {
    if (const HWND item = Item(id)) SendMessageA(item, EM_LIMITTEXT, maxChars, 0);
  }
  void SetSel(int id, int start, int end) override {
    if (const HWND item = Item(id)) SendMessageA(item, EM_SETSEL, start, end);
  }
  bool SetBitmapFromFile(int id, const std::string& path, int cx, int cy) override {
    if (!Item(id)) return false;
    return ShowBitmap(id, LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy,
                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  }
  bool SetBitmapFromResource(int id, unsigned resourceId, int cx, int cy) override {
    if (!Item(id)) return false;
    return ShowBitmap(id, LoadImageA(g_module, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, cx, cy,
                                     LR_CREATEDIBSECTION));
  }
  bool ShowBitmap(int id, HANDLE loaded) {
    const HWND item = Item(id);
    const auto bitmap = static_cast<HBITMAP>(loaded);
    if (!bitmap) return false;
    auto& kept = m_bitmaps[id];
    // Common controls 6 hand back the image shown before, the template's own
    // or a copy they made of ours (they copy bitmaps with alpha): the caller
    // deletes it, and what we kept is no longer shown either.
    const auto previous = reinterpret_cast<HBITMAP>(
        SendMessageA(item, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous && previous != kept) DeleteObject(previous);
    if (kept) DeleteObject(kept);
    kept = bitmap;
    if (SendMessageA(item, STM_GETIMAGE, IMAGE_BITMAP, 0) != reinterpret_cast<LRESULT>(bitmap)) {
      // The control shows a copy of its own.
      DeleteObject(bitmap);
      kept = nullptr;
    }
    return true;
  }

  int ListAdd(int id, const std::string& text) override {
    return ListMessage(id, LB_ADDSTRING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  int ListInsert(int id, int index, const std::string& text) override {
    return ListMessage(id, LB_INSERTSTRING, CB_INSERTSTRING, index,
                       reinterpret_cast<LPARAM>(text.c_str()));
  }
  int ListDelete(int id, int index) override {
    return ListMessage(id, LB_DELETESTRING, CB_DELETESTRING, index, 0);
  }
  void ListReset(int id) override { ListMessage(id, LB_RESETCONTENT, CB_RESETCONTENT, 0, 0); }
  int ListCount(int id) override { return ListMessage(id, LB_GETCOUNT, CB_GETCOUNT, 0, 0); }
  int ListGetCurSel(int id) override { return ListMessage(id, LB_GETCURSEL, CB_GETCURSEL, 0, 0); }
  int ListSetCurSel(int id, int index) override {
    return ListMessage(id, LB_SETCURSEL, CB_SETCURSEL, index, 0);
  }
  std::optional<std::string> ListGetText(int id, int index) override {
    const int length = ListMessage(id, LB_GETTEXTLEN, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got =
        ListMessage(id, LB_GETTEXT, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    if (got < 0) return std::nullopt;
    text.resize(got);
    return text;
  }

  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
    return MessageBoxA(Top(), text.c_str(), caption.c_str(), flags);
  }
  bool HasSystemMenu() override { return GetSystemMenu(Top(), FALSE) != nullptr; }
  bool AppendSystemMenu(unsigned flags, unsigned id, const std::string& text) override {
    const HMENU menu = GetSystemMenu(Top(), FALSE);
    if (!menu) return false;
    if (!AppendMenuA(menu, flags, id, flags & MF_SEPARATOR ? nullptr : text.c_str())) return false;
    if (!(flags & MF_SEPARATOR)) {
      if (m_run)
        m_run->systemCommands[id & 0xFFF0] = m_dialog;
      else
        m_ownCommands.insert(id & 0xFFF0);
    }
    return true;
  }
  void SetIcon(unsigned iconResourceId) override {
    const HWND top = Top();
    const auto load = [&](int cx, int cy) {
      return static_cast<HICON>(
          LoadImageA(g_module, MAKEINTRESOURCEA(iconResourceId), IMAGE_ICON, cx, cy, LR_SHARED));
    };
    if (HICON bigIcon = load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)))
      SendMessageA(top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (HICON smallIcon = load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)))
      SendMessageA(top, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  }
  void EndDialog(int result) override {
    if (!m_run) ::EndDialog(m_hwnd, result);
  }
  void PostWizardButtons(unsigned flags) override {
    if (const HWND sheet = SheetWindow()) PostMessageA(sheet, PSM_SETWIZBUTTONS, 0, flags);
  }
  bool SetActivePage(int index) override {
    const HWND sheet = SheetWindow();
    return sheet && SendMessageA(sheet, PSM_SETCURSEL, index, 0);
  }
  void TitleOverrideChanged() override {
    if (!m_run || !m_run->sheet) return;
    const std::string& title = m_run->sheet->GetTitleOverride();
    if (!title.empty()) SetWindowTextA(m_run->hwnd, title.c_str());
  }
  void OwnerDestroyed() override {
    ForgetCommands();
    m_dialog = nullptr;
  }

  CDialog* Dialog() const { return m_dialog; }
  SheetRun* Run() const { return m_run; }
  bool OwnsCommand(unsigned id) const { return m_ownCommands.count(id) > 0; }

 private:
  // The sheet's menu keeps the items of a page gone (object or window); they
  // run nothing.
  void ForgetCommands() {
    if (m_run && m_dialog)
      std::erase_if(m_run->systemCommands,
                    [this](const auto& command) { return command.second == m_dialog; });
  }

  int ListMessage(int id, UINT listMessage, UINT comboMessage, WPARAM wParam, LPARAM lParam) {
    const HWND item = Item(id);
    if (!item) return LB_ERR;
    return static_cast<int>(
        SendMessageA(item, IsCombo(item) ? comboMessage : listMessage, wParam, lParam));
  }

  HWND m_hwnd;
  CDialog* m_dialog;
  SheetRun* m_run;
  std::map<int, HBITMAP> m_bitmaps;
  std::set<unsigned> m_ownCommands;
};

Host* HostOf(HWND hwnd) { return reinterpret_cast<Host*>(GetWindowLongPtrA(hwnd, DWLP_USER)); }

// WM_INITDIALOG of a page (run: its sheet's) or of a modal dialog (no run).
INT_PTR Bind(HWND hwnd, CDialog* dialog, SheetRun* run) {
  auto* host = new Host(hwnd, dialog, run);
  SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(host));
  dialog->Attach(host);
  return dialog->OnInitDialog() ? TRUE : FALSE;
}

// Posted by a page that has just become active; see FocusWizardButton.
constexpr UINT kFocusWizardButton = WM_APP + 1;

// Enter in a wizard means Next, or Finish. The sheet gives the focus to a
// page's first tab stop, and a push button with the focus takes Enter for
// itself: where that stop is the Help button or an action button, the
// wizard's own button gets the focus back.
void FocusWizardButton(HWND page) {
  const HWND focus = GetFocus();
  if (!focus || GetParent(focus) != page) return;
  if (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
    const HWND sheet = GetParent(page);
    for (int id : {kSheetFinishButtonId, kSheetNextButtonId}) {
      const HWND button = GetDlgItem(sheet, id);
      if (button && IsWindowVisible(button) && IsWindowEnabled(button)) {
        SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
        return;
      }
    }
  }
}

INT_PTR Result(HWND hwnd, LONG_PTR result) {
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

// The notifications of the property sheet, turned into the page's overrides.
INT_PTR OnSheetNotify(HWND hwnd, SheetRun& run, CDialog* dialog, const NMHDR& header) {
  auto* page = static_cast<CPropertyPage*>(dialog);
  switch (header.code) {
    case PSN_SETACTIVE: {
      const bool accepted = page->OnSetActive();
      if (accepted && run.sheet)
        run.sheet->SetActiveIndexFromBackend(run.sheet->GetPageIndex(page));
      // After the sheet has placed the focus, and the buttons posted in the
      // handler have taken effect.
      if (accepted) PostMessageA(hwnd, kFocusWizardButton, 0, 0);
      return Result(hwnd, accepted ? 0 : -1);
    }
    case PSN_KILLACTIVE:
      return Result(hwnd, page->OnKillActive() ? FALSE : TRUE);
    case PSN_WIZNEXT:
      return Result(hwnd, page->OnWizardNext());
    case PSN_WIZBACK:
      return Result(hwnd, page->OnWizardBack());
    case PSN_WIZFINISH:
      return Result(hwnd, page->OnWizardFinish() ? FALSE : TRUE);
    case PSN_QUERYCANCEL:
      return Result(hwnd, page->OnQueryCancel() ? FALSE : TRUE);
    case PSN_RESET:
      page->OnCancel();
      return Result(hwnd, 0);
    case PSN_APPLY:
      return Result(hwnd, PSNRET_NOERROR);
    default:
      return FALSE;
  }
}

// Everything after WM_INITDIALOG, for pages and modal dialogs alike.
INT_PTR Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Host* host = HostOf(hwnd);
  if (!host) return FALSE;
  // The object may have gone before its window (Dialog() is then null).
  CDialog* dialog = host->Dialog();
  if (message == WM_NCDESTROY) {
    if (dialog) dialog->Detach();
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    delete host;
    return FALSE;
  }
  if (!dialog) return FALSE;
  if (const int type = CtlTypeOf(message); type >= 0)
    return reinterpret_cast<INT_PTR>(AnswerCtlColor(*dialog, hwnd, type, wParam, lParam));
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      SheetRun* run = host->Run();
      if (run && header->hwndFrom == run->hwnd) return OnSheetNotify(hwnd, *run, dialog, *header);
      return FALSE;
    }
    case WM_COMMAND:
      return dialog->OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_LBUTTONUP:
      dialog->OnLButtonUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return FALSE;
    case WM_PAINT:
      dialog->OnPaint();
      return FALSE;
    case kFocusWizardButton:
      FocusWizardButton(hwnd);
      return TRUE;
    case WM_SYSCOMMAND:
      if (host->OwnsCommand(static_cast<unsigned>(wParam) & 0xFFF0) &&
          dialog->OnSysCommand(static_cast<unsigned>(wParam)))
        return TRUE;
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    return Bind(hwnd, reinterpret_cast<CPropertyPage*>(psp->lParam), RunOf(GetParent(hwnd)));
  }
  return Dispatch(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return Bind(hwnd, reinterpret_cast<CDialog*>(lParam), nullptr);
  return Dispatch(hwnd, message, wParam, lParam);
}

std::wstring Widen(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  return wide;
}

// The sheet's own window: colours, the system menu items pages added, and a
// title that survives the sheet's retitling with each page's caption.
LRESULT CALLBACK SheetSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
  SheetRun* run = RunOf(hwnd);
  if (!run) return DefSubclassProc(hwnd, message, wParam, lParam);
  if (const int type = CtlTypeOf(message); type >= 0 && run->sheet) {
    if (HBRUSH brush = AnswerCtlColor(*run->sheet, hwnd, type, wParam, lParam))
      return reinterpret_cast<LRESULT>(brush);
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_SETTEXT: {
      if (!run->sheet) break;
      const std::string& title = run->sheet->GetTitleOverride();
      if (title.empty()) break;
      if (IsWindowUnicode(hwnd)) {
        const std::wstring wide = Widen(title);
        return DefSubclassProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
      }
      return DefSubclassProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(title.c_str()));
    }
    case WM_SHOWWINDOW:
      if (wParam && !std::exchange(run->shown, true)) CentreOnWorkArea(hwnd);
      break;
    case WM_SYSCOMMAND: {
      const auto it = run->systemCommands.find(static_cast<unsigned>(wParam) & 0xFFF0);
      if (it != run->systemCommands.end() && it->second && it->second->IsCreated() &&
          it->second->OnSysCommand(static_cast<unsigned>(wParam)))
        return 0;
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SheetSubclass, 1);
      RemovePropA(hwnd, kRunProp);
      if (run->sheet) run->sheet->Detach();
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM) {
  if (message != PSCB_INITIALIZED || !t_starting) return 0;
  SheetRun* run = std::exchange(t_starting, nullptr);
  run->hwnd = hwnd;
  SetPropA(hwnd, kRunProp, run);
  SetWindowSubclass(hwnd, SheetSubclass, 1, 0);
  run->host = std::make_unique<Host>(hwnd, nullptr, run);
  run->sheet->Attach(run->host.get());
  run->sheet->OnInitDialog();
  // The header was read before initialisation; a Help flag cleared there
  // still hides the button.
  if (!(run->sheet->m_psh.dwFlags & PSH_HASHELP)) {
    if (const HWND help = GetDlgItem(hwnd, IDHELP)) ShowWindow(help, SW_HIDE);
  }
  if (g_sheetCreatedHook) g_sheetCreatedHook(hwnd);
  return 0;
}

// "Name|*.ext|" to "Name\0*.ext\0\0".
std::string NulSeparated(const std::string& filter) {
  std::string result = filter;
  for (char& c : result)
    if (c == '|') c = '\0';
  result.push_back('\0');
  result.push_back('\0');
  return result;
}

class Win32Backend : public Backend {
 public:
  int RunSheet(CPropertySheet& sheet) override {
    std::vector<PROPSHEETPAGEA> pages(static_cast<std::size_t>(sheet.GetPageCount()));
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
      CPropertyPage* page = sheet.GetPage(i);
      PROPSHEETPAGEA& p = pages[i];
      p.dwSize = sizeof p;
      p.dwFlags = page->m_psp.dwFlags & PSP_HASHELP;
      p.hInstance = g_module;
      p.pszTemplate = MAKEINTRESOURCEA(page->GetTemplateId());
      p.pfnDlgProc = PageProc;
      p.lParam = reinterpret_cast<LPARAM>(page);
    }
    SheetRun run;
    run.sheet = &sheet;
    const std::string caption = sheet.GetCaption();
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags =
        (sheet.m_psh.dwFlags & (PSH_WIZARD | PSH_HASHELP)) | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hwndParent = nullptr;
    header.hInstance = g_module;
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = sheet.m_psh.nStartPage;
    header.ppsp = pages.data();
    header.pfnCallback = SheetCallback;

    t_starting = &run;
    const INT_PTR result = PropertySheetA(&header);
    t_starting = nullptr;  // a sheet that failed to start never took it
    sheet.Detach();
    return result > 0 ? IDOK : IDCANCEL;
  }

  int RunDialog(CDialog& dialog) override {
    const INT_PTR result =
        DialogBoxParamA(g_module, MAKEINTRESOURCEA(dialog.GetTemplateId()), GetActiveWindow(),
                        DialogProc, reinterpret_cast<LPARAM>(&dialog));
    return static_cast<int>(result);
  }

  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
  }

  std::optional<std::string> OpenFile(const CFileDialog::Options& options) override {
    char path[MAX_PATH] = {};
    lstrcpynA(path, options.fileName.c_str(), MAX_PATH);
    const std::string filter = NulSeparated(options.filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = options.filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = options.initialDir.empty() ? nullptr : options.initialDir.c_str();
    ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
    ofn.lpstrDefExt = options.defExt.empty() ? nullptr : options.defExt.c_str();
    ofn.Flags = options.flags | OFN_EXPLORER;
    auto* const run = CommonDialog<decltype(GetOpenFileNameA)>(options.open ? "GetOpenFileNameA"
                                                                            : "GetSaveFileNameA");
    if (!run || !run(&ofn)) return std::nullopt;
    return std::string(path);
  }

  std::optional<COLORREF> PickColor(const CColorDialog::Options& options,
                                    COLORREF* customColors) override {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = GetActiveWindow();
    cc.rgbResult = options.initial;
    cc.lpCustColors = customColors;
    cc.Flags = options.flags | (options.initial ? CC_RGBINIT : 0);
    auto* const run = CommonDialog<decltype(ChooseColorA)>("ChooseColorA");
    if (!run || !run(&cc)) return std::nullopt;
    return cc.rgbResult;
  }

  LogFont MessageFont() override {
    NONCLIENTMETRICSA metrics{};
    // The size without the last field: accepted by every version.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    const LOGFONTA& f = metrics.lfMessageFont;
    LogFont font;
    font.height = f.lfHeight;
    font.width = f.lfWidth;
    font.escapement = f.lfEscapement;
    font.orientation = f.lfOrientation;
    font.weight = f.lfWeight;
    font.italic = f.lfItalic != 0;
    font.underline = f.lfUnderline != 0;
    font.strikeOut = f.lfStrikeOut != 0;
    font.charSet = f.lfCharSet;
    font.outPrecision = f.lfOutPrecision;
    font.clipPrecision = f.lfClipPrecision;
    font.quality = f.lfQuality;
    font.pitchAndFamily = f.lfPitchAndFamily;
    font.faceName = f.lfFaceName;
    return font;
  }

  int LogPixelsY() override {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
  }

  std::uintptr_t MakeFont(const LogFont& font) override {
    LOGFONTA f{};
    f.lfHeight = font.height;
    f.lfWidth = font.width;
    f.lfEscapement = font.escapement;
    f.lfOrientation = font.orientation;
    f.lfWeight = font.weight;
    f.lfItalic = font.italic;
    f.lfUnderline = font.underline;
    f.lfStrikeOut = font.strikeOut;
    f.lfCharSet = font.charSet;
    f.lfOutPrecision = font.outPrecision;
    f.lfClipPrecision = font.clipPrecision;
    f.lfQuality = font.quality;
    f.lfPitchAndFamily = font.pitchAndFamily;
    lstrcpynA(f.lfFaceName, font.faceName.c_str(), LF_FACESIZE);
    return reinterpret_cast<std::uintptr_t>(CreateFontIndirectA(&f));
  }

  void ReleaseFont(std::uintptr_t font) override { DeleteObject(reinterpret_cast<HGDIOBJ>(font)); }

  std::string LoadResourceString(unsigned id) override {
    char text[512] = {};
    const int length = LoadStringA(g_module, id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
  }
};

}  // namespace

std::unique_ptr<Backend> MakeWin32Backend(void* module) {
  g_module = module ? static_cast<HINSTANCE>(module) : GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  return std::make_unique<Win32Backend>();
}

void SetSheetCreatedHook(std::function<void(void*)> hook) { g_sheetCreatedHook = std::move(hook); }

}  // namespace fw::win32
