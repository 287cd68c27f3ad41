// Page models on the demo installation of either edition, laid as the
// wizard finds it at start: the menu page's and the welcome page's loads,
// first refusals, writes, switches and the first values they keep; what the
// Larkbook Button page's choice reaches (this computer, the script, the
// package); Finish as the last page runs it; and the changes report.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/discovery.h"
#include "app/restore.h"
#include "package/changes_report.h"
#include "package/package_tree.h"
#include "pages/lb_button_model.h"
#include "pages/menu_model.h"
#include "pages/packaging_model.h"
#include "pages/welcome_texts_model.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "store/seed.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

namespace slots = demo::slots;
using Value = std::optional<std::string>;

struct At {
  const std::string* file;
  std::string section, key;
};
At Text(const std::string& slot) { return {&g_strTextFile, "Lumen Text", slot}; }
At Config(const std::string& section, const std::string& key) {
  return {&g_strConfigFile, section, key};
}
// As the rows spell an entry: "key" in the text file, "Section:key" in the
// config file, "map:Section:key" in the map file; then "=value", <missing>
// for none.
std::pair<At, Value> Entry(const std::string& entry) {
  const std::string where = entry.substr(0, entry.find('=')),
                    value = entry.substr(where.size() + 1);
  const std::size_t colon = where.rfind(':'), section = where.starts_with("map:") ? 4 : 0;
  At at = colon == std::string::npos
              ? Text(where)
              : Config(where.substr(section, colon - section), where.substr(colon + 1));
  if (section) at.file = &g_strMapFile;
  return {at, value == "<missing>" ? Value() : value};
}
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
// What a notice says, as the rows spell it: "caption: text".
std::string Said(const std::optional<Notice>& told) {
  return told ? told->caption + ": " + told->message : "";
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

// Next on a page: its first refusal with nothing written, or it saves
// telling nothing.
template <class Model>
std::optional<Notice> Next(Model& model) {
  const std::string files = Files();
  std::optional<Notice> told = model.Check();
  const SaveResult saved = told ? SaveResult{} : model.Save();
  EXPECT_TRUE(saved.saved && !saved.notice);
  EXPECT_EQ(told.has_value(), files == Files()) << "refused: nothing written";
  return told;
}

// The installation laid afresh and found as at start: its first contents
// kept, its map file seeded, its package tree made.
void LayAsAtStart(const demo::Installation& installation = {}) {
  ASSERT_TRUE(demo::ResetMachine() && demo::LayInstallation(installation));
  ASSERT_TRUE(CheckInstallation([](const std::string& told) { FAIL() << told; }));
  BackupHelpFiles();
  SeedMapFile();
  package::PrepareTree();
}

class MenuModelTest : public okapi_test::MachineTest {
 protected:
  ~MenuModelTest() override { store::SetWriteFailureReporter(nullptr); }  // it holds this fixture
  void Lay(bool v35 = true) {
    installation.llb3 = v35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    LayAsAtStart(installation);
    ASSERT_EQ(v35, g_bVersion35);
    failed.clear();
    store::SetWriteFailureReporter(
        [this](const std::string& file, const std::string&) { failed.push_back(file); });
  }
  demo::Installation installation;
  std::vector<std::string> failed;  // files whose write was refused and told
};

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) c == '|' ? (void)parts.emplace_back() : parts.back().push_back(c);
  return parts;
}

TEST_F(MenuModelTest, NextRefusesFirstWithoutWritingOrWritesTheMenusInUse) {
  for (const okapi_test::Row& row : okapi_test::Rows("menu_next.rows")) {
    SCOPED_TRACE(row["titles"] + " " + row["letters"]);
    Lay(row["edition"] != "3.0");
    if (row.Get("about")) Put(Text(slots::kAboutAltKey), std::nullopt);
    MenuModel model = Menus();
    const std::vector<std::string> titles = Split(row["titles"]);
    for (std::size_t i = 0; i < MenuModel::kMenus; ++i) {
      if (titles.at(i) != ".") model.menus[i].title = titles[i];
      const char letter = row["letters"].at(i);
      if (letter != '.') model.menus[i].letter = letter == '_' ? "" : std::string(1, letter);
    }
    model.fourthMenu = !row.Get("fourth");
    EXPECT_EQ(row["told"], Said(Next(model)));
    if (row.Get("told")) continue;
    const std::vector<std::string> written = Split(row["written"]);
    EXPECT_EQ("__MENU2_TITLE__,\"" + written.at(0) + "\"", Get(Text(slots::kMenu2Title)));
    EXPECT_EQ("__MENU2_ALT_KEY__," + written.at(1), Get(Text(slots::kMenu2AltKey)));
    EXPECT_EQ("__MENU4_TITLE__,\"" + written.at(2) + "\"", Get(Text(slots::kMenu4Title)));
    EXPECT_EQ("__MENU4_ALT_KEY__," + written.at(3), Get(Text(slots::kMenu4AltKey)));
  }
}

