// The answers applied, verified and exported on a laid installation, with no
// window: what is written, what is refused before any write, the exit codes.
#include "app/answers_run.h"

#include <gtest/gtest.h>

#include <string>

#include "app/discovery.h"
#include "demo/installation.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"

namespace {

using okapi_test::FileText;

using answers::Exit;
using Verb = answers::Command::Verb;

class AnswersRunTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(demo::LayDemoInstallation());
    DiscoverInstallation();
  }
  Exit Run(Verb verb, const std::string& answers = {}) {
    if (!answers.empty()) {
      EXPECT_TRUE(platform::Os().files->WriteFileAtomic(kAnswers, answers));
    }
    return answers::RunAlone({verb, kAnswers, true, false});
  }
  static std::string Log() { return FileText(g_strHelpRoot + "\\customization\\okapi.log"); }
  // Applied again, the same answers change no byte.
  void ExpectSecondApplyKeepsFiles() {
    const std::string applied = FileText(g_strConfigFile) + FileText(g_strTextFile);
    EXPECT_EQ(Run(Verb::Apply), Exit::Done);
    EXPECT_EQ(FileText(g_strConfigFile) + FileText(g_strTextFile), applied);
  }
  static constexpr char kAnswers[] = "c:\\answers.ini";
};

// Every page's answers, none as the installation has them: applied, they
// read back as given, and a second apply changes nothing.
TEST_F(AnswersRunTest, EveryPagesAnswersReadBackAsApplied) {
  const std::string answers = okapi_test::Rows("answers_run.rows").front()["answers"];
  EXPECT_EQ(Run(Verb::Apply, answers), Exit::Done) << Log();
  EXPECT_NE(Log().find("[Company] Name written"), std::string::npos);
  EXPECT_EQ(Run(Verb::Verify), Exit::Done) << Log();  // colours either case, with or without '#'
  ExpectSecondApplyKeepsFiles();
  EXPECT_EQ(Run(Verb::Verify, "[Colors]\nBackground=#000000\n"), Exit::Differences);
  EXPECT_EQ(answers::RunAlone({Verb::Export, kAnswers, true, false}), Exit::Done);
  // The welcome page is no menu now: what only it shows is left out, and
  // the export leaves it out too.
  EXPECT_NE(Log().find("left out [Menu] Title4: the fourth menu is off"), std::string::npos);
  const std::string exported = FileText(kAnswers);
  EXPECT_EQ(exported.find("[WelcomePage]"), std::string::npos) << exported;
  EXPECT_NE(exported.find("Key3=T\r\nFourthMenu=off\r\nSystemDetails=hidden"), std::string::npos)
      << exported;
  // With the fourth menu back on, the welcome page takes its texts, each its own.
  EXPECT_EQ(
      Run(Verb::Apply, "[Menu]\nFourthMenu=on\n[WelcomePage]\nIntro=Hi\nTab1=One\nClosing=Bye\n"),
      Exit::Done)
      << Log();
  EXPECT_EQ(Run(Verb::Verify), Exit::Done) << Log();
  EXPECT_NE(FileText(g_strTextFile).find("__WELCOME_INTRO__,\"Hi\""), std::string::npos);
}

// The background list means exactly the list the answers give; its images
// come from beside the answers file when the installation lacks them.
TEST_F(AnswersRunTest, BackgroundListIsThatListWithItsImages) {
  auto& files = *platform::Os().files;
  for (const char* size : {"small", "large"}) {
    ASSERT_TRUE(demo::MakeDirectories(std::string("c:\\images\\") + size));
    ASSERT_TRUE(files.WriteFileAtomic(std::string("c:\\images\\") + size + "\\beach.jpg", size));
  }
  EXPECT_EQ(answers::RunAlone({Verb::Export, kAnswers, true, false}), Exit::Done);
  const std::string exported = FileText(kAnswers);
  EXPECT_NE(exported.find("Name2=Sky\r\nFile2=sky.jpg\r\n"), std::string::npos) << exported;

  const std::string list =
      "[Backgrounds]\nName1=Ocean\nFile1=ocean.jpg\nName2=Beach\nFile2=beach.jpg\n";
  EXPECT_EQ(Run(Verb::Apply, list + "Name3=Sky\n"), Exit::Refused);  // no File3
  EXPECT_EQ(Run(Verb::Apply, list + "Name3=Dune\nFile3=dune.jpg\n"), Exit::Refused);
  EXPECT_EQ(Run(Verb::Apply, list), Exit::Done);
  EXPECT_EQ(FileText(g_strInstallDir + "images\\large\\beach.jpg"), "large");
  ExpectSecondApplyKeepsFiles();
  EXPECT_EQ(Run(Verb::Verify), Exit::Done) << Log();
  EXPECT_EQ(answers::RunAlone({Verb::Export, kAnswers, true, false}), Exit::Done);
  const std::string after = FileText(kAnswers);
  EXPECT_EQ(after.find("Sky"), std::string::npos) << after;
  EXPECT_NE(after.find("File2=beach.jpg"), std::string::npos) << after;
  // The opening image's entry may go only with a new opening image.
  const std::string beach = "[Backgrounds]\nName1=Beach\nFile1=beach.jpg\n";
  EXPECT_EQ(Run(Verb::Apply, beach), Exit::Refused);
  EXPECT_EQ(Run(Verb::Apply, beach + "OpeningImage=BEACH.jpg\nDefaultImage=beach.jpg\n"),
            Exit::Done)
      << Log();
}

// One bad answer on each page, or a file that does not parse: refused with
// its own message before any page writes, though the good answers come first.
// No answers file, or no installation: refused too, each its own exit code.
TEST_F(AnswersRunTest, EachPagesRefusalStopsEveryWriteAndEachOutcomeHasItsExitCode) {
  EXPECT_EQ(answers::RunAlone({Verb::Verify, "c:\\no-answers.ini", true, false}), Exit::Refused);
  const std::string before = FileText(g_strConfigFile) + FileText(g_strTextFile);
  const auto rows = okapi_test::Rows("answers_run.rows");
  for (auto row = rows.begin() + 1; row != rows.end(); ++row) {
    const std::string bad = (*row)["answers"], told = (*row)["told"];
    const std::string good = bad.starts_with("[Company]") ? "[Colors]\nBackground=#123456\n"
                                                          : "[Company]\nName=Tabula\n";
    EXPECT_EQ(Run(Verb::Apply, good + bad), Exit::Refused) << bad;
    EXPECT_EQ(FileText(g_strConfigFile) + FileText(g_strTextFile), before) << bad;
    EXPECT_NE(Log().find(told), std::string::npos) << told;
  }
  ASSERT_TRUE(demo::ResetMachine());
  EXPECT_EQ(Run(Verb::Apply, "[Colors]\n"), Exit::NoInstallation);
}

}  // namespace
