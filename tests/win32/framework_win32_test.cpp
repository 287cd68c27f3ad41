// The Win32 backend on the real comctl32 property sheet, built from the
// program's dialog templates and driven as a user would: the sheet runs
// modally and a timer presses its buttons (PSM_PRESSBUTTON), one step per tick.
// WM_TIMER only arrives when the queue is empty, so whatever a page posted has
// been delivered before the next step looks.
#include "framework/win32/win32_api.h"
// (first: see win32_api.h)
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/win32/win32_backend.h"
#include "res/resource.h"
#include "tests/support/logging_page.h"
#include "tests/support/screenshot.h"
#include "wizard/page_frame.h"
#include "wizard/wizard_sheet.h"

namespace {

using okapi_test::Log;
using okapi_test::LoggingPage;
using okapi_test::SaveScreenshot;

constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;

class Win32Scope {
 public:
  Win32Scope() : m_previous(fw::ReplaceBackend(fw::win32::MakeWin32Backend())) {}
  ~Win32Scope() {
    fw::win32::SetSheetCreatedHook(nullptr);
    fw::ReplaceBackend(std::move(m_previous));
  }

 private:
  std::unique_ptr<fw::Backend> m_previous;
};

struct Shown {
  std::string caption;
  std::string text;  // message boxes only
};

// Drives one modal sheet. Steps run one per timer tick; a dialog that a step
// opened (message box, About box, common dialog) is closed on the next tick,
// with its default button or with `closeWith`.
class Script {
 public:
  using Step = std::function<void(HWND sheet)>;

  int Run(CPropertySheet& sheet, std::vector<Step> steps) {
    m_steps = std::move(steps);
    s_current = this;
    fw::win32::SetSheetCreatedHook([this](void* hwnd) {
      m_sheet = static_cast<HWND>(hwnd);
      SetTimer(m_sheet, 1, 15, &Script::Tick);
    });
    const int result = sheet.DoModal();
    s_current = nullptr;
    EXPECT_NE(m_sheet, nullptr) << "no sheet was created (is there a display?)";
    EXPECT_EQ(m_next, m_steps.size()) << "the sheet closed before every step ran";
    return result;
  }

  std::vector<Shown> shown;
  int closeWith = 0;  // 0: the dialog's default button

 private:
  static BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (window != s_current->m_sheet && IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }

  static std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* self = s_current;
    if (!self) return;
    if (++self->m_ticks > 3000) {
      ADD_FAILURE() << "script did not finish";
      PostMessageA(self->m_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      return;
    }
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Script::FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog) {
      Shown seen{TextOf(dialog), {}};
      // A message box shows its text in the static 0xFFFF.
      if (HWND text = GetDlgItem(dialog, 0xFFFF)) seen.text = TextOf(text);
      self->shown.push_back(seen);
      int button = self->closeWith;
      if (!button) button = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0));
      if (!button) button = IDOK;
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return;
    }
    if (self->m_busy) return;
    if (self->m_next < self->m_steps.size()) {
      self->m_busy = true;
      self->m_steps[self->m_next++](self->m_sheet);
      self->m_busy = false;
    } else if (!self->m_cancelled) {
      self->m_cancelled = true;
      PostMessageA(self->m_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
  }

  static inline Script* s_current = nullptr;
  std::vector<Step> m_steps;
  std::size_t m_next = 0;
  HWND m_sheet = nullptr;
  bool m_busy = false;
  bool m_cancelled = false;
  int m_ticks = 0;
};

void Press(HWND sheet, int button) { SendMessageA(sheet, PSM_PRESSBUTTON, button, 0); }

int ActiveIndex(HWND sheet) {
  const auto page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
}

HWND ActivePage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// The wizard buttons as the user sees them, as PSWIZB_ flags.
unsigned Buttons(HWND sheet) {
  const auto usable = [&](int id) {
    const HWND button = GetDlgItem(sheet, id);
    return button && IsWindowVisible(button) && IsWindowEnabled(button);
  };
  return (usable(kBackButton) ? PSWIZB_BACK : 0u) | (usable(kNextButton) ? PSWIZB_NEXT : 0u) |
         (usable(kFinishButton) ? PSWIZB_FINISH : 0u);
}

