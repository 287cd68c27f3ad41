// The opening sound's and the opening animation's rules without a window:
// each effect now and after a revert to the defaults, switched one at a
// time, and a chosen file put in place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pages/notice.h"
#include "store/item_table.h"

class OpeningEffectModel {
 public:
  // What tells the two effects apart.
  struct Effect {
    store::Item now;          // a marker entry: "true" or "false" after the marker
    store::Item afterRevert;  // "true" or "false"
    store::Item file;         // a marker entry: the file's name after the marker
    std::string_view noun;    // in messages
    // Where a chosen file is copied, below both the installation directory
    // and the customization folder: empty or a folder without end backslash.
    std::string_view folder;
    std::string InInstallation(const std::string& name) const;
    std::string InCustomization(const std::string& name) const;
  };
  static const Effect& Sound();
  static const Effect& Animation();

  using Told = Notice;
  struct Outcome {
    // False: nothing was written and the setting stays as it was.
    bool applied = true;
    std::optional<Told> told;
  };

  explicit OpeningEffectModel(const Effect& effect) : m_effect(effect) {}

  void Load();
  bool Now() const { return m_now; }
  bool AfterRevert() const { return m_afterRevert; }
  // A refused write has been told by the store.
  [[nodiscard]] Outcome SetNow(bool on);
  [[nodiscard]] Outcome SetAfterRevert(bool on);
  // Copies the file at `path` (named `name`) into the tool's tree and the
  // installation, and names it in the option once the installation has it;
  // what failed, to tell.
  [[nodiscard]] std::optional<Told> UseFile(const std::string& path, const std::string& name);

 private:
  const Effect& m_effect;
  bool m_now = false;
  bool m_afterRevert = false;
};
