// The opening image on the real okapi.exe: an installation that lost its
// entry told in the labels and at Finish.
#include "tests/program/program_driver.h"

namespace okapi_program {
namespace {

// Refusing to delete the opening image's entry is the page model's test;
// the journeys press Delete on the real page.
TEST_F(ProgramTest, ALostOpeningImageIsToldInTheLabelsAndBeforePackaging) {
  // As an earlier version's Delete left it.
  const std::string dir = demo::kFixedInstallDir;
  ASSERT_TRUE(store::WriteString("Backgrounds", "BACK1TEXT", std::nullopt, dir + "lumen-text.ini"));
  ASSERT_TRUE(store::WriteString("Backgrounds", "BACK1", std::nullopt, dir + "lumen-config.ini"));
  ASSERT_NO_FATAL_FAILURE(StartAt(IDD_BACKGROUNDS));
  HWND page = CurrentPage(wizard);
  EXPECT_EQ("Not listed: ocean.jpg", TextOf(GetDlgItem(page, IDC_BACKGROUNDS_CURRENT_NAME)));
  EXPECT_EQ("Not listed: Ocean", TextOf(GetDlgItem(page, IDC_BACKGROUNDS_DEFAULT_NAME)));
  Screenshot(wizard, "backgrounds-opening-image-lost");
  ASSERT_NO_FATAL_FAILURE(NextTo(IDD_PACKAGING));
  PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
  const std::string told = AnswerBox(*program, "OKAPI", IDNO);
  EXPECT_TRUE(told.starts_with("The opening image is ocean.jpg, which is not in the background"))
      << told;
  EXPECT_TRUE(WaitFor([&] { return ActiveTemplate(wizard) == IDD_PACKAGING; }, 2000));
  EXPECT_FALSE(platform::Os().files->Exists(dir + "customization\\package\\lumen-config.ini"))
      << "packaged after No";
  Cancel();
}

}  // namespace
}  // namespace okapi_program
