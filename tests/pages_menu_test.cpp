// The menu and welcome-page pages in the wizard, on laid installations of
// both editions, driven through the headless backend.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "pages/app_menu.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::SheetDriver;
namespace slots = demo::slots;
using Value = std::optional<std::string>;

// Where a value sits.
struct At {
  const std::string* file;
  const char* section;
  std::string key;
};
At InText(const std::string& key) { return {&g_strTextFile, "Lumen Text", key}; }
At InConfig(const char* section, const std::string& key) {
  return {&g_strConfigFile, section, key};
}
const At kMenu4Flag = {&g_strMapFile, "Install", "Menu4"};

std::string Get(const At& at) {
  return store::ReadString(at.section, at.key, "Error", 4096, *at.file);
}
void Put(const At& at, const Value& value) {
  ASSERT_TRUE(store::WriteString(at.section, at.key, value, *at.file));
}

constexpr int kTitles[] = {IDC_APPMENU_TITLE1, IDC_APPMENU_TITLE2, IDC_APPMENU_TITLE3,
                           IDC_APPMENU_TITLE4};
constexpr int kLetters[] = {IDC_APPMENU_ALT_KEY1, IDC_APPMENU_ALT_KEY2, IDC_APPMENU_ALT_KEY3,
                            IDC_APPMENU_ALT_KEY4};

// Types "title|title|title|title" and four letters; "." keeps a field, "_"
// empties a letter.
void Fill(DialogDriver page, std::string titles, const std::string& letters) {
  for (int i = 0; i < 4; ++i) {
    const auto bar = titles.find('|');
    if (titles.substr(0, bar) != ".") page.Type(kTitles[i], titles.substr(0, bar));
    titles = bar == std::string::npos ? "" : titles.substr(bar + 1);
    if (letters[i] != '.') page.Type(kLetters[i], letters[i] == '_' ? "" : letters.substr(i, 1));
  }
}

class MenuPagesTest : public okapi_test::WizardTest {
 protected:
  void Lay(bool v35, bool visualMap = true) {
    installation.llb3 = v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    installation.usesVisualMap = visualMap;
    WizardTest::Lay();
  }
};

TEST(MenuTitleEntry, ParsesWhatCanBeParsed) {
  const struct {
    Value entry;
    const char *title, *letter;
  } rows[] = {
      {std::nullopt, "", ""},
      {"__MENU1_TITLE__", "", ""},
      {"__MENU1_TITLE__,\"Plain text\"", "Plain text", ""},
      {"__MENU1_TITLE__,\"<u></u>Empty mark\"", "Empty mark", ""},
      {"__MENU1_TITLE__,\"Cut <u", "Cut <u", ""},
      {"__MENU1_TITLE__,\"Ends <u>", "Ends ", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.entry.value_or("missing"));
    const MenuTitle parsed = ParseMenuTitle(row.entry);
    EXPECT_EQ(row.title, parsed.title);
    EXPECT_EQ(row.letter, parsed.letter);
  }
}