TEST_F(MenuModelTest, SavesPassOverEntriesWithoutASlotAndAFailedWriteIsToldAndChangesNothing) {
  Lay();
  (void)Menus(), (void)Texts();  // first values kept at an earlier start
  Put(Text(slots::kMenu2AltKey), std::nullopt);
  SeedMapFile();
  MenuModel menus = Menus();
  menus.menus[0].letter = "e";
  const SaveResult passed = menus.Save();
  EXPECT_TRUE(passed.saved);
  EXPECT_EQ(Info("lumen-text.ini has no entry marked __MENU2_ALT_KEY__, so what belongs there was "
                 "not written."),
            passed.notice);
  EXPECT_EQ("__MENU1_ALT_KEY__,e", Get(Text(slots::kMenu1AltKey)));
  EXPECT_EQ("Error", Get(Text(slots::kMenu2AltKey)));
  // A read-only text file stops either page, told by the store, nothing changed.
  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strTextFile));
  const std::string files = Files();
  menus.menus[0].letter = "f";
  EXPECT_FALSE(menus.Save().saved);
  WelcomeTextsModel texts = Texts();
  texts.intro = "Hello";
  EXPECT_FALSE(texts.Save().saved);
  EXPECT_EQ(files, Files());
  EXPECT_EQ(std::vector<std::string>(2, g_strTextFile), failed);
}

TEST_F(MenuModelTest, SystemDetailsHideFromFirstValuesKeptOnceAndNeverPutBackMissing) {
  for (const okapi_test::Row& row : okapi_test::Rows("menu_system_details.rows")) {
    const bool v35 = row["edition"] == "3.5", readOnly = row.Get("read-only").has_value();
    SCOPED_TRACE(row["edition"] + " " + row["gone"] + " " + row["read-only"]);
    Lay(v35);
    if (row.Get("gone")) Put(Entry(row["gone"] + "=<missing>").first, std::nullopt);
    ASSERT_TRUE(!readOnly || platform::Os().files->SetReadOnly(g_strConfigFile));
    MenuModel model = Menus();
    const std::string shown = Files();
    const std::vector<std::string> hiddenAs = row.All("hidden as");
    for (int twice = 0; twice < 2; ++twice) {  // hiding twice hides once
      EXPECT_EQ(row["told"], Said(model.ShowSysDetails(false)));
      EXPECT_EQ(hiddenAs.empty(), model.showSysDetails);
      EXPECT_EQ(hiddenAs.empty(), shown == Files());
      for (const std::string& entry : hiddenAs) {
        const auto [at, value] = Entry(entry);
        EXPECT_EQ(value, Get(at)) << at.key;
      }
    }
    // Both styles' copies, told at the start and again at each switch.
    EXPECT_EQ(std::vector<std::string>(readOnly ? 6 : 0, g_strConfigFile), failed);
    if (row.Get("gone")) continue;
    // The next run keeps the first values of the first, not the hidden ones.
    ASSERT_TRUE(platform::Os().files->SetAttributesNormal(g_strConfigFile));
    model = Menus();
    EXPECT_EQ(readOnly, model.showSysDetails);
    EXPECT_EQ(std::nullopt, model.ShowSysDetails(true));
    EXPECT_EQ(!readOnly, shown == Files());
    if (v35) {
      EXPECT_EQ(Get(kSmallStyle), Get(Config("Small Styles", "sysInfo_org")));
    }
  }
}

