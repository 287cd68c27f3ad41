// Pulling the pieces together: Finish assembles the package.
#pragma once

#include "pages/packaging_model.h"
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
  packaging::Ask Ask();
};