TEST_F(MenuPagesTest, PageFollowsEditionFourthMenuAndSystemDetailsAndNextRoutes) {
  const struct {
    bool v35;
    Value menu4;  // in the map file before the start
    bool visualMap, sysHidden;
    unsigned afterMenu, afterWelcome;  // 0: no welcome page
  } rows[] = {
      {true, std::nullopt, true, false, IDD_WMENU, IDD_VICONS},
      {true, "True", false, true, IDD_WMENU, IDD_BACKGROUNDS},
      {true, "False", true, false, IDD_VICONS, 0},
      {true, "False", false, true, IDD_BACKGROUNDS, 0},
      {false, std::nullopt, true, false, IDD_VICONS, 0},
      {false, "True", false, true, IDD_BACKGROUNDS, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "3.5 " << row.v35 << ", Menu4 " << row.menu4.value_or("-")
                                    << ", Visual Map " << row.visualMap);
    Lay(row.v35, row.visualMap);
    if (row.menu4) Put(kMenu4Flag, row.menu4);
    if (row.menu4 == "False") Put(InText(slots::kMenu4Title), "__MENUx_TITLE__,\"<u>W</u>elcome\"");
    if (row.sysHidden && row.v35) {
      Put(InConfig("Small Styles", slots::kSmallSysInfoStyle), ".sysInfo {visibility: hidden;}");
    }
    if (row.sysHidden && !row.v35)
      Put(InText(slots::kSystemInformation), "__System_Information__,\"\"");
    SheetDriver run = OpenAt(IDD_APPMENU);
    const DialogDriver page = run.Page();
    const bool fourthOn = row.v35 && row.menu4 != "False";
    EXPECT_EQ("G", page.Text(IDC_APPMENU_ALT_KEY1));
    EXPECT_EQ(row.v35, page.Visible(IDC_APPMENU_WELCOME_TITLE_CHECK));
    EXPECT_EQ(fourthOn, page.Check(IDC_APPMENU_WELCOME_TITLE_CHECK) == 1);
    EXPECT_EQ(fourthOn, page.Visible(IDC_APPMENU_TITLE4));
    EXPECT_EQ(fourthOn, page.Visible(IDC_APPMENU_ALT_KEY4));
    EXPECT_EQ(row.v35 ? "Welcome" : "4", page.Text(IDC_APPMENU_TITLE4));
    EXPECT_EQ(row.v35 ? "W" : "4", page.Text(IDC_APPMENU_ALT_KEY4));
    EXPECT_EQ(!row.sysHidden, page.Check(IDC_APPMENU_SYS_DETAILS) == 1);
    EXPECT_EQ(row.v35 ? row.menu4.value_or("True") : row.menu4.value_or("Error"), Get(kMenu4Flag));

    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(row.afterMenu, run.ActiveTemplateId());
    if (row.afterWelcome) {
      ASSERT_TRUE(run.PressNext());
      EXPECT_EQ(row.afterWelcome, run.ActiveTemplateId());
    }
    run.PressCancel();
  }
  EXPECT_EQ(std::vector<std::string>{}, Told(0));
}

std::string Used(const std::string& keys, const std::string& change) {
  return "Error: The accelerator keys " + keys + " are already used. Change Alt-Key" + change +
         " to another key";
}

TEST_F(MenuPagesTest, NextRefusesWithTheExactMessageBeforeWritingAnything) {
  // Typed over the demo's Getting Started/G, Help and Support/H, Tools/T, Welcome/W.
  const struct {
    std::string titles, letters;
    std::optional<Value> about;  // replaces the About entry
    std::string told;
  } rows[] = {
      // clang-format off
      {".||.|.", "a...", {}, "Information: You need to enter a Menu Title"},
      {".|.|" + std::string(31, 'T') + "|.", "....", {},
       "Information: One of the menu titles is too long."},
      {"Get \"Started\"|.|.|.", "....", {}, "Information: The menu title \"Get \"Started\"\" "
       "cannot contain a double quote (\") or the characters < and >."},
      {".|.|.|.", "..._", {}, "Information: You need to enter an Alt-Key letter"},
      {"Start|.|.|.", "a...", {}, Used("A, K, P, S", "1(a)")},
      {"Go!|.|.|.", "!...", {}, Used("A, K, P, S", "1(!)")},
      {"Fun|Fix|.|.", "fF..", {}, Used("A, K, P, S F", "2(F)")},
      {"go|hi|it|It", "ghiI", {}, Used("A, K, P, S G, H", "4(I)")},
      {"kit|.|.|.", "k...", Value(), Used("K, P, S", "1(k)")},
      {".|Stop|.|.", ".S..", "__ABOUT_ALT_KEY__,", Used("K, P, S G", "2(S)")},
      {"Help|.|.|.", "x...", {}, "Error: The accelerator key x was not found, Please re-enter it"},
      {".|.|.|.", "...Z", {}, "Error: The accelerator key Z was not found, Please re-enter it"},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.told);
    Lay(true);
    if (row.about) Put(InText(slots::kAboutAltKey), *row.about);
    SheetDriver run = OpenAt(IDD_APPMENU);
    const std::string text = File(g_strTextFile);
    Fill(run.Page(), row.titles, row.letters);
    run.PressNext();
    EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
    EXPECT_EQ(row.told, LastTold());
    EXPECT_EQ(text, File(g_strTextFile));
    run.PressCancel();
  }
}

