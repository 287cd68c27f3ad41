// The company-name page in the wizard, on laid installations, driven
// through the headless backend.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"

namespace {

using fw::headless::SheetDriver;

class PageTest : public okapi_test::WizardTest {
 protected:
  static std::string Text(const std::string& key) {
    return store::ReadString("Lumen Text", key, "Error", 256, g_strTextFile);
  }
  static void SetText(const std::string& key, const std::string& value) {
    ASSERT_TRUE(store::WriteString("Lumen Text", key, value, g_strTextFile));
  }
  // Types `name` on the company page of a fresh run and presses Next.
  void RunWith(const std::string& name) {
    SheetDriver run = OpenAt(IDD_MODIFIED);
    run.Page().Type(IDC_MODIFIED_COMPANY, name);
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
  }
};

using CompanyNameTest = PageTest;

TEST_F(CompanyNameTest, RefusedNamesKeepThePageAndTheFile) {
  for (const auto& [typed, message] :
       {std::pair<std::string, const char*>{"", "You need to enter a company name"},
        {std::string(31, 'n'), "The company name you entered is too long"},
        {"Contoso \"Labs\"", "The company name cannot contain a double quote (\")"}}) {
    SCOPED_TRACE(typed);
    SheetDriver run = OpenAt(IDD_MODIFIED);
    const std::string before = File(g_strTextFile);
    const std::size_t shown = Shown();
    run.Page().Type(IDC_MODIFIED_COMPANY, typed);
    run.PressNext();
    EXPECT_EQ(unsigned{IDD_MODIFIED}, run.ActiveTemplateId());
    EXPECT_EQ(std::vector{std::string("Information: ") + message}, Told(shown));
    EXPECT_EQ(before, File(g_strTextFile));
    run.PressCancel();
  }
}

TEST_F(CompanyNameTest, FirstTitleFollowsTheLastTitleWithoutSuffix) {
  SetText("Text1_org", "__TITLE__,\"Old Help\"");
  SetText(demo::slots::kTitle, "__TITLE__,\"New Help\"");
  RunWith("Contoso");
  EXPECT_EQ("__TITLE__,\"New Help\"", Text("Text1_org"));
  EXPECT_EQ("__TITLE__,\"New Help - Modified by Contoso\"", Text(demo::slots::kTitle));
}

TEST_F(CompanyNameTest, WithoutAFirstTitleTheTitleIsLeftAloneAndTheUserTold) {
  const std::string modified = "__TITLE__,\"Help - Modified by Someone Else\"";
  SetText(demo::slots::kTitle, modified);
  EXPECT_EQ("Someone Else", OpenAt(IDD_MODIFIED).Page().Text(IDC_MODIFIED_COMPANY));
  RunWith("Contoso");
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
  EXPECT_EQ("Error", Text("Text1_org"));
  EXPECT_EQ("Error", Text("Error"));  // nothing written under the sentinel either
  ASSERT_EQ(1u, Shown());
  EXPECT_NE(std::string::npos, LastTold().find("Text1_org"));
}

TEST_F(CompanyNameTest, WithoutATitleEntryNothingIsWrittenAndTheUserTold) {
  for (const char* map : {"", "[TEXT]\r\n__TITLE__=\r\n"}) {  // marker never seen; empty slot
    SCOPED_TRACE(map);
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strTextFile, "[Lumen Text]\r\n"));
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(g_strMapFile, map));
    const std::size_t shown = Shown();
    RunWith("Contoso");
    // The menu page, now shown, may flag its first values under [Other].
    EXPECT_TRUE(store::ReadKeyNames("Lumen Text", g_strTextFile).empty()) << File(g_strTextFile);
    ASSERT_EQ(shown + 1, Shown());
    EXPECT_NE(std::string::npos, LastTold().find("__TITLE__"));
  }
}

// A title this page built may be longer than the 127 characters a short read
// would give: the whole name must come back and be replaced, not cut.
TEST_F(CompanyNameTest, LongTitleKeepsTheWholeNameAcrossRuns) {
  const std::string first = "__TITLE__,\"" + std::string(110, 'h') + "\"";
  SetText(demo::slots::kTitle, first);
  const std::string name(30, 'n');  // the longest accepted
  RunWith(name);
  const std::string modified = first.substr(0, first.size() - 1) + " - Modified by " + name + "\"";
  ASSERT_GT(modified.size(), 127u);
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
  SheetDriver run = OpenAt(IDD_MODIFIED);
  EXPECT_EQ(name, run.Page().Text(IDC_MODIFIED_COMPANY));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(modified, Text(demo::slots::kTitle));
}

}  // namespace
