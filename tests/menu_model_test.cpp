// The menu page's and the welcome page's rules without their windows, on
// laid installations of both editions: what loads, the first refusal of
// Next or what it writes, the switches and the first values they keep.
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

struct At {
  const std::string* file;
  const char* section;
  std::string key;
};
At Text(const std::string& slot) { return {&g_strTextFile, "Lumen Text", slot}; }
At Config(const char* section, const std::string& key) { return {&g_strConfigFile, section, key}; }
const At kMenu4Flag = {&g_strMapFile, "Install", "Menu4"};
const At kSmallStyle = Config("Small Styles", slots::kSmallSysInfoStyle);

std::string Get(const At& at) {
  return store::ReadString(at.section, at.key, "Error", 4096, *at.file);
}
void Put(const At& at, const Value& value) {
  ASSERT_TRUE(store::WriteString(at.section, at.key, value, *at.file));
}
// The bytes of the help application's text and config files.
std::string Files() {
  std::string bytes;
  for (const std::string* file : {&g_strTextFile, &g_strConfigFile})
    bytes += platform::Os().files->ReadFile(*file).value_or("<missing>");
  return bytes;
}
Notice Info(std::string text) { return {std::move(text), "Information"}; }

MenuModel Menus() {
  MenuModel model;
  model.Load(g_bVersion35);
  return model;
}
WelcomeTextsModel Texts() {
  WelcomeTextsModel model;
  model.Load();
  return model;
}

class MenuModelTest : public okapi_test::MachineTest {
 protected:
  // The demo installation of one edition, its map file seeded as at start.
  void Lay(bool v35 = true) {
    ASSERT_TRUE(demo::ResetMachine());
    installation.llb3 = v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    ASSERT_TRUE(demo::LayInstallation(installation));
    ASSERT_TRUE(CheckInstallation([](const std::string& told) { FAIL() << told; }));
    ASSERT_EQ(v35, g_bVersion35);
    SeedMapFile();
    failed.clear();
    store::SetWriteFailureReporter(
        [this](const std::string& file, const std::string&) { failed.push_back(file); });
  }
  demo::Installation installation;
  std::vector<std::string> failed;  // files whose write was refused and told
};

Notice Used(const std::string& keys, const std::string& change) {
  return {"The accelerator keys " + keys + " are already used. Change Alt-Key" + change +
              " to another key",
          "Error"};
}

