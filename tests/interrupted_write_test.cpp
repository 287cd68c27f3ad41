// A writing process killed at random moments leaves every file either as it
// was or as one of its writes made it, never torn, and the backup intact.
// Natively only: a forked child is the writer that gets killed.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "app/discovery.h"
#include "demo/installation.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/profile.h"
#include "store/profile_text.h"
#include "tests/support/fixture_drive.h"

namespace {

using okapi_test::FileText;

using InterruptedWriteTest = okapi_test::MachineTest;

// A machine table whose every line names its version, so a torn file shows.
std::string Table(long version) {
  std::string table;
  for (int line = 0; line < 2000; ++line)
    table += "X" + std::to_string(line) + ",\"" + std::to_string(version) + "\"\r\n";
  return table;
}

// The writes a page and Finish make, over and over, numbered by `version`.
[[noreturn]] void WriteForever(long first, int ready) {
  for (long version = first;; ++version) {
    const std::string v = std::to_string(version);
    (void)store::WriteString("Other", "VersionCM", v, g_strConfigFile);
    (void)store::WriteString("Lumen Text", "TEXT1", "__TITLE__,\"" + v + "\"", g_strTextFile);
    (void)platform::Os().files->WriteFileAtomic(g_strCsvFile, Table(version));
    if (version == first) (void)!write(ready, "r", 1);
  }
}

// The file is `before`, or `before` with the one entry set to what it now holds.
void ExpectWhole(const std::string& file, const std::string& before, const char* section,
                 const char* key) {
  const std::string now = FileText(file);
  const std::string value = store::ReadString(section, key, "Error", 0x10000, file);
  EXPECT_EQ(now, store::ProfileText(before).Edited(section, key, value)) << file;
}

TEST_F(InterruptedWriteTest, KilledWriterLeavesOldOrNewContentsNeverAMix) {
  ASSERT_TRUE(demo::LayDemoInstallation());
  DiscoverInstallation();
  BackupHelpFiles();
  const auto backup = [] {
    std::string bytes;
    for (const char* file : {"lumen-config.ini", "lumen-text.ini", "machine-specifics.csv"})
      bytes += FileText(g_strHelpRoot + "\\customization\\backup\\" + file);
    return bytes;
  };
  const std::string backupBytes = backup();
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strCsvFile, Table(0)));

  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> moment(0, 4000);  // microseconds
  int cutMidway = 0;
  // A write cut short leaves its temporary file; the help application never
  // reads those.
  const auto leftovers = [] {
    auto& files = *platform::Os().files;
    int count = 0;
    for (const std::string& dir : {g_strHelpRoot + "\\", g_strInstallDir})
      for (const std::string& name : files.Find(dir + "~okapi-*.tmp"))
        ++count, (void)files.Remove(dir + name);
    return count;
  };
  for (int trial = 0; trial < 200; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const std::string config = FileText(g_strConfigFile), text = FileText(g_strTextFile);
    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) WriteForever(1000L * (trial + 1), ready[1]);
    char byte = 0;
    ASSERT_EQ(1, read(ready[0], &byte, 1)) << "the writer made its first round";
    close(ready[0]), close(ready[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    kill(writer, SIGKILL);
    ASSERT_EQ(writer, waitpid(writer, nullptr, 0));
    store::ForgetCachedFiles();

    ExpectWhole(g_strConfigFile, config, "Other", "VersionCM");
    ExpectWhole(g_strTextFile, text, "Lumen Text", "TEXT1");
    const std::string table = FileText(g_strCsvFile);
    // Whole, at the version its first line names.
    EXPECT_EQ(Table(std::stol(table.substr(table.find('"') + 1))), table);
    cutMidway += leftovers();
  }
  EXPECT_EQ(backupBytes, backup());
  // Some kills must fall inside a write, or the test proves nothing.
  EXPECT_GT(cutMidway, 0);
}

}  // namespace
#endif
