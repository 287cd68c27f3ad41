// The start-up backup and the seeding of the map file, on laid installations.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "demo/installation.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "store/seed.h"
#include "tests/support/counting_files.h"
#include "tests/support/fixture_drive.h"

namespace {

class StartupStoreTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
    DiscoverInstallation();
  }
  static std::string Map(const char* section, const std::string& key) {
    return store::ReadString(section, key, "Error", 64, g_strMapFile);
  }
  static void Write(const std::string& path, const std::string& bytes) {
    auto status = platform::Os().files->WriteFileAtomic(path, bytes);
    ASSERT_TRUE(status) << status.reason;
  }
  static std::string Read(const std::string& path) {
    return platform::Os().files->ReadFile(path).value_or("<missing>");
  }
  demo::Installation installation;
};

// Each row is the whole config ("C") or text ("T") file; the other is empty.
TEST_F(StartupStoreTest, SeedingSearchesCapitalisedValuesInMarkerOrder) {
  const std::string text = "[Lumen Text]\r\n", options = "[Global Options]\r\n";
  const std::string title = "__TITLE__,\"T\"\r\n", intro = "__WELCOME_INTRO__\r\n";
  const std::string both = options + "OPTION4=__DEFAULT_MENU__ __MENU4_BACKGROUND__,x.jpg\r\n";
  const struct {
    const char* name;
    char file;
    std::string lines;
    const char *section, *key, *expected;
  } rows[] = {
      // clang-format off
    {"mixed-case marker", 'C', options + "OPTION7=__Play_Sound__,true\r\n",
     "OPTIONS", "__PLAY_SOUND__", "OPTION7"},
    {"first marker in list order wins", 'C', both, "OPTIONS", "__MENU4_BACKGROUND__", "OPTION4"},
    {"... and the other is not recorded", 'C', both, "OPTIONS", "__DEFAULT_MENU__", "Error"},
    {"disabled fourth menu", 'T', text + "TEXT12=__MENUx_TITLE__,\"Extras\"\r\n",
     "TEXT", "__MENU4_TITLE__", "TEXT12"},
    {"menu 3 Alt key: lowest slot", 'T',
     text + "TEXT3=__MENU3_ALT_KEY__,a\r\nTEXT9=__MENU3_ALT_KEY__,b\r\n",
     "TEXT", "__MENU3_ALT_KEY__", "TEXT3"},
    {"other markers: highest slot", 'T',
     text + "TEXT4=__MENU1_ALT_KEY__,a\r\nTEXT8=__MENU1_ALT_KEY__,b\r\n",
     "TEXT", "__MENU1_ALT_KEY__", "TEXT8"},
    {"slot 100 is looked at", 'T', text + "TEXT100=" + title, "TEXT", "__TITLE__", "TEXT100"},
    {"slot 101 is not", 'T', text + "TEXT101=" + title, "TEXT", "__TITLE__", "Error"},
    {"no leading zeros", 'T', text + "TEXT07=" + title, "TEXT", "__TITLE__", "Error"},
    {"style selector with a blank", 'C', "[Small Styles]\r\nSTYLE4=td.sysInfo {color:red}\r\n",
     "Small Styles", "SysInfo", "STYLE4"},
    {"style selector with a brace", 'C', "[Small Styles]\r\nSTYLE4=td.sysInfo{color:red}\r\n",
     "Small Styles", "SysInfo", "Error"},
    // 254 characters of a slot reach the seeding: the marker ends at the 254th, then the 255th.
    {"marker that ends at the cut", 'T', text + "TEXT6=" + std::string(237, 'x') + intro,
     "TEXT", "__WELCOME_INTRO__", "TEXT6"},
    {"marker one past the cut", 'T', text + "TEXT6=" + std::string(238, 'x') + intro,
     "TEXT", "__WELCOME_INTRO__", "Error"},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Write(g_strConfigFile, row.file == 'C' ? row.lines : "");
    Write(g_strTextFile, row.file == 'T' ? row.lines : "");
    Write(g_strMapFile, "");
    SeedMapFile();
    EXPECT_EQ(row.expected, Map(row.section, row.key));
  }
}

