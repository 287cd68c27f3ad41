// The background images the help application offers, and the menus' backgrounds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "wizard/page_frame.h"

// An image option's value: its marker, a comma and the file name.
std::string ImageOption(std::string_view marker, std::string_view file);
// The file name an image option's value holds; empty when it holds none.
std::string ImageOfOption(std::string_view marker, const std::optional<std::string>& value);

// The opening image's file when no entry of the list shows it, so that the
// package would not carry it; nullopt when it is listed or not set.
std::optional<std::string> UnlistedOpeningImage();

class CBackgrounds : public COkapiPage {
 public:
  CBackgrounds();

  CListBox m_lstBackgrounds;
  std::string m_strMenu1Jpeg;
  std::string m_strMenu2Jpeg;
  std::string m_strMenu3Jpeg;
  std::string m_strJpegFileName;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  // The hidden "Apply Menu Backgrounds" button carries the OK id: the menus'
  // backgrounds are applied by Next alone.
  void OnOK() override {}
  int OnWizardBack() override;
  int OnWizardNext() override;

  // The places of the help application's background list.
  static constexpr int kSlots = 99;
  // A menu's option is its marker, a comma and the file name, in a value the
  // help application reads 63 characters of.
  static constexpr std::size_t kMaxMenuFile = 42;

 protected:
  void LoadPage() override;
  void LoadBackgroundSettings();
  void MarkFreeSlots();
  bool IsDuplicateFriendlyName(const std::string& name);

  void OnCurrentSetting();
  void OnDefaultSetting();
  void OnDelete();
  void OnAdd();
  void OnBrowse();
  void OnBrowseMenu1() { BrowseMenu(m_strMenu1Jpeg); }
  void OnBrowseMenu2() { BrowseMenu(m_strMenu2Jpeg); }
  void OnBrowseMenu3() { BrowseMenu(m_strMenu3Jpeg); }
  void AddMenuFileToSlots(const std::string& file);

 private:
  struct Selection {
    int index;  // in the list box
    int slot;
    std::string text;
  };
  // The selected entry and the slot whose whole text it is; nullopt, told to
  // the user, when nothing is selected or no slot holds that text.
  std::optional<Selection> FindSelection();
  // Writes an entry into a free slot and lists it; false when a write failed.
  bool ListInSlot(int slot, const std::string& text, const std::string& image);
  // A JPEG file picked from the installation's small images: its name alone.
  std::optional<std::string> BrowseJpeg();
  void BrowseMenu(std::string& member);
  // False, told to the user, for a name the menu's option cannot hold.
  bool MenuFileFits(const std::string& file);
};
