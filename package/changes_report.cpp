#include "package/changes_report.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "package/package_tree.h"
#include "platform/ascii.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/profile_text.h"

namespace report {
namespace {

constexpr int kTableLinesShown = 20;

// The wizard's pages in their order, by caption; the last for entries no
// page names.
constexpr std::string_view kPages[] = {
    "Modified by", "Menu",   "Welcome Page",     "Visual Map Buttons", "Backgrounds",
    "Color",       "Sounds", "Animation Screen", "Packaging",          "Other entries"};
static_assert(std::size(kPages) == static_cast<std::size_t>(store::Page::Other) + 1);

std::string Backup(std::string_view name) { return layout::InBackup(name); }

// The marker an entry starts with: two underscores, a name, two underscores.
std::string MarkerOf(const std::optional<std::string>& value) {
  if (!value) return {};
  std::string_view v = *value;
  if (!v.starts_with("__")) return {};
  const auto end = v.find("__", 2);
  if (end == std::string_view::npos) return {};
  return std::string(v.substr(0, end + 2));
}

std::string_view PageOf(const std::string& section, const std::string& key,
                        const std::string& marker) {
  return kPages[static_cast<std::size_t>(store::PageOfEntry(section, key, marker))];
}

void CompareProfiles(std::string_view name, const std::string& current,
                     std::vector<EntryChange>& out) {
  auto& files = *platform::Os().files;
  for (auto& d : store::DifferingEntries(files.ReadFile(Backup(name)).value_or(""),
                                         files.ReadFile(current).value_or(""))) {
    std::string marker = MarkerOf(d.after);
    if (marker.empty()) marker = MarkerOf(d.before);
    out.push_back({std::string(PageOf(d.section, d.key, marker)), std::string(name), d.section,
                   d.key, marker, std::move(d.before), std::move(d.after)});
  }
}

void ListPackage(const std::string& folder, const std::string& relative,
                 std::vector<std::string>& out) {
  auto& files = *platform::Os().files;
  for (const std::string& name : files.Find(folder + "\\*")) {
    const std::string path = folder + "\\" + name;
    if (files.IsDirectory(path)) {
      ListPackage(path, relative + name + "\\", out);
    } else {
      out.push_back(relative + name);
    }
  }
}

std::string Shown(const std::optional<std::string>& value) {
  return value ? *value : std::string("(none)");
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string HtmlValue(const std::optional<std::string>& value) {
  return value ? "<code>" + Escaped(*value) + "</code>" : std::string("<em>(none)</em>");
}

}  // namespace

bool Changes::NothingChanged() const {
  return entries.empty() && tableLinesChanged == 0 && buttonBefore == buttonAfter;
}

Changes Collect() {
  auto& files = *platform::Os().files;
  Changes changes;
  changes.backupFound = files.Exists(Backup(layout::kConfigFile)) ||
                        files.Exists(Backup(layout::kTextFile)) ||
                        files.Exists(Backup(layout::kMachineTable));
  CompareProfiles(layout::kConfigFile, g_strConfigFile, changes.entries);
  CompareProfiles(layout::kTextFile, g_strTextFile, changes.entries);
  std::stable_sort(changes.entries.begin(), changes.entries.end(),
                   [](const EntryChange& a, const EntryChange& b) {
                     const auto rank = [](const std::string& page) {
                       return std::find(std::begin(kPages), std::end(kPages), page) -
                              std::begin(kPages);
                     };
                     return rank(a.page) < rank(b.page);
                   });

  auto lines = store::DifferingLines(files.ReadFile(Backup(layout::kMachineTable)).value_or(""),
                                     files.ReadFile(g_strCsvFile).value_or(""));
  changes.tableLinesChanged = static_cast<int>(lines.size());
  for (auto& l : lines) {
    if (changes.firstTableLines.size() == kTableLinesShown) break;
    changes.firstTableLines.push_back({l.line, std::move(l.before), std::move(l.after)});
  }

  if (auto bytes = files.ReadFile(Backup(layout::kButtonScript))) {
    const store::ProfileText text(std::move(*bytes));
    if (auto raw = text.RawValue(layout::kButtonScriptSection, layout::kButtonScriptKey)) {
      changes.buttonBefore = store::ProfileResult(*raw, {}, 0x10000);
    }
  }
  changes.buttonAfter = layout::ReadButtonApplication();
  if (!changes.buttonAfter) changes.buttonBefore.reset();  // no button on this machine

  changes.notAsWritten = store::CheckWrittenItems();
  ListPackage(package::Root(), "", changes.packageFiles);
  std::sort(changes.packageFiles.begin(), changes.packageFiles.end());
  return changes;
}

std::string AsText(const Changes& c) {
  std::string t = "OKAPI changes report\r\n\r\nCompared with the backup of first contents in " +
                  layout::BackupDir() + ".\r\n";
  if (!c.backupFound) t += "\r\nThere is no backup: every entry shows as added.\r\n";
  if (c.NothingChanged()) t += "\r\nNothing changed.\r\n";
  std::string page;
  for (const EntryChange& e : c.entries) {
    if (e.page != page) t += "\r\n== " + (page = e.page) + "\r\n";
    t += "\r\n" + e.file + " [" + e.section + "] " + e.key +
         (e.marker.empty() ? "" : " (" + e.marker + ")") + "\r\n";
    t += "    before: " + Shown(e.before) + "\r\n    after:  " + Shown(e.after) + "\r\n";
  }
  if (c.tableLinesChanged > 0) {
    t += "\r\n== " + std::string(layout::kMachineTable) + "\r\n\r\n" +
         std::to_string(c.tableLinesChanged) +
         " lines changed (quotes removed at Finish count too).\r\n";
    for (const LineChange& l : c.firstTableLines) {
      t += "line " + std::to_string(l.line) + "\r\n    before: " + Shown(l.before) +
           "\r\n    after:  " + Shown(l.after) + "\r\n";
    }
  }
  if (c.buttonBefore != c.buttonAfter) {
    t += "\r\n== Larkbook Button\r\n\r\n    before: " + Shown(c.buttonBefore) +
         "\r\n    after:  " + Shown(c.buttonAfter) + "\r\n";
  }
  if (!c.notAsWritten.empty()) {
    t += "\r\n== Entries that no longer hold what OKAPI wrote\r\n\r\n";
    for (const auto& m : c.notAsWritten) t += "    " + store::DescribeEntry(m) + "\r\n";
  }
  t += "\r\n== The package (" + package::Root() + ")\r\n\r\n";
  for (const std::string& f : c.packageFiles) t += "    " + f + "\r\n";
  return t;
}

std::string AsHtml(const Changes& c) {
  std::string h =
      "<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\">"
      "<title>OKAPI changes report</title>\n<style>body{font-family:Tahoma,sans-serif;"
      "font-size:10pt}table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:3px 6px;"
      "text-align:left;vertical-align:top}code{white-space:pre-wrap}</style></head><body>\n"
      "<h1>OKAPI changes report</h1>\n<p>Compared with the backup of first contents in " +
      Escaped(layout::BackupDir()) + ".</p>\n";
  if (!c.backupFound) h += "<p>There is no backup: every entry shows as added.</p>\n";
  if (c.NothingChanged()) h += "<p><strong>Nothing changed.</strong></p>\n";
  std::string page;
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    const EntryChange& e = c.entries[i];
    if (e.page != page) {
      if (!page.empty()) h += "</table>\n";
      h += "<h2>" + Escaped(page = e.page) +
           "</h2>\n<table><tr><th>File</th><th>Entry</th><th>Marker</th><th>Before</th>"
           "<th>After</th></tr>\n";
    }
    h += "<tr><td>" + Escaped(e.file) + "</td><td>[" + Escaped(e.section) + "] " + Escaped(e.key) +
         "</td><td>" + Escaped(e.marker) + "</td><td>" + HtmlValue(e.before) + "</td><td>" +
         HtmlValue(e.after) + "</td></tr>\n";
  }
  if (!page.empty()) h += "</table>\n";
  if (c.tableLinesChanged > 0) {
    h += "<h2>" + std::string(layout::kMachineTable) + "</h2>\n<p>" +
         std::to_string(c.tableLinesChanged) +
         " lines changed (quotes removed at Finish count too).</p>\n<table><tr><th>Line</th>"
         "<th>Before</th><th>After</th></tr>\n";
    for (const LineChange& l : c.firstTableLines) {
      h += "<tr><td>" + std::to_string(l.line) + "</td><td>" + HtmlValue(l.before) + "</td><td>" +
           HtmlValue(l.after) + "</td></tr>\n";
    }
    h += "</table>\n";
  }
  if (c.buttonBefore != c.buttonAfter) {
    h += "<h2>Larkbook Button</h2>\n<table><tr><th>Before</th><th>After</th></tr><tr><td>" +
         HtmlValue(c.buttonBefore) + "</td><td>" + HtmlValue(c.buttonAfter) +
         "</td></tr></table>\n";
  }
  if (!c.notAsWritten.empty()) {
    h += "<h2>Entries that no longer hold what OKAPI wrote</h2>\n<ul>\n";
    for (const auto& m : c.notAsWritten) h += "<li>" + Escaped(store::DescribeEntry(m)) + "</li>\n";
    h += "</ul>\n";
  }
  h += "<h2>The package</h2>\n<p>" + Escaped(package::Root()) + "</p>\n<ul>\n";
  for (const std::string& f : c.packageFiles) h += "<li>" + Escaped(f) + "</li>\n";
  h += "</ul>\n</body></html>\n";
  return h;
}

std::string HtmlPath() { return layout::InCustomization("changes.html"); }
std::string TextPath() { return layout::InCustomization("changes.txt"); }

platform::Status Write(const Changes& changes) {
  auto& files = *platform::Os().files;
  if (auto status = files.WriteFileAtomic(HtmlPath(), AsHtml(changes)); !status) return status;
  return files.WriteFileAtomic(TextPath(), AsText(changes));
}

}  // namespace report
