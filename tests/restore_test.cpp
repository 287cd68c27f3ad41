// okapi.exe /restore on a laid installation whose files the wizard changed.
#include "app/restore.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "demo/installation.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/answering_backend.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

// The table, config and text files, then the button's application.
std::vector<std::string> Current() {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                           platform::Access::Read);
  std::vector<std::string> now;
  for (const std::string* file : {&g_strCsvFile, &g_strConfigFile, &g_strTextFile})
    now.push_back(platform::Os().files->ReadFile(*file).value_or("<missing>"));
  now.push_back(key ? key->QueryString("File", 255).value_or("") : "<no key>");
  return now;
}

using RestoreTest = okapi_test::MachineTest;

// The first run's backup, then what a customization leaves behind: entries
// changed, added and removed, the machine table, the button's application.
// Each row changes the machine further; none puts back the text file.
TEST_F(RestoreTest, EachAnswerRefusalAndFailureChangesOnlyWhatItSays) {
  ASSERT_TRUE(demo::LayDemoInstallation());
  DiscoverInstallation();
  BackupHelpFiles();
  const auto first = Current();
  ASSERT_TRUE(
      store::WriteString("Global Options", "OPTION7", "__PLAY_SOUND__,false", g_strConfigFile));
  ASSERT_TRUE(store::WriteString("Other", "VersionCM", "4", g_strConfigFile));
  ASSERT_TRUE(store::WriteString("Lumen Text", "TEXT1", "__TITLE__,\"x\"", g_strTextFile));
  ASSERT_TRUE(store::WriteString("Lumen Text", "Text1_org", "\"y\"", g_strTextFile));
  ASSERT_TRUE(store::WriteString("Lumen Text", "TEXT7", std::nullopt, g_strTextFile));
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strCsvFile, "changed\r\n"));
  ASSERT_TRUE(platform::Os().registry->CreateAndSet(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                                    "File", "c:\\other.exe"));
  const auto changed = Current();
  auto& files = *platform::Os().files;
  const std::map<std::string, std::function<void()>> arrange = {
      {"nothing", [] {}},
      {"a folder in place of the config file",
       [&] { ASSERT_TRUE(files.Remove(g_strConfigFile) && files.MakeDirectory(g_strConfigFile)); }},
      {"the wizard running",
       [] { ASSERT_TRUE(platform::Os().instances->ClaimMutex(COkapiApp::kMutexName)); }},
      {"the config file gone and the text file's backup",
       [&] {
         ASSERT_TRUE(files.RemoveEmptyDirectory(g_strConfigFile));
         ASSERT_TRUE(files.Remove(g_strHelpRoot + "\\customization\\backup\\lumen-text.ini"));
       }},
#ifndef _WIN32
      {"the button's key refused",
       [] {
         dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
             .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
       }},
#endif
      {"the backup gone",
       [] { ASSERT_TRUE(demo::RemoveTree(g_strHelpRoot + "\\customization\\backup")); }},
  };
  const std::map<std::string, int> answers = {{"yes", IDYES}, {"no", IDNO}, {"", IDOK}};
  for (const okapi_test::Row& row : okapi_test::Rows("restore.rows")) {
    SCOPED_TRACE(row["told"]);
#ifdef _WIN32
    if (row.Get("native only")) continue;
#endif
    arrange.at(row["arrange"])();
    auto& boxes = okapi_test::Answering();
    boxes.told.clear();
    boxes.boxAnswers = {answers.at(row["answer"]), IDOK};
    const auto command = row["command"] == "run" ? restore::RunRestore : restore::ConfirmAndRestore;
    EXPECT_EQ(std::stoi(row["exit"]), command());
    std::string told;
    for (const auto& box : boxes.told) told += box.text + "|";
    EXPECT_NE(std::string::npos, told.find(row["told"])) << told;
    EXPECT_EQ(changed[2], Current()[2]);
  }
  // A Yes put back the table, the config file and the button.
  EXPECT_EQ((std::vector<std::string>{first[0], first[1], changed[2], first[3]}), Current());
}

TEST(RestoreCommand, OnlyTheOneSwitchCounts) {
  for (const char* yes : {"/restore", " /RESTORE "}) EXPECT_TRUE(restore::IsRestoreCommand(yes));
  for (const char* no : {"restore", "/restore now"}) EXPECT_FALSE(restore::IsRestoreCommand(no));
}

}  // namespace
