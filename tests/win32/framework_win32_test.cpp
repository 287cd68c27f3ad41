// The Win32 backend on the real comctl32 property sheet, built from the
// program's dialog templates and driven as a user would: the sheet runs
// modally and a timer presses its buttons (PSM_PRESSBUTTON), one step per tick.
// WM_TIMER only arrives when the queue is empty, so whatever a page posted has
// been delivered before the next step looks. What real windows alone show:
// images, and each page of the program laid out at each dpi. The sheet's
// routing is walked by the program's journeys.
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

using okapi_test::TextOf;

// Drives one modal sheet on the Win32 backend to its Cancel. Steps run one per
// timer tick; a dialog that opens fails the test and is closed with its
// default button.
class Script {
 public:
  using Step = std::function<void(HWND sheet)>;

  Script() : m_previous(fw::ReplaceBackend(fw::win32::MakeWin32Backend())) {}
  ~Script() {
    fw::win32::SetSheetCreatedHook(nullptr);
    fw::ReplaceBackend(std::move(m_previous));
  }

  void Run(CPropertySheet& sheet, std::vector<Step> steps) {
    m_steps = std::move(steps);
    s_current = this;
    fw::win32::SetSheetCreatedHook([this](void* hwnd) {
      m_sheet = static_cast<HWND>(hwnd);
      SetTimer(m_sheet, 1, 15, &Script::Tick);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    s_current = nullptr;
    // Error 1400 under Wine usually means a wineserver still bound to an X
    // display that has gone (an earlier xvfb-run): end it with wineserver -k.
    EXPECT_NE(m_sheet, nullptr) << "no sheet was created (is there a display?)";
    EXPECT_GT(m_next, m_steps.size()) << "the sheet closed before every step ran";
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
// room the control has for it, less what its frame, box or check mark takes.
void ExpectTextFits(const Control& c) {
  const std::string text = TextOf(c.hwnd);
  if (text.empty() || !(c.style & WS_VISIBLE) || c.type.empty() || c.type == "picture") return;
  const bool label = c.type == "text";
  RECT room;
  GetClientRect(c.hwnd, &room);
  room.right -= label               ? 0
                : c.type == "check" ? GetSystemMetrics(SM_CXMENUCHECK) + 4
                : c.type == "group" ? 16
                                    : 8;
  room.bottom -= c.type == "button" ? 4 : 0;
  const UINT format =
      DT_CALCRECT |
      (label ? DT_WORDBREAK | ((c.style & SS_NOPREFIX) ? DT_NOPREFIX : 0) : DT_SINGLELINE);
  HDC dc = GetDC(c.hwnd);
  HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(c.hwnd, WM_GETFONT, 0, 0)));
  RECT need = {0, 0, room.right, 0};
  DrawTextA(dc, text.c_str(), -1, &need, format);
  SelectObject(dc, old);
  ReleaseDC(c.hwnd, dc);
  EXPECT_TRUE(need.right <= room.right && need.bottom <= room.bottom)
      << Describe(c) << " needs " << need.right << " x " << need.bottom;
}

// Controls lie inside the page and do not overlap one another (a group box
// holds whole controls), and every visible text fits its control.
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

// The program's wizard on a laid installation, each page shown in turn, on a
// screen of the dpi the row names.
class Win32Wizard : public okapi_test::MachineTest, public testing::WithParamInterface<int> {};

TEST_P(Win32Wizard, EveryPageIsLaidOutWithoutOverlapOrCutText) {
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
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(s, IDHELP))) << "the sheet shows no Help button";
  }};
  for (unsigned id :
       {IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU, IDD_WMENU, IDD_VICONS, IDD_BACKGROUNDS,
        IDD_TCOLOR, IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING})
    steps.push_back([&, id](HWND s) {
      SCOPED_TRACE("template " + std::to_string(id));
      SendMessageA(s, PSM_SETCURSELID, 0, id);
      ASSERT_EQ(wizard.sheet.GetActivePage()->GetTemplateId(), id);
      const HWND page = okapi_test::CurrentPage(s);
      ExpectLaidOut(page);
      okapi_test::SaveScreenshot(s, "layout-" + std::to_string(dpi) + "dpi-" + std::to_string(id));
      if (id == IDD_TCOLOR) {
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
