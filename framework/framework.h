// The application framework the pages are written against: dialogs, property
// pages and the wizard sheet, data exchange, controls, message boxes and the
// common file-open and colour dialogs. The names follow the Windows framework
// the program was designed around; the work is done by a backend chosen at
// run time (Win32 in okapi.exe, an in-memory one in tests), see
// framework/backend.h.
//
// No <windows.h> here. A translation unit that needs both includes
// framework/win32/win32_api.h first: several names below (MessageBox,
// SetWindowText, AppendMenu...) are A/W macros there and must be undone.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Values of the Windows constants the pages use. Guarded so that a unit that
// saw <windows.h> first keeps the system's definitions (same values).
#ifndef MB_OK
#define MB_OK 0x0u
#define MB_OKCANCEL 0x1u
#define MB_YESNOCANCEL 0x3u
#define MB_YESNO 0x4u
#define MB_ICONHAND 0x10u
#define MB_ICONQUESTION 0x20u
#define MB_ICONEXCLAMATION 0x30u
#define MB_ICONASTERISK 0x40u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON2 0x100u
#endif
#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
#endif
#ifndef BN_CLICKED
#define BN_CLICKED 0u
#endif
#ifndef STN_CLICKED
#define STN_CLICKED 0u
#endif
#ifndef EN_CHANGE
#define EN_SETFOCUS 0x100u
#define EN_KILLFOCUS 0x200u
#define EN_CHANGE 0x300u
#endif
#ifndef LBN_SELCHANGE
#define LBN_SELCHANGE 1u
#define LBN_DBLCLK 2u
#endif
#ifndef CBN_SELCHANGE
#define CBN_SELCHANGE 1u
#define CBN_EDITCHANGE 5u
#endif
#ifndef LB_ERR
#define LB_ERR (-1)
#endif
#ifndef CB_ERR
#define CB_ERR (-1)
#endif
#ifndef SW_HIDE
#define SW_HIDE 0
#define SW_SHOW 5
#endif
#ifndef SWP_NOSIZE
#define SWP_NOSIZE 0x1u
#define SWP_NOMOVE 0x2u
#define SWP_NOZORDER 0x4u
#endif
// The property sheet's own Next and Finish buttons in wizard mode.
constexpr int kSheetNextButtonId = 0x3024;
constexpr int kSheetFinishButtonId = 0x3025;

#ifndef PSWIZB_BACK
#define PSWIZB_BACK 0x1u
#define PSWIZB_NEXT 0x2u
#define PSWIZB_FINISH 0x4u
#define PSWIZB_DISABLEDFINISH 0x8u
#endif
#ifndef PSH_WIZARD
#define PSH_WIZARD 0x20u
#define PSH_HASHELP 0x200u
#endif
#ifndef PSP_HASHELP
#define PSP_HASHELP 0x20u
#endif
#ifndef OFN_HIDEREADONLY
#define OFN_OVERWRITEPROMPT 0x2u
#define OFN_HIDEREADONLY 0x4u
#define OFN_NOCHANGEDIR 0x8u
#define OFN_PATHMUSTEXIST 0x800u
#define OFN_FILEMUSTEXIST 0x1000u
#endif
#ifndef CC_RGBINIT
#define CC_RGBINIT 0x1u
#define CC_FULLOPEN 0x2u
#endif
#ifndef CTLCOLOR_MSGBOX
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#endif
#ifndef MF_STRING
#define MF_STRING 0x0u
#define MF_SEPARATOR 0x800u
#endif
#ifndef FW_BOLD
#define FW_NORMAL 400
#define FW_BOLD 700
#endif

// 0x00BBGGRR, as Windows keeps colours.
#ifdef _WIN32
typedef unsigned long COLORREF;
#else
typedef std::uint32_t COLORREF;
#endif
#ifndef RGB
constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
#endif

namespace fw {
class Backend;
class WindowHost;
}  // namespace fw

class CDialog;
class CPropertyPage;
class CPropertySheet;

// The program's name: the default caption of message boxes.
inline constexpr const char* kAppName = "OKAPI";

