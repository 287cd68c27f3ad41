// The menu and welcome-page pages in the wizard, on laid installations of
// both editions, driven through the headless backend.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/headless/headless.h"
#include "pages/app_menu.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;
namespace slots = demo::slots;
using Value = std::optional<std::string>;

// Where a value sits: file, section, key.
struct At {
  const std::string* file;
  const char* section;
  std::string key;
};
At TextAt(const std::string& key) { return {&g_strTextFile, "Lumen Text", key}; }
At ConfigAt(const char* section, const std::string& key) {
  return {&g_strConfigFile, section, key};
}
At Menu4Flag() { return {&g_strMapFile, "Install", "Menu4"}; }

std::string Get(const At& at) {
  return store::ReadString(at.section, at.key, "Error", 4096, *at.file);
}
void Put(const At& at, const Value& value) {
  ASSERT_TRUE(store::WriteString(at.section, at.key, value, *at.file));
}

class MenuPagesTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
    Lay();
  }
  void TearDown() override {
    for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
  }
  void Lay() {
    ASSERT_TRUE(demo::ResetMachine());
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
    DiscoverInstallation();  // the paths, before the wizard's start-up sets them
  }
  void LayVersion30() {
    installation.llb3 = demo::Exe::V3_0_1_0;
    Lay();
  }
  // A fresh run of the program, shown up to `page`.
  SheetDriver OpenAt(unsigned page) {
    wizard.reset();
    wizard = std::make_unique<OkapiWizard>();
    SheetDriver run = headless->Open(wizard->sheet);
    while (run.IsOpen() && run.ActiveTemplateId() != page) {
      if (run.ActiveTemplateId() == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
      if (!run.PressNext()) break;
    }
    EXPECT_EQ(page, run.ActiveTemplateId());
    return run;
  }
  std::string LastMessage() const {
    const auto& shown = headless->Messages();
    return shown.empty() ? "<none>" : shown.back().caption + ": " + shown.back().text;
  }

  demo::Installation installation;
  ScopedHeadless headless;
  std::unique_ptr<OkapiWizard> wizard;
};

constexpr int kTitles[] = {IDC_APPMENU_TITLE1, IDC_APPMENU_TITLE2, IDC_APPMENU_TITLE3,
                           IDC_APPMENU_TITLE4};
constexpr int kLetters[] = {IDC_APPMENU_ALT_KEY1, IDC_APPMENU_ALT_KEY2, IDC_APPMENU_ALT_KEY3,
                            IDC_APPMENU_ALT_KEY4};

