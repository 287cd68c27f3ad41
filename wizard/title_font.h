// The bold title font of the wizard's pages.
#pragma once

#include "framework/framework.h"

// -(pixels per inch * points / 72), truncated toward zero.
int TitleFontHeight(int logPixelsY, int points);
// The message font made bold "Verdana Bold" of that height.
LogFont MakeTitleFont(const LogFont& messageFont, int logPixelsY, int points);
// Creates the title font (kept by the page for its life) and sets it on one
// of the page's controls.
void SetTitleFont(CDialog& page, int controlId, int points);
