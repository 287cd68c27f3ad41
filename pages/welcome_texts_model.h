// The welcome page's texts (version 3.5) without the page's window: what
// each text holds, what Next refuses and writes, and the welcome graphic's
// switch. The page moves values between its controls and this model.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "pages/menu_model.h"

// A text as the page shows it, with line breaks, and as its one-line entry
// keeps it, with "<br>".
std::string TextToEntry(const std::string& text);
std::string EntryToText(const std::string& entry);

class WelcomeTextsModel {
 public:
  // Longer entries come back cut from the help application's reads.
  static constexpr std::size_t kMaxEntry = 511;

  std::string intro;
  std::array<std::string, 3> descriptions;  // of the first three menus' tabs
  std::string closing;
  // The first three menu titles, shown beside the descriptions and written
  // in bold in front of them.
  std::array<std::string, 3> titles;
  bool welcomeImage = false;

  // Keeps the welcome graphic's first value (a refusal has been told, and
  // the switch tries again), then reads what the page shows.
  void Load();
  // Titles renamed on the menu page since; the texts stay as typed.
  void LoadMenuTitles();

  // The first text that would not come back whole; nullopt when none.
  std::optional<Notice> Check() const;
  // Writes every text in one write of the text file; entries without a
  // slot are passed over and told.
  [[nodiscard]] SaveResult Save() const;

  // The graphic's switch, turned to `show`; `welcomeImage` tells where it
  // ended up.
  std::optional<Notice> ShowWelcomeImage(bool show);

  // False when the first value could not be written (told by the store).
  [[nodiscard]] static bool KeepWelcomeImageFirstValue();
};
