// The application started by the notebook's hardware button.
#pragma once

#include <string>

#include "wizard/page_frame.h"

class CLBButton : public COkapiPage {
 public:
  CLBButton();

  // "&Select Application" carries the OK id.
  void OnOK() override;

 protected:
  void LoadPage() override { LoadButtonApplication(); }
  void LoadButtonApplication();
  // The registry script written and copied into the package; false (told
  // to the user) when the package did not get the new script.
  bool PackageButtonScript(const std::string& path);
  // The registry value set; false when Windows refused.
  bool SetButtonApplication(const std::string& path);
};
