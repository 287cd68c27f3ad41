// The Win32 backend on the real comctl32 property sheet, built from the
// program's dialog templates and driven as a user would: the sheet runs
// modally and a timer presses its buttons (PSM_PRESSBUTTON), one step per tick.
// WM_TIMER only arrives when the queue is empty, so whatever a page posted has
// been delivered before the next step looks. What real windows alone show:
// the sheet's order of events, images, and each page of the program laid out.
// Each page is also written as a .bmp under the build tree's screenshots.
#include "framework/win32/win32_api.h"
// (first: see win32_api.h)
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/framework.h"
#include "framework/win32/win32_backend.h"
#include "res/resource.h"
#include "store/globals.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/screenshot.h"

namespace {

using Log = std::vector<std::string>;

// A page whose handlers log themselves ("next 20") and answer as set.
class LoggingPage : public CPropertyPage {
 public:
  LoggingPage(unsigned templateId, Log& log) : CPropertyPage(templateId), m_log(log) {}

  int next = kWizardInOrder;
  int back = kWizardInOrder;
  bool leave = true;
  unsigned buttonsOnActivate = 0;

  bool OnInitDialog() override {
    Logged("init");
    return CPropertyPage::OnInitDialog();
  }
  bool OnSetActive() override {
    if (buttonsOnActivate) SetWizardButtons(buttonsOnActivate);
    return Logged("active", true);
  }
  bool OnKillActive() override { return Logged("kill", leave); }
  int OnWizardNext() override { return Logged("next", next); }
  int OnWizardBack() override { return Logged("back", back); }
  bool OnWizardFinish() override { return Logged("finish", true); }
  bool OnQueryCancel() override { return Logged("querycancel", true); }
  void OnCancel() override { Logged("reset"); }

 private:
  template <typename Answer = bool>
  Answer Logged(const char* what, Answer answer = {}) {
    m_log.push_back(std::string(what) + " " + std::to_string(GetTemplateId()));
    return answer;
  }
  Log& m_log;
};

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Drives one modal sheet on the Win32 backend. Steps run one per timer tick; a
// dialog that opens fails the test and is closed with its default button.
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
    // Error 1400 under Wine usually means a wineserver still bound to an X
    // display that has gone (an earlier xvfb-run): end it with wineserver -k.
    EXPECT_NE(m_sheet, nullptr) << "no sheet was created (is there a display?)";
    EXPECT_GT(m_next, m_steps.size()) << "the sheet closed before every step ran";
    return result;
  }

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
      ADD_FAILURE() << "a dialog opened: " << TextOf(dialog);
      int button = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0));
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button ? button : IDOK, BN_CLICKED), 0);
      return;
    }
    if (self->m_busy) return;
    if (self->m_next < self->m_steps.size()) {
      SCOPED_TRACE("step " + std::to_string(self->m_next));
      self->m_busy = true;
      self->m_steps[self->m_next++](self->m_sheet);
      self->m_busy = false;
    } else if (self->m_next++ == self->m_steps.size()) {
      PostMessageA(self->m_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
  }

  static inline Script* s_current = nullptr;
  std::unique_ptr<fw::Backend> m_previous;
  std::vector<Step> m_steps;
  std::size_t m_next = 0;
  HWND m_sheet = nullptr;
  bool m_busy = false;
  int m_ticks = 0;
};

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
  return (usable(0x3023) ? PSWIZB_BACK : 0u) | (usable(kSheetNextButtonId) ? PSWIZB_NEXT : 0u) |
         (usable(kSheetFinishButtonId) ? PSWIZB_FINISH : 0u);
}

