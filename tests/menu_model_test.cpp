// The menu page's and the welcome page's rules without their windows, on
// laid installations of both editions: what loads, the first refusal of
// Next, what is written, the switches and the first values they keep.
#include "pages/menu_model.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/discovery.h"
#include "pages/welcome_texts_model.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/profile.h"
#include "store/seed.h"
#include "tests/support/fixture_drive.h"

namespace {

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
const At kDefaultMenu = InConfig("Global Options", slots::kDefaultMenu);

std::string Get(const At& at) {
  return store::ReadString(at.section, at.key, "Error", 4096, *at.file);
}
void Put(const At& at, const Value& value) {
  ASSERT_TRUE(store::WriteString(at.section, at.key, value, *at.file));
}
std::string Bytes(const std::string& path) {
  return platform::Os().files->ReadFile(path).value_or("<missing>");
}

// "title|title|title|title" and four letters; "." keeps a field, "_"
// empties a letter.
void Type(MenuModel& model, std::string titles, const std::string& letters) {
  for (std::size_t i = 0; i < MenuModel::kMenus; ++i) {
    const auto bar = titles.find('|');
    if (titles.substr(0, bar) != ".") model.menus[i].title = titles.substr(0, bar);
    titles = bar == std::string::npos ? "" : titles.substr(bar + 1);
    if (letters[i] != '.') model.menus[i].letter = letters[i] == '_' ? "" : letters.substr(i, 1);
  }
}

class MenuModelTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Lay(true);
  }
  // The demo installation of one edition, its map file seeded as at start.
  void Lay(bool v35) {
    ASSERT_TRUE(demo::ResetMachine());
    installation.llb3 = v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    ASSERT_TRUE(demo::LayInstallation(installation));
    ASSERT_FALSE(CheckInstallation([](const std::string& told) { FAIL() << told; }));
    ASSERT_EQ(v35, g_bVersion35);
    SeedMapFile();
    failed.clear();
    store::SetWriteFailureReporter(
        [this](const std::string& file, const std::string&) { failed.push_back(file); });
  }
  static MenuModel LoadedMenus() {
    MenuModel model;
    model.Load(g_bVersion35);
    return model;
  }

  demo::Installation installation;
  std::vector<std::string> failed;  // files whose write was refused and told
};

TEST(MenuTitleEntry, ParsesWhatCanBeParsedAndMarksTheLetterAsTyped) {
  const struct {
    Value entry;
    const char *title, *letter;
  } parsed[] = {
      {std::nullopt, "", ""},
      {"__MENU1_TITLE__", "", ""},
      {"__MENU1_TITLE__,\"Plain text\"", "Plain text", ""},
      {"__MENU2_TITLE__,\"Get <u>S</u>tarted\"", "Get Started", "S"},
      {"__MENU1_TITLE__,\"<u></u>Empty mark\"", "Empty mark", ""},
      {"__MENU1_TITLE__,\"Cut <u", "Cut <u", ""},
  };
  for (const auto& row : parsed) {
    SCOPED_TRACE(row.entry.value_or("missing"));
    EXPECT_EQ(row.title, ParseMenuTitle(row.entry).title);
    EXPECT_EQ(row.letter, ParseMenuTitle(row.entry).letter);
  }
  EXPECT_EQ("T<u>o</u>ols", MarkMenuTitle("Tools", "o"));
  EXPECT_EQ(std::nullopt, MarkMenuTitle("Tools", "t"));
  EXPECT_EQ(std::nullopt, MarkMenuTitle("Tools", ""));
}

