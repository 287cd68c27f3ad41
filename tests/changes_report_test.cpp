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

class ChangesReportTest : public okapi_test::MachineTest {};

// What a page changes on a normal run is held by the journeys' changes.txt;
// here what they never reach: nothing changed, entries no page writes, an
// entry named by its key in another page's section, a change of quoting
// alone (once "unchanged" to /restore, which counts what the report lists),
// and markup in a value.
TEST_F(ChangesReportTest, EntriesNoPageWritesAreListedCountedAsByRestoreAndEscaped) {
  ASSERT_TRUE(demo::LayDemoInstallation());
  DiscoverInstallation();
  BackupHelpFiles();
  package::PrepareTree();
  EXPECT_TRUE(report::Collect().NothingChanged());
  EXPECT_NE(std::string::npos, report::AsText(report::Collect()).find("\r\nNothing changed.\r\n"));
  ASSERT_TRUE(store::WriteString("Lumen Text", demo::slots::kWelcomeIntro,
                                 "__WELCOME_INTRO__,\"Hi<br>there\"", g_strTextFile));
  ASSERT_TRUE(store::WriteString("Lumen Text", "TEXT6", "Click a menu to begin", g_strTextFile));
  ASSERT_TRUE(store::WriteString("New", "Key", "1", g_strConfigFile));
  // Named by its key, in a section whose other keys belong to another page.
  ASSERT_TRUE(store::WriteString("OEM Defaults", "Sound", "FALSE", g_strConfigFile));
  auto& files = *platform::Os().files;
  ASSERT_TRUE(files.WriteFileAtomic(g_strCsvFile, files.ReadFile(g_strCsvFile).value() + "x\r\n"));
  const report::Changes changes = report::Collect();
  std::vector<std::string> rows;
  for (const auto& e : changes.entries)
    rows.push_back(e.file + " | " + e.page + " | " + e.key + " | " + e.before.value_or("-") +
                   " | " + e.after.value_or("-"));
  EXPECT_EQ((std::vector<std::string>{
                "lumen-text.ini | Welcome Page | TEXT27 | __WELCOME_INTRO__,\"Welcome to your "
                "new notebook.\" | __WELCOME_INTRO__,\"Hi<br>there\"",
                "lumen-config.ini | Sounds | Sound | true | FALSE",
                "lumen-config.ini | Other entries | Key | - | 1",
                "lumen-text.ini | Other entries | TEXT6 | \"Click a menu to begin\" | Click a "
                "menu to begin"}),
            rows);
  std::vector<int> planned;
  for (const restore::FilePlan& file : restore::MakePlan().files) planned.push_back(file.differing);
  EXPECT_EQ((std::vector<int>{changes.tableLinesChanged, 2, 2}), planned);
  EXPECT_EQ(1, changes.tableLinesChanged);
  ASSERT_TRUE(report::Write(changes));
  const std::string html = files.ReadFile(report::HtmlPath()).value_or("");
  EXPECT_NE(std::string::npos, html.find("<code>__WELCOME_INTRO__,&quot;Hi&lt;br&gt;there"));
}

}  // namespace
