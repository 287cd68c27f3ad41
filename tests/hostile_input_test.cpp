// Hostile installations walked through the whole wizard, Next to Finish:
// each row says what the user is told, and no file loses what it had beyond
// the entries the pages write.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/headless/headless.h"
#include "package/machine_table.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile_text.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::HeadlessBackend;

const std::string kDir = demo::kFixedInstallDir;
const std::string kConfig = kDir + "lumen-config.ini";
const std::string kText = kDir + "lumen-text.ini";
const std::string kTable = kDir + "machine-specifics.csv";
const std::string kMap = kDir + "okapi.ini";

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

// Brackets, '=' and line ends among the noise, so sections and keys appear.
std::string Garbage(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  const char kInk[] = "[]=\r\n;\"_,";
  for (char& c : bytes) {
    const unsigned r = random();
    c = r % 4 == 0 ? kInk[r / 4 % (sizeof kInk - 1)] : static_cast<char>(r >> 8);
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

std::string CannotSave(const std::string& file, const char* why) {
  return "OKAPI: OKAPI could not save " + kDir + file + ".\n\ncannot write " + kDir + file + ": " +
         why;
}

struct Row {
  const char* name;
  std::function<void()> arrange;
  // Messages expected, each compared on its length; the package's last word
  // is not listed. An error keeps the wizard on the packaging page.
  std::vector<std::string> told;
  unsigned lastPage = IDD_PACKAGING;  // where Next stopped, or Finish was pressed
  // What the user does on a page before Next (or Finish).
  std::function<void(unsigned page, DialogDriver, HeadlessBackend&)> onPage = {};
  // Run once when a page keeps the user: the cause removed, Next again.
  std::function<void()> fix = {};
  std::function<void()> after = {};
};

TEST(HostileInputTest, EachRowIsToldAndNoFileLosesWhatItHad) {
  const std::string config = demo::DemoConfigFile(), text = demo::DemoTextFile();
  const std::string noTitle =
      "Information: The title was left unchanged: lumen-text.ini has no entry marked __TITLE__";
  const std::string noMenuTitle = "Information: You need to enter a Menu Title";
  const std::string mapReadOnly = CannotSave("okapi.ini", "the file is read-only");
  const std::string textReadOnly = CannotSave("lumen-text.ini", "the file is read-only");
  const std::string configIsFolder = CannotSave("lumen-config.ini", "it is a folder");
  const Row rows[] = {
      // clang-format off
      {"text file of binary garbage", [&] { Put(kText, Garbage(20000, 2)); },
       {noTitle, noMenuTitle}, IDD_APPMENU, {}, {},
       // Set, it would stop the first values being kept once the file is mended.
       [&] { EXPECT_FALSE(store::ProfileText(Files().ReadFile(kText).value_or(""))
                              .RawValue("Other", "SysDetails_saved")); }},
      {"text file in UTF-16 with a byte-order mark", [&] {
         std::string utf16 = "\xFF\xFE";
         for (char c : text) utf16 += {c, '\0'};
         Put(kText, utf16);
       }, {}},
      // Each Browse notes its image in the list, then Next writes the menus'
      // defaults: every refusal is told, and the last word does not say
      // that they were written.
      {"a directory where the config file should be", [&] {
         ASSERT_TRUE(Files().Remove(kConfig));
         ASSERT_TRUE(Files().MakeDirectory(kConfig));
       }, {configIsFolder, configIsFolder, configIsFolder, configIsFolder, configIsFolder,
           configIsFolder,
           "Information: The help application's configuration file has no entry marked "
           "__MENU1_BACKGROUND__, __MENU2_BACKGROUND__, __MENU3_BACKGROUND__, so that menu's "
           "background was not set there. The other entries could not"},
       IDD_BACKGROUNDS, [](unsigned page, DialogDriver dialog, HeadlessBackend& h) {
         if (page != IDD_BACKGROUNDS) return;
         for (int id : {IDC_BACKGROUNDS_MENU1_BROWSE, IDC_BACKGROUNDS_MENU2_BROWSE,
                        IDC_BACKGROUNDS_MENU3_BROWSE}) {
           h.AnswerFileDialog(kDir + "images\\small\\sky.jpg");
           dialog.Click(id);
         }
       }},
      {"a read-only map file from a computer whose title and menus 1 and 2 sit elsewhere", [&] {
         Put(kMap,
             "[TEXT]\r\n__TITLE__=TEXT4\r\n__MENU1_TITLE__=TEXT3\r\n__MENU2_TITLE__=TEXT2\r\n"
             "__MENU1_ALT_KEY__=TEXT9\r\n__MENU2_ALT_KEY__=TEXT8\r\n[Install]\r\nMenu4=True\r\n");
         ASSERT_TRUE(Files().SetReadOnly(kMap));
       }, {mapReadOnly, mapReadOnly, mapReadOnly, mapReadOnly, mapReadOnly}, IDD_BACKGROUNDS,
       [](unsigned page, DialogDriver dialog, HeadlessBackend&) {
         if (page != IDD_APPMENU) return;
         EXPECT_EQ("Getting Started", dialog.Text(IDC_APPMENU_TITLE1));
         dialog.Type(IDC_APPMENU_TITLE1, "First Steps");
         dialog.Type(IDC_APPMENU_ALT_KEY1, "F");
       }, {}, [&] {
         EXPECT_EQ("__TITLE__,\"Lumen Larkbook Help and Information - Modified by Contoso\"",
                   EntryOf(kText, "TEXT1"));
         EXPECT_EQ("__MENU1_TITLE__,\"<u>F</u>irst Steps\"", EntryOf(kText, "TEXT2"));
       }},
      // Keeping the first title, then writing the title: Next stays to retry.
      {"the text file read-only until Next is pressed again",
       [&] { ASSERT_TRUE(Files().SetReadOnly(kText)); }, {textReadOnly, textReadOnly},
       IDD_PACKAGING, {}, [&] { ASSERT_TRUE(Files().SetAttributesNormal(kText)); }, [&] {
         // The next run builds the title on it.
         EXPECT_EQ(store::ProfileText(text).RawValue("Lumen Text", "TEXT1"),
                   EntryOf(kText, "Text1_org"));
       }},
      {"empty machine table", [&] { Put(kTable, ""); }, {}},
      {"the text file rewritten by another program before Finish", [] {},
       {"OKAPI: OKAPI wrote these "}, IDD_PACKAGING,
       [&](unsigned page, DialogDriver, HeadlessBackend&) {
         if (page == IDD_PACKAGING) Put(kText, Replaced(text, "__,", "__, "));
       }, {}, [&] {
         const auto report = Files().ReadFile(kDir + "customization\\changes.txt").value_or("");
         EXPECT_NE(std::string::npos, report.find("== Entries that no longer hold what OKAPI "
                                                  "wrote\r\n\r\n    __TITLE__ in "));
       }},
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
       }, {"Error: Could not find the small version of the file blank .jpg.",
           "Error: Could not find the large version of the file blank .jpg."}},
      // clang-format on
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // A machine of its own: the wizard's single-instance claim ends with it.
    okapi_test::TestMachine machine;
    ASSERT_TRUE(demo::ResetMachine());
    ASSERT_TRUE(demo::LayInstallation(demo::Installation{}));
    fw::headless::ScopedHeadless headless;
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
    row.arrange();
    std::map<std::string, std::optional<std::string>> before;
    for (const std::string& path : {kConfig, kText, kTable}) before[path] = Files().ReadFile(path);

    // Next to Finish (the company name typed where asked); the first page
    // that keeps the user ends the walk, unless the row removes the cause
    // once and Next is pressed again.
    unsigned lastPage = 0;
    bool finished = false, fixed = false, error = false;
    headless->OnSheet([&](fw::headless::SheetDriver& run) {
      for (int step = 0; step < 20 && run.IsOpen(); ++step) {
        lastPage = run.ActiveTemplateId();
        if (row.onPage) row.onPage(lastPage, run.Page(), *headless);
        if (lastPage == IDD_PACKAGING) {
          headless->DeliverPosted();
          EXPECT_TRUE(run.PressFinish());
          finished = !run.IsOpen();
          return;
        }
        if (lastPage == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
        if (!run.PressNext()) return;
        if (run.ActiveTemplateId() != lastPage) continue;
        if (!row.fix || fixed) return;
        fixed = true;
        row.fix();
        --step;
      }
    });
    COkapiApp app;
    EXPECT_FALSE(app.InitInstance());
    for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
    if (row.after) row.after();

    std::vector<std::string> told;  // "caption: text", each cut to the expected length
    for (const auto& m : headless->Messages()) {
      if (m.text.starts_with("The package is ready in ")) continue;
      const std::string shown = m.caption + ": " + m.text;
      error |= shown.starts_with("Error:");
      told.push_back(told.size() < row.told.size() ? shown.substr(0, row.told[told.size()].size())
                                                   : shown);
    }
    EXPECT_EQ(row.told, told);
    EXPECT_EQ(row.lastPage, lastPage);
    EXPECT_EQ(row.lastPage == IDD_PACKAGING && !error, finished);
    for (const auto& [path, bytes] : before) {
      SCOPED_TRACE(path);
      if (!bytes) continue;
      // The backup holds the first contents.
      EXPECT_EQ(bytes,
                Files().ReadFile(kDir + "customization\\backup\\" + path.substr(kDir.size())));
      if (path == kTable) {
        const auto now = Files().ReadFile(path);
        EXPECT_TRUE(now == bytes || now == package::FilterMachineTable(*bytes).text);
      } else {
        ExpectOnlyEntriesChanged(path, *bytes);
      }
    }
    for (const std::string& path : {kConfig, kText, kMap}) (void)Files().SetAttributesNormal(path);
  }
}

}  // namespace
