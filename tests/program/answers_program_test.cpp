// okapi.exe /export, /apply and /verify as deployment tools run them: no
// window with /quiet (a box would keep the process waiting), and the exit
// code says how it went.
#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

constexpr char kAnswers[] = "c:\\answers.ini";

DWORD Quietly(const std::string& arguments) {
  Program program(kProgram, " " + arguments + " /quiet");
  EXPECT_TRUE(program.Started());
  return program.WaitExit(20000);
}

TEST_F(ProgramTest, AnswersRunWithoutAWindowAndTellByExitCode) {
  auto& files = *platform::Os().files;
  const std::string file = kAnswers;
  EXPECT_EQ(0u, Quietly("/export " + file));
  EXPECT_EQ(0u, Quietly("/verify " + file));
  ASSERT_TRUE(files.WriteFileAtomic(file, "[Colors]\r\nMenu=#123456\r\n"));
  EXPECT_EQ(1u, Quietly("/verify " + file));
  EXPECT_EQ(0u, Quietly("/apply " + file));
  EXPECT_EQ(0u, Quietly("/verify " + file));
  ASSERT_TRUE(files.WriteFileAtomic(file, "[Colours]\r\nMenu=#123456\r\n"));
  EXPECT_EQ(2u, Quietly("/apply " + file));
  EXPECT_EQ(2u, Quietly("/apply"));  // no file named

  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  EXPECT_EQ(5u, Quietly("/verify " + file));
  Cancel(wizard, program);
  const std::string log =
      files.ReadFile(std::string(demo::kFixedInstallDir) + "customization\\okapi.log").value_or("");
  EXPECT_NE(std::string::npos, log.find("refused: c:\\answers.ini line 1: OKAPI knows no section"))
      << log;
}

}  // namespace
