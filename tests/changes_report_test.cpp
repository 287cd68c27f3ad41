// The changes report: what differs from the backup of first contents, by page.
#include "package/changes_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/discovery.h"
#include "app/restore.h"
#include "demo/installation.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"

namespace {

class ChangesReportTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(demo::LayDemoInstallation());
    DiscoverInstallation();
    BackupHelpFiles();
    package::PrepareTree();
  }
  static void Set(const std::string& file, const char* section, const char* key,
                  std::optional<std::string> value) {
    ASSERT_TRUE(store::WriteString(section, key, value, file));
  }
};

// What a page changes on a normal run is held by the journeys' changes.txt;
// here what they never reach: an entry no page writes, and markup in a value.
TEST_F(ChangesReportTest, EntriesNoPageWritesAreListedAndMarkupIsEscaped) {
  namespace slots = demo::slots;
  Set(g_strTextFile, "Lumen Text", slots::kWelcomeIntro, "__WELCOME_INTRO__,\"Hi<br>there\"");
  Set(g_strTextFile, "Lumen Text", "TEXT6", "\"Click\"");
  const report::Changes changes = report::Collect();
  std::vector<std::string> rows;
  for (const auto& e : changes.entries) {
    rows.push_back(e.page + " | " + e.key + " | " + e.before.value_or("-") + " | " +
                   e.after.value_or("-"));
  }
  EXPECT_EQ((std::vector<std::string>{
                "Welcome Page | TEXT27 | __WELCOME_INTRO__,\"Welcome to your new notebook.\" | "
                "__WELCOME_INTRO__,\"Hi<br>there\"",
                "Other entries | TEXT6 | \"Click a menu to begin\" | \"Click\"",
            }),
            rows);
  ASSERT_TRUE(report::Write(changes));
  const std::string html = platform::Os().files->ReadFile(report::HtmlPath()).value_or("");
  EXPECT_NE(std::string::npos, html.find("<code>__WELCOME_INTRO__,&quot;Hi&lt;br&gt;there"));
}

TEST_F(ChangesReportTest, AnUnchangedInstallationSaysNothingChanged) {
  const report::Changes changes = report::Collect();
  EXPECT_TRUE(changes.NothingChanged());
  EXPECT_NE(std::string::npos, report::AsText(changes).find("\r\nNothing changed.\r\n"));
}

// /restore's confirmation counts what the report lists; a change of quoting
// alone used to be "unchanged" to /restore.
TEST_F(ChangesReportTest, RestoreCountsWhatTheReportLists) {
  Set(g_strTextFile, "Lumen Text", "TEXT6", "Click a menu to begin");
  Set(g_strConfigFile, "New", "Key", "1");
  auto& files = *platform::Os().files;
  ASSERT_TRUE(files.WriteFileAtomic(g_strCsvFile, files.ReadFile(g_strCsvFile).value() + "x\r\n"));
  const report::Changes changes = report::Collect();
  std::vector<int> listed = {changes.tableLinesChanged, 0, 0}, planned;
  for (const auto& e : changes.entries) ++listed[e.file == "lumen-config.ini" ? 1 : 2];
  for (const restore::FilePlan& file : restore::MakePlan().files) planned.push_back(file.differing);
  EXPECT_EQ((std::vector<int>{1, 1, 1}), listed);
  EXPECT_EQ(listed, planned);
}

}  // namespace
