// The dialog templates as a user sees them: every page in a real wizard-mode
// property sheet, with the page frame's title font and moved Help button,
// checked for a layout in which nothing overlaps or is cut off.
//
// The framework runs sheets modally only, and this suite keeps one modeless
// sheet open across its tests: a small page procedure applies the frame's
// title font and Help button place, made by the frame's own rules.
//
// Set OKAPI_SCREENSHOT_DIR to also write each page as a .bmp there.
#include "framework/win32/win32_api.h"
// (first: see win32_api.h)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/win32/win32_backend.h"
#include "res/resource.h"
#include "tests/support/screenshot.h"
#include "wizard/page_frame.h"
#include "wizard/title_font.h"

namespace {

using okapi_test::SaveScreenshot;

enum class Kind { Text, Picture, Group, Check };

struct Page {
  int templateId;
  std::vector<int> headings;  // controls that get the bold title font
  int points;
  int help;  // the Help button the frame moves; 0: none
};

const Page kPages[] = {
    {IDD_WELCOME, {IDC_WELCOME_LINE1, IDC_WELCOME_LINE2}, 12, 0},
    {IDD_INTRO, {IDC_INTRO_HEADING}, 8, IDC_INTRO_HELP},
    {IDD_MODIFIED, {IDC_MODIFIED_HEADING}, 8, IDC_MODIFIED_HELP},
    {IDD_APPMENU, {IDC_APPMENU_HEADING}, 8, IDC_APPMENU_HELP},
    {IDD_WMENU, {IDC_WMENU_HEADING}, 8, IDC_WMENU_HELP},
    {IDD_VICONS, {IDC_VICONS_HEADING}, 8, IDC_VICONS_HELP},
    {IDD_BACKGROUNDS, {IDC_BACKGROUNDS_HEADING}, 8, IDC_BACKGROUNDS_HELP},
    {IDD_TCOLOR, {IDC_TCOLOR_HEADING}, 8, IDC_TCOLOR_HELP},
    {IDD_SOUNDS, {IDC_SOUNDS_HEADING}, 8, IDC_SOUNDS_HELP},
    {IDD_SPLASH, {IDC_SPLASH_HEADING}, 8, IDC_SPLASH_HELP},
    {IDD_LBBUTTON, {IDC_LBBUTTON_HEADING}, 8, IDC_LBBUTTON_HELP},
    {IDD_PACKAGING, {IDC_PACKAGING_HEADING}, 8, IDC_PACKAGING_HELP},
};

const Page& PageOf(LPARAM templateId) {
  for (const Page& page : kPages)
    if (page.templateId == templateId) return page;
  throw std::invalid_argument("no row for template " + std::to_string(templateId));
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

bool OfClass(HWND hwnd, const char* name) { return lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0; }

bool Is(HWND hwnd, Kind kind) {
  const auto of = [&](const char* name) { return OfClass(hwnd, name); };
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  const LONG button = style & BS_TYPEMASK;
  switch (kind) {
    case Kind::Text:
      return of("Static") && (style & SS_TYPEMASK) <= SS_RIGHT;
    case Kind::Picture:
      return of("Static") && (style & SS_TYPEMASK) == SS_BITMAP;
    case Kind::Group:
      return of("Button") && button == BS_GROUPBOX;
    case Kind::Check:
      return of("Button") && button == BS_AUTOCHECKBOX;
  }
  return false;
}

std::vector<std::unique_ptr<CFont>> g_fonts;

INT_PTR CALLBACK FramePageProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_INITDIALOG) return FALSE;
  const Page& want = PageOf(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
  auto font = std::make_unique<CFont>();
  if (font->CreateFontIndirect(MakeTitleFont(GetMessageFont(), GetScreenLogPixelsY(), want.points)))
    for (int id : want.headings)
      SendDlgItemMessageA(page, id, WM_SETFONT, WPARAM(font->GetSafeHandle()), TRUE);
  g_fonts.push_back(std::move(font));
  if (want.help) {
    const CRect& r = COkapiPage::kHelpButtonRect;
    SetWindowPos(GetDlgItem(page, want.help), nullptr, ScaleForScreen(r.left),
                 ScaleForScreen(r.top), ScaleForScreen(r.Width()), ScaleForScreen(r.Height()),
                 SWP_NOZORDER);
  }
  return TRUE;
}

void Pump() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
}

struct Control {
  HWND hwnd;
  RECT rect;  // in the page's client coordinates
};

std::vector<Control> ControlsOf(HWND page) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    controls.push_back({child, r});
  }
  return controls;
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

