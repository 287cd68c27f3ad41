// Hostile installations given every page's answers and packaged: the
// installation's own export with a company name applied as the wizard's
// pages would write it, then Finish. Each row says what the user is told,
// and no file loses what it had beyond the entries the pages write.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "app/answers_run.h"
#include "demo/installation.h"
#include "package/machine_table.h"
#include "pages/packaging_model.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/profile_text.h"
#include "tests/support/answering_backend.h"
#include "tests/support/fixture_drive.h"

namespace {

using answers::Exit;
using Verb = answers::Command::Verb;

const std::string kDir = demo::kFixedInstallDir;
const std::string kConfig = kDir + "lumen-config.ini";
const std::string kText = kDir + "lumen-text.ini";
const std::string kTable = kDir + "machine-specifics.csv";
const std::string kMap = kDir + "okapi.ini";
const std::string kAnswers = "c:\\answers.ini";

platform::FileSystem& Files() { return *platform::Os().files; }

void Put(const std::string& path, const std::string& bytes) {
  (void)Files().SetAttributesNormal(path);
  ASSERT_TRUE(Files().WriteFileAtomic(path, bytes)) << path;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// ASCII text as a UTF-16 LE file, byte-order mark first.
std::string Utf16(const std::string& ascii) {
  std::string out("\xFF\xFE", 2);
  for (char c : ascii) out += {c, '\0'};
  return out;
}

// Brackets, '=' and line ends among the noise, so sections and keys appear.
std::string Garbage(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    const unsigned r = random();
    c = r % 4 == 0 ? "[]=\r\n;\"_,"[r / 4 % 9] : static_cast<char>(r >> 8);
  }
  return bytes;
}

// Every entry that differs is one a page may write: a slot keeping its
// marker (the fourth menu's "x" aside), the background list and its tab
// defaults, the version stamps, keys the tool adds. Replaying those edits on
// the old bytes gives the new: nothing else moved and nothing was lost.
void ExpectOnlyEntriesChanged(const std::string& path, const std::string& before) {
  const std::string after = Files().ReadFile(path).value_or("<missing>");
  const store::ProfileText old(before), now(after);
  const auto marker = [](const std::optional<std::string>& value) {
    if (!value || !value->starts_with("__")) return std::string();
    return Replaced(platform::ToUpperAscii(value->substr(0, value->find(','))), "MENUX", "MENU4");
  };
  std::string replay = before;
  std::set<std::pair<std::string, std::string>> seen;
  for (const std::string& section : now.SectionNames()) {
    for (const std::string& key : now.KeyNames(section)) {
      const auto was = old.RawValue(section, key), is = now.RawValue(section, key);
      if (!seen.insert({section, key}).second || was == is) continue;
      const bool may = !was ? key != "Error" && !key.empty()
                            : was->starts_with("__") || section == "Backgrounds" ||
                                  (section == "OEM Defaults" && key.starts_with("TAB")) ||
                                  (section == "Other" && key.starts_with("Version"));
      EXPECT_TRUE(may && (!was || marker(was) == marker(is)))
          << path << " [" << section << "] " << key;
      replay = store::ProfileText(replay).Edited(section, key, is);
    }
  }
  for (const std::string& section : old.SectionNames())
    for (const std::string& key : old.KeyNames(section))
      if (!now.RawValue(section, key)) ADD_FAILURE() << path << " lost [" << section << "] " << key;
  EXPECT_EQ(replay, after) << path;
}

std::optional<std::string> EntryOf(const std::string& path, const std::string& key) {
  return store::ProfileText(Files().ReadFile(path).value_or("")).RawValue("Lumen Text", key);
}

struct Row {
  const char* name;
  std::function<void()> arrange;
  // The run's log but what every run logs, each line compared on the
  // expected one's length.
  std::vector<std::string> told;
  Exit exit = Exit::Done;
  // Set on the installation's own answers, beside the company name; no key
  // takes the section out.
  std::vector<std::tuple<const char*, const char*, const char*>> answers = {};
  // Run once when the apply did not finish: the cause removed, the answers
  // applied again.
  std::function<void()> fix = {};
  std::function<void()> after = {};
  bool package = true;
};

TEST(HostileInputTest, EachRowIsToldAndNoFileLosesWhatItHad) {
  const std::string config = demo::DemoConfigFile(), text = demo::DemoTextFile();
  const auto notSaved = [](const std::string& file, const char* why, std::size_t times) {
    return std::vector<std::string>(times,
                                    "not saved: " + file + ": cannot write " + file + ": " + why);
  };
  const Row rows[] = {
      // clang-format off
      {"text file of binary garbage", [&] { Put(kText, Garbage(20000, 2)); },
       {"refused [Menu] : You need to enter a Menu Title", "nothing was written"}, Exit::Refused,
       {}, {},
       // Set, it would stop the first values being kept once the file is mended.
       [&] { EXPECT_FALSE(store::ProfileText(Files().ReadFile(kText).value_or(""))
                              .RawValue("Other", "SysDetails_saved")); }},
      {"text file in UTF-16 with a byte-order mark", [&] { Put(kText, Utf16(text)); },
       {}},
      {"a directory where the config file should be", [&] {
         ASSERT_TRUE(Files().Remove(kConfig));
         ASSERT_TRUE(Files().MakeDirectory(kConfig));
       // Without the config file the list has no images: not an answer.
       }, notSaved(kConfig, "it is a folder", 1), Exit::WriteFailed,
       {{"Backgrounds", nullptr, nullptr}, {"Colors", "Menu", "#123456"}}},
      {"a read-only map file from a computer whose title and menus 1 and 2 sit elsewhere", [&] {
         Put(kMap,
             "[TEXT]\r\n__TITLE__=TEXT4\r\n__MENU1_TITLE__=TEXT3\r\n__MENU2_TITLE__=TEXT2\r\n"
             "__MENU1_ALT_KEY__=TEXT9\r\n__MENU2_ALT_KEY__=TEXT8\r\n[Install]\r\nMenu4=True\r\n");
         ASSERT_TRUE(Files().SetReadOnly(kMap));
       }, notSaved(kMap, "the file is read-only", 5), Exit::WriteFailed,
       {{"Menu", "Title1", "First Steps"}, {"Menu", "Key1", "F"}},
       {}, [&] {
         // Read where the markers are, not where the stale map says.
         EXPECT_EQ(Exit::Done,
                   answers::RunAlone({Verb::Verify, kAnswers, true}));
         EXPECT_EQ("__TITLE__,\"Lumen Larkbook Help and Information - Modified by Contoso\"",
                   EntryOf(kText, "TEXT1"));
         EXPECT_EQ("__MENU1_TITLE__,\"<u>F</u>irst Steps\"", EntryOf(kText, "TEXT2"));
       }},
      // Keeping the first title, then writing the title: applied again.
      {"the text file read-only until the answers are applied again",
       [&] { ASSERT_TRUE(Files().SetReadOnly(kText)); },
       notSaved(kText, "the file is read-only", 6), Exit::Done, {},
       [&] { ASSERT_TRUE(Files().SetAttributesNormal(kText)); }, [&] {
         // The next run builds the title on it.
         EXPECT_EQ(store::ProfileText(text).RawValue("Lumen Text", "TEXT1"),
                   EntryOf(kText, "Text1_org"));
       }},
      {"empty machine table", [&] { Put(kTable, ""); }, {}},
      // Finish as the packaging page runs it: one box for what no longer
      // holds, the report's section, the last word.
      {"the text file rewritten by another program before Finish", [] {}, {}, Exit::Done, {}, {},
       [&] {
         Put(kText, Replaced(Files().ReadFile(kText).value_or(""), "__,", "__, "));
         std::vector<std::string> boxes;
         EXPECT_TRUE(packaging::Finish([&](const std::string& text, const std::string&, unsigned) {
           boxes.push_back(text);
           return IDNO;
         }));
         ASSERT_EQ(2u, boxes.size());
         EXPECT_TRUE(boxes[0].starts_with("OKAPI wrote these ")) << boxes[0];
         EXPECT_TRUE(boxes[1].starts_with("The package is ready in ")) << boxes[1];
         const auto report = Files().ReadFile(kDir + "customization\\changes.txt").value_or("");
         EXPECT_NE(std::string::npos, report.find("== Entries that no longer hold what OKAPI "
                                                  "wrote\r\n\r\n    __TITLE__ in "));
       }, false},
      // The help application reads " blank .jpg" as "blank .jpg" too; the
      // opening image stays listed.
      {"image names with odd characters", [&] {
         std::string list = "[Backgrounds]\r\nBACK1=ocean.jpg\r\n";
         int n = 1;
         for (const char* name : {"sky & sea.jpg", "a=b.jpg", "semi;colon.jpg", " blank .jpg"}) {
           list += "BACK" + std::to_string(++n) + "=" + name + "\r\n";
           for (const char* size : {"small", "large"})
             Put(kDir + "images\\" + size + "\\" + name, "jpeg");
         }
         Put(kConfig, Replaced(config, "[Backgrounds]", list + "[Old Backgrounds]"));
       }, {"Finish: Could not find the small version of the file blank .jpg.",
           "Finish: Could not find the large version of the file blank .jpg.",
           "package not whole"}, Exit::WriteFailed},
      // clang-format on
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // A machine of its own: the run's single-instance claim ends with it.
    okapi_test::TestMachine machine;
    ASSERT_TRUE(demo::ResetMachine());
    ASSERT_TRUE(demo::LayInstallation(demo::Installation{}));
    row.arrange();
    std::map<std::string, std::optional<std::string>> before;
    for (const std::string& path : {kConfig, kText, kTable}) before[path] = Files().ReadFile(path);

    ASSERT_EQ(Exit::Done, answers::RunAlone({Verb::Export, kAnswers, true}));
    auto parsed = answers::Parse(Files().ReadFile(kAnswers).value_or(""), answers::PagesSchema());
    ASSERT_TRUE(std::holds_alternative<answers::Answers>(parsed));
    auto& wanted = std::get<answers::Answers>(parsed);
    wanted.Set("Company", "Name", "Contoso");
    for (const auto& [section, key, value] : row.answers)
      key ? wanted.Set(section, key, value) : wanted.Erase(section);
    ASSERT_TRUE(Files().WriteFileAtomic(kAnswers, answers::Format(wanted, {})));
    std::string log;  // as the one box of each run that is not quiet shows it
    const auto apply = [&] {
      auto& boxes = okapi_test::Answering().told;
      boxes.clear();
      const Exit exit = answers::RunAlone({Verb::Apply, kAnswers, false, row.package});
      EXPECT_EQ(1u, boxes.size());
      log += boxes.empty() ? "" : boxes.back().text;
      return exit;
    };
    Exit exit = apply();
    if (row.fix) {
      EXPECT_EQ(Exit::WriteFailed, exit) << log;
      row.fix();
      exit = apply();
    }
    if (row.after) row.after();

    // A line starting with a blank goes on the message before it.
    const char* const kRoutine[] = {"/apply ", "exit code ", "package assembled in ",
                                    "[Company] Name written", "[Colors] "};
    std::vector<std::string> told;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
      const auto routine = [&](const char* start) { return line.starts_with(start); };
      if (line.starts_with(' ') && !told.empty())
        told.back() += "\n" + line;
      else if (std::ranges::none_of(kRoutine, routine))
        told.push_back(line);
    }
    for (std::size_t i = 0; i < told.size() && i < row.told.size(); ++i)
      told[i] = told[i].substr(0, row.told[i].size());
    EXPECT_EQ(row.exit, exit) << log;
    EXPECT_EQ(row.told, told) << log;
    for (const auto& [path, bytes] : before) {
      SCOPED_TRACE(path);
      if (!bytes) continue;
      // The backup holds the first contents.
      EXPECT_EQ(bytes,
                Files().ReadFile(kDir + "customization\\backup\\" + path.substr(kDir.size())));
      const auto now = Files().ReadFile(path);
      if (path != kTable) ExpectOnlyEntriesChanged(path, *bytes);
      EXPECT_TRUE(path != kTable || now == bytes ||
                  now == package::FilterMachineTable(*bytes).text);
    }
  }
}

}  // namespace
