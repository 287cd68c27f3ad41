// The texts of the help application's welcome page (version 3.5).
#pragma once

#include <string>

#include "wizard/page_frame.h"

// A text as the page shows it, with line breaks, and as its one-line entry
// keeps it, with "<br>".
std::string TextToEntry(const std::string& text);
std::string EntryToText(const std::string& entry);

class CWMenu : public COkapiPage {
 public:
  CWMenu();

  std::string m_strTab3Title;
  std::string m_strTab2Title;
  std::string m_strTab1Title;
  CButton m_ctlWelcomeImageCheck;
  std::string m_strIntro;
  std::string m_strTab1Desc;
  std::string m_strTab2Desc;
  std::string m_strTab3Desc;
  std::string m_strClosing;
  std::string m_strMenu1Label;
  std::string m_strMenu2Label;
  std::string m_strMenu3Label;
  bool m_bWelcomeImage = false;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  bool OnSetActive() override;
  int OnWizardNext() override;
  void OnWelcomeImageClicked();

  // Longer entries come back cut from the help application's reads.
  static constexpr std::size_t kMaxEntry = 511;

 protected:
  void LoadPage() override;
  // False when the first value could not be written (told by the store).
  [[nodiscard]] bool SaveWelcomeImageOriginal();
  void LoadWelcomeTexts();

 private:
  // The three menu titles, beside the descriptions and bold in front of them.
  void LoadMenuTitles();
};
