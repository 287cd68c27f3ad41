// Windows tests only: what a window shows, its text or its picture saved as a
// 24-bit .bmp in the build tree's screenshots folder.
#pragma once

#include "framework/win32/win32_api.h"
// (first: see win32_api.h)
#include <prsht.h>

#include <fstream>
#include <string>

namespace okapi_test {

// Wine shows the host's root as drive Z:.
inline std::string FromHost(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

// Sent, so that it reads a control of another process too.
inline std::string TextOf(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

inline HWND CurrentPage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Only of a window the screen shows whole (the rest would be black), once it
// has painted itself again: our own windows paint as this waits.
inline void SaveScreenshot(HWND window, const std::string& name) {
  RECT r{};
  GetWindowRect(window, &r);
  if (r.left < 0 || r.top < 0 || r.right > GetSystemMetrics(SM_CXSCREEN) ||
      r.bottom > GetSystemMetrics(SM_CYSCREEN))
    return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  for (const DWORD until = GetTickCount() + 400; GetTickCount() < until; Sleep(10))
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
  const std::string dir = FromHost(OKAPI_SCREENSHOT_HOST_DIR);
  CreateDirectoryA(dir.c_str(), nullptr);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD size = ((w * 3 + 3) & ~3) * h;
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info.bmiHeader;
  const BITMAPFILEHEADER file{0x4D42, offset + size, 0, 0, offset};
  std::ofstream out(dir + "\\" + name + ".bmp", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), size);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace okapi_test