// Each page's handlers in the order the real sheet calls them, whatever a
// page answers: a template id, -1, 0, an unknown id, a refusal to be left.
TEST(Win32Sheet, RoutesByTemplateIdAndInitialisesPagesOnce) {
  Script script;
  Log log;
  std::vector<std::unique_ptr<LoggingPage>> pages;
  CPropertySheet sheet(IDS_WIZARD_CAPTION);
  sheet.m_psh.dwFlags |= PSH_WIZARD;
  for (unsigned id : {IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU}) {
    pages.push_back(std::make_unique<LoggingPage>(id, log));
    sheet.AddPage(pages.back().get());
  }
  const auto page = [&](int index) -> LoggingPage& { return *pages[index]; };
  // Buttons set on activation show; a page that sets none keeps them.
  const unsigned backNext = PSWIZB_BACK | PSWIZB_NEXT, backFinish = PSWIZB_BACK | PSWIZB_FINISH;
  page(3).buttonsOnActivate = backFinish;
  // Checks the active page and (unless 0) the buttons, sets the pages'
  // answers, then presses `press` (unless -1).
  const auto at = [&](int index, unsigned buttons, int press, std::function<void()> set = {}) {
    return [=](HWND s) {
      EXPECT_EQ(ActiveIndex(s), index);
      EXPECT_EQ(buttons ? Buttons(s) : 0u, buttons);
      if (set) set();
      if (press != -1) SendMessageA(s, PSM_PRESSBUTTON, press, 0);
    };
  };
  const int back = PSBTN_BACK, next = PSBTN_NEXT;
  const int result = script.Run(
      sheet, {
                 at(0, backNext, next, [&] { page(0).next = IDD_MODIFIED; }),  // by template id
                 at(2, 0, back, [&] { page(2).back = kWizardStay; }),          // -1 stays
                 at(2, 0, back, [&] { page(2).back = kWizardInOrder; }),  // 0 goes back in order
                 at(1, 0, next, [&] { page(1).next = 999; }),  // an unknown template id stays
                 at(1, 0, next,                                // the page refused to be left
                    [&] {
                      page(1).next = kWizardInOrder;
                      page(1).leave = false;
                    }),
                 at(1, 0, next, [&] { page(1).leave = true; }),
                 at(2, 0, next),
                 at(3, backFinish, back, [&] { page(3).back = IDD_WELCOME; }),
                 at(0, backFinish, -1, [&] { EXPECT_EQ(sheet.GetActivePage(), &page(0)); }),
             });
  EXPECT_EQ(result, IDCANCEL);
  const Log expected = {"init 102",   "active 102", "next 102",  "kill 102",   "init 145",
                        "active 145", "back 145",   "back 145",  "kill 145",   "init 129",
                        "active 129", "next 129",   "next 129",  "kill 129",   "next 129",
                        "kill 129",   "active 145", "next 145",  "kill 145",   "init 130",
                        "active 130", "back 130",   "kill 130",  "active 102", "querycancel 102",
                        "reset 102",  "reset 129",  "reset 145", "reset 130"};
  EXPECT_EQ(log, expected);
  EXPECT_FALSE(page(0).IsCreated()) << "the pages' windows went with the sheet";
}

HGDIOBJ ImageOf(HWND picture) {
  return reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// A static showing bitmap files: the image the control hands back is deleted,
// the one shown stays alive, a file that does not load changes nothing.
void ExpectImagesWithoutLeaks(CDialog& page, HWND control) {
  CStatic picture;
  picture.BindTo(page, GetDlgCtrlID(control));
  const HGDIOBJ original = ImageOf(control);
  ASSERT_NE(original, nullptr);
  EXPECT_FALSE(picture.SetBitmapFromFile("c:\\no\\such.bmp"));
  EXPECT_EQ(ImageOf(control), original);
  const std::string file = g_strHelpRoot + "\\customization\\white.bmp";
  ASSERT_TRUE(picture.SetBitmapFromFile(file));
  EXPECT_EQ(GetObjectType(original), 0u) << "the image the control handed back is deleted";
  const HGDIOBJ shown = ImageOf(control);
  EXPECT_TRUE(picture.SetBitmapFromFile(file)) << "again, replacing";
  EXPECT_EQ(GetObjectType(shown), 0u);
  EXPECT_NE(GetObjectType(ImageOf(control)), 0u) << "the image shown stays alive";
}

struct Control {
  HWND hwnd;
  RECT rect;  // in the page's client coordinates
  LONG style;
  std::string type;  // "text", "picture", "group", "check", "button" or ""
};

Control ControlOf(HWND child) {
  Control c{child, {}, GetWindowLongA(child, GWL_STYLE), ""};
  GetWindowRect(child, &c.rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&c.rect), 2);
  char name[64] = {};
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") == 0) {
    const LONG type = c.style & SS_TYPEMASK;
    c.type = type <= SS_RIGHT ? "text" : type == SS_BITMAP ? "picture" : "";
  } else if (lstrcmpiA(name, "Button") == 0) {
    const LONG type = c.style & BS_TYPEMASK;
    c.type = type == BS_GROUPBOX ? "group" : type == BS_AUTOCHECKBOX ? "check" : "button";
  }
  return c;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Describe(const Control& c) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "control %d \"%s\" at (%ld,%ld)-(%ld,%ld)", GetDlgCtrlID(c.hwnd),
                TextOf(c.hwnd).c_str(), c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
  return buf;
}

