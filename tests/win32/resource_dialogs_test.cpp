// The dialog templates as a user sees them: every page in a real wizard-mode
// property sheet, with the page frame's title font, white colouring and moved
// Help button, checked for the control styles the page code relies on and for
// a layout in which nothing overlaps or is cut off.
//
// The frame here is a stand-in: the framework runs sheets modally only, and
// this suite keeps one modeless sheet open across its tests.
//
// Set OKAPI_SCREENSHOT_DIR to also write each page as a .bmp there.
#include "framework/win32/win32_api.h"
// (first: see win32_api.h)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/screenshot.h"
#include "wizard/page_frame.h"

namespace {

using okapi_test::SaveScreenshot;

enum class Kind {
  Text,
  Picture,
  Group,
  Push,
  DefPush,
  Check,
  Edit,
  TextBox,
  ReadOnly,
  List,
  Combo
};

struct Need {
  int id;
  Kind kind;
  bool visible = true;
};

struct Page {
  int templateId;
  std::vector<int> headings;  // controls that get the bold title font
  int points;
  int help;                 // the Help button the frame moves; 0: none
  std::vector<Need> needs;  // controls whose style or visibility the page code relies on
};

// What the page code relies on in each template beyond a control's presence
// (a missing id is caught by the headless page tests on the same templates):
// multi-line and read-only edits, sorted lists, controls hidden at first.
const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      {IDD_WELCOME, {IDC_WELCOME_LINE1, IDC_WELCOME_LINE2}, 12, 0, {}},
      {IDD_INTRO, {IDC_INTRO_HEADING}, 8, IDC_INTRO_HELP, {}},
      {IDD_MODIFIED, {IDC_MODIFIED_HEADING}, 8, IDC_MODIFIED_HELP, {}},
      {IDD_APPMENU, {IDC_APPMENU_HEADING}, 8, IDC_APPMENU_HELP, {}},
      {IDD_WMENU,
       {IDC_WMENU_HEADING},
       8,
       IDC_WMENU_HELP,
       {{IDC_WMENU_INTRO, Kind::TextBox},
        {IDC_WMENU_TAB1_DESC, Kind::TextBox},
        {IDC_WMENU_TAB2_DESC, Kind::TextBox},
        {IDC_WMENU_TAB3_DESC, Kind::TextBox},
        {IDC_WMENU_CLOSING, Kind::TextBox},
        {IDC_WMENU_IMAGE_CHECK, Kind::Check, false}}},
      {IDD_VICONS,
       {IDC_VICONS_HEADING},
       8,
       IDC_VICONS_HELP,
       {{IDC_VICONS_MORE_INFO_COMBO, Kind::Combo, false},
        {IDC_VICONS_CONFIGURE_COMBO, Kind::Combo, false}}},
      {IDD_BACKGROUNDS,
       {IDC_BACKGROUNDS_HEADING},
       8,
       IDC_BACKGROUNDS_HELP,
       {{IDC_BACKGROUNDS_LIST, Kind::List},
        {IDC_BACKGROUNDS_NAME, Kind::Edit},
        {IDC_BACKGROUNDS_JPEG, Kind::ReadOnly},
        {IDC_BACKGROUNDS_MENU1_JPEG, Kind::ReadOnly},
        {IDC_BACKGROUNDS_MENU2_JPEG, Kind::ReadOnly},
        {IDC_BACKGROUNDS_MENU3_JPEG, Kind::ReadOnly},
        {IDC_BACKGROUNDS_APPLY, Kind::DefPush, false}}},
      {IDD_TCOLOR,
       {IDC_TCOLOR_HEADING},
       8,
       IDC_TCOLOR_HELP,
       {{IDC_TCOLOR_PALETTE, Kind::Picture},
        {IDC_TCOLOR_BACKGROUND, Kind::Text, false},
        {IDC_TCOLOR_BACKGROUND_NOTE, Kind::Text, false},
        {1057, Kind::Edit, false},
        {1058, Kind::Edit, false},
        {1059, Kind::Edit, false},
        {IDC_TCOLOR_APPLY, Kind::Push, false}}},
      {IDD_SOUNDS,
       {IDC_SOUNDS_HEADING},
       8,
       IDC_SOUNDS_HELP,
       {{IDC_SOUNDS_PLAY_COMBO, Kind::Combo, false},
        {IDC_SOUNDS_DEFAULT_COMBO, Kind::Combo, false},
        {IDC_SOUNDS_FILE_LABEL, Kind::Text, false},
        {IDC_SOUNDS_SELECT_FILE, Kind::DefPush, false}}},
      {IDD_SPLASH,
       {IDC_SPLASH_HEADING},
       8,
       IDC_SPLASH_HELP,
       {{IDC_SPLASH_SHOW_COMBO, Kind::Combo, false},
        {IDC_SPLASH_DEFAULT_COMBO, Kind::Combo, false},
        {IDC_SPLASH_FILE_LABEL, Kind::Text, false},
        {IDC_SPLASH_SELECT_FILE, Kind::DefPush, false}}},
      {IDD_LBBUTTON, {IDC_LBBUTTON_HEADING}, 8, IDC_LBBUTTON_HELP, {}},
      {IDD_PACKAGING, {IDC_PACKAGING_HEADING}, 8, IDC_PACKAGING_HELP, {}},
  };
  return pages;
}