TEST_F(MenuModelTest, NextRefusesFirstWithoutWritingOrWritesTheMenusInUse) {
  const std::string t30(30, 'T'), welcome = "<u>W</u>elcome";
  const Notice quote = Info(
      "The menu title \"Get \"Started\"\" cannot contain a double quote "
      "(\") or the characters < and >.");
  const struct {
    std::string titles, letters;  // "title|..."; "." keeps the demo's, "_" empties a letter
    std::optional<Notice> told;
    std::array<std::string, 4> written = {};  // menu 2's title and letter, then menu 4's
    std::optional<Value> about = {};          // replaces the About entry
    bool v35 = true, fourthOn = true;
  } rows[] = {
      // clang-format off
      {".||.|.", "a...", Info("You need to enter a Menu Title")},
      {".|.|T" + t30 + "|.", "....", Info("One of the menu titles is too long.")},
      {"Get \"Started\"|.|.|.", "....", quote},
      {".|.|.|.", "..._", Info("You need to enter an Alt-Key letter")},
      {"Start|.|.|.", "a...", Used("A, K, P, S", "1(a)")},
      {"Fun|Fix|.|.", "fF..", Used("A, K, P, S F", "2(F)")},
      {"go|hi|gem|.", "ghg.", Used("A, K, P, S G, H", "3(g)")},
      {"go|hi|it|It", "ghiI", Used("A, K, P, S G, H", "4(I)")},
      {"kit|.|.|.", "k...", Used("K, P, S", "1(k)"), {}, Value()},
      {".|Stop|.|.", ".S..", Used("K, P, S G", "2(S)"), {}, "__ABOUT_ALT_KEY__,"},
      {".|.|.|.", "...Z", Notice{"The accelerator key Z was not found, Please re-enter it", "Error"}},
      {".|Support|.|Zed", ".u.Z", {}, {"S<u>u</u>pport", "u", "<u>Z</u>ed", "Z"}},
      {".|Support|" + t30 + "|.", ".u.Z", {}, {"S<u>u</u>pport", "u", welcome, "W"}, {}, true, false},
      {".|Aid|.|.", ".d..", {}, {"Ai<u>d</u>", "d", welcome, "W"}, {}, false, false},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.titles + " " + row.letters);
    Lay(row.v35);
    if (row.about) Put(Text(slots::kAboutAltKey), *row.about);
    MenuModel model = Menus();
    std::string titles = row.titles;
    for (std::size_t i = 0; i < MenuModel::kMenus; ++i) {
      const auto bar = titles.find('|');
      if (titles.substr(0, bar) != ".") model.menus[i].title = titles.substr(0, bar);
      titles = bar == std::string::npos ? "" : titles.substr(bar + 1);
      const char letter = row.letters[i];
      if (letter != '.') model.menus[i].letter = letter == '_' ? "" : std::string(1, letter);
    }
    model.fourthMenu = row.fourthOn;
    const std::string files = Files();
    EXPECT_EQ(row.told, model.Check());
    if (row.told) {
      EXPECT_EQ(files, Files());
      continue;
    }
    const SaveResult saved = model.Save();
    EXPECT_TRUE(saved.saved && !saved.notice);
    EXPECT_EQ("__MENU2_TITLE__,\"" + row.written[0] + "\"", Get(Text(slots::kMenu2Title)));
    EXPECT_EQ("__MENU2_ALT_KEY__," + row.written[1], Get(Text(slots::kMenu2AltKey)));
    EXPECT_EQ("__MENU4_TITLE__,\"" + row.written[2] + "\"", Get(Text(slots::kMenu4Title)));
    EXPECT_EQ("__MENU4_ALT_KEY__," + row.written[3], Get(Text(slots::kMenu4AltKey)));
  }
}

TEST_F(MenuModelTest, SavesPassOverEntriesWithoutASlotAndAFailedWriteIsToldAndChangesNothing) {
  const std::string tail = ", so what belongs there was not written.";
  const auto menus = [] {
    MenuModel model = Menus();
    model.menus[0].letter = "e";
    return model.Save();
  };
  const auto texts = [] {
    WelcomeTextsModel model = Texts();
    model.intro = "Hello";
    return model.Save();
  };
  const struct {
    const char* gone;  // the slot of an entry gone since the start; null: text file read-only
    SaveResult (*save)();
    std::optional<Notice> told;
    std::string slot, written;
  } rows[] = {
      // clang-format off
      {slots::kMenu2AltKey, menus, Info("lumen-text.ini has no entry marked __MENU2_ALT_KEY__" + tail),
       slots::kMenu1AltKey, "__MENU1_ALT_KEY__,e"},
      {nullptr, menus, std::nullopt, slots::kMenu1AltKey, "__MENU1_ALT_KEY__,G"},
      {slots::kWelcomeClosing, texts, Info("lumen-text.ini has no entry marked __WELCOME_CLOSING__" + tail),
       slots::kWelcomeIntro, "__WELCOME_INTRO__,\"Hello\""},
      {nullptr, texts, std::nullopt, slots::kWelcomeIntro,
       "__WELCOME_INTRO__,\"Welcome to your new notebook.\""},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.slot + (row.gone ? " without a slot" : " read-only"));
    Lay();
    (void)Menus(), (void)Texts();  // first values kept at an earlier start
    if (row.gone) Put(Text(row.gone), std::nullopt);
    if (row.gone) SeedMapFile();
    if (!row.gone) {
      ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strTextFile));
    }
    const std::string files = Files();
    const SaveResult saved = row.save();
    EXPECT_EQ(row.gone != nullptr, saved.saved);
    EXPECT_EQ(row.told, saved.notice);
    EXPECT_EQ(row.written, Get(Text(row.slot)));
    EXPECT_EQ(row.gone ? "Error" : files, row.gone ? Get(Text(row.gone)) : Files());
    EXPECT_EQ(row.gone ? 0u : 1u, failed.size());
  }
}

