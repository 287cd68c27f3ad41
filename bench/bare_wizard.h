#pragma once

#define IDD_BARE_FIRST 101
#define IDD_BARE_SECOND 102
#define IDC_BARE_TEXT 1001
