// The application object: one running copy, the wizard run modally.
#pragma once

#include <string>

class COkapiApp {
 public:
  // Always false: the program ends when the wizard closes.
  bool InitInstance();
  // True for the first running copy (it then holds the named mutex).
  bool IsFirstInstance(const std::string& name);

  static constexpr const char* kMutexName = "Mutex_OKAPI";
  static constexpr const char* kWizardTitle = "Customization";

 private:
  // Minimises a foreground wizard, brings up a minimised or background one.
  void ToggleRunningWizard();
  void RunWizard();
};
