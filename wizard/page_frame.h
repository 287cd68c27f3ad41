// What every wizard page shares: the bold title, the white colouring, the
// Help button and the wizard buttons set on activation. A page class derives
// from COkapiPage and describes its frame in one PageFrame row.
#pragma once

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

// How a page with this frame paints a control (or itself, with CWnd::kSelf).
CtlColor FrameColor(const PageFrame& frame, int controlId, int ctlType);

class COkapiPage : public CPropertyPage {
 public:
  COkapiPage(unsigned templateId, PageFrame frame);

  const PageFrame& Frame() const { return m_frame; }

  CButton m_btnHelp;

  // Binds m_btnHelp; a page's own DoDataExchange calls this first.
  void DoDataExchange(CDataExchange* pDX) override;
  // The base, the title font, LoadPage, then the Help button moved to its
  // place. Returns true.
  bool OnInitDialog() override;
  // Posts the frame's buttons (if any), then the base.
  bool OnSetActive() override;
  // The Help button opens the page's topic.
  bool OnCommand(int id, unsigned code) override;
  CtlColor OnCtlColor(int controlId, int ctlType) override;

  // Where every page's Help button sits, in pixels at 96 dots per inch.
  static constexpr CRect kHelpButtonRect{390, 330, 390 + 116, 330 + 22};

 protected:
  // The page's own loading, between the title font and the Help button's move.
  virtual void LoadPage() {}
  void PlaceHelpButton();
  void OpenHelp();

 private:
  PageFrame m_frame;
};
