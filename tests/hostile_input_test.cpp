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

using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

const std::string kDir = demo::kFixedInstallDir;
const std::string kConfig = kDir + "lumen-config.ini";
const std::string kText = kDir + "lumen-text.ini";
const std::string kTable = kDir + "machine-specifics.csv";
const std::string kMap = kDir + "okapi.ini";
const std::string kBackup = kDir + "customization\\backup\\";

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

std::string Garbage(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  // Brackets, '=' and line ends among the noise, so sections and keys appear.
  const char kInk[] = "[]=\r\n;\"_,";
  for (char& c : bytes) {
    const unsigned r = random();
    c = r % 4 == 0 ? kInk[r / 4 % (sizeof kInk - 1)] : static_cast<char>(r >> 8);
  }
  return bytes;
}

std::string Utf16(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

// Entries a page may write: slots (their value carries a marker), the
// background list and its tab defaults, the version stamps and keys the tool
// adds.
bool MayChange(const std::string& section, const std::string& key,
               const std::optional<std::string>& before) {
  if (!before) return key != "Error" && !key.empty();
  return before->starts_with("__") || section == "Backgrounds" ||
         (section == "OEM Defaults" && key.starts_with("TAB")) ||
         (section == "Other" && key.starts_with("Version"));
}

// The marker a slot's value starts with: a page writes its own item's slot
// only, so the marker stays (the fourth menu's "x" aside).
std::string MarkerOf(const std::optional<std::string>& value) {
  if (!value || !value->starts_with("__")) return {};
  return Replaced(platform::ToUpperAscii(value->substr(0, value->find(','))), "MENUX", "MENU4");
}

// Every entry that differs is one a page may write, and replaying those
// edits on the old bytes gives the new: nothing else moved.
void ExpectOnlyEntriesChanged(const std::string& path, const std::string& before) {
  const std::string after = Files().ReadFile(path).value_or("<missing>");
  if (after == before) return;
  const store::ProfileText old(before), now(after);
  std::string replay = before;
  std::set<std::pair<std::string, std::string>> seen;
  for (const std::string& section : now.SectionNames()) {
    for (const std::string& key : now.KeyNames(section)) {
      if (!seen.insert({section, key}).second) continue;
      const auto was = old.RawValue(section, key);
      const auto is = now.RawValue(section, key);
      if (was == is) continue;
      EXPECT_TRUE(MayChange(section, key, was)) << path << " [" << section << "] " << key;
      if (was) {
        EXPECT_EQ(MarkerOf(was), MarkerOf(is)) << path << " [" << section << "] " << key;
      }
      replay = store::ProfileText(replay).Edited(section, key, is);
    }
  }
  for (const std::string& section : old.SectionNames()) {
    for (const std::string& key : old.KeyNames(section)) {
      if (now.RawValue(section, key)) continue;
      ADD_FAILURE() << path << " lost [" << section << "] " << key;
    }
  }
  EXPECT_EQ(replay, after) << path;
}

std::optional<std::string> EntryOf(const std::string& path, const std::string& section,
                                   const std::string& key) {
  return store::ProfileText(Files().ReadFile(path).value_or("")).RawValue(section, key);
}

struct Outcome {
  std::vector<std::string> told;  // "caption: start of text"
  unsigned lastPage = 0;          // where Next stopped; IDD_PACKAGING: Finish pressed
  bool finished = false;
};

struct Row {
  const char* name;
  std::function<void()> arrange;
  // Messages expected, each compared on its length; the package's last word
  // is not listed.
  std::vector<std::string> told;
  unsigned lastPage = IDD_PACKAGING;
  bool finished = true;
  // What the user does on a page before Next (or Finish).
  std::function<void(unsigned page, fw::headless::DialogDriver, fw::headless::HeadlessBackend&)>
      onPage = {};
  // Run once when a page keeps the user: the cause removed, Next again.
  std::function<void()> fix = {};
  std::function<void()> after = {};
};

// Walks Next to Finish (the company name typed where asked); the first
// page that keeps the user ends the walk, unless the row removes the cause
// once and Next is pressed again.
Outcome Walk(fw::headless::HeadlessBackend& headless, const Row& row) {
  Outcome out;
  bool fixed = false;
  headless.OnSheet([&](SheetDriver& run) {
    for (int step = 0; step < 20 && run.IsOpen(); ++step) {
      out.lastPage = run.ActiveTemplateId();
      if (row.onPage) row.onPage(out.lastPage, run.Page(), headless);
      if (out.lastPage == IDD_PACKAGING) {
        headless.DeliverPosted();
        EXPECT_TRUE(run.PressFinish());
        out.finished = !run.IsOpen();
        return;
      }
      if (out.lastPage == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
      if (!run.PressNext()) return;
      if (run.ActiveTemplateId() != out.lastPage) continue;
      if (!row.fix || fixed) return;
      fixed = true;
      row.fix();
      --step;
    }
  });
  COkapiApp app;
  EXPECT_FALSE(app.InitInstance());
  for (const auto& m : headless.Messages()) out.told.push_back(m.caption + ": " + m.text);
  for (const auto& fault : headless.Faults()) ADD_FAILURE() << fault;
  return out;
}

const std::string kNoTitle =
    "Information: The title was left unchanged: lumen-text.ini has no entry marked __TITLE__";
const std::string kNoMenuTitle = "Information: You need to enter a Menu Title";
const std::string kNoMenuImage = "Information: You need to enter a JPEG File name for the menu";
const std::string kMapIsFolder =
    "OKAPI: OKAPI could not save c:\\zantools\\zanhelp\\okapi.ini.\n\ncannot write "
    "c:\\zantools\\zanhelp\\okapi.ini: it is a folder";
const std::string kMapReadOnly =
    "OKAPI: OKAPI could not save c:\\zantools\\zanhelp\\okapi.ini.\n\ncannot write "
    "c:\\zantools\\zanhelp\\okapi.ini: the file is read-only";
const std::string kConfigIsFolder =
    "OKAPI: OKAPI could not save c:\\zantools\\zanhelp\\lumen-config.ini.\n\ncannot write "
    "c:\\zantools\\zanhelp\\lumen-config.ini: it is a folder";
// Told after the refused writes: it must not say that they were written.
const std::string kMenuBackgroundsUnmarked =
    "Information: The help application's configuration file has no entry marked "
    "__MENU1_BACKGROUND__, __MENU2_BACKGROUND__, __MENU3_BACKGROUND__, so that menu's background "
    "was not set there. The other entries could not";
const std::string kTextReadOnly =
    "OKAPI: OKAPI could not save c:\\zantools\\zanhelp\\lumen-text.ini.\n\ncannot write "
    "c:\\zantools\\zanhelp\\lumen-text.ini: the file is read-only";

TEST(HostileInputTest, EachRowIsToldAndNoFileLosesWhatItHad) {
  const std::string config = demo::DemoConfigFile(), text = demo::DemoTextFile();
  const std::string big((1 << 20) + 1, 'x');
  const Row rows[] = {
      {"config file of binary garbage",
       [&] { Put(kConfig, Garbage(20000, 1)); },
       {kNoMenuImage},
       IDD_BACKGROUNDS,
       false},
      {"text file of binary garbage",
       [&] { Put(kText, Garbage(20000, 2)); },
       {kNoTitle, kNoMenuTitle},
       IDD_APPMENU,
       false,
       {},
       {},
       // Set, it would stop the first values being kept once the file is mended.
       [&] { EXPECT_FALSE(EntryOf(kText, "Other", "SysDetails_saved")); }},
      {"text file in UTF-16 with a byte-order mark", [&] { Put(kText, Utf16(text)); }, {}},
      {"config file in UTF-16 with a byte-order mark", [&] { Put(kConfig, Utf16(config)); }, {}},
      {"lines of megabytes",
       [&] {
         Put(kConfig, "OPTION0=" + big + "\r\n" + config + "OPTION99=__SOUND_FILE__," + big +
                          "\r\n" + big + "\r\n");
         Put(kText, Replaced(text, "TEXT6=", "TEXT6=" + big));
       },
       {}},
      {"text section missing",
       [&] { Put(kText, Replaced(text, "[Lumen Text]", "[Lumen Texts]")); },
       {kNoTitle, kNoMenuTitle},
       IDD_APPMENU,
       false},
      {"markers missing",
       [&] {
         Put(kConfig, Replaced(config, "__,", ","));
         Put(kText, Replaced(text, "__,", ","));
       },
       {kNoTitle, kNoMenuTitle},
       IDD_APPMENU,
       false},
      {"keys and sections duplicated",
       [&] {
         Put(kText, Replaced(text, "TEXT2=", "TEXT1=__TITLE__,\"Second title\"\r\nTEXT2=") +
                        "[Lumen Text]\r\nTEXT3=__MENU2_TITLE__,\"Late\"\r\n");
         Put(kConfig, config + "[Backgrounds]\r\nBACK1=late.jpg\r\n");
       },
       {}},
      {"files read-only",
       [&] {
         ASSERT_TRUE(Files().SetReadOnly(kConfig));
         ASSERT_TRUE(Files().SetReadOnly(kText));
       },
       // Keeping the first title, then writing the title: Next stays to retry.
       {kTextReadOnly, kTextReadOnly},
       IDD_MODIFIED,
       false},
      {"a directory where the config file should be",
       [&] {
         ASSERT_TRUE(Files().Remove(kConfig));
         ASSERT_TRUE(Files().MakeDirectory(kConfig));
       },
       // Each Browse notes its image in the list, then Next writes the menus'
       // defaults: every refusal is told.
       {kConfigIsFolder, kConfigIsFolder, kConfigIsFolder, kConfigIsFolder, kConfigIsFolder,
        kConfigIsFolder, kMenuBackgroundsUnmarked},
       IDD_BACKGROUNDS,
       false,
       [](unsigned page, fw::headless::DialogDriver dialog, fw::headless::HeadlessBackend& h) {
         if (page != IDD_BACKGROUNDS) return;
         for (int id : {IDC_BACKGROUNDS_MENU1_BROWSE, IDC_BACKGROUNDS_MENU2_BROWSE,
                        IDC_BACKGROUNDS_MENU3_BROWSE}) {
           h.AnswerFileDialog(kDir + "images\\small\\sky.jpg");
           dialog.Click(id);
         }
       }},
      {"a directory where the map file should be",
       [&] { ASSERT_TRUE(Files().MakeDirectory(kMap)); },
       {kMapIsFolder, kMapIsFolder, kMapIsFolder, kMapIsFolder, kMapIsFolder, kMapIsFolder},
       IDD_BACKGROUNDS,
       false},
      {"a read-only map file from a computer whose title and menus 1 and 2 sit elsewhere",
       [&] {
         Put(kMap,
             "[TEXT]\r\n__TITLE__=TEXT4\r\n__MENU1_TITLE__=TEXT3\r\n__MENU2_TITLE__=TEXT2\r\n"
             "__MENU1_ALT_KEY__=TEXT9\r\n__MENU2_ALT_KEY__=TEXT8\r\n[Install]\r\nMenu4=True\r\n");
         ASSERT_TRUE(Files().SetReadOnly(kMap));
       },
       {kMapReadOnly, kMapReadOnly, kMapReadOnly, kMapReadOnly, kMapReadOnly},
       IDD_BACKGROUNDS,
       false,
       [](unsigned page, fw::headless::DialogDriver dialog, fw::headless::HeadlessBackend&) {
         if (page != IDD_APPMENU) return;
         EXPECT_EQ("Getting Started", dialog.Text(IDC_APPMENU_TITLE1));
         dialog.Type(IDC_APPMENU_TITLE1, "First Steps");
         dialog.Type(IDC_APPMENU_ALT_KEY1, "F");
       },
       {},
       [&] {
         EXPECT_EQ("__TITLE__,\"Lumen Larkbook Help and Information - Modified by Contoso\"",
                   EntryOf(kText, "Lumen Text", "TEXT1"));
         EXPECT_EQ("__MENU1_TITLE__,\"<u>F</u>irst Steps\"", EntryOf(kText, "Lumen Text", "TEXT2"));
         EXPECT_EQ("__MENU2_TITLE__,\"<u>H</u>elp and Support\"",
                   EntryOf(kText, "Lumen Text", "TEXT3"));
       }},
      {"the text file read-only until Next is pressed again",
       [&] { ASSERT_TRUE(Files().SetReadOnly(kText)); },
       {kTextReadOnly, kTextReadOnly},
       IDD_PACKAGING,
       true,
       {},
       [&] { ASSERT_TRUE(Files().SetAttributesNormal(kText)); },
       [&] {
         // The next run builds the title on it.
         EXPECT_EQ(store::ProfileText(text).RawValue("Lumen Text", "TEXT1"),
                   EntryOf(kText, "Lumen Text", "Text1_org"));
       }},
      {"empty machine table", [&] { Put(kTable, ""); }, {}},
      {"the text file rewritten by another program before Finish",
       [] {},
       {"OKAPI: OKAPI wrote these "},
       IDD_PACKAGING,
       true,
       [&](unsigned page, fw::headless::DialogDriver, fw::headless::HeadlessBackend&) {
         if (page == IDD_PACKAGING) Put(kText, Replaced(text, "__,", "__, "));
       },
       {},
       [&] {
         const auto report = Files().ReadFile(kDir + "customization\\changes.txt").value_or("");
         EXPECT_NE(std::string::npos, report.find("== Entries that no longer hold what OKAPI "
                                                  "wrote\r\n\r\n    __TITLE__ in "));
       }},
      {"image names with odd characters",
       [&] {
         const char* odd[] = {
             "sky & sea.jpg", "wave,2.jpg", "a=b.jpg", "semi;colon.jpg", "\xC3\xBCml\xC3\xA4ut.jpg",
             " blank .jpg"};
         // The opening image stays listed.
         std::string list = "[Backgrounds]\r\nBACK1=ocean.jpg\r\n";
         int n = 1;
         for (const char* name : odd) {
           list += "BACK" + std::to_string(++n) + "=" + name + "\r\n";
           for (const char* size : {"small", "large"})
             Put(kDir + "images\\" + size + "\\" + name, "jpeg");
         }
         Put(kConfig, Replaced(config, "[Backgrounds]", list + "[Old Backgrounds]"));
       },
       // The help application reads " blank .jpg" as "blank .jpg" too.
       {"Error: Could not find the small version of the file blank .jpg.",
        "Error: Could not find the large version of the file blank .jpg."},
       IDD_PACKAGING,
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // A machine of its own: the wizard's single-instance claim ends with it.
    okapi_test::TestMachine machine;
    ASSERT_TRUE(demo::ResetMachine());
    ASSERT_TRUE(demo::LayInstallation(demo::Installation{}));
    ScopedHeadless headless;
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
    row.arrange();
    std::map<std::string, std::optional<std::string>> before;
    for (const std::string& path : {kConfig, kText, kTable}) before[path] = Files().ReadFile(path);

    const Outcome out = Walk(*headless, row);
    if (row.after) row.after();

    std::vector<std::string> told;
    for (std::size_t i = 0; i < out.told.size(); ++i) {
      if (out.told[i].starts_with("OKAPI: The package is ready in ")) continue;
      const std::size_t n = told.size();
      told.push_back(n < row.told.size() ? out.told[i].substr(0, row.told[n].size()) : out.told[i]);
    }
    EXPECT_EQ(row.told, told);
    EXPECT_EQ(row.lastPage, out.lastPage);
    EXPECT_EQ(row.finished, out.finished);
    for (const auto& [path, bytes] : before) {
      SCOPED_TRACE(path);
      if (!bytes) continue;
      // The backup holds the first contents.
      const std::string name = path.substr(kDir.size());
      EXPECT_EQ(bytes, Files().ReadFile(kBackup + name));
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