// Width and height that a text control's text needs in its own font against
// the room the control has for it.
void ExpectTextFits(const Control& c) {
  const std::string text = TextOf(c.hwnd);
  const LONG style = GetWindowLongA(c.hwnd, GWL_STYLE);
  if (text.empty() || !(style & WS_VISIBLE)) return;
  RECT client;
  GetClientRect(c.hwnd, &client);
  UINT format = DT_CALCRECT;
  SIZE room = {client.right, client.bottom};
  if (Is(c.hwnd, Kind::Text)) {
    format |= DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
  } else if (OfClass(c.hwnd, "Button")) {
    format |= DT_SINGLELINE;
    if (Is(c.hwnd, Kind::Check)) {
      room.cx -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
    } else if (Is(c.hwnd, Kind::Group)) {
      room.cx -= 16;
    } else {
      room.cx -= 8;
      room.cy -= 4;
    }
  } else {
    return;
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

class EachPage : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() {
    previous_ = fw::ReplaceBackend(fw::win32::MakeWin32Backend());
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&init);
    std::vector<PROPSHEETPAGEA> pages;
    for (const Page& page : kPages) {
      PROPSHEETPAGEA p = {};
      p.dwSize = sizeof p;
      p.hInstance = GetModuleHandleA(nullptr);
      p.pszTemplate = MAKEINTRESOURCEA(page.templateId);
      p.pfnDlgProc = FramePageProc;
      p.lParam = page.templateId;
      pages.push_back(p);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_MODELESS | PSH_PROPSHEETPAGE;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = "Wizard1";
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    sheet_ = reinterpret_cast<HWND>(PropertySheetA(&header));
    if (!IsWindow(sheet_)) {
      sheet_ = nullptr;  // the failure result is -1
      error_ = GetLastError();
    }
    if (sheet_) SetWindowPos(sheet_, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();
  }
  static void TearDownTestSuite() {
    if (sheet_) DestroyWindow(sheet_);
    Pump();
    g_fonts.clear();
    fw::ReplaceBackend(std::move(previous_));
  }

  static inline std::unique_ptr<fw::Backend> previous_;
  static inline HWND sheet_ = nullptr;
  static inline DWORD error_ = 0;
};

// Controls lie inside the page and do not overlap one another (a group box
// holds whole controls), the Help button where the frame puts it is clear, and
// every visible text fits its control.
TEST_P(EachPage, IsLaidOutWithoutOverlapOrCutText) {
  // Error 1400 under Wine usually means a wineserver still bound to an X
  // display that has gone (an earlier xvfb-run): end it with wineserver -k.
  ASSERT_TRUE(sheet_) << "no wizard sheet, error " << error_;
  const Page& want = PageOf(GetParam());
  SendMessageA(sheet_, PSM_SETCURSELID, 0, want.templateId);
  Pump();
  RedrawWindow(sheet_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  const auto page = reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_TRUE(page);
  const std::vector<Control> controls = ControlsOf(page);
  ASSERT_FALSE(controls.empty());
  // The banner is the first control and spans the page's top.
  EXPECT_TRUE(Is(controls[0].hwnd, Kind::Picture));
  EXPECT_EQ((std::vector<long>{0, 0, 522, 50}),
            (std::vector<long>{controls[0].rect.left, controls[0].rect.top, controls[0].rect.right,
                               controls[0].rect.bottom}));
  RECT client;
  GetClientRect(page, &client);
  // At least the size of the smallest template (347 x 230 dialog units).
  ASSERT_GE(client.right, 520);
  ASSERT_GE(client.bottom, 370);
  for (size_t i = 0; i < controls.size(); ++i) {
    const Control& a = controls[i];
    EXPECT_TRUE(Inside(a.rect, client)) << Describe(a);
    ExpectTextFits(a);
    for (size_t j = i + 1; j < controls.size(); ++j) {
      const Control& b = controls[j];
      RECT common;
      if (!IntersectRect(&common, &a.rect, &b.rect)) continue;
      // A picture that clips its siblings lies under them by design.
      if ((GetWindowLongA(a.hwnd, GWL_STYLE) | GetWindowLongA(b.hwnd, GWL_STYLE)) & WS_CLIPSIBLINGS)
        continue;
      const bool aGroup = Is(a.hwnd, Kind::Group), bGroup = Is(b.hwnd, Kind::Group);
      if (aGroup != bGroup) {
        const Control& group = aGroup ? a : b;
        const Control& inner = aGroup ? b : a;
        EXPECT_TRUE(Inside(inner.rect, group.rect))
            << Describe(inner) << " straddles " << Describe(group);
      } else {
        ADD_FAILURE() << Describe(a) << " overlaps " << Describe(b);
      }
    }
  }
  if (const char* dir = std::getenv("OKAPI_SCREENSHOT_DIR"))
    SaveScreenshot(sheet_, std::string(dir) + "\\page-" + std::to_string(GetParam()) + ".bmp");
}

INSTANTIATE_TEST_SUITE_P(Resources, EachPage,
                         ::testing::Values(IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU,
                                           IDD_WMENU, IDD_VICONS, IDD_BACKGROUNDS, IDD_TCOLOR,
                                           IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING),
                         [](const auto& info) { return "Template" + std::to_string(info.param); });

TEST(ResourceAboutBox, ShowsTheIcon) {
  HWND box = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr,
                                nullptr, 0);
  ASSERT_TRUE(box);
  bool icon = false;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (OfClass(c, "Static") && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      icon = SendMessageA(c, STM_GETICON, 0, 0) != 0;
  EXPECT_TRUE(icon);
  if (const char* dir = std::getenv("OKAPI_SCREENSHOT_DIR")) {
    SetWindowPos(box, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();
    SaveScreenshot(box, std::string(dir) + "\\about.bmp");
  }
  DestroyWindow(box);
}

}  // namespace
