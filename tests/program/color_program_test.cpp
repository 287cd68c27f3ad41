// The colour page of the real okapi.exe: the system's colour dialog, and a
// swatch clicked with the mouse at the screen's dpi.
#include "tests/program/program_driver.h"

namespace okapi_program {
namespace {

// A real click of the left button at a point of a window's client area,
// given in pixels of a 96-dpi screen. The point travels with the button
// events: a separate cursor move can be overtaken by pointer motion the
// window system still has queued, and the click lands where the pointer was.
void ClickAt(HWND window, int x96, int y96) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  POINT at{MulDiv(x96, dpi, 96), MulDiv(y96, dpi, 96)};
  ClientToScreen(window, &at);
  const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT press[3] = {};
  for (INPUT& input : press) {
    input.type = INPUT_MOUSE;
    input.mi.dx = ((at.x << 16) + width - 1) / width;
    input.mi.dy = ((at.y << 16) + height - 1) / height;
  }
  press[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  press[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, press, sizeof(INPUT));
}

TEST_F(ProgramTest, ColorPageOpensTheColourDialogAndTakesAClickedSwatch) {
  ASSERT_NO_FATAL_FAILURE(StartAt(IDD_TCOLOR));
  HWND page = CurrentPage(wizard);

  PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TCOLOR_MENU_TEXT, STN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_TCOLOR_MENU_TEXT)));
  HWND dialog = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = FindProgramWindow(program->Id(), "#32770", "Color")); }));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  ClickAt(page, 104, 116);  // the red swatch, for the menu row chosen above
  const auto shows = [&](int id, const char* text) {
    return WaitFor([&] { return TextOf(GetDlgItem(page, id)) == text; }, 5000);
  };
  EXPECT_TRUE(shows(IDC_TCOLOR_MENU_TEXT_RED, "255"));
  EXPECT_TRUE(shows(IDC_TCOLOR_MENU_TEXT_GREEN, "0"));
  EXPECT_TRUE(shows(IDC_TCOLOR_MENU_TEXT_BLUE, "0"));
  Screenshot(wizard, "color-picked");
  ASSERT_NO_FATAL_FAILURE(NextTo(IDD_SOUNDS));
  EXPECT_EQ("#ff0000", store::ReadString("Other", "REGULAR_TEXT_COLOR", "<none>", 256,
                                         "c:\\zantools\\zanhelp\\lumen-config.ini"));
  Cancel();
}

}  // namespace
}  // namespace okapi_program