TEST_F(MenuModelTest, LoadFollowsEditionFourthMenuFlagAndSystemDetails) {
  const struct {
    bool v35;
    Value menu4;  // in the map file before the start
    bool sysHidden, fourthOn;
    std::string menu4After;
  } rows[] = {
      {true, std::nullopt, false, true, "True"}, {true, "Error", false, true, "True"},
      {true, "False", true, false, "False"},     {false, std::nullopt, false, false, "Error"},
      {false, "True", true, false, "True"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "3.5 " << row.v35 << ", Menu4 " << row.menu4.value_or("-"));
    Lay(row.v35);
    if (row.menu4) Put(kMenu4Flag, row.menu4);
    if (row.sysHidden && row.v35) {
      Put(InConfig("Small Styles", slots::kSmallSysInfoStyle), ".sysInfo {visibility: hidden;}");
    }
    if (row.sysHidden && !row.v35)
      Put(InText(slots::kSystemInformation), "__System_Information__,\"\"");
    const MenuModel model = LoadedMenus();
    EXPECT_EQ("Getting Started", model.menus[0].title);
    EXPECT_EQ("G", model.menus[0].letter);
    EXPECT_EQ(row.v35 ? "Welcome" : "4", model.menus[3].title);
    EXPECT_EQ(row.v35 ? "W" : "4", model.menus[3].letter);
    EXPECT_EQ(row.fourthOn, model.fourthMenu);
    EXPECT_EQ(!row.sysHidden, model.showSysDetails);
    EXPECT_EQ(row.menu4After, Get(kMenu4Flag));
  }
}

std::string Used(const std::string& keys, const std::string& change) {
  return "The accelerator keys " + keys + " are already used. Change Alt-Key" + change +
         " to another key";
}

TEST_F(MenuModelTest, CheckGivesTheFirstRefusalAndWritesNothing) {
  // Typed over the demo's Getting Started/G, Help and Support/H, Tools/T, Welcome/W.
  const Notice notFound{"The accelerator key Z was not found, Please re-enter it", "Error"};
  const struct {
    std::string titles, letters;
    std::optional<Value> about;  // replaces the About entry
    std::optional<Notice> told;
    bool fourthOn = true;
  } rows[] = {
      // clang-format off
      {".||.|.", "a...", {}, Notice{"You need to enter a Menu Title", "Information"}},
      {".|.|" + std::string(31, 'T') + "|.", "....", {},
       Notice{"One of the menu titles is too long.", "Information"}},
      {".|.|" + std::string(30, 'T') + "|.", "....", {}, std::nullopt},
      {"Get \"Started\"|.|.|.", "....", {}, Notice{"The menu title \"Get \"Started\"\" cannot "
       "contain a double quote (\") or the characters < and >.", "Information"}},
      {"a<b|.|.|.", "a...", {}, Notice{"The menu title \"a<b\" cannot contain a double quote "
       "(\") or the characters < and >.", "Information"}},
      {".|.|.|.", "..._", {}, Notice{"You need to enter an Alt-Key letter", "Information"}},
      {"Start|.|.|.", "a...", {}, Notice{Used("A, K, P, S", "1(a)"), "Error"}},
      {"Go!|.|.|.", "!...", {}, Notice{Used("A, K, P, S", "1(!)"), "Error"}},
      {"Fun|Fix|.|.", "fF..", {}, Notice{Used("A, K, P, S F", "2(F)"), "Error"}},
      {"go|hi|gem|.", "ghg.", {}, Notice{Used("A, K, P, S G, H", "3(g)"), "Error"}},
      {"go|hi|it|It", "ghiI", {}, Notice{Used("A, K, P, S G, H", "4(I)"), "Error"}},
      {"kit|.|.|.", "k...", Value(), Notice{Used("K, P, S", "1(k)"), "Error"}},
      {".|Stop|.|.", ".S..", "__ABOUT_ALT_KEY__,", Notice{Used("K, P, S G", "2(S)"), "Error"}},
      {"Help|.|.|.", "x...", {},
       Notice{"The accelerator key x was not found, Please re-enter it", "Error"}},
      {".|.|.|.", "...Z", {}, notFound},
      {".|.|.|.", "...Z", {}, std::nullopt, false},  // the fourth title is not written
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.titles + " " + row.letters);
    Lay(true);
    if (row.about) Put(InText(slots::kAboutAltKey), *row.about);
    MenuModel model = LoadedMenus();
    const std::string text = Bytes(g_strTextFile), config = Bytes(g_strConfigFile);
    Type(model, row.titles, row.letters);
    model.fourthMenu = row.fourthOn;
    EXPECT_EQ(row.told, model.Check());
    EXPECT_EQ(text, Bytes(g_strTextFile));
    EXPECT_EQ(config, Bytes(g_strConfigFile));
  }
}

