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
#include <memory>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/win32/win32_backend.h"
#include "res/resource.h"
#include "tests/support/logging_page.h"
#include "tests/support/screenshot.h"
#include "wizard/help_launcher.h"
#include "wizard/page_frame.h"
#include "wizard/title_font.h"
#include "wizard/wizard_sheet.h"

namespace {

using okapi_test::Log;
using okapi_test::LoggingPage;

constexpr int kBackButton = 0x3023;
constexpr int kNextButton = kSheetNextButtonId;
constexpr int kFinishButton = kSheetFinishButtonId;

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Drives one modal sheet on the Win32 backend. Steps run one per timer tick; a
// dialog that a step opened (message box, About box, common dialog) is closed
// on the next tick, with its default button or with `closeWith`.
class Script {
 public:
  using Step = std::function<void(HWND sheet)>;

  Script() : m_previous(fw::ReplaceBackend(fw::win32::MakeWin32Backend())) {}
  ~Script() {
    fw::win32::SetSheetCreatedHook(nullptr);
    fw::ReplaceBackend(std::move(m_previous));
  }

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

  std::vector<std::string> captions;  // of the dialogs closed, in order
  std::vector<std::string> texts;     // of the message boxes among them
  int closeWith = 0;                  // 0: the dialog's default button

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* self = s_current;
    if (!self) return;
    if (++self->m_ticks > 3000) {
      ADD_FAILURE() << "script did not finish";
      PostMessageA(self->m_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      return;
    }
    char name[32] = {};
    const HWND dialog = GetActiveWindow();
    GetClassNameA(dialog, name, sizeof name);
    if (dialog != self->m_sheet && lstrcmpA(name, "#32770") == 0) {
      self->captions.push_back(TextOf(dialog));
      // A message box shows its text in the static 0xFFFF and has no edit.
      if (HWND text = GetDlgItem(dialog, 0xFFFF); text && !FindWindowExA(dialog, 0, "Edit", 0))
        self->texts.push_back(TextOf(text));
      int button = self->closeWith;
      if (!button) button = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0));
      if (!button) button = IDOK;
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return;
    }
    if (self->m_busy) return;
    if (self->m_next < self->m_steps.size()) {
      SCOPED_TRACE("step " + std::to_string(self->m_next));
      self->m_busy = true;
      self->m_steps[self->m_next++](self->m_sheet);
      self->m_busy = false;
    } else if (!self->m_cancelled) {
      self->m_cancelled = true;
      PostMessageA(self->m_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
  }

  static inline Script* s_current = nullptr;
  std::unique_ptr<fw::Backend> m_previous;
  std::vector<Step> m_steps;
  std::size_t m_next = 0;
  HWND m_sheet = nullptr;
  bool m_busy = false;
  bool m_cancelled = false;
  int m_ticks = 0;
};

void AddWizardPages(CPropertySheet& sheet, std::initializer_list<CPropertyPage*> pages) {
  for (CPropertyPage* page : pages) sheet.AddPage(page);
  sheet.m_psh.dwFlags |= PSH_WIZARD;
}

void Press(HWND sheet, int button) { SendMessageA(sheet, PSM_PRESSBUTTON, button, 0); }

HWND ActivePage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int ActiveIndex(HWND sheet) {
  return static_cast<int>(
      SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(ActivePage(sheet)), 0));
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

class Win32SheetTest : public ::testing::Test {
 protected:
  Win32SheetTest() : sheet(IDS_WIZARD_CAPTION) {
    for (unsigned id : {IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU})
      pages.push_back(std::make_unique<LoggingPage>(id, log));
    AddWizardPages(sheet, {&Page(0), &Page(1), &Page(2), &Page(3)});
  }
  LoggingPage& Page(int index) { return *pages[index]; }

  // Checks the active page and (unless 0) the buttons, sets the pages'
  // answers, then presses `press` (unless -1).
  Script::Step At(int index, unsigned buttons, int press, std::function<void()> set = nullptr) {
    return [=](HWND s) {
      EXPECT_EQ(ActiveIndex(s), index);
      if (buttons) {
        EXPECT_EQ(Buttons(s), buttons);
      }
      if (set) set();
      if (press != -1) Press(s, press);
    };
  }

