// Pulling the pieces together: Finish assembles the package.
#pragma once

#include <optional>
#include <string>

#include "wizard/page_frame.h"

class CPackaging : public COkapiPage {
 public:
  CPackaging();

  // Jumps back over the Larkbook button page on machines without the button.
  int OnWizardBack() override;
  // The packaging sequence; false keeps the wizard here until the package is whole.
  bool OnWizardFinish() override;
  bool OnCommand(int id, unsigned code) override;

  // Writes the changes report beside the package and opens it.
  void OnReviewChanges();

 private:
  // An opening image the package may lack is packaged only when the user says so.
  bool OpeningImageAccepted();
  // Writes the changes report (a failure is told). Its path, or nothing
  // when it could not be written.
  std::optional<std::string> WriteReport();
  void OpenReport(const std::string& path);
};
