#include "wizard/title_font.h"

#include <memory>

int TitleFontHeight(int logPixelsY, int points) { return -(logPixelsY * points / 72); }

LogFont MakeTitleFont(const LogFont& messageFont, int logPixelsY, int points) {
  LogFont font = messageFont;
  font.weight = FW_BOLD;
  font.faceName = "Verdana Bold";
  font.height = TitleFontHeight(logPixelsY, points);
  return font;
}

void SetTitleFont(CDialog& page, int controlId, int points) {
  auto font = std::make_unique<CFont>();
  if (!font->CreateFontIndirect(MakeTitleFont(GetMessageFont(), GetScreenLogPixelsY(), points)))
    return;
  // The control only borrows the font: the page keeps it for its own life.
  const CFont* kept = page.KeepFont(std::move(font));
  if (CWnd* control = page.GetDlgItem(controlId)) control->SetFont(kept, true);
}
