// The opening sound and the opening animation: one page make, two rows of
// data. Each page switches the effect now and after a revert to the
// defaults, and can put a chosen file in place (the OK command).
#pragma once

#include <string>

#include "store/item_table.h"
#include "wizard/page_frame.h"

struct OpeningEffect {
  unsigned templateId;
  PageFrame frame;
  int currentCheckId;  // the effect now
  int defaultCheckId;  // after a revert to the defaults
  int currentComboId;
  int defaultComboId;
  store::Item currentOption;   // written "<marker>,true"
  store::Item defaultSetting;  // written "true"
  store::Item fileOption;      // written "<marker>,<file name>"
  std::string_view noun;       // in messages
  // The file dialog.
  std::string_view defExt;
  std::string_view initialName;
  std::string_view filter;
  // Where the chosen file is copied: below the help root (starting with a
  // backslash) and below the installation directory (which ends with one).
  std::string_view toolFolder;
  std::string_view installFolder;

  static const OpeningEffect& Sound();
  static const OpeningEffect& Animation();
};

class COpeningEffectPage : public COkapiPage {
 public:
  explicit COpeningEffectPage(const OpeningEffect& effect);

  CComboBox m_cboCurrent;
  CComboBox m_cboDefault;
  bool m_bCurrent = false;
  bool m_bDefault = false;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  // The chosen file copied into place and named in the option.
  void OnOK() override;

 protected:
  void LoadPage() override { LoadStates(); }
  void LoadStates();
  void OnCurrentSetting();
  void OnDefaultSetting();
  // The copies and the option; what failed is told.
  void UseFile(const std::string& path, const std::string& name);

 private:
  // Writes one check box's item; on failure the box goes back to the file.
  void WriteSetting(const store::Item& entry, bool& member, const std::string& value);

  const OpeningEffect& m_effect;
};