struct CPoint {
  int x = 0;
  int y = 0;
  bool operator==(const CPoint&) const = default;
};

// Position and size in pixels, client coordinates of the parent dialog.
struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const CRect&) const = default;
};

// The fields of LOGFONTA that matter to the program.
struct LogFont {
  int height = 0;  // negative: character height in pixels
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName{};
  bool operator==(const LogFont&) const = default;
};

// A GDI font; released when the object goes.
class CFont {
 public:
  CFont() = default;
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;
  ~CFont();
  [[nodiscard]] bool CreateFontIndirect(const LogFont& font);
  const LogFont& GetLogFont() const { return m_logFont; }
  std::uintptr_t GetSafeHandle() const { return m_handle; }

 private:
  void Release();

  std::uintptr_t m_handle = 0;
  fw::Backend* m_backend = nullptr;  // the one that made the handle
  LogFont m_logFont;
};

// The message font of the system's non-client metrics (SPI_GETNONCLIENTMETRICS).
LogFont GetMessageFont();
// Vertical pixels per inch of the screen (GetDeviceCaps LOGPIXELSY).
int GetScreenLogPixelsY();
// A string of the program's string table; empty when missing.
std::string LoadResourceString(unsigned id);

// How a control (or the dialog itself) is to be painted; the answer of the
// colour hooks. Backends turn it into SetBkColor/SetTextColor and a brush.
struct CtlColor {
  enum class Brush {
    Default,  // whatever the system would use
    White,    // the stock white brush
    Window,   // the system brush of COLOR_WINDOW
  };
  Brush brush = Brush::Default;
  std::optional<COLORREF> textColor{};
  std::optional<COLORREF> bkColor{};
  bool operator==(const CtlColor&) const = default;
};

// A window: a control of a dialog (bound by DDX_Control or GetDlgItem) or the
// dialog itself. A handle only; copying it makes a second handle to the same
// window. Calls on an unbound handle do nothing and return defaults.
class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd() = default;

  // Stands for a dialog's own window where a control id is expected.
  static constexpr int kSelf = -0x7FFF0000;

  bool IsBound() const { return m_root != nullptr; }
  int GetDlgCtrlID() const { return m_id; }

  void SetWindowText(const std::string& text);
  std::string GetWindowText() const;
  void GetWindowText(std::string& text) const { text = GetWindowText(); }
  // Returns whether the window was disabled before, like the system call.
  bool EnableWindow(bool enable = true);
  bool IsWindowEnabled() const;
  // SW_HIDE or SW_SHOW; returns whether it was visible before.
  bool ShowWindow(int command);
  bool IsWindowVisible() const;
  // Pixels in the parent's client coordinates. Only SWP_NOMOVE, SWP_NOSIZE and
  // SWP_NOZORDER are honoured; insertAfter must be null.
  bool SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, unsigned flags);
  CRect GetWindowRect() const;  // parent client coordinates
  // The font must outlive the window's use of it.
  void SetFont(const CFont* font, bool redraw = true);
  void SetFocus();

  // Makes this handle refer to a control of a dialog (DDX_Control does it).
  void BindTo(CDialog& dialog, int id);

 protected:
  friend class CDialog;
  friend class CPropertySheet;
  fw::WindowHost* Host() const { return m_root ? m_root->m_host : nullptr; }
  // The dialog or sheet whose window holds this one (itself for them), and
  // the backend's window while it exists.
  CWnd* m_root = nullptr;
  int m_id = 0;
  fw::WindowHost* m_host = nullptr;
};

class CButton : public CWnd {
 public:
  int GetCheck() const;  // 0 unchecked, 1 checked, 2 indeterminate
  void SetCheck(int check);
};

class CEdit : public CWnd {
 public:
  void LimitText(int maxChars);
  void SetSel(int start, int end);
};