const Page* FindPage(int templateId) {
  for (const Page& page : Pages())
    if (page.templateId == templateId) return &page;
  return nullptr;
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

bool Is(HWND hwnd, Kind kind) {
  const std::string cls = ClassOf(hwnd);
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  const LONG button = style & BS_TYPEMASK;
  switch (kind) {
    case Kind::Text:
      return lstrcmpiA(cls.c_str(), "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
    case Kind::Picture:
      return lstrcmpiA(cls.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP;
    case Kind::Group:
      return lstrcmpiA(cls.c_str(), "Button") == 0 && button == BS_GROUPBOX;
    case Kind::Push:
      return lstrcmpiA(cls.c_str(), "Button") == 0 &&
             (button == BS_PUSHBUTTON || button == BS_DEFPUSHBUTTON);
    case Kind::DefPush:
      // The dialog manager turns the default button into a plain one when
      // another button takes the focus, so only the template can tell.
      return lstrcmpiA(cls.c_str(), "Button") == 0 &&
             (button == BS_PUSHBUTTON || button == BS_DEFPUSHBUTTON);
    case Kind::Check:
      return lstrcmpiA(cls.c_str(), "Button") == 0 && button == BS_AUTOCHECKBOX;
    case Kind::Edit:
      return lstrcmpiA(cls.c_str(), "Edit") == 0 && !(style & (ES_MULTILINE | ES_READONLY));
    case Kind::TextBox:
      return lstrcmpiA(cls.c_str(), "Edit") == 0 && (style & ES_MULTILINE) &&
             (style & ES_WANTRETURN) && (style & WS_VSCROLL);
    case Kind::ReadOnly:
      return lstrcmpiA(cls.c_str(), "Edit") == 0 && (style & ES_READONLY);
    case Kind::List:
      // The list box sets WS_VSCROLL itself as the items need it.
      return lstrcmpiA(cls.c_str(), "ListBox") == 0 && (style & LBS_SORT) == LBS_SORT;
    case Kind::Combo:
      return lstrcmpiA(cls.c_str(), "ComboBox") == 0 && (style & 3) == CBS_DROPDOWN &&
             (style & CBS_SORT);
  }
  return false;
}

// The page frame, as far as the look of a page depends on it.
HFONT TitleFont(int points) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTA font = metrics.lfMessageFont;
  font.lfWeight = FW_BOLD;
  lstrcpynA(font.lfFaceName, "Verdana Bold", LF_FACESIZE);
  HDC screen = GetDC(nullptr);
  font.lfHeight = -(GetDeviceCaps(screen, LOGPIXELSY) * points / 72);
  ReleaseDC(nullptr, screen);
  return CreateFontIndirectA(&font);
}

std::vector<HFONT> g_fonts;

INT_PTR CALLBACK FramePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
      const Page* want = FindPage(static_cast<int>(sheetPage->lParam));
      SetWindowLongPtrA(page, GWLP_USERDATA, sheetPage->lParam);
      if (!want) return TRUE;
      HFONT font = TitleFont(want->points);
      g_fonts.push_back(font);
      for (int id : want->headings) SendDlgItemMessageA(page, id, WM_SETFONT, WPARAM(font), TRUE);
      if (want->help) {
        // Where the frame puts it at 96 dpi, which this test's prefix uses.
        const CRect& r = COkapiPage::kHelpButtonRect;
        SetWindowPos(GetDlgItem(page, want->help), nullptr, r.left, r.top, r.Width(), r.Height(),
                     SWP_NOZORDER);
      }
      if (want->templateId == IDD_TCOLOR)
        SetWindowPos(GetDlgItem(page, IDC_TCOLOR_PALETTE), nullptr, 40, 105, 203, 46, SWP_NOZORDER);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
      return INT_PTR(GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(HWND(lParam));
      const LONG_PTR templateId = GetWindowLongPtrA(page, GWLP_USERDATA);
      SetBkColor(HDC(wParam), RGB(255, 255, 255));
      if (templateId == IDD_TCOLOR && ((id >= 1026 && id <= 1028) || id == 1056))
        SetTextColor(HDC(wParam), RGB(0, 0, 255));
      // Read-only edits keep the system look, as on the real pages.
      if (lstrcmpiA(ClassOf(HWND(lParam)).c_str(), "Edit") == 0) return FALSE;
      return INT_PTR(GetStockObject(WHITE_BRUSH));
    }
  }
  return FALSE;
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
  int id;
  RECT rect;  // in the page's client coordinates
};