TEST_F(MenuModelTest, SystemDetailsHideFromFirstValuesKeptOnceAndNeverPutBackMissing) {
  const std::string hidden = " {color: #003366; cursor: hand; visibility: hidden;}";
  const std::string small = "sysInfo_org in section [Small Styles] of lumen-config.ini";
  const std::string missing = "its original value is missing (";
  const At large = Config("Large Styles", slots::kLargeSysInfoStyle);
  const struct {
    bool v35;
    std::vector<std::pair<At, Value>> damaged;
    std::optional<Notice> told;
    std::vector<std::pair<At, std::string>> hiddenAs;  // empty: nothing hidden
  } rows[] = {
      // clang-format off
      {true, {}, {}, {{kSmallStyle, ".sysInfo" + hidden}, {large, ".sysinfo" + hidden}}},
      {false, {}, {}, {{Text(slots::kSystemInformation), "__System_Information__,\"\""},
                       {Text(slots::kSysInfoAltKey), "__SYSINFO_ALT_KEY__,0"}}},
      {true, {{kSmallStyle, std::nullopt}, {large, ""}}, Info("The System Details item could not "
       "be hidden: " + missing + small + ", sysInfo_org in section [Large Styles] of lumen-config.ini)."), {}},
      {true, {{kSmallStyle, std::nullopt}}, Info("The System Details item could not be hidden "
       "everywhere: " + missing + small + ")."), {{large, ".sysinfo" + hidden}}},
      {false, {{Text(slots::kSystemInformation), std::nullopt}}, Info("The System Details item "
       "could not be hidden: " + missing + "TEXT5_org in section [Lumen Text] of lumen-text.ini)."), {}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "3.5 " << row.v35 << ", damaged " << row.damaged.size());
    Lay(row.v35);
    for (const auto& [at, value] : row.damaged) Put(at, value);
    MenuModel model = Menus();
    const std::string shown = Files();
    for (int twice = 0; twice < 2; ++twice) {  // hiding twice hides once
      EXPECT_EQ(row.told, model.ShowSysDetails(false));
      EXPECT_EQ(row.hiddenAs.empty(), model.showSysDetails);
      EXPECT_EQ(row.hiddenAs.empty(), shown == Files());
      for (const auto& [at, value] : row.hiddenAs) EXPECT_EQ(value, Get(at)) << at.key;
    }
    if (row.damaged.empty()) {
      // The next run keeps the first values of the first, not the hidden ones.
      model = Menus();
      EXPECT_FALSE(model.showSysDetails);
      EXPECT_EQ(std::nullopt, model.ShowSysDetails(true));
      EXPECT_EQ(shown, Files());
    }
  }
  EXPECT_EQ(std::vector<std::string>{}, failed);
}

TEST_F(MenuModelTest, AFailedKeepOfFirstValuesLeavesTheSwitchAndIsTriedAgainNextRun) {
  const At saved = {&g_strTextFile, "Other", "SysDetails_saved"};
  Lay();
  const std::string shown = Get(kSmallStyle);
  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strConfigFile));
  MenuModel model = Menus();
  EXPECT_EQ("Error", Get(saved));
  EXPECT_EQ(std::nullopt, model.ShowSysDetails(false));
  EXPECT_TRUE(model.showSysDetails);
  EXPECT_EQ(shown, Get(kSmallStyle));
  // Both styles' copies, told at the start and again at the switch.
  EXPECT_EQ(std::vector<std::string>(4, g_strConfigFile), failed);
  ASSERT_TRUE(platform::Os().files->SetAttributesNormal(g_strConfigFile));
  model = Menus();
  EXPECT_EQ("TRUE", Get(saved));
  EXPECT_EQ(shown, Get(Config("Small Styles", "sysInfo_org")));
}

