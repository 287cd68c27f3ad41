// <windows.h> for the units that need it next to framework.h: include this
// first. The framework's names that Windows turns into A/W macros are undone,
// so every unit sees the same names; call the A functions explicitly.
#pragma once

#include <commctrl.h>
#include <commdlg.h>
#include <windows.h>

#undef AppendMenu
#undef ChooseColor
#undef CreateFont
#undef CreateFontIndirect
#undef GetDlgItemText
#undef GetFileTitle
#undef GetWindowText
#undef LoadString
#undef MessageBox
#undef SetDlgItemText
#undef SetWindowText