std::vector<Control> ControlsOf(HWND page) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    controls.push_back({child, GetDlgCtrlID(child), r});
  }
  return controls;
}

bool Intersect(const RECT& a, const RECT& b) {
  RECT out;
  return IntersectRect(&out, &a, &b) != FALSE;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Describe(const Control& c) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "control %d \"%s\" at (%ld,%ld)-(%ld,%ld)", c.id,
                TextOf(c.hwnd).c_str(), c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
  return buf;
}

bool IsGroup(HWND hwnd) {
  return lstrcmpiA(ClassOf(hwnd).c_str(), "Button") == 0 &&
         (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// Width and height that the control's text needs in its own font, and the
// room the control has for it.
struct Fit {
  SIZE need;
  SIZE room;
};

bool MeasureText(HWND hwnd, Fit* fit) {
  const std::string text = TextOf(hwnd);
  if (text.empty()) return false;
  const std::string cls = ClassOf(hwnd);
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  RECT client;
  GetClientRect(hwnd, &client);
  UINT format = DT_CALCRECT;
  LONG roomWidth = client.right, roomHeight = client.bottom;
  if (lstrcmpiA(cls.c_str(), "Static") == 0) {
    if ((style & SS_TYPEMASK) > SS_RIGHT) return false;
    format |= DT_WORDBREAK;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  } else if (lstrcmpiA(cls.c_str(), "Button") == 0) {
    format |= DT_SINGLELINE;
    switch (style & BS_TYPEMASK) {
      case BS_AUTOCHECKBOX:
        roomWidth -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
        break;
      case BS_GROUPBOX:
        roomWidth -= 16;
        break;
      default:
        roomWidth -= 8;
        roomHeight -= 4;
    }
  } else {
    return false;
  }
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
  RECT need = {0, 0, roomWidth, 0};
  DrawTextA(dc, text.c_str(), -1, &need, format);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  fit->need = {need.right, need.bottom};
  fit->room = {roomWidth, roomHeight};
  return true;
}

class ResourceSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&init);
    std::vector<PROPSHEETPAGEA> pages;
    for (const Page& page : Pages()) {
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
    for (HFONT font : g_fonts) DeleteObject(font);
    g_fonts.clear();
  }

  // Shows the page and returns its window.
  static HWND Show(int templateId) {
    SendMessageA(sheet_, PSM_SETCURSELID, 0, templateId);
    Pump();
    RedrawWindow(sheet_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    return reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
  }

  static HWND sheet_;
  static DWORD error_;
};
HWND ResourceSheet::sheet_ = nullptr;
DWORD ResourceSheet::error_ = 0;

// Error 1400 under Wine usually means a wineserver still bound to an X display
// that has gone (an earlier xvfb-run): end it with wineserver -k.
#define ASSERT_SHEET() ASSERT_TRUE(sheet_) << "no wizard sheet, error " << error_

class EachPage : public ResourceSheet, public ::testing::WithParamInterface<int> {};

TEST_P(EachPage, HoldsTheControlsThePageCodeNeeds) {
  ASSERT_SHEET();
  const Page& want = *FindPage(GetParam());
  HWND page = Show(want.templateId);
  ASSERT_TRUE(page);
  if (want.help) {
    EXPECT_TRUE(Is(GetDlgItem(page, want.help), Kind::Push)) << "Help button";
  }
  for (const Need& need : want.needs) {
    SCOPED_TRACE("control " + std::to_string(need.id));
    HWND control = GetDlgItem(page, need.id);
    ASSERT_TRUE(control);
    EXPECT_TRUE(Is(control, need.kind))
        << ClassOf(control) << " style " << std::hex << GetWindowLongA(control, GWL_STYLE);
    EXPECT_EQ(need.visible, (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0);
  }
  // The banner is the first control and spans the page's top.
  HWND banner = GetWindow(page, GW_CHILD);
  ASSERT_TRUE(banner);
  EXPECT_TRUE(Is(banner, Kind::Picture));
  RECT r;
  GetWindowRect(banner, &r);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(0, r.top);
  EXPECT_EQ(522, r.right);
  EXPECT_EQ(50, r.bottom);
}

// Controls lie inside the page, do not overlap one another (a group box holds
// whole controls), and the Help button where the page code puts it is clear.
TEST_P(EachPage, ControlsDoNotOverlapAndStayOnThePage) {
  ASSERT_SHEET();
  HWND page = Show(GetParam());
  ASSERT_TRUE(page);
  RECT client;
  GetClientRect(page, &client);
  // At least the size of the smallest template (347 x 230 dialog units).
  ASSERT_GE(client.right, 520);
  ASSERT_GE(client.bottom, 370);
  const std::vector<Control> controls = ControlsOf(page);
  for (size_t i = 0; i < controls.size(); ++i) {
    const Control& a = controls[i];
    EXPECT_TRUE(Inside(a.rect, client)) << Describe(a);
    for (size_t j = i + 1; j < controls.size(); ++j) {
      const Control& b = controls[j];
      if (!Intersect(a.rect, b.rect)) continue;
      // A picture that clips its siblings lies under them by design.
      if ((GetWindowLongA(a.hwnd, GWL_STYLE) | GetWindowLongA(b.hwnd, GWL_STYLE)) & WS_CLIPSIBLINGS)
        continue;
      if (IsGroup(a.hwnd) && !IsGroup(b.hwnd)) {
        EXPECT_TRUE(Inside(b.rect, a.rect)) << Describe(b) << " straddles " << Describe(a);
      } else if (IsGroup(b.hwnd) && !IsGroup(a.hwnd)) {
        EXPECT_TRUE(Inside(a.rect, b.rect)) << Describe(a) << " straddles " << Describe(b);
      } else {
        ADD_FAILURE() << Describe(a) << " overlaps " << Describe(b);
      }
    }
  }
}

TEST_P(EachPage, VisibleTextsFitTheirControls) {
  ASSERT_SHEET();
  HWND page = Show(GetParam());
  ASSERT_TRUE(page);
  for (const Control& c : ControlsOf(page)) {
    if (!(GetWindowLongA(c.hwnd, GWL_STYLE) & WS_VISIBLE)) continue;
    Fit fit;
    if (!MeasureText(c.hwnd, &fit)) continue;
    EXPECT_LE(fit.need.cx, fit.room.cx) << Describe(c);
    EXPECT_LE(fit.need.cy, fit.room.cy) << Describe(c);
  }
  if (const char* dir = std::getenv("OKAPI_SCREENSHOT_DIR"))
    SaveScreenshot(sheet_, std::string(dir) + "\\page-" + std::to_string(GetParam()) + ".bmp");
}

TEST(ResourceAboutBox, ShowsIconVersionAndOk) {
  HWND box = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr,
                                nullptr, 0);
  ASSERT_TRUE(box);
  char text[64] = {};
  GetWindowTextA(box, text, sizeof text);
  EXPECT_STREQ("About OKAPI", text);
  bool icon = false, version = false;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    GetWindowTextA(c, text, sizeof text);
    const LONG type = GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK;
    char cls[16] = {};
    GetClassNameA(c, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && type == SS_ICON)
      icon = SendMessageA(c, STM_GETICON, 0, 0) != 0;
    if (std::string(text) == "OKAPI Version 1.0") version = true;
  }
  EXPECT_TRUE(icon);
  EXPECT_TRUE(version);
  HWND ok = GetDlgItem(box, IDOK);
  ASSERT_TRUE(ok);
  GetWindowTextA(ok, text, sizeof text);
  EXPECT_STREQ("OK", text);
  if (const char* dir = std::getenv("OKAPI_SCREENSHOT_DIR")) {
    SetWindowPos(box, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();
    SaveScreenshot(box, std::string(dir) + "\\about.bmp");
  }
  DestroyWindow(box);
}

INSTANTIATE_TEST_SUITE_P(Resources, EachPage,
                         ::testing::Values(IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU,
                                           IDD_WMENU, IDD_VICONS, IDD_BACKGROUNDS, IDD_TCOLOR,
                                           IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING),
                         [](const auto& info) { return "Template" + std::to_string(info.param); });

}  // namespace
