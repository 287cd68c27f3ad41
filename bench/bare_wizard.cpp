// The yardstick for launching the wizard: a two-page comctl32 wizard that
// does nothing else, with the same manifest (common controls 6, dpi).
#include "bench/bare_wizard.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

namespace {

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_SETACTIVE) {
    PropSheet_SetWizButtons(GetParent(page), PSWIZB_NEXT | PSWIZB_BACK);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HPROPSHEETPAGE pages[2];
  for (int i = 0; i < 2; ++i) {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEA(IDD_BARE_FIRST + i);
    page.pfnDlgProc = PageProc;
    pages[i] = CreatePropertySheetPageA(&page);
  }
  PROPSHEETHEADERA sheet{};
  sheet.dwSize = sizeof sheet;
  sheet.dwFlags = PSH_WIZARD;
  sheet.hInstance = instance;
  sheet.pszCaption = "Bare wizard";
  sheet.nPages = 2;
  sheet.phpage = pages;
  return PropertySheetA(&sheet) > 0 ? 0 : 1;
}
