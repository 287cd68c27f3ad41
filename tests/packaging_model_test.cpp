// What reaches the package and what Finish tells, on laid installations: the
// Larkbook Button page's choice (this computer, the script, the package),
// Finish as the last page runs it, and the changes report.
#include "pages/packaging_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "app/restore.h"
#include "package/changes_report.h"
#include "package/package_tree.h"
#include "pages/lb_button_model.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "store/seed.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

using PackageTest = okapi_test::MachineTest;
namespace item = store::item;

// The installation laid afresh and found as at start: its first contents
// kept, its map file seeded, its package tree made.
void Lay(const demo::Installation& installation = {}) {
  ASSERT_TRUE(demo::ResetMachine() && demo::LayInstallation(installation));
  DiscoverInstallation();
  BackupHelpFiles();
  SeedMapFile();
  package::PrepareTree();
}

const std::string kCalc = "c:\\tabula\\calc\\calcw.exe",
                  kScript = "c:\\zantools\\zanhelp\\lbbutton.reg",
                  kPackaged = "c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg";
const std::string kCalcScript =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
    "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";

// Each row on a machine of its own, so that no refusal outlives its row; one
// model through the others, so that a load replaces what the last one read.
TEST(LBButtonModel, ChoiceReachesComputerScriptAndPackageAsFarAsEachAllows) {
  LBButtonModel model;
  for (const okapi_test::Row& row : okapi_test::Rows("lb_button.rows")) {
    SCOPED_TRACE(row["name"]);
    const auto refuses = row.All("refuses");
    const bool script = std::ranges::count(refuses, "script"),
               package = std::ranges::count(refuses, "package"),
               registry = std::ranges::count(refuses, "registry");
#ifdef _WIN32
    if (registry) continue;
#endif
    okapi_test::TestMachine machine;
    auto& files = *platform::Os().files;
    demo::Installation installation;
    if (row.Get("laid")) installation.hotkeyFile = row["laid"];
    Lay(installation);
    // Refused, the model must read back what the registry holds, not keep what it showed.
    if (registry) model = LBButtonModel();
    if (!registry) model.Load();
    EXPECT_EQ(row["shown"], model.Application());
    ASSERT_TRUE(!script ||
                (files.WriteFileAtomic(kScript, "; old\r\n") && files.SetReadOnly(kScript)));
    ASSERT_TRUE(!package || files.WriteFileAtomic(kPackaged.substr(0, kPackaged.rfind('\\')), "x"));
#ifndef _WIN32
    if (registry)
      dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
          .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
#endif
    std::vector<std::string> failed;
    std::string told;
    store::SetWriteFailureReporter([&](const std::string& file, auto&) { failed.push_back(file); });
    for (const auto& message : model.Select(kCalc))
      told += message.caption + ": " + message.message;
    store::SetWriteFailureReporter(nullptr);
    const auto calc = [](const std::string& text) { return text == "calc" ? kCalcScript : text; };
    EXPECT_EQ(row["told"], told);
    EXPECT_EQ(row["written"], layout::ReadButtonApplication().value_or("<no key>"));
    EXPECT_EQ(row["written"], model.Application());
    EXPECT_EQ(calc(row["script"]), files.ReadFile(kScript).value_or("<missing>"));
    EXPECT_EQ(script, failed == std::vector<std::string>{kScript});
    EXPECT_EQ(calc(row["packaged"]), files.ReadFile(kPackaged).value_or("<missing>"));
    (void)files.SetAttributesNormal(kScript);
  }
}

TEST_F(PackageTest, FinishAsksAboutAnUnlistedOpeningImageAndItsErrorsKeepThePage) {
  for (const okapi_test::Row& row : okapi_test::Rows("finish_page.rows")) {
    SCOPED_TRACE(row["name"]);
    const int answer = row["answer"] == "yes" ? IDYES : IDNO;
    const std::vector<std::string> expected = row.All("told");
    Lay();
    if (row.Get("opening")) {
      const auto& option = g_bVersion35 ? item::kMenu4Background : item::kDefaultBackgroundImage;
      ASSERT_EQ(store::WriteResult::Written, store::WriteValue(option, row["opening"]).kind);
    }
    if (row.Get("background")) {
      ASSERT_TRUE(store::Write(item::kMenuBackgroundFiles.WithKey("File1"), row["background"]));
    }
    std::vector<std::string> told;
    const bool whole =
        packaging::Finish([&](const std::string& text, const std::string&, unsigned type) {
          const std::size_t cut =
              told.size() < expected.size() ? expected[told.size()].size() : text.size();
          told.push_back(text.substr(0, cut));
          return type & MB_YESNO ? (told.size() == 1 ? answer : IDNO) : IDOK;
        });
    EXPECT_EQ(row.Get("whole").has_value(), whole);
    EXPECT_EQ(expected, told);
    EXPECT_EQ(answer == IDYES,
              platform::Os().files->Exists(package::Root() + "\\lumen-config.ini"));
  }
}

// What a page changes on a normal run is held by the journeys' changes.txt;
// here what they never reach: nothing changed, entries no page writes, an
// entry named by its key in another page's section, a change of quoting
// alone (once "unchanged" to /restore, which counts what the report lists),
// and markup in a value.
TEST_F(PackageTest, ChangesReportListsEntriesNoPageWritesCountedAsByRestoreAndEscaped) {
  Lay();
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