TEST_F(MenuModelTest, SaveWritesTheLettersAndTitlesOfTheMenusInUseOnly) {
  const std::string welcome = "__MENU4_TITLE__,\"<u>W</u>elcome\"";
  const struct {
    bool v35, fourthOn;
    std::string titles, letters;
    std::string title2, title4, letter4;
  } rows[] = {
      {true, true, ".|Support|.|Zed", ".u.Z", "S<u>u</u>pport", "__MENU4_TITLE__,\"<u>Z</u>ed\"",
       "__MENU4_ALT_KEY__,Z"},
      {true, false, ".|Support|.|Zed", ".u.Z", "S<u>u</u>pport", welcome, "__MENU4_ALT_KEY__,W"},
      {false, false, ".|Aid|.|.", ".d..", "Ai<u>d</u>", welcome, "__MENU4_ALT_KEY__,W"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "3.5 " << row.v35 << ", fourth " << row.fourthOn);
    Lay(row.v35);
    MenuModel model = LoadedMenus();
    Type(model, row.titles, row.letters);
    model.fourthMenu = row.fourthOn;
    ASSERT_EQ(std::nullopt, model.Check());
    const SaveResult saved = model.Save();
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(std::nullopt, saved.notice);
    EXPECT_EQ("__MENU1_TITLE__,\"<u>G</u>etting Started\"", Get(InText(slots::kMenu1Title)));
    EXPECT_EQ("__MENU2_TITLE__,\"" + row.title2 + "\"", Get(InText(slots::kMenu2Title)));
    EXPECT_EQ("__MENU2_ALT_KEY__," + row.letters.substr(1, 1), Get(InText(slots::kMenu2AltKey)));
    EXPECT_EQ(row.title4, Get(InText(slots::kMenu4Title)));
    EXPECT_EQ(row.letter4, Get(InText(slots::kMenu4AltKey)));
  }
}

TEST_F(MenuModelTest, SavePassesOverEntriesWithoutASlotAndTellsAFailedWriteOnce) {
  MenuModel model = LoadedMenus();
  Type(model, ".|Support|.|.", ".u..");
  Put(InText(slots::kMenu2AltKey), std::nullopt);  // gone since the seeding at start
  SeedMapFile();
  SaveResult saved = model.Save();
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ((Notice{"lumen-text.ini has no entry marked __MENU2_ALT_KEY__, so what belongs "
                    "there was not written.",
                    "Information"}),
            saved.notice);
  EXPECT_EQ("__MENU2_TITLE__,\"S<u>u</u>pport\"", Get(InText(slots::kMenu2Title)));
  EXPECT_EQ("Error", Get(InText(slots::kMenu2AltKey)));

  Type(model, ".|Aid|.|.", ".d..");
  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strTextFile));
  const std::string text = Bytes(g_strTextFile);
  saved = model.Save();
  EXPECT_FALSE(saved.saved);
  EXPECT_EQ(std::nullopt, saved.notice);
  EXPECT_EQ(std::vector<std::string>{g_strTextFile}, failed);
  EXPECT_EQ(text, Bytes(g_strTextFile));
}

TEST_F(MenuModelTest, SystemDetailsHideAndShowFromTheFirstValuesKeptOverRuns) {
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
    MenuModel model = LoadedMenus();
    ASSERT_TRUE(model.showSysDetails);
    for (int twice = 0; twice < 2; ++twice) {  // hiding twice hides once
      EXPECT_EQ(std::nullopt, model.ShowSysDetails(false));
      EXPECT_FALSE(model.showSysDetails);
      for (const auto& [at, value] : row.hidden) EXPECT_EQ(value, Get(at)) << at.key;
    }
    // The next run keeps the first values of the first run, not the hidden ones.
    model = LoadedMenus();
    EXPECT_FALSE(model.showSysDetails);
    EXPECT_EQ(std::nullopt, model.ShowSysDetails(true));
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i], Get(row.hidden[i].first));
  }
  EXPECT_EQ(std::vector<std::string>{}, failed);
}