// Each item the seeding looks for, alone in its file in small letters, is
// found where the help application numbers that file section's slots.
TEST_F(StartupStoreTest, EverySeededItemResolvesToTheSlotHoldingIt) {
  const struct {
    const char* section;
    const char* slot;
  } slots[] = {{"Global Options", "OPTION42"},
               {"Small Styles", "STYLE42"},
               {"Large Styles", "STYLE42"},
               {"Lumen Text", "TEXT42"}};
  for (const store::ItemRow& row : store::kItemRows) {
    if (row.seed == store::Seed::No) continue;
    const store::Item& item = row.item;
    const std::string looked = std::string(row.seed == store::Seed::Alias ? row.seekAs : item.key);
    SCOPED_TRACE(looked);
    const auto at = std::find_if(std::begin(slots), std::end(slots),
                                 [&](const auto& s) { return item.section == s.section; });
    ASSERT_NE(std::end(slots), at);
    const std::string lines = "[" + std::string(item.section) + "]\r\n" + at->slot + "=a " +
                              platform::ToLowerAscii(looked) + ",v\r\n";
    const bool text = item.file == store::File::Text;
    Write(g_strConfigFile, text ? "" : lines);
    Write(g_strTextFile, text ? lines : "");
    Write(g_strMapFile, "");
    SeedMapFile();
    EXPECT_EQ(at->slot, store::SlotOf(item));
    EXPECT_EQ(at->slot, Map(std::string(item.mapSection).c_str(), std::string(item.key)));
  }
}

TEST_F(StartupStoreTest, SeedingKeepsVanishedMarkersAndThePagesOwnSections) {
  Write(g_strTextFile, "[Lumen Text]\r\nTEXT1=__TITLE__,\"T\"\r\n");
  Write(g_strMapFile,
        "[Install]\r\nMenu4=True\r\n[TEXT]\r\n__WELCOME_INTRO__=TEXT99\r\n__TITLE__=TEXT50\r\n");
  SeedMapFile();
  EXPECT_EQ("True", Map("Install", "Menu4"));
  EXPECT_EQ("TEXT99", Map("TEXT", "__WELCOME_INTRO__"));  // not in the text file any more
  EXPECT_EQ(demo::slots::kTitle, Map("TEXT", "__TITLE__"));
}

TEST_F(StartupStoreTest, UnwritableMapFileIsReportedOnce) {
  Write(g_strMapFile, "[Install]\r\nMenu4=True\r\n");
  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strMapFile));
  std::vector<std::string> reported;
  store::SetWriteFailureReporter(
      [&](const std::string& file, const std::string&) { reported.push_back(file); });
  SeedMapFile();
  store::SetWriteFailureReporter(nullptr);
  EXPECT_EQ(std::vector<std::string>{g_strMapFile}, reported);
  EXPECT_EQ("[Install]\r\nMenu4=True\r\n", Read(g_strMapFile));
  ASSERT_TRUE(platform::Os().files->SetAttributesNormal(g_strMapFile));
}

// The installation's script imports; the backup keeps the path as /restore
// reads it, and a later start, after the wizard changed files and button,
// keeps the first run's backup.
TEST_F(StartupStoreTest, ScriptIsImportableAndTheBackupKeepsTheFirstRun) {
  BackupHelpFiles();
  const std::string text = Read(g_strTextFile);
  Write(g_strTextFile, "changed\r\n");
  ASSERT_TRUE(platform::Os().registry->CreateAndSet(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                                    "File", "c:\\new\\x.exe"));
  BackupHelpFiles();
  const std::string section = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n";
  EXPECT_EQ("REGEDIT4\r\n\r\n" + section + "\"File\"=\"c:\\\\new\\\\x.exe\"\r\n",
            Read(g_strHelpRoot + "\\lbbutton.reg"));
  const std::string backup = g_strHelpRoot + "\\customization\\backup\\";
  EXPECT_EQ(section + "\"File\"=\"c:\\Program Files\\Lumen\\lbtool.exe\"\r\n",
            Read(backup + "lbbutton.reg"));
  EXPECT_EQ(text, Read(backup + "lumen-text.ini"));
}