std::string Title(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class Win32SheetTest : public ::testing::Test {
 protected:
  Win32SheetTest() : sheet(IDS_WIZARD_CAPTION) {
    for (unsigned id : {IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU}) {
      pages.push_back(std::make_unique<LoggingPage>(id, log));
      sheet.AddPage(pages.back().get());
    }
    sheet.m_psh.dwFlags |= PSH_WIZARD;
  }
  LoggingPage& Page(int index) { return *pages[index]; }

  Win32Scope scope;
  Log log;
  std::vector<std::unique_ptr<LoggingPage>> pages;
  CPropertySheet sheet;
  Script script;
};

TEST_F(Win32SheetTest, RoutesByTemplateIdAndInitialisesPagesOnce) {
  const int result = script.Run(
      sheet, {
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 0);
                   EXPECT_EQ(sheet.GetActivePage(), &Page(0));
                   EXPECT_EQ(log, (Log{"init 102", "active 102"}));
                   EXPECT_EQ(Buttons(s), PSWIZB_BACK | PSWIZB_NEXT) << "a wizard starts so";
                   Page(0).next = IDD_MODIFIED;
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 2) << "jumped by template id";
                   Page(2).back = kWizardStay;
                   Press(s, PSBTN_BACK);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 2) << "-1 stays";
                   Page(2).back = kWizardInOrder;
                   Press(s, PSBTN_BACK);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 1) << "0 goes back in order";
                   Page(1).next = 999;
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 1) << "an unknown template id stays";
                   Page(1).next = kWizardInOrder;
                   Page(1).leave = false;
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 1) << "the page refused to be left";
                   Page(1).leave = true;
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 2);
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 3);
                   Page(3).back = IDD_WELCOME;
                   Press(s, PSBTN_BACK);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 0) << "jumped back by template id";
                   EXPECT_EQ(sheet.GetActivePage(), &Page(0));
                 },
             });
  EXPECT_EQ(result, IDCANCEL);
  const Log expected = {"init 102",   "active 102", "next 102",  "kill 102",   "init 145",
                        "active 145", "back 145",   "back 145",  "kill 145",   "init 129",
                        "active 129", "next 129",   "next 129",  "kill 129",   "next 129",
                        "kill 129",   "active 145", "next 145",  "kill 145",   "init 130",
                        "active 130", "back 130",   "kill 130",  "active 102", "querycancel 102",
                        "reset 102",  "reset 129",  "reset 145", "reset 130"};
  EXPECT_EQ(log, expected);
}

TEST_F(Win32SheetTest, PostedButtonsTakeEffectAndFinishEndsTheWizard) {
  Page(0).buttonsOnActivate = PSWIZB_NEXT;
  Page(2).buttonsOnActivate = PSWIZB_BACK | PSWIZB_FINISH;
  Page(2).finish = false;
  const int result = script.Run(
      sheet, {
                 [&](HWND s) {
                   EXPECT_EQ(Buttons(s), PSWIZB_NEXT);
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(Buttons(s), PSWIZB_NEXT) << "page 129 sets none";
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(Buttons(s), PSWIZB_BACK | PSWIZB_FINISH) << "Finish replaces Next";
                   Press(s, PSBTN_BACK);
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 1);
                   EXPECT_EQ(Buttons(s), PSWIZB_BACK | PSWIZB_FINISH);
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   Press(s, PSBTN_FINISH);  // refused by the page
                 },
                 [&](HWND s) {
                   EXPECT_EQ(ActiveIndex(s), 2);
                   Page(2).finish = true;
                   Press(s, PSBTN_FINISH);
                 },
             });
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(Page(2).IsCreated()) << "the pages' windows went with the sheet";
}