TEST_F(MenuModelTest, FourthMenuFollowsItsFlagAndItsSwitchMovesMarkerFlagAndDefaultMenu) {
  for (const okapi_test::Row& row : okapi_test::Rows("menu_fourth.rows")) {
    const bool v35 = row["edition"] == "3.5", on = row.Get("on").has_value();
    SCOPED_TRACE(row.All("laid")[0] + " " + row.All("laid")[2]);
    Lay(v35);
    for (const std::string& entry : row.All("laid")) Put(Entry(entry).first, Entry(entry).second);
    const auto [flag, laidFlag] = Entry(row.All("laid")[0]);
    const Value title4 = Entry(row.All("laid")[1]).second;
    const auto [defaultMenu, laidMenu] = Entry(row.All("laid")[2]);
    MenuModel model = Menus();
    EXPECT_EQ(on, model.fourthMenu);
    EXPECT_EQ(laidFlag.value_or(on ? "True" : "False"), Get(flag));          // a missing one mended
    for (bool now : v35 ? std::vector{false, true} : std::vector<bool>{}) {  // 3.0: no switch
      EXPECT_EQ(row["told"], Said(model.EnableFourthMenu(now)));
      EXPECT_EQ(now, model.fourthMenu);
      EXPECT_EQ(now ? "True" : "False", Get(flag));
      EXPECT_EQ(title4 ? std::string(*title4).replace(6, 1, now ? "4" : "x") : "Error",
                Get(Text(slots::kMenu4Title)));
      std::string digit = *laidMenu;
      if (digit.size() > 21) digit.back() = now ? '4' : '1';
      EXPECT_EQ(digit, Get(defaultMenu));
    }
  }
}

// Records starts and refuses them.
struct RefusingProcesses : platform::Processes {
  bool Start(const std::string& commandLine, const std::string& directory) override {
    started = commandLine + " | " + directory;
    return false;
  }
  std::string started;
};

TEST_F(MenuModelTest, ASpreadsheetThatDoesNotStartIsTold) {
  const std::string calc = "c:\\tabula\\calc\\calcw.exe",
                    dir = "c:\\" + std::string(300, 'd') + "\\";
  ASSERT_TRUE(demo::MakeDirectories("c:\\tabula\\calc") &&
              platform::Os().files->WriteFileAtomic(calc, "MZ"));
  auto* processes = new RefusingProcesses;
  std::unique_ptr<platform::Processes> real(processes);
  std::swap(platform::Os().processes, real);
  const std::string commandLine = calc + " \"" + dir + "m.csv\"";
  EXPECT_EQ((std::vector<Notice>{{"The spreadsheet program could not be started:\n" + commandLine +
                                      "\n\nStart it yourself and open the file in it.",
                                  "OKAPI"}}),
            OpenInSpreadsheet(dir + "m.csv", dir));
  EXPECT_EQ(commandLine + " | " + dir, processes->started);
  std::swap(platform::Os().processes, real);
}

TEST_F(MenuModelTest, WelcomeTextsComeBackAsTypedUnderTheCurrentTitlesOrAreRefused) {
  // "491*i": that many of the letter.
  const auto spelled = [](std::string text) {
    for (std::size_t star; (star = text.find('*')) != std::string::npos;) {
      const std::size_t count = text.find_last_not_of("0123456789", star - 1) + 1;
      text.replace(count, star - count + 2, std::stoul(text.substr(count)), text[star + 1]);
    }
    return text;
  };
  for (const okapi_test::Row& row : okapi_test::Rows("welcome_texts.rows")) {
    SCOPED_TRACE(row["intro"] + " | " + row["tab2"]);
    const std::string intro = spelled(row["intro"]), tab2 = spelled(row["tab2"]);
    Lay();
    Put(Text(slots::kTab2Description), "__TAB2_DESCRIPTION__,\"Find answers\"");
    WelcomeTextsModel model = Texts();
    EXPECT_EQ("Welcome to your new notebook.", model.intro);
    EXPECT_EQ("Find answers", model.descriptions[1]);  // no title in front
    // Renamed on the menu page since the welcome page was first shown.
    Put(Text(slots::kMenu2Title), "__MENU2_TITLE__,\"S<u>u</u>pport\"");
    model.LoadMenuTitles();
    model.intro = intro;
    model.descriptions[1] = tab2;
    EXPECT_EQ(row["told"], Said(Next(model)));
    if (row.Get("told")) continue;
    EXPECT_EQ("__WELCOME_INTRO__,\"" + spelled(row["written"]) + "\"",
              Get(Text(slots::kWelcomeIntro)));
    EXPECT_EQ("__TAB2_DESCRIPTION__,\"<b>Support</b> Shape<br>up\"",
              Get(Text(slots::kTab2Description)));
    model = Texts();
    EXPECT_EQ(intro, model.intro);
    EXPECT_EQ(tab2, model.descriptions[1]);
  }
}

