#include "store/backup.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>

#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/installation.h"
#include "store/profile.h"
#include "store/profile_text.h"

void BackupHelpFiles() {
  auto& files = *platform::Os().files;
  // Existing directories are the normal case from the second run on.
  (void)files.MakeDirectory(layout::CustomizationDir());
  (void)files.MakeDirectory(layout::BackupDir());

  // Fail-if-exists keeps the first run's copies; a missing source simply
  // has no backup.
  for (const layout::DataFile& file : layout::BackedUpFiles())
    (void)files.Copy(*file.path, layout::InBackup(file.name), true);

  const std::string application = layout::ReadButtonApplication().value_or("");
  // The store shows a failed write to the user.
  (void)WriteButtonScript(layout::ButtonScriptPath(), application);
  // The backup keeps the path as /restore and the changes report read it,
  // backslashes single, as earlier versions wrote it: it is a record for
  // them, not a script to import.
  const std::string kept = layout::InBackup(layout::kButtonScript);
  if (!files.Exists(kept)) {
    (void)files.WriteFileAtomic(kept, "[" + std::string(layout::kButtonScriptSection) + "]\r\n" +
                                          layout::kButtonScriptKey + "=\"" + application +
                                          "\"\r\n");
  }
}

namespace {

constexpr std::string_view kScriptHeader = "REGEDIT4\r\n\r\n";

std::string DoubleBackslashes(const std::string& path) {
  std::string out;
  for (char c : path) {
    out += c;
    if (c == '\\') out += c;
  }
  return out;
}

std::vector<std::string> Lines(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

platform::Status WriteButtonScript(const std::string& path, const std::string& application) {
  auto status = store::WriteString(layout::kButtonScriptSection, layout::kButtonScriptKey,
                                   "\"" + DoubleBackslashes(application) + "\"", path);
  if (!status) return status;
  // After the entry: the store may write the file back from what it read
  // before. The profile functions skip lines before the first section.
  auto& files = *platform::Os().files;
  const auto text = files.ReadFile(path);
  if (!text || text->starts_with("REGEDIT4\r\n") || text->starts_with("REGEDIT4\n")) return status;
  // The file was just written: a failure here would be a race, and the
  // script still gives the button its application to INI readers.
  (void)files.WriteFileAtomic(path, std::string(kScriptHeader) + *text);
  return status;
}

namespace store {

std::vector<EntryDifference> DifferingEntries(std::string before, std::string after) {
  const ProfileText was(std::move(before)), now(std::move(after));
  std::vector<EntryDifference> out;
  std::set<std::pair<std::string, std::string>> seen;
  for (const ProfileText* text : {&was, &now}) {
    for (const std::string& section : text->SectionNames()) {
      for (const std::string& key : text->KeyNames(section)) {
        if (!seen.emplace(platform::ToLowerAscii(section), platform::ToLowerAscii(key)).second)
          continue;
        auto a = was.RawValue(section, key);
        auto b = now.RawValue(section, key);
        if (a != b) out.push_back({section, key, std::move(a), std::move(b)});
      }
    }
  }
  return out;
}

std::vector<LineDifference> DifferingLines(std::string_view before, std::string_view after) {
  const auto was = Lines(before), now = Lines(after);
  std::vector<LineDifference> out;
  for (std::size_t i = 0; i < std::max(was.size(), now.size()); ++i) {
    std::optional<std::string> a, b;
    if (i < was.size()) a = was[i];
    if (i < now.size()) b = now[i];
    if (a != b) out.push_back({static_cast<int>(i + 1), std::move(a), std::move(b)});
  }
  return out;
}

}  // namespace store