// Width and height that a control's text needs in its own font against the
// room the control has for it.
void ExpectTextFits(const Control& c) {
  const std::string text = TextOf(c.hwnd);
  if (text.empty() || !(c.style & WS_VISIBLE) || c.type.empty() || c.type == "picture") return;
  RECT client;
  GetClientRect(c.hwnd, &client);
  SIZE room = {client.right, client.bottom};
  UINT format = DT_CALCRECT | DT_SINGLELINE;
  if (c.type == "text") {
    format = DT_CALCRECT | DT_WORDBREAK | ((c.style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
  } else if (c.type == "check") {
    room.cx -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
  } else if (c.type == "group") {
    room.cx -= 16;
  } else {
    room.cx -= 8;
    room.cy -= 4;
  }
  HDC dc = GetDC(c.hwnd);
  HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(c.hwnd, WM_GETFONT, 0, 0)));
  RECT need = {0, 0, room.cx, 0};
  DrawTextA(dc, text.c_str(), -1, &need, format);
  SelectObject(dc, old);
  ReleaseDC(c.hwnd, dc);
  EXPECT_LE(need.right, room.cx) << Describe(c);
  EXPECT_LE(need.bottom, room.cy) << Describe(c);
}

// Controls lie inside the page and do not overlap one another (a group box
// holds whole controls), the Help button where the frame puts it is clear, and
// every visible text fits its control.
void ExpectLaidOut(HWND page) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    controls.push_back(ControlOf(child));
  ASSERT_FALSE(controls.empty());
  RECT client;
  GetClientRect(page, &client);
  // The banner is the first control and spans the page's top, drawn in its
  // proportions (522 x 50) for the page's width.
  EXPECT_EQ(controls[0].type, "picture");
  const RECT& banner = controls[0].rect;
  EXPECT_EQ((std::vector<long>{0, 0, client.right, (50 * client.right + 261) / 522}),
            (std::vector<long>{banner.left, banner.top, banner.right, banner.bottom}));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& a = controls[i];
    RECT room = client;
    if (a.style & WS_CLIPSIBLINGS) room.bottom = a.rect.bottom;  // a backdrop may run off the foot
    EXPECT_TRUE(Inside(a.rect, room)) << Describe(a);
    ExpectTextFits(a);
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const Control& b = controls[j];
      RECT common;
      // A picture that clips its siblings lies under them by design.
      if (!IntersectRect(&common, &a.rect, &b.rect) || ((a.style | b.style) & WS_CLIPSIBLINGS))
        continue;
      const bool aGroup = a.type == "group";
      EXPECT_TRUE(aGroup != (b.type == "group") &&
                  Inside((aGroup ? b : a).rect, (aGroup ? a : b).rect))
          << Describe(a) << " overlaps " << Describe(b);
    }
  }
}

// Only of a window the screen shows whole: the rest would be black.
void Screenshot(HWND window, const std::string& name) {
  RECT shown;
  GetWindowRect(window, &shown);
  if (shown.left < 0 || shown.top < 0 || shown.right > GetSystemMetrics(SM_CXSCREEN) ||
      shown.bottom > GetSystemMetrics(SM_CYSCREEN))
    return;
  // The first page is still painting itself after its first ticks.
  for (const DWORD until = GetTickCount() + 300; GetTickCount() < until; Sleep(10))
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  okapi_test::SaveScreenshot(window, name);
}

// Runs the current test again in a copy of this program started at another
// dpi (Wine reads LogPixels once, when a program starts), its output going
// where ours goes; the copy's exit code. The test prefix has no LogPixels
// of its own: removing ours gives back its 96 dpi.
DWORD RunThisTestAt(DWORD dpi) {
  const char* const desktop = "Control Panel\\Desktop";
  RegSetKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string command = std::string("\"") + self + "\" --gtest_filter=" + test->test_suite_name() +
                        "." + test->name();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  for (HANDLE h : {startup.hStdOutput, startup.hStdError})
    SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  PROCESS_INFORMATION copy{};
  std::fflush(stdout);
  DWORD code = STILL_ACTIVE;  // also when it did not start
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &copy)) {
    if (WaitForSingleObject(copy.hProcess, 120000) != WAIT_OBJECT_0)
      TerminateProcess(copy.hProcess, code);
    GetExitCodeProcess(copy.hProcess, &code);
    CloseHandle(copy.hThread);
    CloseHandle(copy.hProcess);
  }
  RegDeleteKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels");
  return code;
}

