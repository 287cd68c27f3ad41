// The background images the help application offers, and the menus' backgrounds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "pages/backgrounds_model.h"
#include "wizard/page_frame.h"

class CBackgrounds : public COkapiPage {
 public:
  CBackgrounds();

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  // The hidden "Apply Menu Backgrounds" button carries the OK id: the menus'
  // backgrounds are applied by Next alone.
  void OnOK() override {}
  int OnWizardBack() override;
  int OnWizardNext() override;

 protected:
  void LoadPage() override;

 private:
  void OnCurrentSetting();
  void OnDefaultSetting();
  void OnDelete();
  void OnAdd();
  void OnBrowse();
  void OnBrowseMenu1() { BrowseMenu(0); }
  void OnBrowseMenu2() { BrowseMenu(1); }
  void OnBrowseMenu3() { BrowseMenu(2); }

  std::optional<std::string> SelectedText();
  // Shows what a button did; true when it was done.
  bool Show(const BackgroundsModel::Outcome& outcome);
  // A JPEG file picked from the installation's small images: its name alone.
  std::optional<std::string> BrowseJpeg();
  void BrowseMenu(std::size_t menu);

  BackgroundsModel m_model;
  CListBox m_lstBackgrounds;
  std::string m_strJpegFileName;
};
