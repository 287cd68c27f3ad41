// The menu titles, their Alt-key letters and the System Details item.
#pragma once

#include <optional>
#include <string>

#include "wizard/page_frame.h"

// A menu title entry's payload: the title with its Alt-key letter underlined.
struct MenuTitle {
  std::string title;
  std::string letter;  // empty when the entry marks none
};

// Parses `__MENU1_TITLE__,"Getting <u>S</u>tarted"`; a missing entry gives an
// empty title and letter, an entry without markup its text and no letter.
MenuTitle ParseMenuTitle(const std::optional<std::string>& entry);
// The title with "<u>" and "</u>" around the first occurrence of `letter`
// (case as typed); nullopt when the title lacks the letter.
std::optional<std::string> MarkMenuTitle(const std::string& title, const std::string& letter);

class CAppMenu : public COkapiPage {
 public:
  CAppMenu();

  CButton m_ctlWelcomeTitleCheck;
  CEdit m_ctlAltKey4Edit;
  CEdit m_ctlTitle4Edit;
  std::string m_strTitle2;
  std::string m_strTitle3;
  std::string m_strTitle1;
  std::string m_strAltKey1;
  std::string m_strAltKey2;
  std::string m_strAltKey3;
  bool m_bShowSysDetails = false;
  std::string m_strTitle4;
  std::string m_strAltKey4;
  bool m_bShowWelcomeTitle = false;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  int OnWizardNext() override;
  // "&Open CSV File" carries the OK id.
  void OnOK() override { OnOpenCsvFile(); }

  void OnOpenCsvFile();
  void OnSysDetailsClicked();
  void OnWelcomeTitleClicked();

  static constexpr std::size_t kMaxTitle = 30;

 protected:
  void LoadPage() override;
  void LoadMenuTitles();
  // False when a first value could not be written (told by the store).
  [[nodiscard]] bool SaveSysDetailsOriginals();

 private:
  // The first refusal of Next, in the order the user is told; nullopt when
  // everything may be written.
  struct Refusal {
    std::string message;
    std::string caption;
  };
  std::optional<Refusal> CheckMenus() const;
  // False when a write failed (the store has told the user).
  bool WriteMenus();
  void ShowFourthMenuEdits(bool show);
};