class CStatic : public CWnd {
 public:
  // Loads a bitmap file (as a DIB section, stretched to cx by cy pixels; 0:
  // its own size) and shows it in place of the current image. The previous
  // image these calls loaded is released; false when the file cannot be
  // loaded (the control keeps its image).
  bool SetBitmapFromFile(const std::string& path, int cx = 0, int cy = 0);
  // The same with a bitmap of the program's resources.
  bool SetBitmapFromResource(unsigned resourceId, int cx = 0, int cy = 0);
};

// List boxes and combo boxes share their item operations.
class CListControl : public CWnd {
 public:
  int AddString(const std::string& text);  // index, or LB_ERR
  int InsertString(int index, const std::string& text);
  int DeleteString(int index);  // items left, or LB_ERR
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;     // LB_ERR when nothing is selected
  int SetCurSel(int index);  // -1 clears; LB_ERR when out of range
  // Case-insensitive; whole text or prefix; search starts after `after`.
  int FindStringExact(int after, const std::string& text) const;
  int FindString(int after, const std::string& prefix) const;
  int SelectString(int after, const std::string& prefix);
  std::string GetItemText(int index) const;  // empty when out of range
};

class CListBox : public CListControl {
 public:
  int GetText(int index, std::string& text) const;  // length, or LB_ERR
};

class CComboBox : public CListControl {
 public:
  int GetLBText(int index, std::string& text) const;  // length, or CB_ERR
};

// A system menu; items added to it send their command to the dialog that added
// them (OnSysCommand), whichever page is active.
class CMenu {
 public:
  bool AppendMenu(unsigned flags, unsigned id = 0, const std::string& text = {});

 private:
  friend class CDialog;
  explicit CMenu(CDialog* owner) : m_owner(owner) {}
  CDialog* m_owner;
};

class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, bool saveAndValidate)
      : m_pDlg(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CDialog* m_pDlg;
  bool m_bSaveAndValidate;  // true: controls to members
  // Reports a failed conversion or validation of the last control (message
  // box, focus) and stops the exchange: later DDX/DDV calls do nothing.
  void Fail(const std::string& message);
  bool Failed() const { return m_failed; }
  int LastControl() const { return m_idLastControl; }
  // Used by DDX_ functions.
  void PrepareCtrl(int id) { m_idLastControl = id; }

 private:
  bool m_failed = false;
  int m_idLastControl = 0;
};

void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, std::uint8_t& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Check(CDataExchange* pDX, int id, bool& value);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// Saving: refuses a longer text. Loading: limits the edit control to maxChars.
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);
void DDV_MinMaxByte(CDataExchange* pDX, std::uint8_t value, std::uint8_t minVal,
                    std::uint8_t maxVal);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// A notification table row: control id and notification code to a member
// function. A page keeps one static table and hands it to DispatchCommand
// from its OnCommand override, then falls back to its base:
//
//   bool CAppMenu::OnCommand(int id, unsigned code) {
//     static const CommandEntry<CAppMenu> kCommands[] = {
//         {1146, BN_CLICKED, &CAppMenu::OnSysDetailsClicked},
//     };
//     return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
//   }
template <class T>
struct CommandEntry {
  int id;
  unsigned code;
  void (T::*handler)();
};

template <class T, std::size_t N>
bool DispatchCommand(T& target, const CommandEntry<T> (&table)[N], int id, unsigned code) {
  for (const auto& row : table) {
    if (row.id == id && row.code == code) {
      (target.*row.handler)();
      return true;
    }
  }
  return false;
}

// A dialog bound to a template of the program's resources: the modal dialogs
// (About box) and, through CPropertyPage, the wizard's pages.
class CDialog : public CWnd {
 public:
  explicit CDialog(unsigned templateId);
  ~CDialog() override;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  unsigned GetTemplateId() const { return m_templateId; }
  // Runs the dialog modally; IDOK, IDCANCEL or what EndDialog was given.
  virtual int DoModal();
  void EndDialog(int result);

  // Whether the window exists (from initialisation to destruction).
  bool IsCreated() const { return m_host != nullptr; }

  // save false: members to controls; true: controls to members, false when a
  // conversion or validation failed (already reported to the user).
  bool UpdateData(bool save = true);