// A page on the menu template with data exchange and a notification table.
class FormPage : public CPropertyPage {
 public:
  FormPage() : CPropertyPage(IDD_APPMENU) {}
  std::string title1 = "Program";
  std::string key1 = "P";
  bool sysDetails = true;
  CEdit title1Edit;
  int clicks = 0;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_APPMENU_TITLE1, title1Edit);
    DDX_Text(pDX, IDC_APPMENU_TITLE1, title1);
    DDX_Text(pDX, IDC_APPMENU_ALT_KEY1, key1);
    DDV_MaxChars(pDX, key1, 1);
    DDX_Check(pDX, IDC_APPMENU_SYS_DETAILS, sysDetails);
  }
  bool OnCommand(int id, unsigned code) override {
    static const CommandEntry<FormPage> kCommands[] = {
        {IDC_APPMENU_SYS_DETAILS, BN_CLICKED, &FormPage::OnSysDetails},
    };
    return DispatchCommand(*this, kCommands, id, code) || CPropertyPage::OnCommand(id, code);
  }
  void OnSysDetails() { ++clicks; }
};

class ColorPage : public CPropertyPage {
 public:
  ColorPage() : CPropertyPage(IDD_TCOLOR) {}
  std::uint8_t red = 10, green = 20;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_RED, red);
    DDV_MinMaxByte(pDX, red, 0, 255);
    DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_GREEN, green);
    DDV_MinMaxByte(pDX, green, 0, 255);
  }
};

TEST(Win32Dialogs, DataExchangeNotificationsAndValidationOnRealControls) {
  Win32Scope scope;
  FormPage form;
  ColorPage color;
  CListBox list;
  CPropertySheet sheet(IDS_WIZARD_CAPTION);
  sheet.m_psh.dwFlags |= PSH_WIZARD;
  sheet.AddPage(&form);
  sheet.AddPage(&color);
  Script script;
  script.Run(sheet,
             {
                 [&](HWND s) {
                   const HWND page = ActivePage(s);
                   char text[64] = {};
                   GetDlgItemTextA(page, IDC_APPMENU_TITLE1, text, sizeof text);
                   EXPECT_STREQ(text, "Program");
                   EXPECT_EQ(IsDlgButtonChecked(page, IDC_APPMENU_SYS_DETAILS), BST_CHECKED);
                   EXPECT_EQ(SendDlgItemMessageA(page, IDC_APPMENU_ALT_KEY1, EM_GETLIMITTEXT, 0, 0),
                             1);
                   EXPECT_TRUE(form.title1Edit.IsBound());
                   // A click as the user makes it: the button checks itself and notifies.
                   SendDlgItemMessageA(page, IDC_APPMENU_SYS_DETAILS, BM_CLICK, 0, 0);
                   EXPECT_EQ(form.clicks, 1);
                   SetDlgItemTextA(page, IDC_APPMENU_TITLE1, "Tools");
                   ASSERT_TRUE(form.UpdateData(true));
                   EXPECT_EQ(form.title1, "Tools");
                   EXPECT_FALSE(form.sysDetails);
                   form.GetDlgItem(IDC_APPMENU_ALT_KEY1)->SetWindowText("XY");
                   EXPECT_FALSE(form.UpdateData(true)) << "two letters where one is allowed";
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   const HWND page = ActivePage(s);
                   SetDlgItemTextA(page, IDC_TCOLOR_MOUSE_OVER_RED, "12");
                   SetDlgItemTextA(page, IDC_TCOLOR_MOUSE_OVER_GREEN, "300");
                   EXPECT_FALSE(color.UpdateData(true));
                   EXPECT_EQ(color.red, 12) << "taken over before the failing box";
                   EXPECT_EQ(color.green, 20);
                   EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_TCOLOR_MOUSE_OVER_GREEN));
                 },
             });
  ASSERT_EQ(script.shown.size(), 2u);
  EXPECT_EQ(script.shown[0].caption, "OKAPI");
  EXPECT_EQ(script.shown[0].text, "Please enter no more than 1 characters.");
  EXPECT_EQ(script.shown[1].text, "Please enter an integer between 0 and 255.");
}