TEST_F(MenuPagesTest, SystemDetailsHideAndShowKeepTheFirstValues) {
  const struct {
    bool v35;
    std::vector<std::pair<At, std::string>> hidden;
  } rows[] = {
      {true,
       {{InConfig("Small Styles", slots::kSmallSysInfoStyle),
         ".sysInfo {color: #003366; cursor: hand; visibility: hidden;}"},
        {InConfig("Large Styles", slots::kLargeSysInfoStyle),
         ".sysinfo {color: #003366; cursor: hand; visibility: hidden;}"}}},
      {false,
       {{InText(slots::kSystemInformation), "__System_Information__,\"\""},
        {InText(slots::kSysInfoAltKey), "__SYSINFO_ALT_KEY__,0"}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.v35 ? "3.5" : "3.0");
    Lay(row.v35);
    std::vector<std::string> first;
    for (const auto& [at, value] : row.hidden) first.push_back(Get(at));
    for (bool secondRun : {false, true}) {  // the second run keeps the first backups
      SheetDriver run = OpenAt(IDD_APPMENU);
      EXPECT_EQ(!secondRun, run.Page().Check(IDC_APPMENU_SYS_DETAILS) == 1);
      if (!secondRun) {
        ASSERT_TRUE(run.Page().Click(IDC_APPMENU_SYS_DETAILS)) << "hide";
      }
      for (const auto& [at, value] : row.hidden) EXPECT_EQ(value, Get(at)) << at.key;
      if (secondRun) {
        ASSERT_TRUE(run.Page().Click(IDC_APPMENU_SYS_DETAILS)) << "show";
      }
      run.PressCancel();
    }
    // Shown again from the first values the first run kept.
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i], Get(row.hidden[i].first));
  }
  EXPECT_EQ(std::vector<std::string>{}, Told(0));
}

TEST_F(MenuPagesTest, MissingFirstValuesAreNeitherSavedNorRestored) {
  Put(InConfig("Small Styles", slots::kSmallSysInfoStyle), std::nullopt);
  Put(InConfig("Large Styles", slots::kLargeSysInfoStyle), "");
  SheetDriver run = OpenAt(IDD_APPMENU);
  EXPECT_EQ("Error", Get(InConfig("Small Styles", "sysInfo_org")));
  EXPECT_EQ("Error", Get(InConfig("Large Styles", "sysInfo_org")));
  const std::string config = File(g_strConfigFile);
  ASSERT_TRUE(run.Page().Click(IDC_APPMENU_SYS_DETAILS));
  EXPECT_EQ(config, File(g_strConfigFile));
  EXPECT_EQ(1, run.Page().Check(IDC_APPMENU_SYS_DETAILS));  // nothing was hidden
  EXPECT_NE(std::string::npos, LastTold().find("sysInfo_org in section [Small Styles]"));
}

TEST_F(MenuPagesTest, AFailedSaveOfFirstValuesIsTriedAgainAtTheNextStart) {
  const At flag = {&g_strTextFile, "Other", "SysDetails_saved"};
  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strConfigFile));
  OpenAt(IDD_APPMENU).PressCancel();
  EXPECT_EQ("Error", Get(flag));
  ASSERT_TRUE(platform::Os().files->SetAttributesNormal(g_strConfigFile));
  OpenAt(IDD_APPMENU).PressCancel();
  EXPECT_EQ("TRUE", Get(flag));
  EXPECT_EQ(".sysInfo {color: #003366; cursor: hand;}",
            Get(InConfig("Small Styles", "sysInfo_org")));
}