TEST_F(MenuModelTest, SystemDetailsMissingFirstValuesAreNeitherKeptNorPutBack) {
  const std::string small = "sysInfo_org in section [Small Styles] of lumen-config.ini";
  const std::string large = "sysInfo_org in section [Large Styles] of lumen-config.ini";
  const struct {
    bool v35;
    std::vector<std::pair<At, Value>> damaged;
    bool hidden;  // somewhere all the same
    std::string told;
  } rows[] = {
      {true,
       {{InConfig("Small Styles", slots::kSmallSysInfoStyle), std::nullopt},
        {InConfig("Large Styles", slots::kLargeSysInfoStyle), ""}},
       false,
       "hidden: its original value is missing (" + small + ", " + large + ")."},
      {true,
       {{InConfig("Small Styles", slots::kSmallSysInfoStyle), std::nullopt}},
       true,
       "hidden everywhere: its original value is missing (" + small + ")."},
      {false,
       {{InText(slots::kSystemInformation), std::nullopt}},
       false,
       "hidden: its original value is missing (TEXT5_org in section [Lumen Text] of "
       "lumen-text.ini)."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.told);
    Lay(row.v35);
    for (const auto& [at, value] : row.damaged) Put(at, value);
    MenuModel model = LoadedMenus();
    EXPECT_EQ("Error", Get({&g_strTextFile, "Other", "SysDetails_saved"}));
    const std::string text = Bytes(g_strTextFile), config = Bytes(g_strConfigFile);
    EXPECT_EQ((Notice{"The System Details item could not be " + row.told, "Information"}),
              model.ShowSysDetails(false));
    EXPECT_EQ(!row.hidden, model.showSysDetails);
    EXPECT_EQ(!row.hidden, text == Bytes(g_strTextFile) && config == Bytes(g_strConfigFile));
  }
}

TEST_F(MenuModelTest, AFailedKeepOfFirstValuesLeavesTheSwitchAndIsTriedAgainNextRun) {
  const At flag = {&g_strTextFile, "Other", "SysDetails_saved"};
  const At small = InConfig("Small Styles", slots::kSmallSysInfoStyle);
  const std::string shown = Get(small);
  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strConfigFile));
  MenuModel model = LoadedMenus();
  EXPECT_EQ("Error", Get(flag));
  EXPECT_EQ(std::nullopt, model.ShowSysDetails(false));
  EXPECT_TRUE(model.showSysDetails);
  EXPECT_EQ(shown, Get(small));
  // Both styles' copies, told at the start and again at the switch.
  EXPECT_EQ(std::vector<std::string>(4, g_strConfigFile), failed);

  ASSERT_TRUE(platform::Os().files->SetAttributesNormal(g_strConfigFile));
  model = LoadedMenus();
  EXPECT_EQ("TRUE", Get(flag));
  EXPECT_EQ(shown, Get(InConfig("Small Styles", "sysInfo_org")));
}