  // Message box owned by this dialog; returns the button pressed (IDOK...).
  int MessageBox(const std::string& text, const std::string& caption = kAppName,
                 unsigned flags = MB_OK);

  // A control by id; null when the dialog has no such control. The handle
  // lives as long as the dialog object. For a typed control (CListBox...),
  // bind a member with DDX_Control instead.
  CWnd* GetDlgItem(int id);
  // Dialog units in pixels of this dialog's font; empty before it exists.
  CRect MapDialogRect(const CRect& units) const;
  std::string GetDlgItemText(int id) const;
  void GetDlgItemText(int id, std::string& text) const { text = GetDlgItemText(id); }
  void SetDlgItemText(int id, const std::string& text);
  void CheckDlgButton(int id, int check);
  int IsDlgButtonChecked(int id) const;

  // The system menu of the dialog's top-level window (for a page in a sheet,
  // the sheet's); null when that window has none.
  CMenu* GetSystemMenu(bool revert);
  // Sets the big and small icon of the dialog's top-level window from the
  // program's icon resources.
  void SetIcon(unsigned iconResourceId);

  // Keeps a font for as long as the dialog object lives (title fonts).
  CFont* KeepFont(std::unique_ptr<CFont> font);

  // Overridables. Initialisation loads the controls from the members by
  // default and returns true.
  virtual bool OnInitDialog();
  virtual void DoDataExchange(CDataExchange* pDX);
  // Control notifications; true when handled. IDOK and IDCANCEL go to the two
  // below by default.
  virtual bool OnCommand(int id, unsigned code);
  // Saves the controls and ends the dialog with IDOK (pages: nothing).
  virtual void OnOK();
  virtual void OnCancel();
  // controlId is kSelf for the dialog's own background (ctlType CTLCOLOR_DLG).
  virtual CtlColor OnCtlColor(int controlId, int ctlType);
  // Commands of the window-menu items this dialog added; true when handled.
  virtual bool OnSysCommand(unsigned id);
  // Left mouse button released over the dialog itself (client pixels).
  virtual void OnLButtonUp(CPoint point);
  // Before the default painting of the dialog.
  virtual void OnPaint();

  // Backends only.
  void Attach(fw::WindowHost* host) { m_host = host; }
  void Detach();
  fw::WindowHost* GetHost() const { return m_host; }

 private:
  unsigned m_templateId;
  std::map<int, std::unique_ptr<CWnd>> m_items;
  std::vector<std::unique_ptr<CFont>> m_fonts;
  std::unique_ptr<CMenu> m_systemMenu;
};

// Returned by OnWizardNext/OnWizardBack: stay on the page, go on in the
// sheet's order, or any other value: the dialog template id to go to.
constexpr int kWizardStay = -1;
constexpr int kWizardInOrder = 0;

class CPropertyPage : public CDialog {
 public:
  explicit CPropertyPage(unsigned templateId);

  // PROPSHEETPAGE flags; PSP_HASHELP is set by the constructor.
  struct Header {
    unsigned dwFlags = 0;
  } m_psp;

  CPropertySheet* GetParentSheet() const { return m_sheet; }
  // Posts PSM_SETWIZBUTTONS to the sheet: the buttons change after the
  // current handler returns.
  void SetWizardButtons(unsigned flags);

  // Overridables. Activation comes at every visit (after initialisation on the
  // first); false skips the page in the direction of travel. Leaving by Next
  // or Back is asked after the button's own handler; false keeps the page.
  // Neither exchanges data by default: controls keep what they show between
  // visits, and a page takes its controls over where it chooses. Next and
  // Back give kWizardStay, kWizardInOrder or a template id; Finish: false
  // keeps the wizard open.
  virtual bool OnSetActive();
  virtual bool OnKillActive();
  virtual int OnWizardNext();
  virtual int OnWizardBack();
  virtual bool OnWizardFinish();
  // Cancel pressed: false keeps the wizard open.
  virtual bool OnQueryCancel();
  // For a page, OK (a button with id IDOK) and the sheet's Cancel do nothing
  // by default.
  void OnOK() override;
  void OnCancel() override;