TEST_F(MenuPagesTest, FourthMenuSwitchChangesMarkerFlagAndDefaultMenu) {
  const std::string welcome = "_TITLE__,\"<u>W</u>elcome\"";
  const struct {
    Value title4, defaultMenu;  // replace the demo's entries
    std::string told;           // part of the message; empty: none
  } rows[] = {
      {"__MENU4" + welcome, "__DEFAULT_MENU__,MENU1", ""},
      {std::nullopt, "__DEFAULT_MENU__,MENU1", "__MENU4_TITLE__ in lumen-text"},
      {"__MENU4" + welcome, "__DEFAULT_MENU__,", "__DEFAULT_MENU__ in lumen-config"},
  };
  const At defaultMenu = InConfig("Global Options", slots::kDefaultMenu);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.told);
    Lay(true);
    Put(InText(slots::kMenu4Title), row.title4);
    Put(defaultMenu, row.defaultMenu);
    SheetDriver run = OpenAt(IDD_APPMENU);
    const std::size_t before = Shown();
    for (bool on : {false, true}) {
      ASSERT_TRUE(run.Page().Click(IDC_APPMENU_WELCOME_TITLE_CHECK));
      EXPECT_EQ(on, run.Page().Visible(IDC_APPMENU_TITLE4));
      EXPECT_EQ(on ? "True" : "False", Get(kMenu4Flag));
      EXPECT_EQ(row.title4 ? (on ? "__MENU4" : "__MENUx") + welcome : "Error",
                Get(InText(slots::kMenu4Title)));
      const bool whole = row.defaultMenu == "__DEFAULT_MENU__,MENU1";
      EXPECT_EQ(whole ? std::string("__DEFAULT_MENU__,MENU") + (on ? "4" : "1") : *row.defaultMenu,
                Get(defaultMenu));
      if (!row.told.empty()) {
        EXPECT_NE(std::string::npos, LastTold().find(row.told));
      }
    }
    EXPECT_EQ(before + (row.told.empty() ? 0 : 2), Shown());
    run.PressCancel();
  }
}

// Records starts instead of making processes.
class FakeProcesses : public platform::Processes {
 public:
  bool Start(const std::string& commandLine, const std::string& currentDirectory) override {
    started.push_back(commandLine + " | " + currentDirectory);
    return !refuse;
  }
  std::vector<std::string> started;
  bool refuse = false;
};

