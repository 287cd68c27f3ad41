// The wizard without a window: the skips around the pages that may not apply
// and the conditions read for them, the frame (title font, pictures, each
// page's help topic), the help control's loading and a second copy.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "framework/framework.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "tests/support/counting_files.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"
#include "wizard/help_launcher.h"
#include "wizard/page_frame.h"
#include "wizard/routing.h"
#include "wizard/title_font.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

using routing::Move;

constexpr int kInOrder = kWizardInOrder, kBg = IDD_BACKGROUNDS, kMenu = IDD_APPMENU,
              kWelcome = IDD_WMENU, kVisualMap = IDD_VICONS;
// Menu Next, Welcome Page Next, Visual Map Back, Backgrounds Back; then
// moves that always keep the sheet's order.
constexpr std::pair<unsigned, Move> kMoves[] = {
    {IDD_APPMENU, Move::Next},     {IDD_WMENU, Move::Next},   {IDD_VICONS, Move::Back},
    {IDD_BACKGROUNDS, Move::Back}, {IDD_APPMENU, Move::Back}, {IDD_VICONS, Move::Next},
    {IDD_LBBUTTON, Move::Back},    {IDD_SPLASH, Move::Back}};

struct Row {
  const char* name;
  routing::Conditions when;  // v35, fourth menu, Visual Map; the button key below
  int to[4];                 // the first four moves
};
// clang-format off
const Row kRows[] = {
    {"3.0", {false, false, false}, {kBg, kBg, kMenu, kMenu}},
    {"3.0 Visual Map", {false, false, true}, {kVisualMap, kInOrder, kMenu, kVisualMap}},
    // A fourth-menu flag left in the map file means nothing to version 3.0.
    {"3.0 flag left", {false, true, false}, {kBg, kBg, kMenu, kMenu}},
    {"3.5", {true, true, false}, {kWelcome, kBg, kWelcome, kWelcome}},
    {"3.5 Visual Map", {true, true, true}, {kWelcome, kInOrder, kWelcome, kVisualMap}},
    {"3.5 no 4th menu", {true, false, false}, {kBg, kBg, kMenu, kMenu}},
    {"3.5 no 4th menu, Visual Map", {true, false, true}, {kVisualMap, kInOrder, kMenu, kVisualMap}},
};
// clang-format on

TEST(Routing, SkipsFollowEditionFourthMenuAndVisualMap) {
  for (const Row& row : kRows) {
    for (bool button : {false, true}) {
      SCOPED_TRACE(row.name + std::string(button ? " with button" : ""));
      routing::Conditions c = row.when;
      c.hardwareButton = button;
      for (std::size_t i = 0; i < std::size(kMoves); ++i)
        EXPECT_EQ(i < 4 ? row.to[i] : kInOrder,
                  routing::Route(kMoves[i].first, kMoves[i].second, c))
            << i;
      EXPECT_EQ(button ? kInOrder : IDD_PACKAGING, routing::Route(IDD_SPLASH, Move::Next, c));
      EXPECT_EQ(button ? kInOrder : IDD_SPLASH, routing::Route(IDD_PACKAGING, Move::Back, c));
    }
  }
}

TEST(Routing, ConditionsAreReadAsTheHelpApplicationSpellsThem) {
  okapi_test::ScopedCountingFiles files;
  const std::pair saved{g_strCsvFile, g_strMapFile};
  g_strCsvFile = "c:\\lumen\\machine-specifics.csv",
  g_strMapFile = "c:\\zantools\\zanhelp\\okapi.ini";
  const struct {
    const std::string& file;
    const char* table;
    bool (*read)();
    bool on;
  } cases[] = {
      {g_strCsvFile, "[menu1]\r\nUSESVISUALMAP=\"isTRUE\"\r\n", routing::UsesVisualMap, true},
      // The value's test is case-sensitive, the key's not.
      {g_strCsvFile, "[MENU1]\r\nusesVisualMap=true\r\n", routing::UsesVisualMap, false},
      {g_strCsvFile, "", routing::UsesVisualMap, false},
      {g_strMapFile, "[Install]\r\nMenu4=True\r\n", routing::FourthMenuEnabled, true},
      {g_strMapFile, "[Install]\r\nMenu4=False\r\n", routing::FourthMenuEnabled, false},
  };
  for (const auto& c : cases) {
    files->AddFile(c.file, c.table);
    EXPECT_EQ(c.on, c.read()) << c.table;
  }
  std::tie(g_strCsvFile, g_strMapFile) = saved;
}

TEST(WizardFrame, TitleFontAndPictureFollowTheScreen) {
  // 140 dpi at 8 points is 15.56 pixels: cut, not rounded.
  for (const auto& [dpi, points, height] : {std::tuple{96, 12, -16}, std::tuple{140, 8, -15}})
    EXPECT_EQ(TitleFontHeight(dpi, points), height) << dpi;
  // Drawn 522, 652, 783 and 1044 pixels wide: the smallest at least as wide.
  for (const auto& [width, percent] :
       {std::pair{522, 100}, std::pair{523, 125}, std::pair{783, 150}, std::pair{870, 200}})
    EXPECT_EQ(kDrawnPercents[DrawingFor(522, width)], percent) << width;
}

#ifndef _WIN32
// The HTML Help control on the fake machine; under Wine the help program test
// opens the system's own, and the window tests run the real windows.
std::vector<std::string> g_helpCalls;