  // The sheet, when pages are added.
  void SetParentSheet(CPropertySheet* sheet) { m_sheet = sheet; }

 private:
  CPropertySheet* m_sheet = nullptr;
};

class CPropertySheet : public CWnd {
 public:
  CPropertySheet(unsigned captionId, CWnd* parent = nullptr, unsigned selectPage = 0);
  CPropertySheet(const std::string& caption, CWnd* parent = nullptr, unsigned selectPage = 0);
  ~CPropertySheet() override;
  CPropertySheet(const CPropertySheet&) = delete;
  CPropertySheet& operator=(const CPropertySheet&) = delete;

  // PROPSHEETHEADER flags; PSH_HASHELP from the start, as the sheet shows its
  // Help button unless told otherwise.
  struct Header {
    unsigned dwFlags = 0;
    unsigned nStartPage = 0;
  } m_psh;

  void AddPage(CPropertyPage* page);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int index) const;
  int GetPageIndex(const CPropertyPage* page) const;
  // The page shown; before the sheet runs, the start page.
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  bool SetActivePage(int index);
  bool SetActivePage(CPropertyPage* page);
  void SetWizardButtons(unsigned flags);

  // IDOK after Finish, IDCANCEL after Cancel.
  virtual int DoModal();

  // Caption: the string resource or text the sheet was built with.
  std::string GetCaption() const;
  // The text the sheet's window shows whichever page is active; the wizard
  // otherwise retitles itself with each page's caption. Empty: no override.
  void SetTitleOverride(const std::string& title);
  const std::string& GetTitleOverride() const { return m_titleOverride; }

  // Overridables. Initialisation comes when the sheet's window exists, before
  // the first page's.
  virtual bool OnInitDialog();
  // Colours of the sheet's own area and of its own controls.
  virtual CtlColor OnCtlColor(int controlId, int ctlType);

  // Backends only.
  void Attach(fw::WindowHost* host) { m_host = host; }
  void Detach() { m_host = nullptr; }
  fw::WindowHost* GetHost() const { return m_host; }
  void SetActiveIndexFromBackend(int index) { m_active = index; }

 private:
  unsigned m_captionId = 0;
  std::string m_caption;
  std::string m_titleOverride;
  std::vector<CPropertyPage*> m_pages;
  int m_active = -1;
};

// Message box without an owner dialog, with the program's name as caption.
int AfxMessageBox(const std::string& text, unsigned flags = MB_OK);

// The common file-open dialog. The filter is written "Name|*.ext|Name|*.x|".
class CFileDialog {
 public:
  CFileDialog(bool openFileDialog, const std::string& defExt = {}, const std::string& fileName = {},
              unsigned flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
              const std::string& filter = {}, CWnd* parent = nullptr);

  struct Options {
    bool open = true;
    std::string defExt;
    std::string fileName;  // initial text of the file name box
    unsigned flags = 0;
    std::string filter;
    std::string initialDir;  // empty: the system's choice
    std::string title;       // empty: the system's
    bool operator==(const Options&) const = default;
  } m_ofn;

  int DoModal();  // IDOK or IDCANCEL
  std::string GetPathName() const { return m_path; }
  std::string GetFileName() const;   // name and extension, no directory
  std::string GetFileExt() const;    // without the dot
  std::string GetFileTitle() const;  // name without the extension

 private:
  std::string m_path;
};

// The common colour dialog. Its sixteen custom colours are shared by every
// colour dialog of the process, as the user left them.
class CColorDialog {
 public:
  explicit CColorDialog(COLORREF initial = 0, unsigned flags = 0, CWnd* parent = nullptr);

  struct Options {
    COLORREF initial = 0;
    unsigned flags = 0;
  } m_cc;

  int DoModal();  // IDOK or IDCANCEL
  COLORREF GetColor() const { return m_color; }
  static COLORREF* GetSavedCustomColors();  // 16 entries

 private:
  COLORREF m_color = 0;
};
