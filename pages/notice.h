// What a page model has to tell: the text and caption of a message box, or
// a line of a log when no window is shown.
#pragma once

#include <optional>
#include <string>

struct Notice {
  std::string message;
  std::string caption;
  bool operator==(const Notice&) const = default;
};

// What a save did. Not saved: a write failed and the store has told the
// user (the page stays, so the user can try again). Either way there may be
// something more to tell, before going on.
struct SaveResult {
  bool saved = true;
  std::optional<Notice> notice;
};

// Shows the notice, if there is one, in a box over the page.
template <class Page>
void Tell(Page& page, const std::optional<Notice>& notice) {
  if (notice) page.MessageBox(notice->message, notice->caption);
}