TEST_F(MenuModelTest, FourthMenuSwitchChangesMarkerFlagAndDefaultMenu) {
  const std::string welcome = "_TITLE__,\"<u>W</u>elcome\"";
  const std::string tail =
      " is missing or incomplete and was left unchanged, so the help "
      "application may still show the welcome page as it was.";
  const struct {
    Value title4, defaultMenu;  // replace the demo's entries
    std::optional<Notice> told;
  } rows[] = {
      {"__MENU4" + welcome, "__Default_Menu__,menu1", std::nullopt},
      {std::nullopt, "__DEFAULT_MENU__,MENU1",
       Notice{"The entry marked __MENU4_TITLE__ in lumen-text.ini" + tail, "Information"}},
      {"__MENU4" + welcome, "__DEFAULT_MENU__,",
       Notice{"The entry marked __DEFAULT_MENU__ in lumen-config.ini" + tail, "Information"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.defaultMenu.value_or("-"));
    Lay(true);
    Put(InText(slots::kMenu4Title), row.title4);
    Put(kDefaultMenu, row.defaultMenu);
    MenuModel model = LoadedMenus();
    for (bool on : {false, true}) {
      EXPECT_EQ(row.told, model.EnableFourthMenu(on));
      EXPECT_EQ(on, model.fourthMenu);
      EXPECT_EQ(on ? "True" : "False", Get(kMenu4Flag));
      EXPECT_EQ(row.title4 ? (on ? "__MENU4" : "__MENUx") + welcome : "Error",
                Get(InText(slots::kMenu4Title)));
      std::string defaultMenu = *row.defaultMenu;
      if (row.defaultMenu->size() > 21) defaultMenu.back() = on ? '4' : '1';
      EXPECT_EQ(defaultMenu, Get(kDefaultMenu));
    }
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

TEST_F(MenuModelTest, TheMachineTableOpensInTheFirstSpreadsheetFound) {
  const std::string excel = "c:\\Program Files\\Microsoft Office\\Office\\excel.exe";
  const std::string calc = "c:\\tabula\\calc\\calcw.exe";
  const std::string dir = "c:\\" + std::string(300, 'd') + "\\", csv = dir + "m.csv";
  const struct {
    bool excel, calc, refuse;
    std::vector<std::string> started;
    std::vector<Notice> told;
  } rows[] = {
      // clang-format off
      {true, true, false, {excel + " \"" + csv + "\" | " + dir}, {}},
      {false, true, false, {calc + " \"" + csv + "\" | " + dir}, {}},
      {false, false, false, {},
       {{"Can't find either Tabula Calc or Microsoft Excel in their default location", "OKAPI"},
        {"You may need to either install Tabula Calc or Microsoft Excel to open the "
         "Machine-Specifics.CSV file or \n you need to start one of these application and open "
         "the file yourself.", "Information"}}},
      {false, true, true, {calc + " \"" + csv + "\" | " + dir},
       {{"The spreadsheet program could not be started:\n" + calc + " \"" + csv +
         "\"\n\nStart it yourself and open the file in it.", "OKAPI"}}},
      // clang-format on
  };
  std::unique_ptr<platform::Processes> fake = std::make_unique<FakeProcesses>();
  auto& processes = static_cast<FakeProcesses&>(*fake);
  std::swap(platform::Os().processes, fake);
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.excel << row.calc << row.refuse);
    for (const auto& [path, wanted] : {std::pair{excel, row.excel}, std::pair{calc, row.calc}}) {
      EXPECT_TRUE(demo::RemoveTree(path));
      if (wanted) {
        ASSERT_TRUE(demo::MakeDirectories(path.substr(0, path.rfind('\\'))));
        ASSERT_TRUE(platform::Os().files->WriteFileAtomic(path, "MZ"));
      }
    }
    processes.started.clear();
    processes.refuse = row.refuse;
    EXPECT_EQ(row.told, OpenInSpreadsheet(csv, dir));
    EXPECT_EQ(row.started, processes.started);
  }
  std::swap(platform::Os().processes, fake);
}

TEST_F(MenuModelTest, WelcomeTextsRoundTripWithLineBreaksAndTheCurrentMenuTitles) {
  Put(InText(slots::kTab1Description), "__TAB1_DESCRIPTION__,\"Just text\"");
  Put(InText(slots::kTab2Description), "__TAB2_DESCRIPTION__,\"<b>Help Center</b> Find answers\"");
  Put(InText(slots::kTab3Description), "__TAB3_DESCRIPTION__,\"<b>Tools</b> One<br>Two\"");
  Put(InText(slots::kWelcomeClosing), "__WELCOME_CLOSING__");
  WelcomeTextsModel model;
  model.Load();
  EXPECT_EQ("Welcome to your new notebook.", model.intro);
  EXPECT_EQ((std::array<std::string, 3>{"Just text", "Find answers", "One\r\nTwo"}),
            model.descriptions);
  EXPECT_EQ("", model.closing);
  EXPECT_EQ("Help and Support", model.titles[1]);

  // A title renamed on the menu page since reaches the entry.
  Put(InText(slots::kMenu2Title), "__MENU2_TITLE__,\"S<u>u</u>pport\"");
  model.LoadMenuTitles();
  model.intro = "First\r\nSecond";
  model.descriptions[2] = "Shape\nup";
  ASSERT_EQ(std::nullopt, model.Check());
  const SaveResult saved = model.Save();
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ(std::nullopt, saved.notice);
  const std::pair<const char*, const char*> written[] = {
      {slots::kWelcomeIntro, "__WELCOME_INTRO__,\"First<br>Second\""},
      {slots::kTab1Description, "__TAB1_DESCRIPTION__,\"<b>Getting Started</b> Just text\""},
      {slots::kTab2Description, "__TAB2_DESCRIPTION__,\"<b>Support</b> Find answers\""},
      {slots::kTab3Description, "__TAB3_DESCRIPTION__,\"<b>Tools</b> Shape<br>up\""},
      {slots::kWelcomeClosing, "__WELCOME_CLOSING__,\"\""},
  };
  for (const auto& [slot, entry] : written) EXPECT_EQ(entry, Get(InText(slot)));

  WelcomeTextsModel again;
  again.Load();
  EXPECT_EQ("First\r\nSecond", again.intro);
  EXPECT_EQ("Shape\r\nup", again.descriptions[2]);
  EXPECT_EQ(std::vector<std::string>{}, failed);
}

TEST_F(MenuModelTest, WelcomeTextsThatWouldNotComeBackWholeAreRefused) {
  const std::string tooLong = " is too long: it may have at most ";
  const std::string breaks = " characters, a line break counting as four.";
  const struct {
    std::string WelcomeTextsModel::*text;
    std::string typed;
    std::optional<std::string> told;
  } rows[] = {
      {&WelcomeTextsModel::closing, "Say \"hi\"",
       "The closing text cannot contain a double quote (\")."},
      {&WelcomeTextsModel::intro, std::string(491, 'i'), std::nullopt},
      {&WelcomeTextsModel::intro, std::string(492, 'i'),
       "The introduction" + tooLong + "491" + breaks},
      {&WelcomeTextsModel::closing, std::string(240, 'c') + "\r\n\r\n" + std::string(248, 'c'),
       "The closing text" + tooLong + "489" + breaks},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed.substr(0, 12));
    WelcomeTextsModel model;
    model.Load();
    model.*row.text = row.typed;
    const auto refusal = model.Check();
    EXPECT_EQ(row.told, refusal ? std::optional(refusal->message) : std::nullopt);
  }
  WelcomeTextsModel model;
  model.Load();
  model.descriptions[1] = std::string(600, 'd');
  EXPECT_EQ((Notice{"The description of the second tab" + tooLong + "464" + breaks, "Information"}),
            model.Check());
}

