// okapi.exe /restore on a laid installation whose files the wizard changed.
#include "app/restore.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/headless/headless.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

class RestoreTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(demo::LayDemoInstallation());
    DiscoverInstallation();
    BackupHelpFiles();  // the first run's backup
    for (const std::string* f : {&g_strCsvFile, &g_strConfigFile, &g_strTextFile})
      first.push_back(File(*f));
  }
  // What a customization leaves behind: entries changed, added and removed,
  // a line of the machine table, the button's application.
  void Customize() {
    ASSERT_TRUE(
        store::WriteString("Global Options", "OPTION7", "__PLAY_SOUND__,false", g_strConfigFile));
    ASSERT_TRUE(store::WriteString("Other", "VersionCM", "4", g_strConfigFile));
    ASSERT_TRUE(store::WriteString("Lumen Text", "TEXT1", "__TITLE__,\"x\"", g_strTextFile));
    ASSERT_TRUE(store::WriteString("Lumen Text", "Text1_org", "\"y\"", g_strTextFile));
    ASSERT_TRUE(store::WriteString("Lumen Text", "TEXT7", std::nullopt, g_strTextFile));
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strCsvFile, "changed\r\n"));
    ASSERT_TRUE(platform::Os().registry->CreateAndSet(platform::Hive::LocalMachine,
                                                      demo::kHotkeyKey, "File", "c:\\other.exe"));
  }
  static std::string File(const std::string& path) {
    return platform::Os().files->ReadFile(path).value_or("<missing>");
  }
  static std::string Button() {
    auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                             platform::Access::Read);
    return key ? key->QueryString("File", 255).value_or("") : "<no key>";
  }
  std::string Told(std::size_t i) const {
    return i < headless->Messages().size() ? headless->Messages()[i].text : "<nothing>";
  }
  std::vector<std::string> Current() const {
    return {File(g_strCsvFile), File(g_strConfigFile), File(g_strTextFile)};
  }

  std::vector<std::string> first;
  fw::headless::ScopedHeadless headless;
};

TEST_F(RestoreTest, YesPutsBackEveryFileByteForByteAndTheButton) {
  Customize();
  headless->AnswerMessageBox(IDYES);
  headless->AnswerMessageBox(IDOK);
  EXPECT_EQ(0, restore::ConfirmAndRestore());
  EXPECT_EQ(first, Current());
  EXPECT_EQ(demo::kDemoHotkeyFile, Button());
  // The confirmation counts what differs: 2 config entries, 3 text entries
  // (changed, added, removed), every line of the table.
  EXPECT_NE(std::string::npos, Told(0).find("lumen-config.ini (2 entries differ now)")) << Told(0);
  EXPECT_NE(std::string::npos, Told(0).find("lumen-text.ini (3 entries differ now)"));
  EXPECT_NE(std::string::npos, Told(0).find("start c:\\Program Files\\Lumen\\lbtool.exe again "
                                            "(now: c:\\other.exe)"));
  EXPECT_NE(std::string::npos, Told(1).find("lumen-text.ini, the Larkbook button"));
  const std::string log = File(g_strHelpRoot + "\\customization\\restore.log");
  EXPECT_NE(std::string::npos, log.find(" restored: machine-specifics.csv, lumen-config.ini"));

  // The backup stays: a second restore finds nothing that differs.
  headless->AnswerMessageBox(IDNO);
  EXPECT_EQ(0, restore::ConfirmAndRestore());
  EXPECT_NE(std::string::npos, Told(2).find("lumen-config.ini (unchanged)")) << Told(2);
}

TEST_F(RestoreTest, AFileThatCannotBeReadIsToldSoNotCounted) {
  Customize();
  ASSERT_TRUE(platform::Os().files->Remove(g_strConfigFile));
  ASSERT_TRUE(platform::Os().files->MakeDirectory(g_strConfigFile));
  headless->AnswerMessageBox(IDNO);
  EXPECT_EQ(0, restore::ConfirmAndRestore());
  EXPECT_NE(std::string::npos, Told(0).find("lumen-config.ini (cannot be read now, so OKAPI "
                                            "cannot tell what differs: close any program"))
      << Told(0);
}

TEST_F(RestoreTest, NoARunningWizardOrAMissingBackupChangeOnlyWhatTheySay) {
  Customize();
  const auto changed = Current();
  struct Row {
    const char* name;
    std::function<void()> arrange;
    int answer;
    const char* told;
    int exit;
  } rows[] = {
      {"No", [] {}, IDNO, "Put these back now?", 0},
      // The wizard holds the mutex; the command is refused before it asks.
      {"wizard running",
       [] { ASSERT_TRUE(platform::Os().instances->ClaimMutex(COkapiApp::kMutexName)); }, IDOK,
       "The OKAPI wizard is running", 1},
      {"text file not in the backup",
       [] {
         ASSERT_TRUE(platform::Os().files->Remove(g_strHelpRoot +
                                                  "\\customization\\backup\\lumen-text.ini"));
       },
       IDYES, "Not in the backup, left as they are: lumen-text.ini", 0},
#ifndef _WIN32  // Wine runs the tests with full rights to HKEY_LOCAL_MACHINE.
      {"button refused",
       [] {
         dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
             .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
       },
       IDYES, "Could not be put back: the Larkbook button (Windows refused the registry change)",
       1},
#endif
      {"no backup",
       [] { ASSERT_TRUE(demo::RemoveTree(g_strHelpRoot + "\\customization\\backup")); }, IDOK,
       "There is no backup to restore", 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    row.arrange();
    const std::size_t shown = headless->Messages().size();
    headless->AnswerMessageBox(row.answer);
    if (row.answer == IDYES) headless->AnswerMessageBox(IDOK);
    const bool running = std::string(row.name) == "wizard running";
    EXPECT_EQ(row.exit, running ? restore::RunRestore() : restore::ConfirmAndRestore());
    std::string told;
    for (std::size_t i = shown; i < headless->Messages().size(); ++i) told += Told(i) + "|";
    EXPECT_NE(std::string::npos, told.find(row.told)) << told;
    EXPECT_EQ(changed[2], File(g_strTextFile));
  }
  // The third row restored the other two.
  EXPECT_EQ(first[0], File(g_strCsvFile));
  EXPECT_EQ(first[1], File(g_strConfigFile));
}

TEST(RestoreCommand, OnlyTheOneSwitchCounts) {
  for (const char* yes : {"/restore", " /RESTORE ", "\t/Restore"})
    EXPECT_TRUE(restore::IsRestoreCommand(yes)) << yes;
  for (const char* no : {"", "restore", "/restore now", "-restore"})
    EXPECT_FALSE(restore::IsRestoreCommand(no)) << no;
}

}  // namespace