class StartupWithoutButtonTest : public StartupStoreTest {
 protected:
  void SetUp() override {
    installation.hotkeyFile.reset();
    installation.usesVisualMap.reset();
    StartupStoreTest::SetUp();
  }
};

TEST_F(StartupWithoutButtonTest, ScriptHoldsAnEmptyPathAndOtherLinesSurvive) {
  Write(g_strHelpRoot + "\\lbbutton.reg",
        "; kept\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n\"File\"=\"x\"\r\n"
        "\"Other\"=\"y\"\r\n");
  ASSERT_TRUE(platform::Os().files->Remove(g_strCsvFile));
  BackupHelpFiles();
  EXPECT_EQ(
      "REGEDIT4\r\n\r\n; kept\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n\"File\"=\"\"\r\n"
      "\"Other\"=\"y\"\r\n",
      Read(g_strHelpRoot + "\\lbbutton.reg"));
  // The missing machine table has no backup; the others are still copied.
  EXPECT_FALSE(platform::Os().files->Exists(g_strHelpRoot +
                                            "\\customization\\backup\\machine-specifics.csv"));
  EXPECT_TRUE(
      platform::Os().files->Exists(g_strHelpRoot + "\\customization\\backup\\lumen-text.ini"));
}

// The seeding's 400 reads must not cost 400 parses.
TEST(SeedingCost, ReadsEachFileOnce) {
  okapi_test::ScopedCountingFiles files;
  const std::string saved[] = {g_strConfigFile, g_strTextFile, g_strMapFile};
  g_strConfigFile = "c:\\help\\lumen-config.ini";
  g_strTextFile = "c:\\help\\lumen-text.ini";
  g_strMapFile = "c:\\tool\\okapi.ini";
  files->AddFile(g_strConfigFile, demo::DemoConfigFile());
  files->AddFile(g_strTextFile, demo::DemoTextFile());
  files->AddFile(g_strMapFile, "[Install]\r\nMenu4=True\r\n");
  const int reads = files->ReadCount();
  const int writes = files->WriteCount();

  SeedMapFile();

  EXPECT_EQ(reads + 3, files->ReadCount());  // config, text, map file
  // The map file once, none of the help application's files.
  EXPECT_EQ(writes + 1, files->WriteCount());
  EXPECT_EQ(demo::DemoConfigFile(), files->ReadFile(g_strConfigFile));
  EXPECT_EQ(demo::slots::kTitle, store::ReadString("TEXT", "__TITLE__", "Error", 64, g_strMapFile));
  g_strConfigFile = saved[0];
  g_strTextFile = saved[1];
  g_strMapFile = saved[2];
}

// The comparison behind /restore's counts and the changes report: each
// difference once, as "section key before -> after" (- for none).
TEST(BackupComparison, EachDifferenceOnceAsStored) {
  const auto shown = [](const std::optional<std::string>& v) { return v.value_or("-"); };
  const struct {
    const char *name, *before, *after;
    std::vector<std::string> entries;
  } rows[] = {
      {"quoting only", "[S]\r\nk=\"x\"\r\n", "[S]\r\nk=x\r\n", {"S k \"x\" -> x"}},
      {"names in another case", "[S]\r\nKey=1\r\n", "[s]\r\nkey=2\r\n", {"S Key 1 -> 2"}},
      {"removed, added", "[A]\r\nk=1\r\n", "[B]\r\nk=1\r\n", {"A k 1 -> -", "B k - -> 1"}},
      {"no file", "", "[A]\r\nk=\r\n", {"A k - -> "}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> entries;
    for (const auto& d : store::DifferingEntries(row.before, row.after))
      entries.push_back(d.section + " " + d.key + " " + shown(d.before) + " -> " + shown(d.after));
    EXPECT_EQ(row.entries, entries);
  }
  std::vector<std::string> lines;
  for (const auto& d : store::DifferingLines("a\r\nb\r\nc\r\n", "A\nb\nc\n\nd"))
    lines.push_back(std::to_string(d.line) + " " + shown(d.before) + " -> " + shown(d.after));
  EXPECT_EQ((std::vector<std::string>{"1 a -> A", "4 - -> ", "5 - -> d"}), lines);
}

}  // namespace