TEST_F(MenuPagesTest, OpenCsvFileStartsTheFirstSpreadsheetFound) {
  const std::string excel = "c:\\Program Files\\Microsoft Office\\Office\\excel.exe";
  const std::string calc = "c:\\tabula\\calc\\calcw.exe";
  const std::string dir = demo::kFixedInstallDir, longDir = "c:\\" + std::string(300, 'd') + "\\";
  const std::string table = " \"" + dir + "machine-specifics.csv\"";
  const struct {
    bool excel, calc, refuse;
    std::string installDir;
    std::vector<std::string> started, told;
  } rows[] = {
      // clang-format off
      {true, true, false, dir, {excel + table + " | " + dir}, {}},
      {false, true, false, longDir,
       {calc + " \"" + longDir + "machine-specifics.csv\" | " + longDir}, {}},
      {false, false, false, dir, {},
       {"OKAPI: Can't find either Tabula Calc or Microsoft Excel in their default location",
        "Information: You may need to either install Tabula Calc or Microsoft Excel to open the "
        "Machine-Specifics.CSV file or \n you need to start one of these application and open "
        "the file yourself."}},
      {false, true, true, dir, {calc + table + " | " + dir},
       {"OKAPI: The spreadsheet program could not be started:\n" + calc + table +
        "\n\nStart it yourself and open the file in it."}},
      // clang-format on
  };
  std::unique_ptr<platform::Processes> fake = std::make_unique<FakeProcesses>();
  auto& processes = static_cast<FakeProcesses&>(*fake);
  std::swap(platform::Os().processes, fake);
  SheetDriver run = OpenAt(IDD_APPMENU);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.installDir.substr(0, 24));
    for (const auto& [path, wanted] : {std::pair{excel, row.excel}, std::pair{calc, row.calc}}) {
      EXPECT_TRUE(demo::RemoveTree(path));
      if (wanted) {
        ASSERT_TRUE(demo::MakeDirectories(path.substr(0, path.rfind('\\'))));
        ASSERT_TRUE(platform::Os().files->WriteFileAtomic(path, "MZ"));
      }
    }
    g_strInstallDir = row.installDir;
    g_strCsvFile = row.installDir + "machine-specifics.csv";
    processes.started.clear();
    processes.refuse = row.refuse;
    const std::size_t before = Shown();
    ASSERT_TRUE(run.Page().Click(IDC_APPMENU_OPEN_CSV));
    EXPECT_EQ(row.started, processes.started);
    EXPECT_EQ(row.told, Told(before));
  }
  DiscoverInstallation();
  EXPECT_TRUE(demo::RemoveTree("c:\\Program Files\\Microsoft Office"));
  EXPECT_TRUE(demo::RemoveTree(calc));
  std::swap(platform::Os().processes, fake);
}

constexpr int kTexts[] = {IDC_WMENU_INTRO, IDC_WMENU_TAB1_DESC, IDC_WMENU_TAB2_DESC,
                          IDC_WMENU_TAB3_DESC, IDC_WMENU_CLOSING};

TEST_F(MenuPagesTest, WelcomeTextsRoundTripWithLineBreaksAndTheCurrentMenuTitles) {
  Put(InText(slots::kWelcomeIntro), "__WELCOME_INTRO__,\"Welcome to your computer\"");
  Put(InText(slots::kTab1Description), "__TAB1_DESCRIPTION__,\"Just text\"");
  Put(InText(slots::kTab2Description), "__TAB2_DESCRIPTION__,\"<b>Help Center</b> Find answers\"");
  Put(InText(slots::kTab3Description), "__TAB3_DESCRIPTION__,\"<b>Tools</b> One<br>Two\"");
  Put(InText(slots::kWelcomeClosing), "__WELCOME_CLOSING__");
  SheetDriver run = OpenAt(IDD_WMENU);
  const std::string loaded[] = {"Welcome to your computer", "Just text", "Find answers",
                                "One\r\nTwo", ""};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(loaded[i], run.Page().Text(kTexts[i])) << i;

  // A title renamed after the page was first shown reaches its label and entry.
  ASSERT_TRUE(run.PressBack());
  Fill(run.Page(), ".|Support|.|.", ".u..");
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ("Support", run.Page().Text(IDC_WMENU_MENU2_LABEL));
  EXPECT_EQ("Find answers", run.Page().Text(IDC_WMENU_TAB2_DESC));  // what the user left
  ASSERT_TRUE(run.Page().Type(IDC_WMENU_INTRO, "First\r\nSecond"));
  ASSERT_TRUE(run.Page().Type(IDC_WMENU_TAB3_DESC, "Shape\nup"));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(unsigned{IDD_VICONS}, run.ActiveTemplateId());
  const std::pair<const char*, const char*> written[] = {
      {slots::kWelcomeIntro, "__WELCOME_INTRO__,\"First<br>Second\""},
      {slots::kTab1Description, "__TAB1_DESCRIPTION__,\"<b>Getting Started</b> Just text\""},
      {slots::kTab2Description, "__TAB2_DESCRIPTION__,\"<b>Support</b> Find answers\""},
      {slots::kTab3Description, "__TAB3_DESCRIPTION__,\"<b>Tools</b> Shape<br>up\""},
      {slots::kWelcomeClosing, "__WELCOME_CLOSING__,\"\""},
  };
  for (const auto& [slot, entry] : written) EXPECT_EQ(entry, Get(InText(slot)));
  run.PressCancel();

  SheetDriver again = OpenAt(IDD_WMENU);
  EXPECT_EQ("First\r\nSecond", again.Page().Text(IDC_WMENU_INTRO));
  EXPECT_EQ("Shape\r\nup", again.Page().Text(IDC_WMENU_TAB3_DESC));
  EXPECT_EQ(std::vector<std::string>{}, Told(0));
}

