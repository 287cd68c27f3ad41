// Windows tests only: a window as the screen shows it, saved as a 24-bit .bmp
// in the build tree's screenshots folder.
#pragma once

#include "framework/win32/win32_api.h"
// (first: see win32_api.h)
#include <fstream>
#include <string>

namespace okapi_test {

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
  std::string dir = "Z:" OKAPI_SCREENSHOT_HOST_DIR;  // Wine shows the host's root as drive Z:
  for (char& c : dir)
    if (c == '/') c = '\\';
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
