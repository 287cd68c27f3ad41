// The backgrounds page's rules without its window: the background list and
// the opening image's settings, what each button may change and what Next
// writes for the menus. The page moves values between its controls and this
// model and shows what it says.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "pages/menu_model.h"
#include "store/background_slots.h"

class BackgroundsModel {
 public:
  // What a button did. Not done and no refusal: a write failed, which the
  // store has told the user.
  struct Outcome {
    bool done = false;
    std::optional<Notice> refusal;
    // An entry to add to the list, as the file gives it back.
    std::optional<std::string> listed;
  };

  // A menu's option is its marker, a comma and the file name, in a value the
  // help application reads 63 characters of.
  static constexpr std::size_t kMaxMenuFile = 42;

  // Reads the list, the opening image's labels and the menus' files.
  void Load();
  // Marks the slots without an entry free, so that Add may take them; a
  // failure is told by the store and the marks are written again next run.
  void MarkFreeSlots();

  const std::vector<std::string>& Entries() const { return m_entries; }
  const std::string& CurrentLabel() const { return m_currentLabel; }
  const std::string& DefaultLabel() const { return m_defaultLabel; }
  // The menus' edit boxes exchange their text here.
  std::string& MenuFile(std::size_t menu) { return m_menuFiles[menu]; }
  const std::string& MenuFile(std::size_t menu) const { return m_menuFiles[menu]; }

  // The buttons on the selected entry's text (nullopt: no selection).
  Outcome SetCurrent(const std::optional<std::string>& selected);
  Outcome SetDefault(const std::optional<std::string>& selected);
  Outcome Delete(const std::optional<std::string>& selected);
  // A friendly name as typed and the JPEG file chosen.
  Outcome Add(const std::string& name, const std::string& file);
  // A file browsed for a menu: done when the menu takes it; version 3.5
  // lists it too, once.
  Outcome PickMenuFile(std::size_t menu, const std::string& file);

  // Next's checks of the menus' files, the first refusal first; on none the
  // files are spelled as the help application's own files spell them.
  std::optional<Notice> CheckMenus();
  // Writes the menus' options, the OEM defaults and the package's files.
  [[nodiscard]] SaveResult SaveMenus();

 private:
  void Relabel();
  void Listed(const std::string& text) { m_entries.push_back(text); }
  void Unlisted(const std::string& text);

  std::vector<std::string> m_entries;
  std::string m_currentLabel;
  std::string m_defaultLabel;
  std::array<std::string, store::backgrounds::kMenus> m_menuFiles;
};

// The opening image's file when no entry of the list shows it, so that the
// package would not carry it; nullopt when it is listed or not set.
std::optional<std::string> UnlistedOpeningImage();
