#include "package/finish.h"

#include <climits>
#include <optional>
#include <string_view>

#include "framework/framework.h"
#include "package/images.h"
#include "package/machine_table.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/item_table.h"
#include "store/profile.h"

namespace package {

namespace {

constexpr std::size_t kVersionBuffer = 128;

std::string UnmatchedQuotesMessage(const FilteredTable& table) {
  std::string lines;
  for (std::size_t i = 0; i < table.unmatchedLines.size(); ++i) {
    lines += (i ? ", " : "") + std::to_string(table.unmatchedLines[i]);
  }
  const bool one = table.unmatchedQuotes == 1;
  return "Neither DoubleQuote or Comma found\n\n" + std::to_string(table.unmatchedQuotes) +
         (one ? " double quote" : " double quotes") + " in " + layout::kMachineTable +
         " had neither a comma nor another double quote after them on their line and " +
         (one ? "was" : "were") + " removed. " +
         (table.unmatchedLines.size() == 1 ? "Line " : "Lines ") + lines +
         (table.unmatchedQuotes > table.unmatchedLines.size() ? " and more." : ".");
}

// atoi's reading (blanks, a sign, the leading digits; anything else is 0),
// held within int so that the raised counter cannot overflow.
long long LeadingNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string_view::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) {
      value = INT_MAX;
      break;
    }
  }
  return negative ? -value : value;
}

}  // namespace

void ProcessCsvFile(const Tell& tell) {
  auto& files = *platform::Os().files;
  std::optional<std::string> table = files.ReadFile(g_strCsvFile);
  if (!table) {
    tell("Couldn't open " + std::string(layout::kMachineTable) + " file to read it", kAppName);
    return;
  }
  FilteredTable filtered = FilterMachineTable(std::move(*table));
  if (filtered.unmatchedQuotes) tell(UnmatchedQuotesMessage(filtered), "Information");
  if (!filtered.changed) return;  // already processed: nothing to replace
  // Through the profile engine, which keeps the new table: the answers
  // written at the end of Finish read the table's Visual Map entry again.
  if (const platform::Status written =
          store::WriteWholeFile(g_strCsvFile, std::move(filtered.text));
      !written) {
    tell("Couldn't open " + std::string(layout::kMachineTable) + " file to write it\n\n" +
             written.reason + ".\n\nThe machine table was left as it was, with its quotes.",
         kAppName);
  }
}

void StampVersion() {
  const std::optional<std::string> version =
      store::Read(store::item::kVersion.CutTo(kVersionBuffer));
  if (!version || store::HoldsSentinel(*version)) return;
  const long long counter =
      LeadingNumber(store::Read(store::item::kVersionCM.CutTo(kVersionBuffer)).value_or("0")) + 1;
  // One write of the file for both. A failed write has been told by the
  // store; the package then shows the old stamp.
  (void)store::WriteAll(
      {{store::item::kVersionCM, std::to_string(counter)},
       {store::item::kVersion, version->substr(0, 6) + "  " + std::to_string(counter)}});
}

bool CopyDataFiles(const Tell& tell) {
  auto& files = *platform::Os().files;
  bool whole = true;
  for (const auto& [from, name] : {std::pair{&g_strCsvFile, layout::kMachineTable},
                                   std::pair{&g_strTextFile, layout::kTextFile},
                                   std::pair{&g_strConfigFile, layout::kConfigFile}}) {
    const std::string to = PathIn("\\" + std::string(name));
    if (CopyIntoPackage(*from, to)) continue;
    whole = false;
    tell("Couldn't copy " + *from + " to " + to + ".\n\n" +
             (files.Exists(*from) ? WhyNotCopied(*from, to) : "The file is missing: put it back") +
             ", then click Finish again. The package is not complete without it.",
         "Error");
  }
  return whole;
}

namespace {
AnswersText& PackageAnswers() {
  static AnswersText text;
  return text;
}

// Last, so that the answers name what the package carries.
bool WriteAnswers(const Tell& tell) {
  if (!PackageAnswers()) return true;
  const std::string path = PathIn("\\answers.ini");
  const auto status = platform::Os().files->WriteFileAtomic(path, PackageAnswers()());
  if (status) return true;
  tell("Couldn't write " + path + ".\n\n" + status.reason +
           ", then click Finish again. The package cannot be applied with okapi.exe /apply "
           "without it.",
       "Error");
  return false;
}
}  // namespace

void SetPackageAnswers(AnswersText text) { PackageAnswers() = std::move(text); }

bool Finish(const Tell& tell) {
  // The copies below must take the processed table and the stamped config file.
  ProcessCsvFile(tell);
  StampVersion();
  bool whole = CopyDataFiles(tell);
  // Images listed again are overwritten below, not removed and made anew.
  for (ImageSize size : {ImageSize::Small, ImageSize::Large})
    whole = PurgeJpgFiles(size, tell, ImagesToReplace(size)) && whole;
  if (!CopyListedImages(kBackgroundFiles, tell)) return false;
  if (!CopyListedImages(kBackgroundList, tell)) return false;
  return WriteAnswers(tell) && whole;
}

}  // namespace package
