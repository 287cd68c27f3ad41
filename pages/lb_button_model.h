// The Larkbook Button page's rules without its window: the application the
// button starts, and what choosing another one writes and tells. The page
// runs the file dialog and shows what this model says.
#pragma once

#include <string>
#include <vector>

#include "pages/notice.h"

class LBButtonModel {
 public:
  using Message = Notice;

  // Empty when this computer has no button or it starts nothing.
  void Load();
  const std::string& Application() const { return m_application; }

  // The registry script written and copied into the package, then the
  // button of this computer set, each as far as it goes. What to tell, in
  // order; afterwards Application() is what the button really starts.
  std::vector<Message> Select(const std::string& path);

 private:
  std::string m_application;
};