TEST(MenuTitleEntry, ParsesWhatCanBeParsedAndMarksTheFirstOccurrence) {
  const struct {
    Value entry;
    const char* title;
    const char* letter;
  } rows[] = {
      {"__MENU1_TITLE__,\"Getting <u>S</u>tarted\"", "Getting Started", "S"},
      {"__MENUx_TITLE__,\"<u>W</u>elcome\"", "Welcome", "W"},
      {"__MENU2_TITLE__,\"Setting<u>s</u>\"", "Settings", "s"},
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
  EXPECT_EQ("Setting<u>s</u>", MarkMenuTitle("Settings", "s"));
  EXPECT_EQ("<u>S</u>ettings", MarkMenuTitle("Settings", "S"));
  EXPECT_EQ(std::nullopt, MarkMenuTitle("Help", "x"));
}

TEST_F(MenuPagesTest, PageShowsEditionFourthMenuAndSystemDetails) {
  const struct {
    const char* name;
    bool v35;
    Value menu4;  // the map file's flag before the start
    std::vector<std::pair<At, Value>> entries;
    bool checkShown, fourthShown, fourthOn, sysDetails;
    const char* title4;
    const char* menu4After;
  } rows[] = {
      {"3.5, first start", true, std::nullopt, {}, true, true, true, true, "Welcome", "True"},
      {"3.5, disabled",
       true,
       "False",
       {{TextAt(slots::kMenu4Title), "__MENUx_TITLE__,\"<u>W</u>elcome\""},
        {ConfigAt("Small Styles", slots::kSmallSysInfoStyle),
         ".sysInfo {color: #003366; visibility: hidden;}"}},
       true,
       false,
       false,
       false,
       "Welcome",
       "False"},
      {"3.0", false, std::nullopt, {}, false, false, false, true, "4", "Error"},
      {"3.0, hidden",
       false,
       std::nullopt,
       {{TextAt(slots::kSystemInformation), "__System_Information__,\"\""}},
       false,
       false,
       false,
       false,
       "4",
       "Error"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    installation.llb3 = row.v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    Lay();
    if (row.menu4) Put(Menu4Flag(), row.menu4);
    for (const auto& [at, value] : row.entries) Put(at, value);
    SheetDriver run = OpenAt(IDD_APPMENU);
    auto page = run.Page();
    EXPECT_EQ("Getting Started", page.Text(IDC_APPMENU_TITLE1));
    EXPECT_EQ("G", page.Text(IDC_APPMENU_ALT_KEY1));
    EXPECT_EQ(row.checkShown, page.Visible(IDC_APPMENU_WELCOME_TITLE_CHECK));
    EXPECT_EQ(row.fourthOn, page.Check(IDC_APPMENU_WELCOME_TITLE_CHECK) == 1);
    EXPECT_EQ(row.fourthShown, page.Visible(IDC_APPMENU_TITLE4));
    EXPECT_EQ(row.fourthShown, page.Visible(IDC_APPMENU_ALT_KEY4));
    EXPECT_EQ(row.title4, page.Text(IDC_APPMENU_TITLE4));
    EXPECT_EQ(row.sysDetails, page.Check(IDC_APPMENU_SYS_DETAILS) == 1);
    EXPECT_EQ(row.menu4After, Get(Menu4Flag()));
    run.PressCancel();
  }
}

TEST_F(MenuPagesTest, NextRefusesWithTheExactMessageBeforeWritingAnything) {
  // Typed over the demo's Getting Started/G, Help and Support/H, Tools/T, Welcome/W.
  const struct {
    const char* name;
    std::vector<std::pair<int, std::string>> typed;
    std::optional<Value> about;  // replaces the About entry
    const char* told;
  } rows[] = {
      {"empty title first",
       {{IDC_APPMENU_TITLE2, ""}, {IDC_APPMENU_ALT_KEY1, "a"}},
       {},
       "Information: You need to enter a Menu Title"},
      {"31 characters",
       {{IDC_APPMENU_TITLE3, std::string(31, 'T')}},
       {},
       "Information: One of the menu titles is too long."},
      {"quote in a title",
       {{IDC_APPMENU_TITLE1, "Get \"Started\""}},
       {},
       "Information: The menu title \"Get \"Started\"\" cannot contain a double quote (\") or the "
       "characters < and >."},
      {"markup in a title",
       {{IDC_APPMENU_TITLE4, "<b>Welcome"}},
       {},
       "Information: The menu title \"<b>Welcome\" cannot contain a double quote (\") or the "
       "characters < and >."},
      {"empty letter",
       {{IDC_APPMENU_ALT_KEY4, ""}},
       {},
       "Information: You need to enter an Alt-Key letter"},
      {"About letter",
       {{IDC_APPMENU_TITLE1, "Start"}, {IDC_APPMENU_ALT_KEY1, "a"}},
       {},
       "Error: The accelerator keys A, K, P, S are already used. Change Alt-Key1(a) to another "
       "key"},
      {"exclamation mark",
       {{IDC_APPMENU_TITLE1, "Go!"}, {IDC_APPMENU_ALT_KEY1, "!"}},
       {},
       "Error: The accelerator keys A, K, P, S are already used. Change Alt-Key1(!) to another "
       "key"},
      {"letter of MENU1",
       {{IDC_APPMENU_TITLE1, "Fun"},
        {IDC_APPMENU_ALT_KEY1, "f"},
        {IDC_APPMENU_TITLE2, "Fix"},
        {IDC_APPMENU_ALT_KEY2, "F"}},
       {},
       "Error: The accelerator keys A, K, P, S F are already used. Change Alt-Key2(F) to another "
       "key"},
      {"third against the first",
       {{IDC_APPMENU_TITLE1, "go"},
        {IDC_APPMENU_ALT_KEY1, "g"},
        {IDC_APPMENU_TITLE2, "hi"},
        {IDC_APPMENU_ALT_KEY2, "h"},
        {IDC_APPMENU_TITLE3, "Go"},
        {IDC_APPMENU_ALT_KEY3, "G"}},
       {},
       "Error: The accelerator keys A, K, P, S G, H are already used. Change Alt-Key3(G) to "
       "another key"},
      {"fourth against the third",
       {{IDC_APPMENU_TITLE1, "go"},
        {IDC_APPMENU_ALT_KEY1, "g"},
        {IDC_APPMENU_TITLE2, "hi"},
        {IDC_APPMENU_ALT_KEY2, "h"},
        {IDC_APPMENU_TITLE3, "it"},
        {IDC_APPMENU_ALT_KEY3, "i"},
        {IDC_APPMENU_TITLE4, "It"},
        {IDC_APPMENU_ALT_KEY4, "I"}},
       {},
       "Error: The accelerator keys A, K, P, S G, H are already used. Change Alt-Key4(I) to "
       "another key"},
      {"About entry missing",
       {{IDC_APPMENU_TITLE1, "kit"}, {IDC_APPMENU_ALT_KEY1, "k"}},
       Value(),
       "Error: The accelerator keys K, P, S are already used. Change Alt-Key1(k) to "
       "another key"},
      {"About entry short",
       {{IDC_APPMENU_TITLE2, "Stop"}, {IDC_APPMENU_ALT_KEY2, "S"}},
       "__ABOUT_ALT_KEY__,",
       "Error: The accelerator keys K, P, S G are already used. Change Alt-Key2(S) to another "
       "key"},
      {"letter not in title",
       {{IDC_APPMENU_TITLE1, "Help"}, {IDC_APPMENU_ALT_KEY1, "x"}},
       {},
       "Error: The accelerator key x was not found, Please re-enter it"},
      {"fourth letter not in title",
       {{IDC_APPMENU_ALT_KEY4, "Z"}},
       {},
       "Error: The accelerator key Z was not found, Please re-enter it"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay();
    if (row.about) Put(TextAt(slots::kAboutAltKey), *row.about);
    SheetDriver run = OpenAt(IDD_APPMENU);
    const auto text = platform::Os().files->ReadFile(g_strTextFile);
    for (const auto& [id, typed] : row.typed) ASSERT_TRUE(run.Page().Type(id, typed));
    run.PressNext();
    EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
    EXPECT_EQ(row.told, LastMessage());
    EXPECT_EQ(text, platform::Os().files->ReadFile(g_strTextFile));
    run.PressCancel();
  }
}

TEST_F(MenuPagesTest, PassingNextWritesEveryEntryAndTheNextRunReadsThemBack) {
  const struct {
    const char* name;
    bool v35, fourthOn;
    unsigned nextPage;
    const char* entry4;  // the fourth title afterwards
  } rows[] = {
      {"3.5", true, true, IDD_WMENU, "__MENU4_TITLE__,\"Hom<u>e</u>\""},
      {"3.5, fourth menu off", true, false, IDD_VICONS, "__MENUx_TITLE__,\"<u>W</u>elcome\""},
      {"3.0", false, false, IDD_VICONS, "__MENU4_TITLE__,\"<u>W</u>elcome\""},
  };
  const char* titles[] = {"Online", "Support Desk", "Tool Box", "Home"};
  const char* letters[] = {"n", "D", "B", "e"};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    installation.llb3 = row.v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    Lay();
    {
      SheetDriver run = OpenAt(IDD_APPMENU);
      if (row.v35 && !row.fourthOn) {
        ASSERT_TRUE(run.Page().Click(IDC_APPMENU_WELCOME_TITLE_CHECK));
      }
      for (int i = 0; i < 4; ++i) {
        run.Page().Type(kTitles[i], titles[i]);  // refused by the hidden edits
        run.Page().Type(kLetters[i], letters[i]);
      }
      ASSERT_TRUE(run.PressNext());
      EXPECT_EQ(row.nextPage, run.ActiveTemplateId()) << LastMessage();
      run.PressCancel();
    }
    EXPECT_EQ("__MENU1_ALT_KEY__,n", Get(TextAt(slots::kMenu1AltKey)));
    EXPECT_EQ("__MENU2_ALT_KEY__,D", Get(TextAt(slots::kMenu2AltKey)));
    EXPECT_EQ("__MENU3_ALT_KEY__,B", Get(TextAt(slots::kMenu3AltKey)));
    EXPECT_EQ(row.fourthOn ? "__MENU4_ALT_KEY__,e" : "__MENU4_ALT_KEY__,W",
              Get(TextAt(slots::kMenu4AltKey)));
    EXPECT_EQ("__MENU1_TITLE__,\"O<u>n</u>line\"", Get(TextAt(slots::kMenu1Title)));
    EXPECT_EQ("__MENU2_TITLE__,\"Support <u>D</u>esk\"", Get(TextAt(slots::kMenu2Title)));
    EXPECT_EQ("__MENU3_TITLE__,\"Tool <u>B</u>ox\"", Get(TextAt(slots::kMenu3Title)));
    EXPECT_EQ(row.entry4, Get(TextAt(slots::kMenu4Title)));
    EXPECT_TRUE(headless->Messages().empty()) << LastMessage();

    SheetDriver again = OpenAt(IDD_APPMENU);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(titles[i], again.Page().Text(kTitles[i]));
      EXPECT_EQ(letters[i], again.Page().Text(kLetters[i]));
    }
    again.PressCancel();
  }
}

TEST_F(MenuPagesTest, SystemDetailsHideAndShowKeepTheFirstValues) {
  const std::string small = ".sysInfo {color: #003366; cursor: hand;}";
  const std::string large = ".sysinfo {color: #003366; cursor: hand;}";
  const std::string title = "__SYSTEM_INFORMATION__,\"System <u>D</u>etails\"";
  const struct {
    const char* name;
    bool v35;
    std::vector<std::pair<At, std::string>> hidden;
  } rows[] = {
      {"3.5",
       true,
       {{ConfigAt("Small Styles", slots::kSmallSysInfoStyle),
         small.substr(0, small.size() - 1) + " visibility: hidden;}"},
        {ConfigAt("Large Styles", slots::kLargeSysInfoStyle),
         large.substr(0, large.size() - 1) + " visibility: hidden;}"}}},
      {"3.0",
       false,
       {{TextAt(slots::kSystemInformation), "__System_Information__,\"\""},
        {TextAt(slots::kSysInfoAltKey), "__SYSINFO_ALT_KEY__,0"}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    installation.llb3 = row.v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    Lay();
    std::vector<std::string> first;
    for (const auto& [at, value] : row.hidden) first.push_back(Get(at));
    for (int run = 0; run < 2; ++run) {  // the second run keeps the first backups
      SheetDriver wizardRun = OpenAt(IDD_APPMENU);
      EXPECT_EQ(run == 0, wizardRun.Page().Check(IDC_APPMENU_SYS_DETAILS) == 1);
      if (run == 0) {
        ASSERT_TRUE(wizardRun.Page().Click(IDC_APPMENU_SYS_DETAILS));
      }
      for (const auto& [at, value] : row.hidden) EXPECT_EQ(value, Get(at)) << at.key;
      if (run == 1) {
        ASSERT_TRUE(wizardRun.Page().Click(IDC_APPMENU_SYS_DETAILS));
      }
      wizardRun.PressCancel();
    }
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i], Get(row.hidden[i].first));
    EXPECT_EQ(title, Get(TextAt("TEXT5_org")));
    EXPECT_EQ(small, Get(ConfigAt("Small Styles", "sysInfo_org")));
    EXPECT_EQ("TRUE", Get({&g_strTextFile, "Other", "SysDetails_saved"}));
    EXPECT_TRUE(headless->Messages().empty()) << LastMessage();
  }
}

TEST_F(MenuPagesTest, MissingFirstValuesAreNeitherSavedNorRestored) {
  Put(ConfigAt("Small Styles", slots::kSmallSysInfoStyle), std::nullopt);
  Put(ConfigAt("Large Styles", slots::kLargeSysInfoStyle), "");
  SheetDriver run = OpenAt(IDD_APPMENU);
  EXPECT_EQ("Error", Get(ConfigAt("Small Styles", "sysInfo_org")));
  EXPECT_EQ("Error", Get(ConfigAt("Large Styles", "sysInfo_org")));
  const auto config = platform::Os().files->ReadFile(g_strConfigFile);
  ASSERT_TRUE(run.Page().Click(IDC_APPMENU_SYS_DETAILS));
  EXPECT_EQ(config, platform::Os().files->ReadFile(g_strConfigFile));
  EXPECT_EQ(1, run.Page().Check(IDC_APPMENU_SYS_DETAILS));  // nothing was hidden
  EXPECT_NE(std::string::npos, LastMessage().find("sysInfo_org in section [Small Styles]"));
}

TEST_F(MenuPagesTest, FourthMenuSwitchChangesMarkerFlagAndDefaultMenu) {
  const struct {
    const char* name;
    Value title4, defaultMenu;  // replace the demo's entries
    const char* told;           // part of the message; empty: none
  } rows[] = {
      {"whole entries", "__MENU4_TITLE__,\"<u>W</u>elcome\"", "__DEFAULT_MENU__,MENU1", ""},
      {"title missing", std::nullopt, "__DEFAULT_MENU__,MENU1", "__MENU4_TITLE__ in lumen-text"},
      {"default menu cut", "__MENU4_TITLE__,\"<u>W</u>elcome\"", "__DEFAULT_MENU__,",
       "__DEFAULT_MENU__ in lumen-config"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay();
    Put(TextAt(slots::kMenu4Title), row.title4);
    Put(ConfigAt("Global Options", slots::kDefaultMenu), row.defaultMenu);
    SheetDriver run = OpenAt(IDD_APPMENU);
    const std::size_t before = headless->Messages().size();
    for (const char* state : {"False", "True"}) {
      ASSERT_TRUE(run.Page().Click(IDC_APPMENU_WELCOME_TITLE_CHECK));
      const bool on = std::string(state) == "True";
      EXPECT_EQ(on, run.Page().Visible(IDC_APPMENU_TITLE4));
      EXPECT_EQ(state, Get(Menu4Flag()));
      EXPECT_EQ(row.title4 ? std::string(on ? "__MENU4" : "__MENUx") + "_TITLE__,\"<u>W</u>elcome\""
                           : "Error",
                Get(TextAt(slots::kMenu4Title)));
      EXPECT_EQ(row.defaultMenu->size() > 21
                    ? std::string("__DEFAULT_MENU__,MENU") + (on ? "4" : "1")
                    : *row.defaultMenu,
                Get(ConfigAt("Global Options", slots::kDefaultMenu)));
    }
    const auto& shown = headless->Messages();
    EXPECT_EQ(*row.told ? before + 2 : before, shown.size());
    if (*row.told) {
      EXPECT_NE(std::string::npos, shown.back().text.find(row.told)) << LastMessage();
    }
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
  const std::string longDir = "c:\\" + std::string(300, 'd') + "\\";
  const struct {
    const char* name;
    bool excel, calc, refuse;
    std::string installDir;
    std::vector<std::string> started, told;
  } rows[] = {
      {"both",
       true,
       true,
       false,
       demo::kFixedInstallDir,
       {excel + " \"c:\\zantools\\zanhelp\\machine-specifics.csv\" | c:\\zantools\\zanhelp\\"},
       {}},
      {"Tabula Calc, long directory",
       false,
       true,
       false,
       longDir,
       {calc + " \"" + longDir + "machine-specifics.csv\" | " + longDir},
       {}},
      {"neither",
       false,
       false,
       false,
       demo::kFixedInstallDir,
       {},
       {"OKAPI: Can't find either Tabula Calc or Microsoft Excel in their default location",
        "Information: You may need to either install Tabula Calc or Microsoft Excel to open the "
        "Machine-Specifics.CSV file or \n you need to start one of these application and open "
        "the file yourself."}},
      {"refused",
       false,
       true,
       true,
       demo::kFixedInstallDir,
       {calc + " \"c:\\zantools\\zanhelp\\machine-specifics.csv\" | c:\\zantools\\zanhelp\\"},
       {"OKAPI: The spreadsheet program could not be started:\n" + calc +
        " \"c:\\zantools\\zanhelp\\machine-specifics.csv\"\n\nStart it yourself and open the "
        "file in it."}},
  };
  std::unique_ptr<platform::Processes> fake = std::make_unique<FakeProcesses>();
  auto& processes = static_cast<FakeProcesses&>(*fake);
  std::swap(platform::Os().processes, fake);
  SheetDriver run = OpenAt(IDD_APPMENU);
  const std::string csv = g_strCsvFile, installDir = g_strInstallDir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
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
    const std::size_t before = headless->Messages().size();
    ASSERT_TRUE(run.Page().Click(IDC_APPMENU_OPEN_CSV));
    EXPECT_EQ(row.started, processes.started);
    std::vector<std::string> told;
    for (std::size_t i = before; i < headless->Messages().size(); ++i) {
      told.push_back(headless->Messages()[i].caption + ": " + headless->Messages()[i].text);
    }
    EXPECT_EQ(row.told, told);
    EXPECT_EQ(unsigned{IDD_APPMENU}, run.ActiveTemplateId());
  }
  g_strCsvFile = csv;
  g_strInstallDir = installDir;
  EXPECT_TRUE(demo::RemoveTree("c:\\Program Files\\Microsoft Office"));
  EXPECT_TRUE(demo::RemoveTree(calc));
  std::swap(platform::Os().processes, fake);
}

TEST_F(MenuPagesTest, MenuAndWelcomePageNextFollowEditionFourthMenuAndVisualMap) {
  const struct {
    bool v35, fourthOn, visualMap;
    unsigned afterMenu, afterWelcome;  // 0: the welcome page is passed by
  } rows[] = {
      {true, true, true, IDD_WMENU, IDD_VICONS}, {true, true, false, IDD_WMENU, IDD_BACKGROUNDS},
      {true, false, true, IDD_VICONS, 0},        {true, false, false, IDD_BACKGROUNDS, 0},
      {false, false, true, IDD_VICONS, 0},       {false, false, false, IDD_BACKGROUNDS, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "3.5 " << row.v35 << ", fourth menu " << row.fourthOn
                                    << ", Visual Map " << row.visualMap);
    installation.llb3 = row.v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    installation.usesVisualMap = row.visualMap;
    Lay();
    if (!row.fourthOn) Put(Menu4Flag(), "False");
    SheetDriver run = OpenAt(IDD_APPMENU);
    ASSERT_TRUE(run.PressNext());
    EXPECT_EQ(row.afterMenu, run.ActiveTemplateId());
    if (row.afterWelcome) {
      ASSERT_TRUE(run.PressNext());
      EXPECT_EQ(row.afterWelcome, run.ActiveTemplateId());
    }
    run.PressCancel();
  }
}

constexpr int kTexts[] = {IDC_WMENU_INTRO, IDC_WMENU_TAB1_DESC, IDC_WMENU_TAB2_DESC,
                          IDC_WMENU_TAB3_DESC, IDC_WMENU_CLOSING};

TEST_F(MenuPagesTest, WelcomeTextsLoadFromTheirEntries) {
  Put(TextAt(slots::kWelcomeIntro), "__WELCOME_INTRO__,\"Welcome to your computer\"");
  Put(TextAt(slots::kTab1Description), "__TAB1_DESCRIPTION__,\"Just text\"");
  Put(TextAt(slots::kTab2Description), "__TAB2_DESCRIPTION__,\"<b>Help Center</b> Find answers\"");
  Put(TextAt(slots::kTab3Description), "__TAB3_DESCRIPTION__,\"<b>Tools</b> One<br>Two\"");
  Put(TextAt(slots::kWelcomeClosing), std::nullopt);
  Put(ConfigAt("Global Options", slots::kWelcomeImage), "__WELCOME_IMAGE__,spacer.gif");
  SheetDriver run = OpenAt(IDD_WMENU);
  const char* shown[] = {"Welcome to your computer", "Just text", "Find answers", "One\r\nTwo", ""};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(shown[i], run.Page().Text(kTexts[i])) << i;
  EXPECT_EQ("Getting Started", run.Page().Text(IDC_WMENU_MENU1_LABEL));
  EXPECT_EQ(0, run.Page().Check(IDC_WMENU_IMAGE_CHECK));
  EXPECT_FALSE(run.Page().Visible(IDC_WMENU_IMAGE_CHECK));
  EXPECT_FALSE(run.Page().Enabled(IDC_WMENU_IMAGE_CHECK));
}

TEST_F(MenuPagesTest, WelcomeTextsAreWrittenWithTheCurrentMenuTitles) {
  SheetDriver run = OpenAt(IDD_WMENU);
  ASSERT_TRUE(run.PressBack());
  ASSERT_TRUE(run.Page().Type(IDC_APPMENU_TITLE2, "Support"));
  ASSERT_TRUE(run.Page().Type(IDC_APPMENU_ALT_KEY2, "u"));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ("Support", run.Page().Text(IDC_WMENU_MENU2_LABEL));
  const std::string texts[] = {"First line\r\nSecond line", "Learn", "", "Shape\nup", ""};
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(run.Page().Type(kTexts[i], texts[i]));
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(unsigned{IDD_VICONS}, run.ActiveTemplateId());
  const std::pair<const char*, const char*> written[] = {
      {slots::kWelcomeIntro, "__WELCOME_INTRO__,\"First line<br>Second line\""},
      {slots::kTab1Description, "__TAB1_DESCRIPTION__,\"<b>Getting Started</b> Learn\""},
      {slots::kTab2Description, "__TAB2_DESCRIPTION__,\"<b>Support</b> \""},
      {slots::kTab3Description, "__TAB3_DESCRIPTION__,\"<b>Tools</b> Shape<br>up\""},
      {slots::kWelcomeClosing, "__WELCOME_CLOSING__,\"\""},
  };
  for (const auto& [slot, entry] : written) EXPECT_EQ(entry, Get(TextAt(slot)));
  run.PressCancel();

  SheetDriver again = OpenAt(IDD_WMENU);
  const char* shown[] = {"First line\r\nSecond line", "Learn", "", "Shape\r\nup", ""};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(shown[i], again.Page().Text(kTexts[i])) << i;
  EXPECT_TRUE(headless->Messages().empty()) << LastMessage();
}

TEST_F(MenuPagesTest, WelcomeTextsThatWouldNotComeBackAreRefused) {
  const struct {
    const char* name;
    int control;
    std::string text;
    const char* told;  // empty: accepted
  } rows[] = {
      {"quote", IDC_WMENU_TAB2_DESC, "Say \"hi\"",
       "Information: The description of the second tab cannot contain a double quote (\")."},
      {"491 characters", IDC_WMENU_INTRO, std::string(491, 'i'), ""},
      {"492 characters", IDC_WMENU_INTRO, std::string(492, 'i'),
       "Information: The introduction is too long: it may have at most 491 characters, a line "
       "break counting as four."},
      {"line breaks count as four", IDC_WMENU_CLOSING,
       std::string(240, 'c') + "\r\n\r\n" + std::string(248, 'c'),
       "Information: The closing text is too long: it may have at most "
       "489 characters, a line break counting as four."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay();
    SheetDriver run = OpenAt(IDD_WMENU);
    const auto text = platform::Os().files->ReadFile(g_strTextFile);
    ASSERT_TRUE(run.Page().Type(row.control, row.text));
    run.PressNext();
    if (*row.told) {
      EXPECT_EQ(unsigned{IDD_WMENU}, run.ActiveTemplateId());
      EXPECT_EQ(row.told, LastMessage());
      EXPECT_EQ(text, platform::Os().files->ReadFile(g_strTextFile));
    } else {
      EXPECT_EQ(unsigned{IDD_VICONS}, run.ActiveTemplateId());
      EXPECT_EQ(511u, Get(TextAt(slots::kWelcomeIntro)).size());
    }
    run.PressCancel();
  }
}

TEST_F(MenuPagesTest, WelcomeImageFirstValueIsKeptOnlyWhenThere) {
  const At org = ConfigAt("Global Options", "WELCOME_IMAGE_org");
  const At flag = {&g_strConfigFile, "Other", "WelcomeImage_saved"};
  const At image = ConfigAt("Global Options", slots::kWelcomeImage);
  Put(image, std::nullopt);
  OpenAt(IDD_WMENU).PressCancel();
  EXPECT_EQ("Error", Get(org));
  EXPECT_EQ("Error", Get(flag));

  Put(image, "__WELCOME_IMAGE__,welcome.gif");
  SheetDriver run = OpenAt(IDD_WMENU);
  EXPECT_EQ("__WELCOME_IMAGE__,welcome.gif", Get(org));
  EXPECT_EQ("TRUE", Get(flag));
  // The check box stays hidden; its handler still round-trips the image.
  CWMenu& page = wizard->wmenu;
  for (int on : {0, 1}) {
    page.CheckDlgButton(IDC_WMENU_IMAGE_CHECK, on);
    page.OnWelcomeImageClicked();
    EXPECT_EQ(on ? "__WELCOME_IMAGE__,welcome.gif" : "__WELCOME_IMAGE__,spacer.gif", Get(image));
  }
  EXPECT_TRUE(headless->Messages().empty()) << LastMessage();
}

}  // namespace