std::uintptr_t RecordHelp(std::uintptr_t hwnd, const char* file, unsigned command,
                          std::uintptr_t data) {
  g_helpCalls.push_back(std::to_string(hwnd) + " " + (file ? file : "(null)") + " " +
                        std::to_string(command) + " " + std::to_string(data));
  return 0x4711;
}

platform::posix::FakeModules& Modules() {
  return dynamic_cast<platform::posix::FakeModules&>(*platform::Os().modules);
}

TEST(HelpLauncher, LoadsTheControlOnceFromItsRegistrationOrByName) {
  for (const okapi_test::Row& row : okapi_test::Rows("help_launcher.rows")) {
    SCOPED_TRACE(row["name"]);
    okapi_test::TestMachine machine;
    help_launcher::Reset();
    g_helpCalls.clear();
    ASSERT_TRUE(!row.Get("registered") ||
                platform::Os().registry->CreateAndSet(
                    platform::Hive::ClassesRoot,
                    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", "",
                    row["registered"]));
    std::map<unsigned, platform::Modules::Proc> procs;
    if (row.Get("entry")) procs[14] = reinterpret_cast<platform::Modules::Proc>(&RecordHelp);
    if (row.Get("module")) Modules().Register(row["module"], procs);
    const bool works = row.Get("module") && row.Get("entry");
    EXPECT_EQ(HtmlHelpLauncher(0x10, "file.chm::/W02.htm", 0, 0x99), works ? 0x4711u : 0u);
    EXPECT_EQ(HtmlHelpLauncher(0, nullptr, HH_INITIALIZE, 0), works ? 0x4711u : 0u);
    EXPECT_EQ(Modules().loaded, row.All("loads"));
    EXPECT_EQ(help_launcher::LoadFailed(), !works);
    const std::vector<std::string> calls = {"16 file.chm::/W02.htm 0 153", "0 (null) 28 0"};
    EXPECT_EQ(g_helpCalls, works ? calls : std::vector<std::string>{});
  }
  help_launcher::Reset();
}

// Each Help button opens its own page's topic of the help file.
TEST(WizardPages, HelpButtonOpensThePagesTopic) {
  okapi_test::TestMachine machine;
  ASSERT_TRUE(demo::LayDemoInstallation());
  DiscoverInstallation();
  help_launcher::Reset();
  Modules().Register("hhctrl.ocx", {{14, reinterpret_cast<platform::Modules::Proc>(&RecordHelp)}});
  OkapiWizard wizard;
  const std::tuple<COkapiPage*, int, const char*> pages[] = {
      {&wizard.intro, IDC_INTRO_HELP, "W02"},
      {&wizard.modified, IDC_MODIFIED_HELP, "W10"},
      {&wizard.appMenu, IDC_APPMENU_HELP, "W03"},
      {&wizard.wmenu, IDC_WMENU_HELP, "W035"},
      {&wizard.vicons, IDC_VICONS_HELP, "W04"},
      {&wizard.backgrounds, IDC_BACKGROUNDS_HELP, "W05"},
      {&wizard.tcolor, IDC_TCOLOR_HELP, "W06"},
      {&wizard.sounds, IDC_SOUNDS_HELP, "W07"},
      {&wizard.splash, IDC_SPLASH_HELP, "W08"},
      {&wizard.lbButton, IDC_LBBUTTON_HELP, "W09"},
      {&wizard.packaging, IDC_PACKAGING_HELP, "W11"}};
  for (const auto& [page, help, topic] : pages) {
    SCOPED_TRACE(topic);
    g_helpCalls.clear();
    EXPECT_TRUE(page->OnCommand(help, BN_CLICKED));
    ASSERT_EQ(2u, g_helpCalls.size());
    EXPECT_TRUE(g_helpCalls[0].starts_with("0 (null) 28 "));
    EXPECT_EQ("0 c:\\zantools\\zanhelp\\customization\\docs\\llb3cust.chm::/" + std::string(topic) +
                  ".htm 0 0",
              g_helpCalls[1]);
  }
  help_launcher::Reset();
}

using SecondCopyTest = okapi_test::MachineTest;

TEST_F(SecondCopyTest, TogglesTheRunningWizardAndEnds) {
  using Show = platform::ShowCommand;
  const std::map<std::string, Show> commands = {{"minimize", Show::Minimize},
                                                {"show normal", Show::ShowNormal}};
  for (const okapi_test::Row& row : okapi_test::Rows("second_copy.rows")) {
    SCOPED_TRACE(row["name"]);
    platform::Os().instances = std::make_unique<platform::posix::MemoryInstances>();
    auto& instances = dynamic_cast<platform::posix::MemoryInstances&>(*platform::Os().instances);
    instances.ClaimedElsewhere("Mutex_OKAPI");
    const auto other = instances.AddWindow("Notepad");
    const auto wizard = instances.AddWindow(row.Get("title").value_or(kWizardTitle),
                                            row.Get("minimized").has_value());
    instances.foreground = row.Get("foreground") ? wizard : other;
    COkapiApp app;
    EXPECT_FALSE(app.InitInstance());  // the answering backend fails a wizard shown
    std::vector<Show> shown, expected;
    for (const std::string& command : row.All("shown")) expected.push_back(commands.at(command));
    for (const auto& [window, command] : instances.shown) {
      EXPECT_EQ(wizard, window);
      shown.push_back(command);
    }
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(row.Get("raised") || row.Get("foreground") ? wizard : other, instances.foreground);
    EXPECT_FALSE(platform::Os().files->Exists("c:\\zantools"));
  }
}
#endif

}  // namespace