  Script script;
  Log log;
  std::vector<std::unique_ptr<LoggingPage>> pages;
  CPropertySheet sheet;
};

TEST_F(Win32SheetTest, RoutesByTemplateIdAndInitialisesPagesOnce) {
  const int back = PSBTN_BACK, next = PSBTN_NEXT;
  const int result = script.Run(
      sheet, {
                 At(0, PSWIZB_BACK | PSWIZB_NEXT, next,
                    [&] {
                      EXPECT_EQ(log, (Log{"init 102", "active 102"}));
                      Page(0).next = IDD_MODIFIED;
                    }),
                 At(2, 0, back, [&] { Page(2).back = kWizardStay; }),     // jumped by template id
                 At(2, 0, back, [&] { Page(2).back = kWizardInOrder; }),  // -1 stays
                 At(1, 0, next, [&] { Page(1).next = 999; }),             // 0 goes back in order
                 At(1, 0, next,  // an unknown template id stays
                    [&] {
                      Page(1).next = kWizardInOrder;
                      Page(1).leave = false;
                    }),
                 At(1, 0, next, [&] { Page(1).leave = true; }),  // the page refused to be left
                 At(2, 0, next),
                 At(3, 0, back, [&] { Page(3).back = IDD_WELCOME; }),
                 At(0, 0, -1, [&] { EXPECT_EQ(sheet.GetActivePage(), &Page(0)); }),
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
  const unsigned backFinish = PSWIZB_BACK | PSWIZB_FINISH;
  Page(0).buttonsOnActivate = PSWIZB_NEXT;
  Page(2).buttonsOnActivate = backFinish;
  Page(2).finish = false;
  const int result = script.Run(sheet, {
                                           At(0, PSWIZB_NEXT, PSBTN_NEXT),
                                           At(1, PSWIZB_NEXT, PSBTN_NEXT),  // page 129 sets none
                                           At(2, backFinish, PSBTN_BACK),
                                           At(1, backFinish, PSBTN_NEXT),
                                           At(2, backFinish, PSBTN_FINISH),  // refused
                                           At(2, 0, PSBTN_FINISH, [&] { Page(2).finish = true; }),
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
  CStatic palette;
  std::vector<CPoint> releases;
  int paints = 0;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_TCOLOR_PALETTE, palette);
    DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_RED, red);
    DDV_MinMaxByte(pDX, red, 0, 255);
    DDX_Text(pDX, IDC_TCOLOR_MOUSE_OVER_GREEN, green);
    DDV_MinMaxByte(pDX, green, 0, 255);
  }
  void OnLButtonUp(CPoint point) override { releases.push_back(point); }
  void OnPaint() override { ++paints; }
};

class ListPage : public CPropertyPage {
 public:
  ListPage() : CPropertyPage(IDD_BACKGROUNDS) {}
  CListBox list;
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_BACKGROUNDS_LIST, list); }
};

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

