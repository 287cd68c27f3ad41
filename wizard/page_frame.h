// What every wizard page shares: the bold title, the white colouring, the
// Help button and the wizard buttons set on activation. A page class derives
// from COkapiPage and describes its frame in one PageFrame row.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/framework.h"

// Every member has an initialiser, so that a row may name only what it sets
// (designated initialisers) without -Wmissing-field-initializers.
struct PageFrame {
  int titleId = 0;  // 0: the page sets its title fonts itself
  int titlePoints = 8;
  int helpButtonId = 0;            // 0: no Help button
  std::string helpTopic{};         // "::/W02.htm", appended to the help file
  unsigned buttonsOnActivate = 0;  // PSWIZB_ flags; 0: keep what the page before set
  std::vector<int> white{};        // white text background
  std::vector<int> blueText{};     // white text background and blue text
};

// Pixels meant for a 96-dpi screen, for this screen: the dialogs grow with
// the screen's dpi, and positions given in pixels must grow with them.
int ScaleForScreen(int pixels96);
constexpr int ScaleForDpi(int pixels96, int dpi) { return (pixels96 * dpi + 48) / 96; }

// The pictures that span a page's width (banner, welcome picture) are drawn
// for screens of these sizes, in percent of 96 dpi.
inline constexpr int kDrawnPercents[] = {100, 125, 150, 200};
// Which drawing (an index of kDrawnPercents) shows a picture `width` pixels
// wide, of one drawn `width100` wide at 100%: the smallest drawn at least as
// wide, so that fitting it to the page only ever shrinks it a little; the
// largest when none is.
std::size_t DrawingFor(int width100, int width);

class COkapiPage : public CPropertyPage {
 public:
  COkapiPage(unsigned templateId, PageFrame frame);

  CButton m_btnHelp;

  // A page's own exchange starts with this one: the Help button is a control.
  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnCommand(int id, unsigned code) override;
  CtlColor OnCtlColor(int controlId, int ctlType) override;

  // Where every page's Help button sits, in pixels at 96 dots per inch.
  static constexpr CRect kHelpButtonRect{390, 330, 390 + 116, 330 + 22};

 protected:
  // The page's own loading, with the title font already set.
  virtual void LoadPage() {}

 private:
  void PlaceHelpButton();
  void ShowPicturesForScreen();

  PageFrame m_frame;
  int m_picturesWidth = 0;  // the page's width the pictures were drawn for
};