TEST(Win32Dialogs, ListBoxAndMessageBoxOwnedByThePage) {
  Win32Scope scope;
  class ListPage : public CPropertyPage {
   public:
    ListPage() : CPropertyPage(IDD_BACKGROUNDS) {}
    CListBox list;
    void DoDataExchange(CDataExchange* pDX) override {
      DDX_Control(pDX, IDC_BACKGROUNDS_LIST, list);
    }
  } page;
  CPropertySheet sheet(IDS_WIZARD_CAPTION);
  sheet.m_psh.dwFlags |= PSH_WIZARD;
  sheet.AddPage(&page);
  Script script;
  script.closeWith = IDNO;
  script.Run(sheet, {[&](HWND) {
               for (const char* item : {"delta.jpg", "Alpha.jpg", "charlie.jpg"})
                 page.list.AddString(item);
               std::string text;
               ASSERT_EQ(page.list.GetText(0, text), 9);
               EXPECT_EQ(text, "Alpha.jpg") << "the list box sorts";
               EXPECT_EQ(page.list.SetCurSel(2), 2);
               EXPECT_EQ(page.list.DeleteString(0), 2);
               EXPECT_EQ(page.list.GetCurSel(), 1);
               EXPECT_EQ(page.list.FindStringExact(-1, "CHARLIE.JPG"), 0);
               EXPECT_EQ(page.MessageBox("Delete it?", "Information", MB_YESNO), IDNO);
             }});
  ASSERT_EQ(script.shown.size(), 1u);
  EXPECT_EQ(script.shown[0].caption, "Information");
  EXPECT_EQ(script.shown[0].text, "Delete it?");
}

PageFrame FrameOf(int title, int help, unsigned buttons, std::vector<int> white) {
  PageFrame frame;
  frame.titleId = title;
  frame.helpButtonId = help;
  frame.buttonsOnActivate = buttons;
  frame.white = std::move(white);
  return frame;
}

// The welcome page's part of the frame: About item, title kept by the sheet.
class WelcomePage : public COkapiPage {
 public:
  WelcomePage() : COkapiPage(IDD_WELCOME, FrameOf(0, 0, PSWIZB_NEXT, {1008, 1009, 1173})) {}
  int aboutResult = 0;
  bool OnInitDialog() override {
    COkapiPage::OnInitDialog();
    if (CMenu* menu = GetSystemMenu(false)) {
      menu->AppendMenu(MF_SEPARATOR);
      menu->AppendMenu(MF_STRING, 0x10, LoadString(IDS_ABOUTBOX));
    }
    SetIcon(IDI_OKAPI);
    return true;
  }
  bool OnSysCommand(unsigned id) override {
    if ((id & 0xFFF0) != 0x10) return false;
    CDialog about(IDD_ABOUTBOX);
    aboutResult = about.DoModal();
    return true;
  }
};