TEST_F(MenuModelTest, WelcomeTextsWithoutASlotAreToldAndAFailedWriteStays) {
  WelcomeTextsModel model;
  model.Load();
  model.intro = "Hello";
  Put(InText(slots::kWelcomeClosing), std::nullopt);
  SeedMapFile();
  SaveResult saved = model.Save();
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ((Notice{"lumen-text.ini has no entry marked __WELCOME_CLOSING__, so what belongs "
                    "there was not written.",
                    "Information"}),
            saved.notice);
  EXPECT_EQ("__WELCOME_INTRO__,\"Hello\"", Get(InText(slots::kWelcomeIntro)));

  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strTextFile));
  model.intro = "Bye";
  saved = model.Save();
  EXPECT_FALSE(saved.saved);
  EXPECT_EQ(std::vector<std::string>{g_strTextFile}, failed);
  EXPECT_EQ("__WELCOME_INTRO__,\"Hello\"", Get(InText(slots::kWelcomeIntro)));
}

TEST_F(MenuModelTest, WelcomeImageFirstValueIsKeptOnlyWhenThereAndPutBack) {
  const At org = InConfig("Global Options", "WELCOME_IMAGE_org");
  const At flag = InConfig("Other", "WelcomeImage_saved");
  const At image = InConfig("Global Options", slots::kWelcomeImage);
  Put(image, std::nullopt);
  WelcomeTextsModel model;
  model.Load();
  EXPECT_TRUE(model.welcomeImage);
  EXPECT_EQ("Error", Get(org));
  EXPECT_EQ("Error", Get(flag));
  EXPECT_EQ((Notice{"The welcome page graphic could not be shown again: its original value "
                    "(WELCOME_IMAGE_org in lumen-config.ini) is missing.",
                    "Information"}),
            model.ShowWelcomeImage(true));
  EXPECT_FALSE(model.welcomeImage);
  EXPECT_EQ("Error", Get(image));

  Put(image, "__WELCOME_IMAGE__,spacer.gif");
  model.Load();
  EXPECT_FALSE(model.welcomeImage);
  EXPECT_EQ("__WELCOME_IMAGE__,spacer.gif", Get(org));
  EXPECT_EQ("TRUE", Get(flag));
  Put(org, "__WELCOME_IMAGE__,welcome.gif");
  for (bool on : {true, false}) {
    EXPECT_EQ(std::nullopt, model.ShowWelcomeImage(on));
    EXPECT_EQ(on, model.welcomeImage);
    EXPECT_EQ(on ? "__WELCOME_IMAGE__,welcome.gif" : "__WELCOME_IMAGE__,spacer.gif", Get(image));
  }
}

}  // namespace