TEST_F(MenuModelTest, FourthMenuFollowsItsFlagAndItsSwitchMovesMarkerFlagAndDefaultMenu) {
  const std::string welcome = "_TITLE__,\"<u>W</u>elcome\"", menu1 = "__DEFAULT_MENU__,MENU1";
  const std::string tail =
      " is missing or incomplete and was left unchanged, so the help "
      "application may still show the welcome page as it was.";
  const At defaultMenu = Config("Global Options", slots::kDefaultMenu);
  const struct {
    bool v35;
    Value flag, title4, defaultMenu;  // replace the demo's entries
    bool on;                          // as loaded
    std::string flagLoaded;
    std::optional<Notice> told;  // at each switch
  } rows[] = {
      // clang-format off
      {true, std::nullopt, "__MENU4" + welcome, menu1, true, "True", {}},
      {true, "Error", "__MENU4" + welcome, "__Default_Menu__,menu1", true, "True", {}},
      {true, "False", "__MENUx" + welcome, menu1, false, "False", {}},
      {true, "True", std::nullopt, menu1, true, "True",
       Info("The entry marked __MENU4_TITLE__ in lumen-text.ini" + tail)},
      {true, "True", "__MENU4" + welcome, "__DEFAULT_MENU__,", true, "True",
       Info("The entry marked __DEFAULT_MENU__ in lumen-config.ini" + tail)},
      {false, std::nullopt, "__MENU4" + welcome, menu1, false, "Error", {}},
      {false, "True", "__MENU4" + welcome, menu1, false, "True", {}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "3.5 " << row.v35 << ", Menu4 " << row.flag.value_or("-")
                                    << ", " << row.defaultMenu.value_or("-"));
    Lay(row.v35);
    Put(kMenu4Flag, row.flag);
    Put(Text(slots::kMenu4Title), row.title4);
    Put(defaultMenu, row.defaultMenu);
    MenuModel model = Menus();
    EXPECT_EQ(row.on, model.fourthMenu);
    EXPECT_EQ(row.flagLoaded, Get(kMenu4Flag));
    for (bool on : {false, true}) {
      if (!row.v35) break;  // nothing to switch
      EXPECT_EQ(row.told, model.EnableFourthMenu(on));
      EXPECT_EQ(on, model.fourthMenu);
      EXPECT_EQ(on ? "True" : "False", Get(kMenu4Flag));
      EXPECT_EQ(row.title4 ? (on ? "__MENU4" : "__MENUx") + welcome : "Error",
                Get(Text(slots::kMenu4Title)));
      std::string digit = *row.defaultMenu;
      if (digit.size() > 21) digit.back() = on ? '4' : '1';
      EXPECT_EQ(digit, Get(defaultMenu));
    }
  }
}

// Records starts and refuses them.
struct RefusingProcesses : platform::Processes {
  bool Start(const std::string& commandLine, const std::string& currentDirectory) override {
    started.push_back(commandLine + " | " + currentDirectory);
    return false;
  }
  std::vector<std::string> started;
};

TEST_F(MenuModelTest, ASpreadsheetThatDoesNotStartIsTold) {
  const std::string calc = "c:\\tabula\\calc\\calcw.exe",
                    dir = "c:\\" + std::string(300, 'd') + "\\";
  ASSERT_TRUE(demo::MakeDirectories("c:\\tabula\\calc"));
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(calc, "MZ"));
  std::unique_ptr<platform::Processes> fake = std::make_unique<RefusingProcesses>();
  auto& processes = static_cast<RefusingProcesses&>(*fake);
  std::swap(platform::Os().processes, fake);
  const std::string commandLine = calc + " \"" + dir + "m.csv\"";
  EXPECT_EQ((std::vector<Notice>{{"The spreadsheet program could not be started:\n" + commandLine +
                                      "\n\nStart it yourself and open the file in it.",
                                  "OKAPI"}}),
            OpenInSpreadsheet(dir + "m.csv", dir));
  EXPECT_EQ(std::vector<std::string>{commandLine + " | " + dir}, processes.started);
  std::swap(platform::Os().processes, fake);
}

