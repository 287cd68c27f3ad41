// What a customization changed: every entry of the help application's files
// that differs from the backup of first contents, grouped by the wizard page
// that changes it, the button's application before and after, and what the
// package holds. Written beside the package as changes.html and changes.txt.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "store/item_table.h"

namespace report {

struct EntryChange {
  std::string page;  // the wizard page's caption, or "Other entries"
  std::string file;  // "lumen-config.ini"
  std::string section;
  std::string key;
  std::string marker;                 // empty for entries without one
  std::optional<std::string> before;  // as stored; nullopt: not there
  std::optional<std::string> after;
};

struct LineChange {
  int line = 0;  // from 1
  std::optional<std::string> before, after;
};

struct Changes {
  std::vector<EntryChange> entries;  // by page in the wizard's order
  int tableLinesChanged = 0;
  std::vector<LineChange> firstTableLines;  // the first ones, shown
  bool backupFound = false;
  std::optional<std::string> buttonBefore, buttonAfter;
  std::vector<std::string> packageFiles;  // relative to the package
  // This run's entries that the files no longer hold as written.
  std::vector<store::ReadBackMismatch> notAsWritten;

  bool NothingChanged() const;
};

// Compares the help application's files now with the backup.
Changes Collect();

std::string AsText(const Changes& changes);
std::string AsHtml(const Changes& changes);

// customization\changes.html and customization\changes.txt.
std::string HtmlPath();
std::string TextPath();
platform::Status Write(const Changes& changes);

}  // namespace report
