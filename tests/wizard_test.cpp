// The wizard's frame and whole runs of the program through the headless
// backend on laid installations: templates, title font, pictures, page order
// and buttons, help topics, the start-up work, a second copy.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/okapi_app.h"
#include "framework/headless/headless.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/program_templates.h"
#include "wizard/help_launcher.h"
#include "wizard/page_frame.h"
#include "wizard/title_font.h"
#include "wizard/wizard_sheet.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif

namespace {

using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;
using ::testing::ElementsAre;
using ::testing::StartsWith;

// The letter after a single '&' ("&&" is a literal ampersand).
char Mnemonic(const std::string& text) {
  for (auto i = text.find('&'); i != std::string::npos && i + 1 < text.size();
       i = text.find('&', i + 2))
    if (text[i + 1] != '&')
      return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  return 0;
}

// A repeated id leaves the second control out of reach; a repeated Alt+ key
// reaches only the first.
TEST(ProgramTemplates, NoDialogRepeatsAnIdOrAMnemonic) {
  ScopedHeadless backend;
  ASSERT_TRUE(okapi_test::LoadProgramTemplates(*backend));
  for (unsigned dialog :
       {IDD_ABOUTBOX, IDD_WELCOME, IDD_INTRO, IDD_MODIFIED, IDD_APPMENU, IDD_WMENU, IDD_VICONS,
        IDD_BACKGROUNDS, IDD_TCOLOR, IDD_SOUNDS, IDD_SPLASH, IDD_LBBUTTON, IDD_PACKAGING}) {
    const auto* spec = backend->SpecOf(dialog);
    ASSERT_TRUE(spec) << dialog;
    std::set<int> ids;
    std::set<char> keys;
    for (const auto& control : spec->controls) {
      EXPECT_TRUE(ids.insert(control.id).second) << dialog << ": " << control.text;
      const char key = Mnemonic(control.text);
      EXPECT_TRUE(!key || keys.insert(key).second) << dialog << ": " << control.text;
    }
  }
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

PageFrame FrameOf(int title, int help, const char* topic) {
  PageFrame frame;
  frame.titleId = title;
  frame.helpButtonId = help;
  frame.helpTopic = topic;
  return frame;
}

TEST(WizardFrame, PageInitialisationSetsTitleFontAndPlacesHelpButton) {
  ScopedHeadless backend;
  backend->SetLogPixelsY(120);
  auto page = std::make_unique<COkapiPage>(145, FrameOf(1148, 1152, "::/W10.htm"));
  EXPECT_EQ(page->m_psp.dwFlags & PSP_HASHELP, 0u);
  CWizardSheet sheet(102);
  sheet.AddPage(page.get());
  {
    SheetDriver run = backend->Open(sheet);
    const auto& title = run.Page().Get(1148);
    ASSERT_TRUE(title.font.has_value());
    EXPECT_EQ(title.font->height, -13);
    // (390, 330) 116 x 22 at 96 dpi, grown with the dialog at 120.
    EXPECT_EQ(run.Page().Get(1152).rect, (CRect{488, 413, 488 + 145, 413 + 28}));
    EXPECT_TRUE(page->m_btnHelp.IsBound());
    run.PressCancel();
  }
  EXPECT_EQ(backend->LiveFonts(), 1) << "the title font lives as long as the page";
  page.reset();
  EXPECT_EQ(backend->LiveFonts(), 0);
  EXPECT_TRUE(backend->Faults().empty());
}

class WizardRunTest : public okapi_test::MachineTest {
 protected:
  // Controls the program's templates lack, fonts released twice...
  void TearDown() override {
    for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
  }
  void Lay() {
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
  }
  // Runs the program with `script` driving the wizard.
  void Run(std::function<void(SheetDriver&)> script) {
    headless->OnSheet(std::move(script));
    COkapiApp app;
    EXPECT_FALSE(app.InitInstance());
  }
  static bool Exists(const std::string& path) { return platform::Os().files->Exists(path); }

  demo::Installation installation;
  ScopedHeadless headless;
};

TEST_F(WizardRunTest, StartUpWorkRunsOnceAndTitlesTheWizard) {
  Lay();
  const std::string package = "c:\\zantools\\zanhelp\\customization\\package";
  // An old placeholder in the help application's images is replaced.
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(
      "c:\\zantools\\zanhelp\\images\\small\\spacer.gif", "old"));
  Run([&](SheetDriver& run) {
    EXPECT_EQ(kWizardTitle, run.Title());
    for (const char* dir : {"\\chms", "\\images\\small", "\\images\\large"})
      EXPECT_TRUE(platform::Os().files->IsDirectory(package + dir)) << dir;
    const auto spacer = platform::Os().files->ReadFile("c:\\zantools\\zanhelp\\spacer.gif");
    ASSERT_TRUE(spacer);
    for (const std::string& copy :
         {package + "\\images\\small\\spacer.gif", package + "\\images\\large\\spacer.gif",
          std::string("c:\\zantools\\zanhelp\\images\\small\\spacer.gif"),
          std::string("c:\\zantools\\zanhelp\\images\\large\\spacer.gif")})
      EXPECT_EQ(spacer, platform::Os().files->ReadFile(copy)) << copy;
    EXPECT_NE("Error", store::ReadString("TEXT", "__TITLE__", "Error", 64, g_strMapFile));

    // Gone after the first initialisation: Back and Next must not seed again.
    ASSERT_TRUE(platform::Os().files->Remove(g_strMapFile));
    ASSERT_TRUE(run.PressNext());
    ASSERT_TRUE(run.PressBack());
    ASSERT_TRUE(run.PressNext());
    EXPECT_FALSE(Exists(g_strMapFile));
    EXPECT_EQ(kWizardTitle, run.Title());
  });
  EXPECT_TRUE(headless->Messages().empty());
}

#ifndef _WIN32
// Next from the company-name page needs a name.
void NextFrom(SheetDriver& run) {
  if (run.ActiveTemplateId() == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
  ASSERT_TRUE(run.PressNext()) << "on page " << run.ActiveTemplateId();
}

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
  struct Row {
    const char* name;
    const char* registered;  // the control's InprocServer32 value
    const char* module;      // the module the machine has
    bool entry;              // whether it exports HtmlHelpA
    std::vector<std::string> loads;
  };
  const char* const kGone = "d:\\gone\\htmlhelp.ocx";
  // The registered control itself is the help program test's.
  const Row rows[] = {
      {"registered file missing", kGone, "hhctrl.ocx", true, {kGone, "hhctrl.ocx"}},
      // Failing is remembered: the second call tries nothing.
      {"no control", nullptr, nullptr, true, {"hhctrl.ocx"}},
      {"no entry", nullptr, "hhctrl.ocx", false, {"hhctrl.ocx"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    okapi_test::TestMachine machine;
    help_launcher::Reset();
    g_helpCalls.clear();
    ASSERT_TRUE(!row.registered ||
                platform::Os().registry->CreateAndSet(
                    platform::Hive::ClassesRoot,
                    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", "",
                    row.registered));
    std::map<unsigned, platform::Modules::Proc> procs;
    if (row.entry) procs[14] = reinterpret_cast<platform::Modules::Proc>(&RecordHelp);
    if (row.module) Modules().Register(row.module, procs);
    const bool works = row.module && row.entry;
    EXPECT_EQ(HtmlHelpLauncher(0x10, "file.chm::/W02.htm", 0, 0x99), works ? 0x4711u : 0u);
    EXPECT_EQ(HtmlHelpLauncher(0, nullptr, HH_INITIALIZE, 0), works ? 0x4711u : 0u);
    EXPECT_EQ(Modules().loaded, row.loads);
    EXPECT_EQ(help_launcher::LoadFailed(), !works);
    const std::vector<std::string> calls = {"16 file.chm::/W02.htm 0 153", "0 (null) 28 0"};
    EXPECT_EQ(g_helpCalls, works ? calls : std::vector<std::string>{});
  }
  help_launcher::Reset();
}

// Every page, forward to Finish and back to the start: the buttons are right
// whichever way a page is reached, and each Help button opens its page's topic.
TEST_F(WizardRunTest, PagesComeInOrderWithTheirButtonsAndHelpTopics) {
  Lay();
  help_launcher::Reset();
  Modules().Register("hhctrl.ocx", {{14, reinterpret_cast<platform::Modules::Proc>(&RecordHelp)}});
  const struct {
    unsigned page;
    int help;
    const char* topic;
  } pages[] = {
      {IDD_WELCOME, 0, ""},           {IDD_INTRO, 1139, "W02"},    {IDD_MODIFIED, 1152, "W10"},
      {IDD_APPMENU, 1132, "W03"},     {IDD_WMENU, 1161, "W035"},   {IDD_VICONS, 1138, "W04"},
      {IDD_BACKGROUNDS, 1137, "W05"}, {IDD_TCOLOR, 1136, "W06"},   {IDD_SOUNDS, 1135, "W07"},
      {IDD_SPLASH, 1134, "W08"},      {IDD_LBBUTTON, 1133, "W09"}, {IDD_PACKAGING, 1140, "W11"},
  };
  constexpr std::size_t kLast = std::size(pages) - 1;
  const auto buttonsOn = [](std::size_t i) {
    return i == 0       ? PSWIZB_NEXT
           : i == kLast ? PSWIZB_BACK | PSWIZB_FINISH
                        : PSWIZB_BACK | PSWIZB_NEXT;
  };
  Run([&](SheetDriver& run) {
    for (std::size_t i = 0; i <= kLast; ++i) {
      SCOPED_TRACE("forward to " + std::to_string(pages[i].page));
      ASSERT_EQ(pages[i].page, run.ActiveTemplateId());
      EXPECT_EQ(buttonsOn(i), run.Buttons());
      if (pages[i].help) {
        g_helpCalls.clear();
        ASSERT_TRUE(run.Page().Click(pages[i].help));
        const std::string topic = "0 c:\\zantools\\zanhelp\\customization\\docs\\llb3cust.chm::/" +
                                  std::string(pages[i].topic) + ".htm 0 0";
        EXPECT_THAT(g_helpCalls, ElementsAre(StartsWith("0 (null) 28 "), topic));
      }
      if (i < kLast) NextFrom(run);
    }
    EXPECT_FALSE(run.PressNext()) << "Next is hidden while Finish shows";
    for (std::size_t i = kLast; i-- > 0;) {
      SCOPED_TRACE("back to " + std::to_string(pages[i].page));
      ASSERT_TRUE(run.PressBack());
      ASSERT_EQ(pages[i].page, run.ActiveTemplateId());
      EXPECT_EQ(buttonsOn(i), run.Buttons());
    }
  });
  help_launcher::Reset();
}

TEST_F(WizardRunTest, SecondCopyTogglesTheRunningWizardAndEnds) {
  using Show = platform::ShowCommand;
  const struct {
    const char* name;
    const char* title;
    bool minimized, foreground;
    std::vector<Show> shown;
    bool raised;
  } rows[] = {
      {"visible in front", kWizardTitle, false, true, {Show::Minimize}, false},
      {"minimised", kWizardTitle, true, false, {Show::ShowNormal}, true},
      {"behind another window", kWizardTitle, false, false, {Show::ShowNormal}, true},
      {"no wizard: not the exact title", "Customization Tool", false, false, {}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    platform::Os().instances = std::make_unique<platform::posix::MemoryInstances>();
    auto& instances = dynamic_cast<platform::posix::MemoryInstances&>(*platform::Os().instances);
    instances.ClaimedElsewhere("Mutex_OKAPI");
    const auto other = instances.AddWindow("Notepad");
    const auto wizard = instances.AddWindow(row.title, row.minimized);
    instances.foreground = row.foreground ? wizard : other;
    bool sheetShown = false;
    Run([&](SheetDriver&) { sheetShown = true; });
    EXPECT_FALSE(sheetShown);
    std::vector<Show> shown;
    for (const auto& [window, command] : instances.shown) {
      EXPECT_EQ(wizard, window);
      shown.push_back(command);
    }
    EXPECT_EQ(row.shown, shown);
    EXPECT_EQ(row.raised || row.foreground ? wizard : other, instances.foreground);
    EXPECT_FALSE(Exists("c:\\zantools"));
  }
}
#endif

}  // namespace
