// The menu page's rules without its window: the titles and their Alt-key
// letters, the fourth (welcome page) menu and the System Details item. The
// page moves values between its controls and this model and shows what it
// says; a caller without a window shows nothing or reports it otherwise.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "pages/notice.h"

// A message for the user: a message box's text and caption.
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

class MenuModel {
 public:
  static constexpr std::size_t kMenus = 4;
  static constexpr std::size_t kMaxTitle = 30;

  // Typed on the page, or read from the text file.
  std::array<MenuTitle, kMenus> menus;
  // Version 3.5 only: the welcome page is the fourth menu.
  bool fourthMenu = false;
  bool showSysDetails = false;

  // Reads what the page shows. A 3.5 installation that never said whether
  // the fourth menu is on gets it on; version 3.0 has no fourth menu, and
  // its fields hold placeholders that pass the checks and are never written.
  // Then keeps the System Details first values (a refusal has been told,
  // and a switch tries again).
  void Load(bool version35);
  bool Version35() const { return m_version35; }

  // The first refusal of Next, in the order the user is told; nullopt when
  // everything may be written.
  std::optional<Notice> Check() const;
  // Letters and titles in one write of the text file, so the files never
  // hold new letters with old titles. Entries without a slot are passed
  // over and told.
  [[nodiscard]] SaveResult Save() const;

  // The System Details switch, turned to `show`; `showSysDetails` tells
  // where it ended up (back where it was when nothing could be changed).
  std::optional<Notice> ShowSysDetails(bool show);
  // What the text file says of the fourth menu: its title's marker holds
  // "4" while it is on. The map file's flag may be older (a /restore leaves it).
  static bool FourthMenuMarked();
  // The fourth menu switch: its title's marker, the map file's flag and the
  // default menu follow it.
  std::optional<Notice> EnableFourthMenu(bool enable);

  // Copies the System Details entries to their first values, unless kept
  // already; false when a copy could not be written (told by the store).
  [[nodiscard]] static bool KeepSysDetailsFirstValues();

 private:
  int WrittenMenus() const { return fourthMenu ? 4 : 3; }

  bool m_version35 = false;
};

// Opens the machine table in the first spreadsheet program found, from the
// installation directory; what to tell the user when that cannot be done.
std::vector<Notice> OpenInSpreadsheet(const std::string& csvFile, const std::string& directory);
