// The opening image on the real okapi.exe: its entry kept from Delete, and an
// installation that lost it told in the label and at Finish.
#include "tests/program/program_driver.h"

namespace okapi_program {
namespace {

constexpr char kText[] = "c:\\zantools\\zanhelp\\lumen-text.ini";
constexpr char kConfig[] = "c:\\zantools\\zanhelp\\lumen-config.ini";

std::string Entry(const char* section, const char* key, const char* file) {
  return store::ReadString(section, key, "<none>", 256, file);
}

TEST_F(ProgramTest, OpeningImageKeepsItsEntryAndALostOneIsToldBeforePackaging) {
  {
    ASSERT_NO_FATAL_FAILURE(StartAt(IDD_BACKGROUNDS));
    HWND page = CurrentPage(wizard);
    HWND list = GetDlgItem(page, IDC_BACKGROUNDS_LIST);
    const LRESULT ocean =
        SendMessageA(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Ocean"));
    ASSERT_NE(LB_ERR, ocean);
    SendMessageA(list, LB_SETCURSEL, ocean, 0);
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BACKGROUNDS_DELETE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_BACKGROUNDS_DELETE)));
    EXPECT_EQ(
        "\"Ocean\" cannot be deleted: it is the opening image's Current Setting and Default "
        "Setting.\n\nSelect another entry and click Current Setting and Default Setting first, "
        "then delete \"Ocean\".",
        AnswerBox(*program, "Information"));
    EXPECT_EQ(ocean, SendMessageA(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Ocean")));
    EXPECT_EQ("Ocean", Entry("Backgrounds", "BACK1TEXT", kText));
    EXPECT_EQ("ocean.jpg", Entry("Backgrounds", "BACK1", kConfig));
    Cancel();
  }

  // As an earlier version's Delete left it.
  for (const auto& [key, file] : {std::pair{"BACK1TEXT", kText}, std::pair{"BACK1", kConfig}})
    ASSERT_TRUE(store::WriteString("Backgrounds", key, std::nullopt, file));
  ASSERT_NO_FATAL_FAILURE(StartAt(IDD_BACKGROUNDS));
  HWND page = CurrentPage(wizard);
  EXPECT_EQ("Not listed: ocean.jpg", TextOf(GetDlgItem(page, IDC_BACKGROUNDS_CURRENT_NAME)));
  EXPECT_EQ("Not listed: Ocean", TextOf(GetDlgItem(page, IDC_BACKGROUNDS_DEFAULT_NAME)));
  Screenshot(wizard, "backgrounds-opening-image-lost");
  ASSERT_NO_FATAL_FAILURE(NextTo(IDD_PACKAGING));
  PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
  const std::string told = AnswerBox(*program, "OKAPI", IDNO);
  EXPECT_TRUE(
      told.starts_with("The opening image is ocean.jpg, which is not in the background "
                       "list"))
      << told;
  EXPECT_TRUE(WaitFor([&] { return ActiveTemplate(wizard) == IDD_PACKAGING; }, 2000));
  EXPECT_FALSE(
      platform::Os().files->Exists("c:\\zantools\\zanhelp\\customization\\package\\"
                                   "lumen-config.ini"))
      << "packaged after No";
  Cancel();
}

}  // namespace
}  // namespace okapi_program
