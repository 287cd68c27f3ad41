// The page frame, the wizard sheet and the help launcher, through the
// headless backend and fake platform services.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/headless/headless.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "wizard/help_launcher.h"
#include "wizard/page_frame.h"
#include "wizard/title_font.h"
#include "wizard/wizard_sheet.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;
using Brush = CtlColor::Brush;

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

// Fake registry and module loader recording what the launcher asks for.
struct HelpWorld {
  std::optional<std::string> registered;  // InprocServer32 default value
  std::map<std::string, bool> loadable;   // module name -> loads
  bool exportsEntry = true;
  std::vector<std::string> loads;
  int procLookups = 0;
};

HelpWorld* g_world = nullptr;

struct Call {
  std::uintptr_t hwnd;
  std::string file;
  unsigned command;
  std::uintptr_t data;
};
std::vector<Call> g_calls;

std::uintptr_t FakeHtmlHelp(std::uintptr_t hwnd, const char* file, unsigned command,
                            std::uintptr_t data) {
  g_calls.push_back({hwnd, file ? file : "(null)", command, data});
  return 0x4711;
}

class FakeKey : public platform::RegistryKey {
 public:
  std::optional<std::string> QueryString(const std::string& name, std::size_t) override {
    if (!name.empty()) return std::nullopt;
    return g_world->registered;
  }
  bool SetString(const std::string&, const std::string&) override { return false; }
};

class FakeRegistry : public platform::Registry {
 public:
  std::unique_ptr<platform::RegistryKey> Open(platform::Hive hive, const std::string& subkey,
                                              platform::Access) override {
    if (hive != platform::Hive::ClassesRoot || !g_world->registered ||
        subkey != "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32")
      return nullptr;
    return std::make_unique<FakeKey>();
  }
  bool CreateAndSet(platform::Hive, const std::string&, const std::string&,
                    const std::string&) override {
    return false;
  }
  bool DeleteTree(platform::Hive, const std::string&) override { return false; }
};

class FakeModules : public platform::Modules {
 public:
  Handle Load(const std::string& name) override {
    g_world->loads.push_back(name);
    const auto it = g_world->loadable.find(name);
    return it != g_world->loadable.end() && it->second ? static_cast<Handle>(&g_world->loadable)
                                                       : nullptr;
  }
  Proc ProcByOrdinal(Handle, unsigned ordinal) override {
    ++g_world->procLookups;
    if (!g_world->exportsEntry || ordinal != 14) return nullptr;
    return reinterpret_cast<Proc>(&FakeHtmlHelp);
  }
};

class HelpTest : public ::testing::Test {
 protected:
  HelpTest() {
    g_world = &world;
    g_calls.clear();
    auto services = std::make_unique<platform::Services>();
    services->registry = std::make_unique<FakeRegistry>();
    services->modules = std::make_unique<FakeModules>();
    previous = platform::ReplaceOs(std::move(services));
    help_launcher::Reset();
    savedHelpFile = g_strHelpFile;
    g_strHelpFile = "c:\\zantools\\zanhelp\\customization\\docs\\llb3cust.chm";
  }
  ~HelpTest() override {
    help_launcher::Reset();
    platform::ReplaceOs(std::move(previous));
    g_strHelpFile = savedHelpFile;
    g_world = nullptr;
  }

  HelpWorld world;
  std::unique_ptr<platform::Services> previous;
  std::string savedHelpFile;
};

TEST_F(HelpTest, LoadsTheRegisteredControlAndPassesArgumentsThrough) {
  world.registered = "C:\\windows\\system32\\hhctrl.ocx";
  world.loadable["C:\\windows\\system32\\hhctrl.ocx"] = true;
  EXPECT_EQ(HtmlHelpLauncher(0x10, "file.chm::/W02.htm", 0, 0x99), 0x4711u);
  EXPECT_EQ(world.loads, (std::vector<std::string>{"C:\\windows\\system32\\hhctrl.ocx"}));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].hwnd, 0x10u);
  EXPECT_EQ(g_calls[0].file, "file.chm::/W02.htm");
  EXPECT_EQ(g_calls[0].data, 0x99u);
  HtmlHelpLauncher(0, nullptr, HH_INITIALIZE, 0);
  EXPECT_EQ(world.loads.size(), 1u) << "the control is loaded once";
  EXPECT_EQ(world.procLookups, 1);
}