HGDIOBJ ImageOf(HWND picture) {
  return reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST(Win32Controls, ExchangeNotifySortShowImagesAndOwnTheirDialogs) {
  Script script;
  FormPage form;
  ColorPage color;
  ListPage backgrounds;
  CPropertyPage sounds(IDD_SOUNDS);
  CComboBox play;
  CPropertySheet sheet(IDS_WIZARD_CAPTION);
  AddWizardPages(sheet, {&form, &color, &backgrounds, &sounds});
  const std::string tiny = WriteTinyBitmap();
  int fileResult = 0, colorResult = 0;
  script.Run(sheet,
             {
                 [&](HWND s) {
                   const HWND page = ActivePage(s);
                   EXPECT_EQ(TextOf(GetDlgItem(page, IDC_APPMENU_TITLE1)), "Program");
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
                   const HWND palette = GetDlgItem(page, IDC_TCOLOR_PALETTE);
                   const HGDIOBJ original = ImageOf(palette);
                   EXPECT_NE(original, nullptr) << "the template's own bitmap";
                   EXPECT_FALSE(color.palette.SetBitmapFromFile("c:\\no\\such.bmp"));
                   EXPECT_EQ(ImageOf(palette), original);
                   ASSERT_TRUE(color.palette.SetBitmapFromFile(tiny));
                   EXPECT_EQ(GetObjectType(original), 0u)
                       << "the image the control handed back is deleted";
                   const HGDIOBJ shown = ImageOf(palette);
                   BITMAP bitmap{};
                   ASSERT_NE(GetObjectA(shown, sizeof bitmap, &bitmap), 0);
                   EXPECT_EQ(bitmap.bmWidth, 2);
                   EXPECT_TRUE(color.palette.SetBitmapFromFile(tiny)) << "again, replacing";
                   EXPECT_EQ(GetObjectType(shown), 0u);
                   EXPECT_NE(GetObjectType(ImageOf(palette)), 0u) << "the image shown stays alive";

                   SendMessageA(page, WM_LBUTTONUP, 0, MAKELPARAM(45, 110));
                   EXPECT_EQ(color.releases, (std::vector<CPoint>{{45, 110}}));
                   const int paints = color.paints;
                   InvalidateRect(page, nullptr, TRUE);
                   UpdateWindow(page);
                   EXPECT_GT(color.paints, paints);

                   SetDlgItemTextA(page, IDC_TCOLOR_MOUSE_OVER_RED, "12");
                   SetDlgItemTextA(page, IDC_TCOLOR_MOUSE_OVER_GREEN, "300");
                   EXPECT_FALSE(color.UpdateData(true));
                   EXPECT_EQ(color.red, 12) << "taken over before the failing box";
                   EXPECT_EQ(color.green, 20);
                   EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_TCOLOR_MOUSE_OVER_GREEN));
                   Press(s, PSBTN_NEXT);
                 },
                 [&](HWND s) {
                   CListBox& list = backgrounds.list;
                   for (const char* item : {"delta.jpg", "Alpha.jpg", "charlie.jpg"})
                     list.AddString(item);
                   std::string text;
                   ASSERT_EQ(list.GetText(0, text), 9);
                   EXPECT_EQ(text, "Alpha.jpg") << "the list box sorts";
                   EXPECT_EQ(list.SetCurSel(2), 2);
                   EXPECT_EQ(list.DeleteString(0), 2);
                   EXPECT_EQ(list.GetCurSel(), 1);
                   EXPECT_EQ(list.FindStringExact(-1, "CHARLIE.JPG"), 0);
                   script.closeWith = IDNO;
                   EXPECT_EQ(backgrounds.MessageBox("Delete it?", "Information", MB_YESNO), IDNO);
                   script.closeWith = IDCANCEL;
                   CFileDialog open(true, "exe", "*.exe", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                                    "Executable files (*.exe)|*.exe|");
                   fileResult = open.DoModal();
                   CColorDialog colorDialog;
                   colorResult = colorDialog.DoModal();
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
                   EXPECT_FALSE(play.IsWindowVisible());
                 },
             });
  DeleteFileA(tiny.c_str());
  EXPECT_EQ(fileResult, IDCANCEL);
  EXPECT_EQ(colorResult, IDCANCEL);
  EXPECT_EQ(script.captions,
            (std::vector<std::string>{"OKAPI", "OKAPI", "Information", "Open", "Color"}));
  EXPECT_EQ(script.texts,
            (std::vector<std::string>{"Please enter no more than 1 characters.",
                                      "Please enter an integer between 0 and 255.", "Delete it?"}));
}