TEST_F(MenuModelTest, WelcomeTextsComeBackAsTypedUnderTheCurrentTitlesOrAreRefused) {
  const auto tooLong = [](const std::string& name, int room) {
    return Info("The " + name + " is too long: it may have at most " + std::to_string(room) +
                " characters, a line break counting as four.");
  };
  const std::string intro = "__WELCOME_INTRO__,\"", tab2 = "__TAB2_DESCRIPTION__,\"<b>Support</b> ";
  const struct {
    std::string intro, tab2;
    std::optional<Notice> told;
    std::string introEntry, tab2Entry;  // written
  } rows[] = {
      // clang-format off
      {"First\r\nSecond", "Shape\r\nup", {}, intro + "First<br>Second\"", tab2 + "Shape<br>up\""},
      {std::string(491, 'i'), "", {}, intro + std::string(491, 'i') + "\"", tab2 + "\""},
      {std::string(492, 'i'), "", tooLong("introduction", 491), {}, {}},
      {"Say \"hi\"", "", Info("The introduction cannot contain a double quote (\")."), {}, {}},
      {"", std::string(235, 'd') + "\r\n" + std::string(235, 'd'),
       tooLong("description of the second tab", 473), {}, {}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.told ? row.told->message : row.introEntry.substr(0, 30));
    Lay();
    Put(Text(slots::kTab2Description), "__TAB2_DESCRIPTION__,\"Find answers\"");
    WelcomeTextsModel model = Texts();
    EXPECT_EQ("Welcome to your new notebook.", model.intro);
    EXPECT_EQ("Find answers", model.descriptions[1]);  // no title in front
    EXPECT_EQ("Keep your notebook in shape", model.descriptions[2]);
    // Renamed on the menu page since the welcome page was first shown.
    Put(Text(slots::kMenu2Title), "__MENU2_TITLE__,\"S<u>u</u>pport\"");
    model.LoadMenuTitles();
    model.intro = row.intro;
    model.descriptions[1] = row.tab2;
    const std::string files = Files();
    EXPECT_EQ(row.told, model.Check());
    if (row.told) {
      EXPECT_EQ(files, Files());
      continue;
    }
    ASSERT_TRUE(model.Save().saved);
    EXPECT_EQ(row.introEntry, Get(Text(slots::kWelcomeIntro)));
    EXPECT_EQ(row.tab2Entry, Get(Text(slots::kTab2Description)));
    EXPECT_EQ("__TAB1_DESCRIPTION__,\"<b>Getting Started</b> Learn the basics of your notebook\"",
              Get(Text(slots::kTab1Description)));
    EXPECT_EQ("__TAB3_DESCRIPTION__,\"<b>Tools</b> Keep your notebook in shape\"",
              Get(Text(slots::kTab3Description)));
    model = Texts();
    EXPECT_EQ(row.intro, model.intro);
    EXPECT_EQ(row.tab2, model.descriptions[1]);
  }
}

TEST_F(MenuModelTest, WelcomeImageFirstValueIsKeptOnlyWhenThereAndPutBack) {
  Lay();
  const At org = Config("Global Options", "WELCOME_IMAGE_org");
  const At image = Config("Global Options", slots::kWelcomeImage);
  Put(image, std::nullopt);
  WelcomeTextsModel model = Texts();
  EXPECT_EQ("Error", Get(org));
  EXPECT_EQ("Error", Get(Config("Other", "WelcomeImage_saved")));
  EXPECT_EQ(Info("The welcome page graphic could not be shown again: its original value "
                 "(WELCOME_IMAGE_org in lumen-config.ini) is missing."),
            model.ShowWelcomeImage(true));
  EXPECT_FALSE(model.welcomeImage);
  EXPECT_EQ("Error", Get(image));
  Put(image, "__WELCOME_IMAGE__,spacer.gif");
  model = Texts();
  EXPECT_FALSE(model.welcomeImage);
  EXPECT_EQ("__WELCOME_IMAGE__,spacer.gif", Get(org));
  EXPECT_EQ("TRUE", Get(Config("Other", "WelcomeImage_saved")));
  Put(org, "__WELCOME_IMAGE__,welcome.gif");
  for (bool on : {true, false}) {
    EXPECT_EQ(std::nullopt, model.ShowWelcomeImage(on));
    EXPECT_EQ(on, model.welcomeImage);
    EXPECT_EQ(on, Texts().welcomeImage) << "as the next start finds it";
    EXPECT_EQ(on ? "__WELCOME_IMAGE__,welcome.gif" : "__WELCOME_IMAGE__,spacer.gif", Get(image));
  }
}

}  // namespace
