// okapi.exe /restore as a user runs it: real message boxes under Wine.
#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

constexpr char kConfigFile[] = "c:\\zantools\\zanhelp\\lumen-config.ini";
constexpr char kBackup[] = "c:\\zantools\\zanhelp\\customization\\backup\\";

std::string File(const std::string& path) {
  return platform::Os().files->ReadFile(path).value_or("<missing>");
}

// Waits for the program's next message box, gives its text and answers it.
std::string Answer(Program& program, int button) {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = FindProgramDialog(program.Id(), "OKAPI")) != nullptr; }))
    return "<no box>";
  const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
  PostMessageA(box, WM_COMMAND, button, 0);
  WaitFor([&] { return !IsWindow(box); }, 5000);
  return text;
}

using RestoreProgramTest = ProgramTest;

TEST_F(RestoreProgramTest, YesPutsTheFilesBackAndAWizardRunningRefusesIt) {
  {
    Program wizard;  // the first run makes the backup
    HWND sheet = Start(wizard);
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(store::WriteString("Other", "VersionCM", "9", kConfigFile));
    ASSERT_TRUE(store::WriteString("Lumen Text", "TEXT1", "__TITLE__,\"Changed\"", kTextFile));

    Program refused(kProgram, " /restore");
    EXPECT_NE(std::string::npos, Answer(refused, IDOK).find("The OKAPI wizard is running"));
    EXPECT_EQ(1u, refused.WaitExit());
    Cancel(sheet, wizard);
  }
  Program restore(kProgram, " /RESTORE");
  const std::string plan = Answer(restore, IDYES);
  EXPECT_NE(std::string::npos, plan.find("lumen-config.ini (1 entry differs now)")) << plan;
  EXPECT_NE(std::string::npos, plan.find("lumen-text.ini (1 entry differs now)")) << plan;
  EXPECT_NE(std::string::npos, Answer(restore, IDOK).find("Put back as they were"));
  EXPECT_EQ(0u, restore.WaitExit());
  EXPECT_EQ(File(std::string(kBackup) + "lumen-config.ini"), File(kConfigFile));
  EXPECT_EQ(File(std::string(kBackup) + "lumen-text.ini"), File(kTextFile));
}

}  // namespace
