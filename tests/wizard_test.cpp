// The wizard without a window: the skips around the pages that may not apply
// and the conditions read for them, the frame (title font, pictures, each
// page's help topic), the help control's loading, a second copy, and the
// help's topics holding every message text the program shows.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
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

// Every message text the program shows is in the help topic of the page or
// command that shows it, so the help cannot drift from the code. The texts are
// the prose string literals of the sources: a message built of several pieces
// is checked piece by piece, its names and numbers being the pieces between.
// Natively only: the source tree is read from where it was built.
const std::filesystem::path kTop = OKAPI_SOURCE_DIR;

std::string Read(const std::string& relative) {
  std::ifstream in(kTop / relative, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Blanks of any kind as one space, none at the ends.
std::string Squeezed(const std::string& text) {
  std::istringstream words(text);
  std::string out;
  for (std::string word; words >> word;) out += (out.empty() ? "" : " ") + word;
  return out;
}

// A help page's words as a reader sees them: no markup, entities decoded.
std::string PageText(const std::string& topic) {
  std::string text;
  bool tag = false;
  for (char c : Read("docs/help/" + topic + ".htm")) {
    tag = c == '<' || (tag && c != '>');
    if (!tag && c != '>') text += c;
  }
  for (const std::string_view entity : {"&quot;\"", "&lt;<", "&gt;>", "&amp;&"})
    for (std::size_t at; (at = text.find(entity.substr(0, entity.size() - 1))) != text.npos;)
      text.replace(at, entity.size() - 1, 1, entity.back());
  EXPECT_FALSE(text.empty()) << topic;
  return Squeezed(text);
}

// The string literals of C++ source, adjacent ones joined, comments and
// static assertions left out. With `call`, only those inside its parentheses.
std::vector<std::string> Literals(const std::string& src, const std::string& call) {
  std::vector<std::string> out;
  std::string joined;
  bool open = false;  // the last token was a literal
  int depth = 0, callDepth = -1;
  for (std::size_t i = 0; i < src.size(); ++i) {
    const char c = src[i];
    if (src.compare(i, 2, "//") == 0 || src.compare(i, 13, "static_assert") == 0) {
      i = src.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (c == '"') {
      std::string literal;
      for (++i; i < src.size() && src[i] != '"'; ++i) {
        if (src[i] == '\\') {
          const char e = src[++i];
          literal += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        } else {
          literal += src[i];
        }
      }
      if (call.empty() || callDepth >= 0) joined += literal, open = true;
      continue;
    }
    if (open) out.push_back(joined), joined.clear(), open = false;
    if (c == '\'') {
      i = src.find('\'', i + (src[i + 1] == '\\' ? 3 : 2));
    } else if (c == '(' || c == '{') {  // a call, or a notice built with braces
      if (callDepth < 0 && !call.empty() && i >= call.size() &&
          src.compare(i - call.size(), call.size(), call) == 0)
        callDepth = depth;
      ++depth;
    } else if ((c == ')' || c == '}') && --depth == callDepth) {
      callDepth = -1;
    }
  }
  return out;
}

// Three words or more: what a reader reads, not a key, a name or a path.
bool IsProse(const std::string& text) {
  std::istringstream words(text);
  int count = 0;
  for (std::string word; words >> word;)
    count += std::isalpha(static_cast<unsigned char>(word[0])) && word.find('\\') == word.npos;
  return count >= 3;
}

TEST(HelpMessages, EveryMessageTextIsInTheHelpTopicOfWhereItIsShown) {
  for (const okapi_test::Row& s : okapi_test::Rows("help_messages.rows")) {
    SCOPED_TRACE(s["source"]);
    const std::string source = Read(s["source"]);
    ASSERT_FALSE(source.empty());
    int messages = 0;
    for (const std::string& literal : Literals(source, s["only"])) {
      const std::string text = Squeezed(literal);
      if (!IsProse(text)) continue;
      ++messages;
      for (const std::string& topic : s.All("topic"))
        EXPECT_NE(std::string::npos, PageText(topic).find(text)) << topic << ".htm lacks: " << text;
    }
    EXPECT_GT(messages, 0) << "no message found: the reading of the source is wrong";
  }
}

// A source outside the list that shows a box or tells a text of its own
// would escape the check above.
TEST(HelpMessages, EverySourceThatShowsATextOfItsOwnIsChecked) {
  std::set<std::string> checked;
  for (const okapi_test::Row& s : okapi_test::Rows("help_messages.rows"))
    checked.insert(s["source"]);
  for (const char* layer : {"app", "pages", "package", "store", "wizard", "framework"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kTop / layer)) {
      const std::string file = entry.path().lexically_relative(kTop).generic_string();
      if (entry.path().extension() != ".cpp" || checked.contains(file)) continue;
      const std::string source = Read(file);
      for (const char* call : {"MessageBox", "tell", "ask", "Notice", "Told", "Tell", "refuse"})
        for (const std::string& literal : Literals(source, call))
          EXPECT_FALSE(IsProse(Squeezed(literal))) << file << " shows, unchecked: " << literal;
    }
  }
}
#endif

}  // namespace
