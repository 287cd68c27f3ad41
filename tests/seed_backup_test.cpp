// The start-up backup and the seeding of the map file, on laid installations.
#include <gtest/gtest.h>

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
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"

namespace {

using okapi_test::FileText;

class StartupStoreTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Lay();
  }
  void Lay() {
    ASSERT_TRUE(demo::LayInstallation(installation));
    DiscoverInstallation();
  }
  static void Write(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(path, bytes)) << path;
  }
  // Seeds the map file from these help files, which it must not touch, and
  // gives what it mapped `key` to.
  static std::string Seed(const std::string& config, const std::string& text,
                          const std::string& section, const std::string& key,
                          const std::string& map = "") {
    Write(g_strConfigFile, config), Write(g_strTextFile, text), Write(g_strMapFile, map);
    SeedMapFile();
    EXPECT_EQ(config + text, FileText(g_strConfigFile) + FileText(g_strTextFile));
    return store::ReadString(section, key, "Error", 64, g_strMapFile);
  }
  demo::Installation installation;
};

// The rows of data/seeding.rows.
TEST_F(StartupStoreTest, SeedingSearchesCapitalisedValuesInMarkerOrderAndKeepsWhatItDoesNotFind) {
  for (const okapi_test::Row& row : okapi_test::Rows("seeding.rows")) {
    SCOPED_TRACE(row["config"] + row["text"]);
    EXPECT_EQ(row["found"],
              Seed(row["config"], row["text"], row["section"], row["key"], row["map"]));
  }
}

// Each item the seeding looks for, alone in its file in small letters, is
// found where the help application numbers that file section's slots.
TEST_F(StartupStoreTest, EverySeededItemResolvesToTheSlotHoldingIt) {
  for (const store::ItemRow& row : store::kItemRows) {
    if (row.seed == store::Seed::No) continue;
    const store::Item& item = row.item;
    const std::string looked(row.seed == store::Seed::Alias ? row.seekAs : item.key);
    const std::string slot = item.section == "Global Options" ? "OPTION42"
                             : item.file == store::File::Text ? "TEXT42"
                                                              : "STYLE42";
    const std::string lines = "[" + std::string(item.section) + "]\r\n" + slot + "=a " +
                              platform::ToLowerAscii(looked) + ",v\r\n";
    const bool text = item.file == store::File::Text;
    EXPECT_EQ(slot, Seed(text ? "" : lines, text ? lines : "", std::string(item.mapSection),
                         std::string(item.key)));
    EXPECT_EQ(slot, store::SlotOf(item)) << looked;
  }
}

// The installation's script imports; the backup keeps the path as /restore
// reads it, and a later start, after the wizard changed the button, keeps the
// first run's backup. Without a button the script holds an empty path and
// its other lines survive.
TEST_F(StartupStoreTest, ScriptIsImportableAndTheBackupKeepsTheFirstRun) {
  const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n\"File\"=\"";
  const std::string script = g_strHelpRoot + "\\lbbutton.reg";
  const std::string backup = g_strHelpRoot + "\\customization\\backup\\";
  BackupHelpFiles();
  ASSERT_TRUE(platform::Os().registry->CreateAndSet(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                                    "File", "c:\\new\\x.exe"));
  BackupHelpFiles();
  EXPECT_EQ("REGEDIT4\r\n\r\n" + key + "c:\\\\new\\\\x.exe\"\r\n", FileText(script));
  EXPECT_EQ(key + "c:\\Program Files\\Lumen\\lbtool.exe\"\r\n", FileText(backup + "lbbutton.reg"));

  installation.hotkeyFile.reset();
  installation.usesVisualMap.reset();
  ASSERT_TRUE(demo::ResetMachine());
  Lay();
  Write(script, "; kept\r\n" + key + "x\"\r\n\"Other\"=\"y\"\r\n");
  ASSERT_TRUE(platform::Os().files->Remove(g_strCsvFile));
  BackupHelpFiles();
  EXPECT_EQ("REGEDIT4\r\n\r\n; kept\r\n" + key + "\"\r\n\"Other\"=\"y\"\r\n", FileText(script));
  // The missing machine table has no backup; the others are still copied.
  EXPECT_EQ("<missing>", FileText(backup + "machine-specifics.csv"));
  EXPECT_EQ(FileText(g_strTextFile), FileText(backup + "lumen-text.ini"));
}

// The comparison behind /restore's counts and the changes report: each
// difference once, as "section key before -> after" (- for none).
TEST(BackupComparison, EachDifferenceOnceAsStored) {
  const auto shown = [](const std::optional<std::string>& v) { return v.value_or("-"); };
  std::vector<std::string> out;
  for (const auto& d :
       store::DifferingEntries("[S]\r\nKey=1\r\n[B]\r\n", "[s]\r\nkey=2\r\n[A]\r\nk=\r\n"))
    out.push_back(d.section + " " + d.key + " " + shown(d.before) + " -> " + shown(d.after));
  for (const auto& d : store::DifferingLines("a\r\nb\r\nc\r\n", "A\nb\nc\n\nd"))
    out.push_back(std::to_string(d.line) + " " + shown(d.before) + " -> " + shown(d.after));
  EXPECT_EQ(
      (std::vector<std::string>{"S Key 1 -> 2", "A k - -> ", "1 a -> A", "4 - -> ", "5 - -> d"}),
      out);
}

}  // namespace