TEST_F(HelpTest, FallsBackToTheControlByName) {
  struct Row {
    const char* name;
    std::optional<std::string> registered;
    std::vector<std::string> loads;
  };
  const Row rows[] = {
      {"no registration", std::nullopt, {"hhctrl.ocx"}},
      {"registered file missing", "d:\\gone\\hhctrl.ocx", {"d:\\gone\\hhctrl.ocx", "hhctrl.ocx"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    help_launcher::Reset();
    world.registered = row.registered;
    world.loadable = {{"hhctrl.ocx", true}};
    world.loads.clear();
    EXPECT_EQ(HtmlHelpLauncher(0, "x", 0, 0), 0x4711u);
    EXPECT_EQ(world.loads, row.loads);
    EXPECT_FALSE(help_launcher::LoadFailed());
  }
}

TEST_F(HelpTest, WithoutAControlLoadingIsNotTriedAgain) {
  EXPECT_EQ(HtmlHelpLauncher(0, "x", 0, 0), 0u);
  EXPECT_TRUE(help_launcher::LoadFailed());
  const auto attempts = world.loads.size();
  world.loadable["hhctrl.ocx"] = true;
  EXPECT_EQ(HtmlHelpLauncher(0, "x", 0, 0), 0u);
  EXPECT_EQ(world.loads.size(), attempts);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(HelpTest, MissingEntryIsLookedUpAgainWithoutReloading) {
  world.loadable["hhctrl.ocx"] = true;
  world.exportsEntry = false;
  EXPECT_EQ(HtmlHelpLauncher(0, "x", 0, 0), 0u);
  EXPECT_TRUE(help_launcher::LoadFailed());
  world.exportsEntry = true;
  EXPECT_EQ(HtmlHelpLauncher(0, "x", 0, 0), 0x4711u);
  EXPECT_EQ(world.loads.size(), 1u);
  EXPECT_EQ(world.procLookups, 2);
}

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

TEST_F(FrameTest, WhiteListDecidesTheColours) {
  PageFrame frame = FrameOf(1025, 1136, "::/W06.htm", 0);
  frame.white = {1025, 1106};
  frame.blueText = {1026};
  COkapiPage page(133, frame);
  CWizardSheet sheet(102);
  sheet.AddPage(&page);
  SheetDriver run = backend->Open(sheet);
  DialogDriver color = run.Page();
  struct Row {
    const char* what;
    int id, type;
    CtlColor expected;
  };
  const COLORREF white = RGB(255, 255, 255);
  const Row rows[] = {
      {"page itself", CWnd::kSelf, CTLCOLOR_DLG, {Brush::White, std::nullopt, std::nullopt}},
      {"listed heading", 1025, CTLCOLOR_STATIC, {Brush::White, std::nullopt, white}},
      {"listed label", 1106, CTLCOLOR_STATIC, {Brush::White, std::nullopt, white}},
      {"blue label", 1026, CTLCOLOR_STATIC, {Brush::White, RGB(0, 0, 255), white}},
      {"unlisted static keeps the system look", 1109, CTLCOLOR_STATIC, {}},
      {"edit box keeps the system look", 1047, CTLCOLOR_EDIT, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(color.ColorOf(r.id, r.type), r.expected);
  }
  EXPECT_EQ(color.ColorOf(1026, CTLCOLOR_STATIC).textColor, COLORREF{0xFF0000})
      << "blue in Windows byte order";
}

// Pages as the wizard sets its buttons: some set them on activation, some not.
TEST_F(FrameTest, ButtonsAreRightWhicheverWayAPageIsReached) {
  const unsigned backNext = PSWIZB_BACK | PSWIZB_NEXT;
  const unsigned backFinish = PSWIZB_BACK | PSWIZB_FINISH;
  COkapiPage welcome(102, FrameOf(0, 0, "", PSWIZB_NEXT));
  COkapiPage intro(129, FrameOf(1006, 1139, "::/W02.htm", backNext));
  COkapiPage company(145, FrameOf(1148, 1152, "::/W10.htm", 0));
  COkapiPage menu(130, FrameOf(1010, 1132, "::/W03.htm", backNext));
  COkapiPage colors(133, FrameOf(1025, 1136, "::/W06.htm", 0));
  COkapiPage packaging(144, FrameOf(1124, 1140, "::/W11.htm", backFinish));
  CWizardSheet sheet(102);
  for (COkapiPage* page : {&welcome, &intro, &company, &menu, &colors, &packaging})
    sheet.AddPage(page);
  SheetDriver run = backend->Open(sheet);

  struct Step {
    const char* press;
    unsigned page;
    unsigned buttons;
  };
  const Step steps[] = {
      {"start", 102, PSWIZB_NEXT}, {"next", 129, backNext},    {"next", 145, backNext},
      {"next", 130, backNext},     {"next", 133, backNext},    {"next", 144, backFinish},
      {"back", 133, backFinish},   {"back", 130, backNext},    {"back", 145, backNext},
      {"back", 129, backNext},     {"back", 102, PSWIZB_NEXT},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.press) + " to " + std::to_string(step.page));
    const std::string press = step.press;
    if (press == "next") {
      ASSERT_TRUE(run.PressNext());
    } else if (press == "back") {
      ASSERT_TRUE(run.PressBack());
    }
    EXPECT_EQ(run.ActiveTemplateId(), step.page);
    EXPECT_EQ(run.Buttons(), step.buttons);
    if (step.buttons & PSWIZB_FINISH) {
      EXPECT_FALSE(run.PressNext()) << "Next is hidden while Finish shows";
      EXPECT_EQ(run.ActiveTemplateId(), step.page);
    }
  }
}

}  // namespace