TEST_F(MenuPagesTest, WelcomeTextsThatWouldNotComeBackWholeAreRefused) {
  const struct {
    int control;
    std::string text;
    std::string told;  // empty: accepted
  } rows[] = {
      {IDC_WMENU_TAB2_DESC, "Say \"hi\"",
       "Information: The description of the second tab cannot contain a double quote (\")."},
      {IDC_WMENU_INTRO, std::string(491, 'i'), ""},
      {IDC_WMENU_INTRO, std::string(492, 'i'),
       "Information: The introduction is too long: it may have at most 491 characters, a line "
       "break counting as four."},
      {IDC_WMENU_CLOSING, std::string(240, 'c') + "\r\n\r\n" + std::string(248, 'c'),
       "Information: The closing text is too long: it may have at most 489 characters, a line "
       "break counting as four."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text.substr(0, 12));
    Lay(true);
    SheetDriver run = OpenAt(IDD_WMENU);
    const std::string text = File(g_strTextFile);
    const std::size_t before = Shown();
    ASSERT_TRUE(run.Page().Type(row.control, row.text));
    run.PressNext();
    const unsigned page = row.told.empty() ? IDD_VICONS : IDD_WMENU;
    EXPECT_EQ(page, run.ActiveTemplateId());
    if (row.told.empty()) {
      EXPECT_EQ(511u, Get(InText(slots::kWelcomeIntro)).size());
    } else {
      EXPECT_EQ(text, File(g_strTextFile));
    }
    EXPECT_EQ(row.told.empty() ? std::vector<std::string>{} : std::vector{row.told}, Told(before));
    run.PressCancel();
  }
}

TEST_F(MenuPagesTest, WelcomeImageFirstValueIsKeptOnlyWhenThere) {
  const At org = InConfig("Global Options", "WELCOME_IMAGE_org");
  const At flag = {&g_strConfigFile, "Other", "WelcomeImage_saved"};
  const At image = InConfig("Global Options", slots::kWelcomeImage);
  Put(image, std::nullopt);
  OpenAt(IDD_WMENU).PressCancel();
  EXPECT_EQ("Error", Get(org));
  EXPECT_EQ("Error", Get(flag));

  Put(image, "__WELCOME_IMAGE__,spacer.gif");
  SheetDriver run = OpenAt(IDD_WMENU);
  EXPECT_EQ(0, run.Page().Check(IDC_WMENU_IMAGE_CHECK));
  EXPECT_FALSE(run.Page().Visible(IDC_WMENU_IMAGE_CHECK) ||
               run.Page().Enabled(IDC_WMENU_IMAGE_CHECK));
  EXPECT_EQ("__WELCOME_IMAGE__,spacer.gif", Get(org));
  EXPECT_EQ("TRUE", Get(flag));
  // Nobody can click the hidden check box; its handler still keeps the pair.
  Put(org, "__WELCOME_IMAGE__,welcome.gif");
  for (int on : {1, 0}) {
    wizard->wmenu.CheckDlgButton(IDC_WMENU_IMAGE_CHECK, on);
    wizard->wmenu.OnWelcomeImageClicked();
    EXPECT_EQ(on ? "__WELCOME_IMAGE__,welcome.gif" : "__WELCOME_IMAGE__,spacer.gif", Get(image));
  }
}

}  // namespace
