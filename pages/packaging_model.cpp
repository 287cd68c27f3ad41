#include "pages/packaging_model.h"

#include "package/changes_report.h"
#include "package/finish.h"
#include "package/package_tree.h"
#include "pages/backgrounds_model.h"
#include "platform/platform.h"
#include "store/item_table.h"

namespace packaging {
namespace {

// An opening image the package may lack is packaged only when the user says so.
bool OpeningImageAccepted(const Ask& ask) {
  const auto image = UnlistedOpeningImage();
  return !image ||
         ask("The opening image is " + *image +
                 ", which is not in the background list, so the package may not contain "
                 "it: computers that get the package would then open on an image they do "
                 "not have.\n\nClick No, go Back to the Backgrounds page, select an image "
                 "and click Current Setting, then click Finish again. Click Yes to make "
                 "the package as it is.",
             kAppName, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

}  // namespace

bool Finish(const Ask& ask) {
  const package::Tell tell = [&](const std::string& text, const std::string& caption) {
    ask(text, caption, MB_OK);
  };
  if (!OpeningImageAccepted(ask)) return false;
  if (!package::Finish(tell)) return false;
  // One box however many: another program rewriting a file changes them all.
  if (const auto mismatches = store::CheckWrittenItems(); !mismatches.empty())
    ask(store::Describe(mismatches), kAppName, MB_OK);
  const auto report = WriteReport(ask);
  std::string text = "The package is ready in " + package::Root() + ".";
  if (!report) {
    ask(text, kAppName, MB_OK);
  } else if (ask(text + "\n\nWhat changed is listed in " + *report +
                     " (and as text in changes.txt beside it).\n\nOpen the report now?",
                 kAppName, MB_YESNO | MB_DEFBUTTON2) == IDYES) {
    OpenReport(*report, ask);
  }
  return true;
}

std::optional<std::string> WriteReport(const Ask& ask) {
  const report::Changes changes = report::Collect();
  if (auto written = report::Write(changes); !written) {
    ask("OKAPI could not write the changes report " + report::HtmlPath() + ".\n\n" + written.reason,
        kAppName, MB_OK);
    return std::nullopt;
  }
  return report::HtmlPath();
}

void OpenReport(const std::string& path, const Ask& ask) {
  // Explorer opens a page in the user's browser.
  if (!platform::Os().processes->Start("explorer.exe \"" + path + "\""))
    ask("OKAPI could not open " + path + ". Open it in your browser.", kAppName, MB_OK);
}

}  // namespace packaging