// The welcome page's part of the frame: About item, title kept by the sheet.
class WelcomePage : public COkapiPage {
 public:
  WelcomePage()
      : COkapiPage(IDD_WELCOME, {.buttonsOnActivate = PSWIZB_NEXT, .white = {1008, 1009, 1173}}) {}
  int aboutResult = 0;
  bool OnInitDialog() override {
    COkapiPage::OnInitDialog();
    if (CMenu* menu = GetSystemMenu(false)) {
      menu->AppendMenu(MF_SEPARATOR);
      menu->AppendMenu(MF_STRING, 0x10, LoadResourceString(IDS_ABOUTBOX));
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

TEST(Win32Frame, TitleFontColoursHelpButtonAndSystemMenu) {
  Script script;
  WelcomePage welcome;
  COkapiPage intro(IDD_INTRO, {.titleId = IDC_INTRO_HEADING,
                               .helpButtonId = IDC_INTRO_HELP,
                               .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                               .white = {1000, 1006}});
  CWizardSheet sheet(IDS_WIZARD_CAPTION);
  AddWizardPages(sheet, {&welcome, &intro});
  sheet.m_psh.dwFlags |= PSH_HASHELP;  // initialisation clears Help again
  script.Run(
      sheet,
      {
          [&](HWND s) {
            EXPECT_EQ(TextOf(s), "Welcome") << "the wizard shows the page's caption";
            char item[64] = {};
            EXPECT_GT(
                GetMenuStringA(GetSystemMenu(s, FALSE), 0x10, item, sizeof item, MF_BYCOMMAND), 0);
            EXPECT_NE(SendMessageA(s, WM_GETICON, ICON_BIG, 0), 0);
            const HWND help = GetDlgItem(s, IDHELP);
            EXPECT_FALSE(help && IsWindowVisible(help)) << "the sheet shows no Help button";
            Press(s, PSBTN_NEXT);
          },
          [&](HWND s) {
            const HWND page = ActivePage(s);
            const HWND heading = GetDlgItem(page, IDC_INTRO_HEADING);
            const HWND helpButton = GetDlgItem(page, IDC_INTRO_HELP);

            LOGFONTA font{};
            const auto hfont = reinterpret_cast<HFONT>(SendMessageA(heading, WM_GETFONT, 0, 0));
            ASSERT_NE(GetObjectA(hfont, sizeof font, &font), 0);
            EXPECT_EQ(font.lfHeight, TitleFontHeight(GetScreenLogPixelsY(), 8));
            EXPECT_EQ(font.lfWeight, FW_BOLD);
            EXPECT_STREQ(font.lfFaceName, "Verdana Bold");

            RECT r{};
            GetWindowRect(helpButton, &r);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
            const CRect& want = COkapiPage::kHelpButtonRect;  // at 96 dpi, as under Wine
            EXPECT_EQ((std::vector<long>{r.left, r.top, r.right, r.bottom}),
                      (std::vector<long>{want.left, want.top, want.right, want.bottom}));

            const HDC dc = CreateCompatibleDC(nullptr);
            const auto white = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
            EXPECT_EQ(SendMessageA(page, WM_CTLCOLORDLG, (WPARAM)dc, (LPARAM)page), white);
            SetBkColor(dc, RGB(1, 2, 3));
            EXPECT_EQ(SendMessageA(page, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)heading), white);
            EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
            EXPECT_NE(SendMessageA(page, WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)helpButton), white)
                << "a control off the white list keeps the system look";
            EXPECT_EQ(SendMessageA(s, WM_CTLCOLORDLG, (WPARAM)dc, (LPARAM)s),
                      reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
            DeleteDC(dc);

            if (const char* dir = std::getenv("OKAPI_SCREENSHOT_DIR")) {
              RedrawWindow(s, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
              okapi_test::SaveScreenshot(s, std::string(dir) + "\\frame-intro.bmp");
            }
            SendMessageA(s, WM_SYSCOMMAND, 0x10, 0);
            EXPECT_EQ(welcome.aboutResult, IDOK) << "About works from any page";
          },
      });
  EXPECT_EQ(script.captions, (std::vector<std::string>{"About OKAPI"}));
}

// The system's own HTML Help control, not a stand-in: initialising shows
// nothing, where a topic would open a window.
TEST(HelpLauncherOnTheSystem, LoadsTheHtmlHelpControl) {
  help_launcher::Reset();
  std::uintptr_t cookie = 0;
  HtmlHelpLauncher(0, nullptr, HH_INITIALIZE, reinterpret_cast<std::uintptr_t>(&cookie));
  EXPECT_FALSE(help_launcher::LoadFailed());
  help_launcher::Reset();
}

}  // namespace