TEST(Win32Frame, TitleFontColoursHelpButtonTitleAndSystemMenu) {
  Win32Scope scope;
  WelcomePage welcome;
  COkapiPage intro(IDD_INTRO, FrameOf(IDC_INTRO_HEADING, IDC_INTRO_HELP, PSWIZB_BACK | PSWIZB_NEXT,
                                      {1000, 1006}));
  CWizardSheet sheet(IDS_WIZARD_CAPTION);
  sheet.AddPage(&welcome);
  sheet.AddPage(&intro);
  sheet.m_psh.dwFlags |= PSH_WIZARD | PSH_HASHELP;  // initialisation clears Help again
  Script script;
  script.Run(
      sheet,
      {
          [&](HWND s) {
            EXPECT_EQ(Title(s), "Welcome") << "the wizard shows the page's caption";
            const HMENU menu = GetSystemMenu(s, FALSE);
            char item[64] = {};
            GetMenuStringA(menu, 0x10, item, sizeof item, MF_BYCOMMAND);
            EXPECT_STREQ(item, "&About OKAPI...");
            EXPECT_NE(SendMessageA(s, WM_GETICON, ICON_BIG, 0), 0);
            const HWND help = GetDlgItem(s, IDHELP);
            EXPECT_FALSE(help && IsWindowVisible(help)) << "the sheet shows no Help button";
            sheet.SetTitleOverride("Customization");
            EXPECT_EQ(FindWindowA(nullptr, "Customization"), s);
            Press(s, PSBTN_NEXT);
          },
          [&](HWND s) {
            EXPECT_EQ(Title(s), "Customization") << "kept across the page change";
            EXPECT_EQ(FindWindowA(nullptr, "Customization"), s);
            const HWND page = ActivePage(s);

            LOGFONTA font{};
            const auto hfont = reinterpret_cast<HFONT>(
                SendDlgItemMessageA(page, IDC_INTRO_HEADING, WM_GETFONT, 0, 0));
            ASSERT_NE(hfont, nullptr);
            GetObjectA(hfont, sizeof font, &font);
            const HDC screen = GetDC(nullptr);
            const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
            EXPECT_EQ(font.lfHeight, -(dpi * 8 / 72));
            EXPECT_EQ(font.lfWeight, FW_BOLD);
            EXPECT_STREQ(font.lfFaceName, "Verdana Bold");

            RECT r{};
            GetWindowRect(GetDlgItem(page, IDC_INTRO_HELP), &r);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, 390);
            EXPECT_EQ(r.top, 330);
            EXPECT_EQ(r.right - r.left, 116);
            EXPECT_EQ(r.bottom - r.top, 22);

            const HDC dc = CreateCompatibleDC(nullptr);
            const auto white = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
            const HWND heading = GetDlgItem(page, IDC_INTRO_HEADING);
            EXPECT_EQ(SendMessageA(page, WM_CTLCOLORDLG, (WPARAM)dc, (LPARAM)page), white);
            SetBkColor(dc, RGB(1, 2, 3));
            EXPECT_EQ(SendMessageA(page, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)heading), white);
            EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
            const HWND helpButton = GetDlgItem(page, IDC_INTRO_HELP);
            EXPECT_NE(SendMessageA(page, WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)helpButton), white)
                << "a control off the white list keeps the system look";
            EXPECT_EQ(SendMessageA(s, WM_CTLCOLORDLG, (WPARAM)dc, (LPARAM)s),
                      reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
            DeleteDC(dc);

            if (const char* dir = std::getenv("OKAPI_SCREENSHOT_DIR")) {
              RedrawWindow(s, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
              SaveScreenshot(s, std::string(dir) + "\\frame-intro.bmp");
            }
            SendMessageA(s, WM_SYSCOMMAND, 0x10, 0);
            EXPECT_EQ(welcome.aboutResult, IDOK) << "About works from any page";
          },
      });
  ASSERT_EQ(script.shown.size(), 1u);
  EXPECT_EQ(script.shown[0].caption, "About OKAPI");
}

TEST(Win32CommonDialogs, FileAndColourDialogsCanBeCancelled) {
  Win32Scope scope;
  CPropertyPage page(IDD_WELCOME);
  CPropertySheet sheet(IDS_WIZARD_CAPTION);
  sheet.m_psh.dwFlags |= PSH_WIZARD;
  sheet.AddPage(&page);
  Script script;
  script.closeWith = IDCANCEL;
  int fileResult = 0, colorResult = 0;
  script.Run(sheet, {[&](HWND) {
               CFileDialog open(true, "exe", "*.exe", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                                "Executable files (*.exe)|*.exe|");
               fileResult = open.DoModal();
               CColorDialog color;
               colorResult = color.DoModal();
             }});
  EXPECT_EQ(fileResult, IDCANCEL);
  EXPECT_EQ(colorResult, IDCANCEL);
  ASSERT_EQ(script.shown.size(), 2u);
  EXPECT_EQ(script.shown[0].caption, "Open");
  EXPECT_EQ(script.shown[1].caption, "Color");
}

