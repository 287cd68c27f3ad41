// The page frame, the wizard sheet and the help launcher, through the
// headless backend and fake platform services.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/headless/headless.h"
#include "platform/platform.h"
#ifndef _WIN32
#include "platform/posix/posix_services.h"
#include "tests/support/fixture_drive.h"
#endif
#include "wizard/help_launcher.h"
#include "wizard/page_frame.h"
#include "wizard/title_font.h"
#include "wizard/wizard_sheet.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

TEST(TitleFont, HeightIsPixelsPerInchTimesPointsOver72Truncated) {
  struct Row {
    int dpi, points, height;
  };
  // 140 dpi at 8 points is 15.56 pixels: cut, not rounded.
  for (const Row& r : {Row{96, 8, -10}, Row{96, 12, -16}, Row{140, 8, -15}}) {
    SCOPED_TRACE(std::to_string(r.dpi) + " dpi, " + std::to_string(r.points) + " points");
    EXPECT_EQ(TitleFontHeight(r.dpi, r.points), r.height);
  }
}

TEST(PagePictures, ShownFromTheSmallestDrawingAtLeastThePagesWidth) {
  struct Row {
    int width, percent;
  };
  // Drawn 522, 652, 783 and 1044 pixels wide.
  for (const Row& r : {Row{400, 100}, Row{522, 100}, Row{523, 125}, Row{653, 150}, Row{783, 150},
                       Row{870, 200}, Row{1400, 200}}) {
    SCOPED_TRACE(std::to_string(r.width) + " pixels");
    EXPECT_EQ(kDrawnPercents[DrawingFor(522, r.width)], r.percent);
  }
}

#ifndef _WIN32
// The HTML Help control on the fake machine; under Wine the help program test
// opens the system's own.
std::vector<std::string> g_helpCalls;

std::uintptr_t RecordHelp(std::uintptr_t hwnd, const char* file, unsigned command,
                          std::uintptr_t data) {
  g_helpCalls.push_back(std::to_string(hwnd) + " " + (file ? file : "(null)") + " " +
                        std::to_string(command) + " " + std::to_string(data));
  return 0x4711;
}

TEST(HelpLauncher, LoadsTheControlOnceFromItsRegistrationOrByName) {
  struct Row {
    const char* name;
    const char* registered;  // the control's InprocServer32 value
    const char* module;      // the module the machine has
    bool entry;              // whether it exports HtmlHelpA
    std::vector<std::string> loads;
  };
  const char* const kSystem = "C:\\windows\\system32\\hhctrl.ocx";
  const char* const kGone = "d:\\gone\\htmlhelp.ocx";
  const Row rows[] = {
      {"registered", kSystem, "hhctrl.ocx", true, {kSystem}},
      {"no registration", nullptr, "hhctrl.ocx", true, {"hhctrl.ocx"}},
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
    if (row.registered) {
      ASSERT_TRUE(platform::Os().registry->CreateAndSet(
          platform::Hive::ClassesRoot,
          "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", "", row.registered));
    }
    auto& modules = dynamic_cast<platform::posix::FakeModules&>(*platform::Os().modules);
    std::map<unsigned, platform::Modules::Proc> procs;
    if (row.entry) procs[14] = reinterpret_cast<platform::Modules::Proc>(&RecordHelp);
    if (row.module) modules.Register(row.module, procs);
    const bool works = row.module && row.entry;
    EXPECT_EQ(HtmlHelpLauncher(0x10, "file.chm::/W02.htm", 0, 0x99), works ? 0x4711u : 0u);
    EXPECT_EQ(HtmlHelpLauncher(0, nullptr, HH_INITIALIZE, 0), works ? 0x4711u : 0u);
    EXPECT_EQ(modules.loaded, row.loads);
    EXPECT_EQ(help_launcher::LoadFailed(), !works);
    const std::vector<std::string> calls = {"16 file.chm::/W02.htm 0 153", "0 (null) 28 0"};
    EXPECT_EQ(g_helpCalls, works ? calls : std::vector<std::string>{});
  }
  help_launcher::Reset();
}
#endif

// Pages with the frame of the wizard, on fake templates.
PageFrame FrameOf(int title, int help, const char* topic, unsigned buttons) {
  PageFrame frame;
  frame.titleId = title;
  frame.helpButtonId = help;
  frame.helpTopic = topic;
  frame.buttonsOnActivate = buttons;
  return frame;
}

class FrameTest : public ::testing::Test {
 protected:
  ScopedHeadless backend;
};

TEST_F(FrameTest, PageInitialisationSetsTitleFontAndPlacesHelpButton) {
  backend->SetLogPixelsY(120);
  auto page = std::make_unique<COkapiPage>(145, FrameOf(1148, 1152, "::/W10.htm", 0));
  EXPECT_EQ(page->m_psp.dwFlags & PSP_HASHELP, 0u);
  CWizardSheet sheet(102);
  sheet.AddPage(page.get());
  {
    SheetDriver run = backend->Open(sheet);
    DialogDriver form = run.Page();
    ASSERT_TRUE(form.Get(1148).font.has_value());
    EXPECT_EQ(form.Get(1148).font->height, -13);
    // (390, 330) 116 x 22 at 96 dpi, grown with the dialog at 120.
    EXPECT_EQ(form.Get(1152).rect, (CRect{488, 413, 488 + 145, 413 + 28}));
    EXPECT_TRUE(page->m_btnHelp.IsBound());
    EXPECT_EQ(backend->LiveFonts(), 1);
    run.PressCancel();
  }
  EXPECT_EQ(backend->LiveFonts(), 1) << "the title font lives as long as the page";
  page.reset();
  EXPECT_EQ(backend->LiveFonts(), 0);
  EXPECT_TRUE(backend->Faults().empty());
}

}  // namespace