// Missing at the first start, the graphic's first value is taken at a later
// one; the switch puts it back.
TEST_F(MenuModelTest, WelcomeImageFirstValueIsKeptOnlyWhenThereAndPutBack) {
  Lay();
  const At org = Config("Global Options", "WELCOME_IMAGE_org"),
           image = Config("Global Options", slots::kWelcomeImage);
  Put(image, std::nullopt);
  WelcomeTextsModel model = Texts();
  EXPECT_EQ(Info("The welcome page graphic could not be shown again: its original value "
                 "(WELCOME_IMAGE_org in lumen-config.ini) is missing."),
            model.ShowWelcomeImage(true));
  EXPECT_FALSE(model.welcomeImage);
  EXPECT_EQ("Error", Get(image));
  Put(image, "__WELCOME_IMAGE__,spacer.gif");
  model = Texts();
  EXPECT_EQ("__WELCOME_IMAGE__,spacer.gif", Get(org));
  Put(org, "__WELCOME_IMAGE__,welcome.gif");
  for (bool on : {true, false}) {
    EXPECT_EQ(std::nullopt, model.ShowWelcomeImage(on));
    EXPECT_EQ(on, Texts().welcomeImage) << "as the next start finds it";
    EXPECT_EQ(on ? "__WELCOME_IMAGE__,welcome.gif" : "__WELCOME_IMAGE__,spacer.gif", Get(image));
  }
}

using PackageTest = okapi_test::MachineTest;
namespace item = store::item;

const std::string kCalc = "c:\\tabula\\calc\\calcw.exe",
                  kScript = "c:\\zantools\\zanhelp\\lbbutton.reg",
                  kPackaged = "c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg";
const std::string kCalcScript =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
    "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";

// Each row on a machine of its own, so that no refusal outlives its row; one
// model through the others, so that a load replaces what the last one read.
TEST(LBButtonModel, ChoiceReachesComputerScriptAndPackageAsFarAsEachAllows) {
  LBButtonModel model;
  for (const okapi_test::Row& row : okapi_test::Rows("lb_button.rows")) {
    SCOPED_TRACE(row["name"]);
    const auto refuses = row.All("refuses");
    const bool script = std::ranges::count(refuses, "script"),
               package = std::ranges::count(refuses, "package"),
               registry = std::ranges::count(refuses, "registry");
#ifdef _WIN32
    if (registry) continue;
#endif
    okapi_test::TestMachine machine;
    auto& files = *platform::Os().files;
    demo::Installation installation;
    if (row.Get("laid")) installation.hotkeyFile = row["laid"];
    LayAsAtStart(installation);
    // Refused, the model must read back what the registry holds, not keep what it showed.
    if (registry) model = LBButtonModel();
    if (!registry) model.Load();
    EXPECT_EQ(row["shown"], model.Application());
    ASSERT_TRUE(!script ||
                (files.WriteFileAtomic(kScript, "; old\r\n") && files.SetReadOnly(kScript)));
    ASSERT_TRUE(!package || files.WriteFileAtomic(kPackaged.substr(0, kPackaged.rfind('\\')), "x"));
#ifndef _WIN32
    if (registry)
      dynamic_cast<platform::posix::MemoryRegistry&>(*platform::Os().registry)
          .RefuseAccess(platform::Hive::LocalMachine, demo::kHotkeyKey, platform::Access::Write);
#endif
    std::vector<std::string> failed;
    std::string told;
    store::SetWriteFailureReporter([&](const std::string& file, auto&) { failed.push_back(file); });
    for (const auto& message : model.Select(kCalc))
      told += message.caption + ": " + message.message;
    store::SetWriteFailureReporter(nullptr);
    const auto calc = [](const std::string& text) { return text == "calc" ? kCalcScript : text; };
    EXPECT_EQ(row["told"], told);
    EXPECT_EQ(row["written"], layout::ReadButtonApplication().value_or("<no key>"));
    EXPECT_EQ(row["written"], model.Application());
    EXPECT_EQ(calc(row["script"]), files.ReadFile(kScript).value_or("<missing>"));
    EXPECT_EQ(script, failed == std::vector<std::string>{kScript});
    EXPECT_EQ(calc(row["packaged"]), files.ReadFile(kPackaged).value_or("<missing>"));
    (void)files.SetAttributesNormal(kScript);
  }
}

