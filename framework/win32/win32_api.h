// <windows.h> for the units that need it next to framework.h: include this
// first. The framework's names that Windows turns into A/W macros are undone,
// so every unit sees the same names; call the A functions explicitly.
#pragma once

#include <windows.h>
// after <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#undef AppendMenu
#undef CreateFontIndirect
#undef GetDlgItemText
#undef GetFileTitle
#undef GetWindowText
#undef MessageBox
#undef SetDlgItemText
#undef SetWindowText
