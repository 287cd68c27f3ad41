// The wizard's first page. Its first initialisation is the program's real
// start: installation check, backup, seeding, package tree.
#pragma once

#include <functional>

#include "framework/framework.h"
#include "wizard/page_frame.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
};

class CWelcomePage : public COkapiPage {
 public:
  CWelcomePage();

  bool OnInitDialog() override;
  bool OnSysCommand(unsigned id) override;

  // Whether the installation check failed.
  bool InstallationMissing() const { return m_bInstallationMissing; }

  // How the program ends when no installation is found; tests replace it.
  static std::function<void()>& EndProgram();

 private:
  bool m_bInstallationMissing = false;
};
