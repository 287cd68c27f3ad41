// Finish in the built okapi.exe: a missing background image is told in real
// message boxes and keeps the wizard; with the image in place the wizard
// closes, the program ends, and the package holds exactly what it should.
#include <algorithm>

#include "platform/ascii.h"
#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;

constexpr char kInstall[] = "c:\\zantools\\zanhelp\\";
constexpr char kPackage[] = "c:\\zantools\\zanhelp\\customization\\package";

std::string Contents(const std::string& path) {
  return platform::Os().files->ReadFile(path).value_or("<missing>");
}

std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names = platform::Os().files->Find(dir + "\\*");
  std::sort(names.begin(), names.end(), platform::LessNoCaseAscii);
  return names;
}

// Waits for the next box with this caption, gives its text and closes it.
std::string AnswerBox(Program& program, const char* caption, const std::string& shot,
                      int button = IDOK) {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = FindProgramDialog(program.Id(), caption)) != nullptr; }))
    return "<no box>";
  const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
  if (!shot.empty()) Screenshot(box, shot);
  PostMessageA(box, WM_COMMAND, button, 0);
  WaitFor([&] { return !IsWindow(box); });
  return text;
}

TEST_F(ProgramTest, FinishWaitsForAMissingImageThenAssemblesThePackage) {
  const std::string config = std::string(kInstall) + "lumen-config.ini";
  ASSERT_TRUE(store::WriteString("Backgrounds", "Back5", "missing.jpg", config));
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_PACKAGING));

  PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
  for (const char* size : {"small", "large"}) {
    EXPECT_EQ("Could not find the " + std::string(size) +
                  " version of the file missing.jpg. \n You need to copy this file into "
                  "c:\\zantools\\zanhelp\\images\\" +
                  size + " first.",
              AnswerBox(program, "Error", std::string("finish-missing-") + size));
  }
  ASSERT_TRUE(WaitFor([&] { return ActiveTemplate(wizard) == IDD_PACKAGING; }));
  EXPECT_EQ(wizard, FindWizard());
  EXPECT_EQ(DWORD{STILL_ACTIVE}, program.WaitExit(300));
  Screenshot(wizard, "finish-stays");

  for (const char* size : {"small", "large"}) {
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(
        std::string(kInstall) + "images\\" + size + "\\missing.jpg", size));
  }
  PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
  const std::string ready = AnswerBox(program, "OKAPI", "finish-ready", IDNO);
  EXPECT_TRUE(
      ready.starts_with("The package is ready in c:\\zantools\\zanhelp\\customization"
                        "\\package."))
      << ready;
  EXPECT_NE(std::string::npos, ready.find("customization\\changes.html")) << ready;
  EXPECT_EQ(0u, program.WaitExit());
  EXPECT_TRUE(platform::Os().files->Exists("c:\\zantools\\zanhelp\\customization\\changes.txt"));

  EXPECT_EQ((std::vector<std::string>{"chms", "images", "lumen-config.ini", "lumen-text.ini",
                                      "machine-specifics.csv"}),
            Listing(kPackage));
  for (const char* name : {"lumen-config.ini", "lumen-text.ini", "machine-specifics.csv"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Contents(kInstall + std::string(name)),
              Contents(kPackage + std::string("\\") + name));
  }
  EXPECT_NE(std::string::npos, Contents(config).find("Version=LB3.50  2\r\nVersionCM=2\r\n"))
      << "two presses of Finish, two stamps";
  EXPECT_EQ(
      "Model,Description,Screen,Keyboard\r\n"
      "LB3000,Lumen Larkbook 3000,\"1024,768\",US\r\n"
      "LB3500,\"Larkbook 3500, with dock\",\"1280,800\",UK\r\n"
      "ZN200,ZAN Notebook 200,\"800,600\",\r\n"
      "\r\n[MENU1]\r\nusesVisualMap=TRUE\r\nicon=menu1.gif\r\n",
      Contents(std::string(kPackage) + "\\machine-specifics.csv"));
  for (const char* size : {"small", "large"}) {
    SCOPED_TRACE(size);
    const std::string dir = std::string(kPackage) + "\\images\\" + size;
    EXPECT_EQ((std::vector<std::string>{"forest.jpg", "missing.jpg", "ocean.jpg", "On_the_Web.jpg",
                                        "sky.jpg", "spacer.gif"}),
              Listing(dir));
    for (const char* image : {"forest.jpg", "missing.jpg", "ocean.jpg", "On_the_Web.jpg"})
      EXPECT_EQ(Contents(kInstall + std::string("images\\") + size + "\\" + image),
                Contents(dir + "\\" + image));
  }
}

}  // namespace
