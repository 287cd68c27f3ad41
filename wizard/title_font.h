// The bold title font of the wizard's pages.
#pragma once

#include "framework/framework.h"

// -(pixels per inch * points / 72), truncated toward zero.
int TitleFontHeight(int logPixelsY, int points);
LogFont MakeTitleFont(const LogFont& messageFont, int logPixelsY, int points);
// The font lives as long as the page: a control keeps only its handle.
void SetTitleFont(CDialog& page, int controlId, int points);
