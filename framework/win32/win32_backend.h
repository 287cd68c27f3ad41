// The backend on the real comctl32 property sheet and the system's dialogs.
// Windows builds only.
#pragma once

#include <functional>
#include <memory>

#include "framework/backend.h"

namespace fw::win32 {

// Dialog templates, strings and icons come from `module` (an HINSTANCE; null:
// the executable).
std::unique_ptr<Backend> MakeWin32Backend(void* module = nullptr);

// For GUI tests: the sheet's window (an HWND) as soon as the sheet exists,
// before its first page is initialised. The callback runs inside DoModal.
void SetSheetCreatedHook(std::function<void(void* sheetWindow)> hook);

}  // namespace fw::win32