TEST_F(PackageTest, FinishAsksAboutAnUnlistedOpeningImageAndItsErrorsKeepThePage) {
  for (const okapi_test::Row& row : okapi_test::Rows("finish_page.rows")) {
    SCOPED_TRACE(row["name"]);
    const int answer = row["answer"] == "yes" ? IDYES : IDNO;
    const std::vector<std::string> expected = row.All("told");
    LayAsAtStart();
    if (row.Get("opening")) {
      const auto& option = g_bVersion35 ? item::kMenu4Background : item::kDefaultBackgroundImage;
      ASSERT_EQ(store::WriteResult::Written, store::WriteValue(option, row["opening"]).kind);
    }
    if (row.Get("background")) {
      ASSERT_TRUE(store::Write(item::kMenuBackgroundFiles.WithKey("File1"), row["background"]));
    }
    std::vector<std::string> told;
    const bool whole =
        packaging::Finish([&](const std::string& text, const std::string&, unsigned type) {
          const std::size_t cut =
              told.size() < expected.size() ? expected[told.size()].size() : text.size();
          told.push_back(text.substr(0, cut));
          return type & MB_YESNO ? (told.size() == 1 ? answer : IDNO) : IDOK;
        });
    EXPECT_EQ(row.Get("whole").has_value(), whole);
    EXPECT_EQ(expected, told);
    EXPECT_EQ(answer == IDYES,
              platform::Os().files->Exists(package::Root() + "\\lumen-config.ini"));
  }
}

// What a page changes on a normal run is held by the journeys' changes.txt;
// here what they never reach: nothing changed, entries no page writes, an
// entry named by its key in another page's section, a change of quoting
// alone (once "unchanged" to /restore, which counts what the report lists),
// and markup in a value.
TEST_F(PackageTest, ChangesReportListsEntriesNoPageWritesCountedAsByRestoreAndEscaped) {
  LayAsAtStart();
  EXPECT_TRUE(report::Collect().NothingChanged());
  EXPECT_NE(std::string::npos, report::AsText(report::Collect()).find("\r\nNothing changed.\r\n"));
  ASSERT_TRUE(store::WriteString("Lumen Text", demo::slots::kWelcomeIntro,
                                 "__WELCOME_INTRO__,\"Hi<br>there\"", g_strTextFile));
  ASSERT_TRUE(store::WriteString("Lumen Text", "TEXT6", "Click a menu to begin", g_strTextFile));
  ASSERT_TRUE(store::WriteString("New", "Key", "1", g_strConfigFile));
  // Named by its key, in a section whose other keys belong to another page.
  ASSERT_TRUE(store::WriteString("OEM Defaults", "Sound", "FALSE", g_strConfigFile));
  auto& files = *platform::Os().files;
  ASSERT_TRUE(files.WriteFileAtomic(g_strCsvFile, files.ReadFile(g_strCsvFile).value() + "x\r\n"));
  const report::Changes changes = report::Collect();
  std::vector<std::string> rows;
  for (const auto& e : changes.entries)
    rows.push_back(e.file + " | " + e.page + " | " + e.key + " | " + e.before.value_or("-") +
                   " | " + e.after.value_or("-"));
  EXPECT_EQ((std::vector<std::string>{
                "lumen-text.ini | Welcome Page | TEXT27 | __WELCOME_INTRO__,\"Welcome to your "
                "new notebook.\" | __WELCOME_INTRO__,\"Hi<br>there\"",
                "lumen-config.ini | Sounds | Sound | true | FALSE",
                "lumen-config.ini | Other entries | Key | - | 1",
                "lumen-text.ini | Other entries | TEXT6 | \"Click a menu to begin\" | Click a "
                "menu to begin"}),
            rows);
  std::vector<int> planned;
  for (const restore::FilePlan& file : restore::MakePlan().files) planned.push_back(file.differing);
  EXPECT_EQ((std::vector<int>{changes.tableLinesChanged, 2, 2}), planned);
  EXPECT_EQ(1, changes.tableLinesChanged);
  ASSERT_TRUE(report::Write(changes));
  const std::string html = files.ReadFile(report::HtmlPath()).value_or("");
  EXPECT_NE(std::string::npos, html.find("<code>__WELCOME_INTRO__,&quot;Hi&lt;br&gt;there"));
}

}  // namespace
