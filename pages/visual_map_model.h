// The Visual Map buttons page's rules without its window: which buttons
// show, their first looks kept, and what showing or hiding one writes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "pages/notice.h"

class VisualMapModel {
 public:
  enum class Button { MoreInformation, Configure };

  using Told = Notice;
  struct Outcome {
    // False: a first value could not be kept (told by the store), so nothing
    // was written and the button stays as it was.
    bool applied = true;
    // What had to be left as it was, and why.
    std::optional<Told> told;
  };

  // Keeps each button's first image and text, then reads which buttons show.
  void Load();
  bool Shown(Button button) const { return m_shown[Index(button)]; }
  // Shows or hides the button, as far as the files allow.
  [[nodiscard]] Outcome Set(Button button, bool shown);

 private:
  static constexpr std::size_t Index(Button button) { return static_cast<std::size_t>(button); }

  std::array<bool, 2> m_shown{};
};
