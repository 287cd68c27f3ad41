// The company name page's rules without its window: the name found in the
// title, the checks Next makes and the title it writes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "pages/notice.h"

class CompanyModel {
 public:
  static constexpr std::size_t kMaxName = 30;

  using Told = Notice;
  struct Outcome {
    enum Kind {
      Refused,    // the name is refused: stay, nothing written
      Written,    // the title carries the name
      LeftAlone,  // the title could not take it: told, and the wizard goes on
      Failed,     // the write failed, told by the store: stay to retry
    } kind;
    std::optional<Told> told;
    bool Stays() const { return kind == Refused || kind == Failed; }
  };

  // The name after "Modified by" in the title; a title without one is kept
  // as the first title, so that a later suffix is built on the current one.
  void Load();
  // The edit box exchanges its text here.
  std::string& Name() { return m_name; }
  const std::string& Name() const { return m_name; }
  // The name's first refusal; nothing when the name may be written.
  std::optional<Told> Check() const;
  // The name's checks, then the first title with the name appended.
  [[nodiscard]] Outcome Next();

 private:
  std::string m_name;
};
