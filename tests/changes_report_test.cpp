// The changes report: what differs from the backup of first contents, by page.
#include "package/changes_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/discovery.h"
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

TEST_F(ChangesReportTest, OneChangePerPageIsListedUnderThatPageWithOldAndNew) {
  namespace slots = demo::slots;
  const std::string& text = g_strTextFile;
  const std::string& config = g_strConfigFile;
  Set(text, "Lumen Text", slots::kTitle, "__TITLE__,\"Lumen - Modified by Acme\"");
  Set(text, "Lumen Text", slots::kMenu1AltKey, "__MENU1_ALT_KEY__,X");
  Set(text, "Lumen Text", slots::kWelcomeIntro, "__WELCOME_INTRO__,\"Hi<br>there\"");
  Set(config, "Menu Parts", "Configure", "images\\spacer.gif,120,32");
  Set(text, "Backgrounds", "BACK5TEXT", "Sunset");  // added
  Set(config, "Other", "MOUSE_OVER_COLOR", "#123456");
  Set(config, "Global Options", slots::kPlaySound, "__PLAY_SOUND__,false");
  Set(config, "OEM Defaults", "Splash", std::nullopt);  // removed
  Set(text, "Lumen Text", "TEXT6", "\"Click\"");        // no page changes it
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strCsvFile, "a,b\r\n"));
  ASSERT_TRUE(platform::Os().registry->CreateAndSet(platform::Hive::LocalMachine, kButtonKey,
                                                    "File", "c:\\calc.exe"));

  const report::Changes changes = report::Collect();
  std::vector<std::string> rows;
  for (const auto& e : changes.entries) {
    rows.push_back(e.page + " | " + e.key + " | " + e.marker + " | " + e.before.value_or("-") +
                   " | " + e.after.value_or("-"));
  }
  EXPECT_EQ((std::vector<std::string>{
                "Modified by | TEXT1 | __TITLE__ | __TITLE__,\"Lumen Larkbook Help and "
                "Information\" | __TITLE__,\"Lumen - Modified by Acme\"",
                "Menu | TEXT8 | __MENU1_ALT_KEY__ | __MENU1_ALT_KEY__,G | __MENU1_ALT_KEY__,X",
                "Welcome Page | TEXT27 | __WELCOME_INTRO__ | __WELCOME_INTRO__,\"Welcome to your "
                "new notebook.\" | __WELCOME_INTRO__,\"Hi<br>there\"",
                "Visual Map Buttons | Configure |  | images\\LBConfig.gif,120,32 | "
                "images\\spacer.gif,120,32",
                "Backgrounds | BACK5TEXT |  | - | Sunset",
                "Color | MOUSE_OVER_COLOR |  | #ff6600 | #123456",
                "Sounds | OPTION7 | __PLAY_SOUND__ | __PLAY_SOUND__,true | __PLAY_SOUND__,false",
                "Animation Screen | Splash |  | true | -",
                "Other entries | TEXT6 |  | \"Click a menu to begin\" | \"Click\"",
            }),
            rows);
  EXPECT_GT(changes.tableLinesChanged, 1);
  EXPECT_EQ("c:\\calc.exe", changes.buttonAfter);
  EXPECT_EQ(demo::kDemoHotkeyFile, changes.buttonBefore);

  ASSERT_TRUE(report::Write(changes));
  const std::string html = platform::Os().files->ReadFile(report::HtmlPath()).value_or("");
  EXPECT_NE(std::string::npos, html.find("<code>__WELCOME_INTRO__,&quot;Hi&lt;br&gt;there"));
  const std::string txt = platform::Os().files->ReadFile(report::TextPath()).value_or("");
  EXPECT_NE(std::string::npos, txt.find("    after:  c:\\calc.exe"));
  EXPECT_NE(std::string::npos, txt.find("    images\\small\\spacer.gif")) << "the package";
}

TEST_F(ChangesReportTest, AnUnchangedInstallationSaysNothingChanged) {
  const report::Changes changes = report::Collect();
  EXPECT_TRUE(changes.NothingChanged());
  EXPECT_NE(std::string::npos, report::AsText(changes).find("\r\nNothing changed.\r\n"));
}

}  // namespace
