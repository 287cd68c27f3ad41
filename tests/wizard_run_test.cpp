// Whole runs of the wizard through the headless backend on laid
// installations: page order, skips, buttons, the start-up work.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/okapi_app.h"
#include "app/welcome_page.h"
#include "framework/headless/headless.h"
#include "platform/platform.h"
#include "store/globals.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#endif
#include "demo/installation.h"
#include "res/resource.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/program_templates.h"
#include "wizard/help_launcher.h"

namespace {

using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

constexpr unsigned kBackNext = PSWIZB_BACK | PSWIZB_NEXT;

class WizardRunTest : public okapi_test::MachineTest {
 protected:
  // Controls the program's templates lack, unused answers...
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

// Next from the company-name page needs a name.
void NextFrom(SheetDriver& run) {
  if (run.ActiveTemplateId() == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
  ASSERT_TRUE(run.PressNext()) << "on page " << run.ActiveTemplateId();
}

// Every page, forward to Finish and back to the start: the buttons are right
// whichever way a page is reached, also on the pages that set none.
TEST_F(WizardRunTest, PagesComeInTheirOrderAndCarryTheirButtons) {
  Lay();
  const unsigned pages[] = {IDD_WELCOME, IDD_INTRO,  IDD_MODIFIED,    IDD_APPMENU,
                            IDD_WMENU,   IDD_VICONS, IDD_BACKGROUNDS, IDD_TCOLOR,
                            IDD_SOUNDS,  IDD_SPLASH, IDD_LBBUTTON,    IDD_PACKAGING};
  const auto buttonsOn = [&](std::size_t i) {
    return i == 0                      ? PSWIZB_NEXT
           : i + 1 == std::size(pages) ? PSWIZB_BACK | PSWIZB_FINISH
                                       : kBackNext;
  };
  Run([&](SheetDriver& run) {
    for (std::size_t i = 0; i < std::size(pages); ++i) {
      SCOPED_TRACE("forward to " + std::to_string(pages[i]));
      ASSERT_EQ(pages[i], run.ActiveTemplateId());
      EXPECT_EQ(buttonsOn(i), run.Buttons());
      if (i + 1 < std::size(pages)) NextFrom(run);
    }
    EXPECT_FALSE(run.PressNext()) << "Next is hidden while Finish shows";
    for (std::size_t i = std::size(pages) - 1; i-- > 0;) {
      SCOPED_TRACE("back to " + std::to_string(pages[i]));
      ASSERT_TRUE(run.PressBack());
      ASSERT_EQ(pages[i], run.ActiveTemplateId());
      EXPECT_EQ(buttonsOn(i), run.Buttons());
    }
  });
}

TEST_F(WizardRunTest, StartUpWorkRunsOnceAndTitlesTheWizard) {
  Lay();
  const std::string package = "c:\\zantools\\zanhelp\\customization\\package";
  // An old placeholder in the help application's images is replaced.
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(
      "c:\\zantools\\zanhelp\\images\\small\\spacer.gif", "old"));
  Run([&](SheetDriver& run) {
    EXPECT_EQ(kWizardTitle, run.Title());
    for (const char* dir : {"\\chms", "\\images\\small", "\\images\\large"}) {
      EXPECT_TRUE(platform::Os().files->IsDirectory(package + dir)) << dir;
    }
    const auto spacer = platform::Os().files->ReadFile("c:\\zantools\\zanhelp\\spacer.gif");
    ASSERT_TRUE(spacer);
    for (const std::string& copy :
         {package + "\\images\\small\\spacer.gif", package + "\\images\\large\\spacer.gif",
          std::string("c:\\zantools\\zanhelp\\images\\small\\spacer.gif"),
          std::string("c:\\zantools\\zanhelp\\images\\large\\spacer.gif")}) {
      EXPECT_EQ(spacer, platform::Os().files->ReadFile(copy)) << copy;
    }
    EXPECT_NE("Error", store::ReadString("TEXT", "__TITLE__", "Error", 64, g_strMapFile));

    // Gone after the first initialisation: Back and Next must not seed again.
    ASSERT_TRUE(platform::Os().files->Remove(g_strMapFile));
    ASSERT_TRUE(run.PressNext());
    ASSERT_TRUE(run.PressBack());
    ASSERT_TRUE(run.PressNext());
    EXPECT_FALSE(Exists(g_strMapFile));
    EXPECT_EQ(kWizardTitle, run.Title());
    EXPECT_EQ(PSWIZB_BACK | PSWIZB_NEXT, run.Buttons());
  });
  EXPECT_TRUE(headless->Messages().empty());
}

// The message itself is the discovery test's.
TEST_F(WizardRunTest, MissingInstallationIsToldAndNothingIsCreated) {
  installation.llb3.reset();
  Lay();
  int ended = 0;
  auto saved = CWelcomePage::EndProgram();
  CWelcomePage::EndProgram() = [&] { ++ended; };
  Run([](SheetDriver&) {});
  CWelcomePage::EndProgram() = saved;
  EXPECT_EQ(1, ended);
  EXPECT_EQ(1u, headless->Messages().size());
  for (const char* path :
       {"c:\\zantools\\zanhelp\\customization\\backup",
        "c:\\zantools\\zanhelp\\customization\\package", "c:\\zantools\\zanhelp\\okapi.ini"})
    EXPECT_FALSE(Exists(path)) << path;
}

#ifndef _WIN32
// Under Wine the real windows are exercised by the window tests.
platform::posix::MemoryInstances& Instances() {
  return dynamic_cast<platform::posix::MemoryInstances&>(*platform::Os().instances);
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
    auto& instances = Instances();
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

std::vector<std::pair<unsigned, std::string>> g_helpCalls;

std::uintptr_t RecordHelp(std::uintptr_t, const char* file, unsigned command, std::uintptr_t) {
  g_helpCalls.emplace_back(command, file ? file : "(null)");
  return 1;
}

TEST_F(WizardRunTest, EachHelpButtonOpensItsPagesTopic) {
  Lay();
  help_launcher::Reset();
  dynamic_cast<platform::posix::FakeModules&>(*platform::Os().modules)
      .Register("hhctrl.ocx", {{14, reinterpret_cast<platform::Modules::Proc>(&RecordHelp)}});
  const struct {
    unsigned page;
    int button;
    const char* topic;
  } rows[] = {
      {IDD_INTRO, 1139, "W02"},    {IDD_MODIFIED, 1152, "W10"},  {IDD_APPMENU, 1132, "W03"},
      {IDD_WMENU, 1161, "W035"},   {IDD_VICONS, 1138, "W04"},    {IDD_BACKGROUNDS, 1137, "W05"},
      {IDD_TCOLOR, 1136, "W06"},   {IDD_SOUNDS, 1135, "W07"},    {IDD_SPLASH, 1134, "W08"},
      {IDD_LBBUTTON, 1133, "W09"}, {IDD_PACKAGING, 1140, "W11"},
  };
  Run([&](SheetDriver& run) {
    for (const auto& row : rows) {
      SCOPED_TRACE(row.topic);
      while (run.ActiveTemplateId() != row.page) NextFrom(run);
      g_helpCalls.clear();
      ASSERT_TRUE(run.Page().Click(row.button));
      const std::string topic = "c:\\zantools\\zanhelp\\customization\\docs\\llb3cust.chm::/" +
                                std::string(row.topic) + ".htm";
      EXPECT_EQ((std::vector<std::pair<unsigned, std::string>>{{HH_INITIALIZE, "(null)"},
                                                               {HH_DISPLAY_TOPIC, topic}}),
                g_helpCalls);
    }
  });
  help_launcher::Reset();
}

#endif

}  // namespace