// A 2 by 2 24-bit bitmap file.
std::string WriteTinyBitmap() {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "okapi-framework-tiny.bmp";
  BITMAPINFOHEADER header{sizeof header, 2, 2, 1, 24, BI_RGB, 16, 0, 0, 0, 0};
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
  const BITMAPFILEHEADER file{0x4D42, offset + 16, 0, 0, offset};
  const char pixels[16] = {};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels, sizeof pixels);
  return path;
}

TEST(Win32Controls, StaticImageFromFileAndComboBoxItems) {
  Win32Scope scope;
  class Page : public CPropertyPage {
   public:
    Page() : CPropertyPage(IDD_SOUNDS) {}
  } sounds;
  class ColorPage : public CPropertyPage {
   public:
    ColorPage() : CPropertyPage(IDD_TCOLOR) {}
    CStatic palette;
    std::vector<CPoint> releases;
    int paints = 0;
    void DoDataExchange(CDataExchange* pDX) override {
      DDX_Control(pDX, IDC_TCOLOR_PALETTE, palette);
    }
    void OnLButtonUp(CPoint point) override { releases.push_back(point); }
    void OnPaint() override { ++paints; }
  } color;
  CComboBox play;
  CPropertySheet sheet(IDS_WIZARD_CAPTION);
  sheet.m_psh.dwFlags |= PSH_WIZARD;
  sheet.AddPage(&color);
  sheet.AddPage(&sounds);
  const std::string tiny = WriteTinyBitmap();
  Script script;
  script.Run(sheet,
             {[&](HWND s) {
                const HWND palette = GetDlgItem(ActivePage(s), IDC_TCOLOR_PALETTE);
                const LRESULT original = SendMessageA(palette, STM_GETIMAGE, IMAGE_BITMAP, 0);
                EXPECT_NE(original, 0) << "the template's own bitmap";
                EXPECT_FALSE(color.palette.SetBitmapFromFile("c:\\no\\such.bmp"));
                EXPECT_EQ(SendMessageA(palette, STM_GETIMAGE, IMAGE_BITMAP, 0), original);
                ASSERT_TRUE(color.palette.SetBitmapFromFile(tiny));
                EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(original)), 0u)
                    << "the image the control handed back is deleted";
                const auto shown =
                    reinterpret_cast<HBITMAP>(SendMessageA(palette, STM_GETIMAGE, IMAGE_BITMAP, 0));
                BITMAP bitmap{};
                ASSERT_NE(GetObjectA(shown, sizeof bitmap, &bitmap), 0);
                EXPECT_EQ(bitmap.bmWidth, 2);
                EXPECT_TRUE(color.palette.SetBitmapFromFile(tiny)) << "again, replacing";
                EXPECT_EQ(GetObjectType(shown), 0u);
                EXPECT_NE(GetObjectType(reinterpret_cast<HGDIOBJ>(
                              SendMessageA(palette, STM_GETIMAGE, IMAGE_BITMAP, 0))),
                          0u)
                    << "the image shown stays alive";
                const HWND page = ActivePage(s);
                SendMessageA(page, WM_LBUTTONUP, 0, MAKELPARAM(45, 110));
                EXPECT_EQ(color.releases, (std::vector<CPoint>{{45, 110}}));
                const int paints = color.paints;
                InvalidateRect(page, nullptr, TRUE);
                UpdateWindow(page);
                EXPECT_GT(color.paints, paints);
                Press(s, PSBTN_NEXT);
              },
              [&](HWND) {
                play.BindTo(sounds, IDC_SOUNDS_PLAY_COMBO);
                play.AddString("TRUE");
                play.AddString("FALSE");
                std::string text;
                EXPECT_EQ(play.GetLBText(0, text), 5);
                EXPECT_EQ(text, "FALSE") << "the hidden combo box sorts";
                EXPECT_EQ(play.SelectString(-1, "true"), 1);
                EXPECT_EQ(play.GetCurSel(), 1);
                EXPECT_EQ(play.GetWindowText(), "TRUE");
                EXPECT_EQ(play.GetCount(), 2);
                EXPECT_FALSE(play.IsWindowVisible());
              }});
  DeleteFileA(tiny.c_str());
}

}  // namespace