// The frame on the colour page: the bold title, white and blue labels, the
// system look for what the page does not list.
void ExpectFramed(HWND sheet, HWND page) {
  const HWND heading = GetDlgItem(page, IDC_TCOLOR_HEADING);
  LOGFONTA font{};
  ASSERT_NE(GetObjectA(HFONT(SendMessageA(heading, WM_GETFONT, 0, 0)), sizeof font, &font), 0);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_STREQ(font.lfFaceName, "Verdana Bold");

  const HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = [&](HWND window, UINT message, HWND control) {
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    return SendMessageA(window, message, (WPARAM)dc, (LPARAM)control);
  };
  const auto white = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(brush(page, WM_CTLCOLORDLG, page), white);
  EXPECT_EQ(brush(page, WM_CTLCOLORSTATIC, heading), white);
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
  EXPECT_EQ(brush(page, WM_CTLCOLORSTATIC, GetDlgItem(page, IDC_TCOLOR_MOUSE_OVER)), white);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  // Off the lists: the system look.
  EXPECT_NE(brush(page, WM_CTLCOLORBTN, GetDlgItem(page, IDC_TCOLOR_HELP)), white);
  EXPECT_NE(brush(page, WM_CTLCOLOREDIT, GetDlgItem(page, IDC_TCOLOR_MOUSE_OVER_RED)), white);
  EXPECT_EQ(brush(sheet, WM_CTLCOLORDLG, sheet),
            reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
  DeleteDC(dc);
}

// The program's wizard on a laid installation, each page shown in turn, on a
// screen of the dpi the row names.
class Win32Wizard : public okapi_test::MachineTest, public testing::WithParamInterface<int> {};

TEST_P(Win32Wizard, EveryPageIsFramedAndLaidOutWithoutOverlapOrCutText) {
  const int dpi = GetParam();
  const HDC screen = GetDC(nullptr);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (screenDpi != dpi) {
    EXPECT_EQ(0u, RunThisTestAt(dpi)) << "the copy at " << dpi << " dpi failed (above)";
    return;
  }
  demo::Installation installation;
  const auto laid = demo::LayInstallation(installation);
  ASSERT_TRUE(laid) << laid.reason;
  Script script;
  OkapiWizard wizard;
  wizard.sheet.m_psh.dwFlags |= PSH_HASHELP;  // initialisation clears Help again
  std::vector<Script::Step> steps = {[&](HWND s) {
    EXPECT_NE(SendMessageA(s, WM_GETICON, ICON_BIG, 0), 0);
    const HWND help = GetDlgItem(s, IDHELP);
    EXPECT_FALSE(help && IsWindowVisible(help)) << "the sheet shows no Help button";
  }};
  for (unsigned id :
       {IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU, IDD_WMENU, IDD_VICONS, IDD_BACKGROUNDS,
        IDD_TCOLOR, IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING})
    steps.push_back([&, id](HWND s) {
      SCOPED_TRACE("template " + std::to_string(id));
      SendMessageA(s, PSM_SETCURSELID, 0, id);
      ASSERT_EQ(wizard.sheet.GetActivePage()->GetTemplateId(), id);
      const HWND page = ActivePage(s);
      ExpectLaidOut(page);
      Screenshot(s, "layout-" + std::to_string(dpi) + "dpi-" + std::to_string(id));
      if (id == IDD_TCOLOR) {
        ExpectFramed(s, page);
        const HWND palette = GetDlgItem(page, IDC_TCOLOR_PALETTE);
        ExpectImagesWithoutLeaks(wizard.tcolor, palette);
        // The page paints the palette from its file again.
        const HGDIOBJ shown = ImageOf(palette);
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_NE(ImageOf(palette), shown);
      }
    });
  script.Run(wizard.sheet, steps);
}

INSTANTIATE_TEST_SUITE_P(Screens, Win32Wizard, testing::Values(96, 120, 144, 192),
                         [](const testing::TestParamInfo<int>& row) {
                           return "At" + std::to_string(row.param) + "Dpi";
                         });

}  // namespace
