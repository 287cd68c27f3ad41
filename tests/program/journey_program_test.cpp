// Whole runs of the built okapi.exe, from the first page to Finish, as users
// make them on different installations. Each ends by comparing what the run
// left (the edited files, the button's registry value, the package) with the
// expected files kept beside this test (OKAPI_UPDATE_JOURNEYS=1 rewrites
// those from the run instead: read them before committing them), then takes
// the way back with okapi.exe /restore.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;
namespace fs = std::filesystem;

const std::string kExpectedRoot = FromHost(OKAPI_JOURNEYS_HOST_DIR);
constexpr char kInstall[] = "c:\\zantools\\zanhelp\\";
constexpr char kCustomization[] = "c:\\zantools\\zanhelp\\customization\\";
constexpr char kCalc[] = "c:\\tabula\\calc\\calcw.exe";
constexpr char kNotes[] = "c:\\tabula\\notes\\notesw.exe";
constexpr const char* kEditedFiles[] = {"lumen-config.ini", "lumen-text.ini",
                                        "machine-specifics.csv"};

// One user action on the page shown.
struct Step {
  enum Kind { kType, kClick, kSelect, kChoose, kNext, kBack, kFinish } kind;
  int control = 0;
  std::string text;   // typed, list entry selected, or file chosen
  unsigned page = 0;  // where Next or Back leads
};

Step Type(int control, std::string text) { return {Step::kType, control, std::move(text)}; }
Step Click(int control) { return {Step::kClick, control, {}}; }
Step Select(int list, std::string entry) { return {Step::kSelect, list, std::move(entry)}; }
// A button that opens the file dialog, and the file typed into it.
Step Choose(int button, std::string file) { return {Step::kChoose, button, std::move(file)}; }
Step Next(unsigned page) { return {Step::kNext, 0, {}, page}; }
Step Back(unsigned page) { return {Step::kBack, 0, {}, page}; }
Step Finish() { return {Step::kFinish, 0, {}}; }

using Run = std::vector<Step>;

struct Journey {
  const char* name;
  std::function<void(demo::Installation&)> fixture;
  std::vector<Run> runs;  // one after the other, over what the one before left
};

void PrintTo(const Journey& journey, std::ostream* out) { *out << journey.name; }

Run ThroughIntro() { return {Next(IDD_INTRO), Next(IDD_MODIFIED)}; }

Run Then(Run run, const Run& more) {
  run.insert(run.end(), more.begin(), more.end());
  return run;
}

// A page's steps start on a new line and end where Next or Back leads.
// clang-format off
const Journey kJourneys[] = {
    {"v30-without-button",
     [](demo::Installation& i) {
       i.llb3 = demo::Exe::V3_0_1_0;
       i.usesVisualMap = false;
       i.hotkeyFile.reset();
     },
     // No welcome page, Visual Map or button page; the button page skipped both ways.
     {Then(ThroughIntro(), {
         Type(IDC_MODIFIED_COMPANY, "Northwind Traders"), Next(IDD_APPMENU),
         Type(IDC_APPMENU_TITLE3, "Toolbox"), Type(IDC_APPMENU_ALT_KEY3, "x"),
         Click(IDC_APPMENU_SYS_DETAILS), Next(IDD_BACKGROUNDS),
         Select(IDC_BACKGROUNDS_LIST, "Forest"), Click(IDC_BACKGROUNDS_DELETE),
         Select(IDC_BACKGROUNDS_LIST, "Sky"), Click(IDC_BACKGROUNDS_DEFAULT), Next(IDD_TCOLOR),
         Type(IDC_TCOLOR_TOOL_BAR_RED, "18"), Type(IDC_TCOLOR_TOOL_BAR_GREEN, "52"),
         Type(IDC_TCOLOR_TOOL_BAR_BLUE, "86"), Next(IDD_SOUNDS),
         Click(IDC_SOUNDS_PLAY), Next(IDD_SPLASH),
         Click(IDC_SPLASH_SHOW), Next(IDD_PACKAGING),
         Back(IDD_SPLASH), Next(IDD_PACKAGING),
         Finish()
     })}},
    {"v35-notebook-visual-map",
     [](demo::Installation&) {},
     // Every page, the button's application chosen in the real file dialog.
     {Then(ThroughIntro(), {
         Type(IDC_MODIFIED_COMPANY, "Contoso"), Next(IDD_APPMENU),
         Type(IDC_APPMENU_TITLE1, "Start Here"), Type(IDC_APPMENU_ALT_KEY1, "r"), Next(IDD_WMENU),
         Type(IDC_WMENU_INTRO, "Welcome aboard.\r\nEnjoy your notebook."), Next(IDD_VICONS),
         Click(IDC_VICONS_MORE_INFO), Next(IDD_BACKGROUNDS),
         Select(IDC_BACKGROUNDS_LIST, "Sky"), Click(IDC_BACKGROUNDS_CURRENT),
         Type(IDC_BACKGROUNDS_MENU2_JPEG, "sky.jpg"), Next(IDD_TCOLOR),
         Type(IDC_TCOLOR_BACKGROUND_RED, "240"), Type(IDC_TCOLOR_BACKGROUND_GREEN, "248"),
         Type(IDC_TCOLOR_BACKGROUND_BLUE, "255"), Next(IDD_SOUNDS),
         Click(IDC_SOUNDS_DEFAULT), Next(IDD_SPLASH),
         Click(IDC_SPLASH_SHOW), Next(IDD_LBBUTTON),
         Choose(IDC_LBBUTTON_SELECT, kCalc), Next(IDD_PACKAGING),
         Finish()
     })}},
    {"v35-fourth-menu-off",
     [](demo::Installation&) {},
     // The welcome page goes with the fourth menu; a background added.
     {Then(ThroughIntro(), {
         Type(IDC_MODIFIED_COMPANY, "Fabrikam"), Next(IDD_APPMENU),
         Click(IDC_APPMENU_WELCOME_TITLE_CHECK), Type(IDC_APPMENU_TITLE2, "Guides"),
         Type(IDC_APPMENU_ALT_KEY2, "d"), Next(IDD_VICONS),
         Back(IDD_APPMENU), Next(IDD_VICONS),
         Click(IDC_VICONS_CONFIGURE), Next(IDD_BACKGROUNDS),
         Select(IDC_BACKGROUNDS_LIST, "Sky"), Click(IDC_BACKGROUNDS_DEFAULT),
         Type(IDC_BACKGROUNDS_NAME, "Sunset"),
         // A bare name: found only where the dialog opens.
         Choose(IDC_BACKGROUNDS_BROWSE, "sunset.jpg"), Click(IDC_BACKGROUNDS_ADD), Next(IDD_TCOLOR),
         Type(IDC_TCOLOR_MOUSE_OVER_RED, "0"), Type(IDC_TCOLOR_MOUSE_OVER_GREEN, "128"),
         Type(IDC_TCOLOR_MOUSE_OVER_BLUE, "0"), Next(IDD_SOUNDS),
         Click(IDC_SOUNDS_PLAY), Next(IDD_SPLASH),
         Click(IDC_SPLASH_DEFAULT), Next(IDD_LBBUTTON),
         Choose(IDC_LBBUTTON_SELECT, kNotes), Next(IDD_PACKAGING),
         Finish()
     })}},
    {"v35-second-run",
     [](demo::Installation&) {},
     {Then(ThroughIntro(), {
         Type(IDC_MODIFIED_COMPANY, "Contoso"), Next(IDD_APPMENU),
         Type(IDC_APPMENU_TITLE1, "Start Here"), Type(IDC_APPMENU_ALT_KEY1, "r"), Next(IDD_WMENU),
         Type(IDC_WMENU_TAB2_DESC, "Find answers fast"), Next(IDD_VICONS),
         Click(IDC_VICONS_CONFIGURE), Next(IDD_BACKGROUNDS),
         Select(IDC_BACKGROUNDS_LIST, "Forest"), Click(IDC_BACKGROUNDS_DELETE), Next(IDD_TCOLOR),
         Type(IDC_TCOLOR_TOOL_BAR_RED, "200"), Next(IDD_SOUNDS),
         Click(IDC_SOUNDS_PLAY), Next(IDD_SPLASH),
         Click(IDC_SPLASH_DEFAULT), Next(IDD_LBBUTTON),
         Choose(IDC_LBBUTTON_SELECT, kCalc), Next(IDD_PACKAGING),
         Finish()
     }),
      // The second run starts from what the first left and takes some of it back.
      Then(ThroughIntro(), {
         Type(IDC_MODIFIED_COMPANY, "Contoso Ltd"), Next(IDD_APPMENU),
         Type(IDC_APPMENU_TITLE1, "Getting Started"), Type(IDC_APPMENU_ALT_KEY1, "G"),
         Next(IDD_WMENU),
         Type(IDC_WMENU_CLOSING, "See you soon."), Next(IDD_VICONS),
         Click(IDC_VICONS_CONFIGURE), Next(IDD_BACKGROUNDS),
         Select(IDC_BACKGROUNDS_LIST, "Sky"), Click(IDC_BACKGROUNDS_CURRENT), Next(IDD_TCOLOR),
         Type(IDC_TCOLOR_MENU_TEXT_RED, "0"), Type(IDC_TCOLOR_MENU_TEXT_GREEN, "0"),
         Type(IDC_TCOLOR_MENU_TEXT_BLUE, "128"), Next(IDD_SOUNDS),
         Click(IDC_SOUNDS_PLAY), Next(IDD_SPLASH),
         Click(IDC_SPLASH_SHOW), Next(IDD_LBBUTTON),
         Choose(IDC_LBBUTTON_SELECT, kNotes), Next(IDD_PACKAGING),
         Finish()
     })}},
};
// clang-format on

const char* PageName(unsigned page) {
  static const char* const names[] = {"welcome",      "intro",      "company",         "menu",
                                      "welcome-page", "visual-map", "backgrounds",     "colors",
                                      "sound",        "animation",  "larkbook-button", "packaging"};
  const auto at = std::find(std::begin(kPages), std::end(kPages), page) - std::begin(kPages);
  return at < 12 ? names[at] : "unknown";
}

// A message to a window of the program, handled before this returns; a
// message box it opens instead shows as a failure, not a hang.
bool Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result) != 0;
}

void ChooseInDialog(Program& program, const std::string& file) {
  HWND open = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (open = FindProgramDialog(program.Id(), "Open")); }));
  HWND name = GetDlgItem(open, 0x47C);  // explorer style (cmb13), else the old edt1
  if (!name) name = GetDlgItem(open, 0x480);
  ASSERT_TRUE(name);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  PostMessageA(open, WM_COMMAND, IDOK, 0);
  // Gone means its modal loop has ended: what the page does with the file
  // runs before any message sent from here is handled.
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(open); })) << file;
}

void Perform(Program& program, HWND wizard, const Step& step, const std::string& shot) {
  const HWND page = CurrentPage(wizard);
  const HWND control = GetDlgItem(page, step.control);
  switch (step.kind) {
    case Step::kType:
      ASSERT_TRUE(control) << step.control;
      ASSERT_TRUE(Deliver(
          control, WM_SETTEXT, 0,
          reinterpret_cast<LPARAM>(std::wstring(step.text.begin(), step.text.end()).c_str())));
      return;
    case Step::kClick:
      ASSERT_TRUE(control && IsWindowVisible(control)) << step.control;
      ASSERT_TRUE(Deliver(control, BM_CLICK, 0, 0)) << "a box opened at control " << step.control;
      return;
    case Step::kSelect: {
      const std::wstring wide(step.text.begin(), step.text.end());
      const LRESULT at =
          SendMessageW(control, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(wide.c_str()));
      ASSERT_NE(LB_ERR, at) << step.text;
      ASSERT_EQ(at, SendMessageW(control, LB_SETCURSEL, at, 0));
      return;
    }
    case Step::kChoose:
      ASSERT_TRUE(control && IsWindowVisible(control)) << step.control;
      PostMessageA(page, WM_COMMAND, MAKEWPARAM(step.control, BN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
      ASSERT_NO_FATAL_FAILURE(ChooseInDialog(program, step.text));
      ASSERT_TRUE(Deliver(wizard, WM_NULL, 0, 0)) << "a box opened after choosing " << step.text;
      return;
    case Step::kNext:
    case Step::kBack:
      Screenshot(wizard, shot);
      PostMessageA(wizard, PSM_PRESSBUTTON, step.kind == Step::kNext ? PSBTN_NEXT : PSBTN_BACK, 0);
      ASSERT_TRUE(WaitFor([&] { return ActiveTemplate(wizard) == step.page; }, 5000))
          << "expected " << PageName(step.page) << ", shown " << PageName(ActiveTemplate(wizard));
      EXPECT_EQ(wizard, FindWizard()) << "the title must stay on the wizard";
      // Enter means Next or Finish, not a button of the page (Help above all);
      // a page may hand the focus over after its activation.
      EXPECT_TRUE(WaitFor(
          [&] {
            const HWND focus = FocusOf(wizard);
            return step.page == IDD_PACKAGING
                       ? GetDlgCtrlID(focus) == kSheetFinishButtonId
                       : !(GetParent(focus) == CurrentPage(wizard) && IsPushButton(focus));
          },
          2000))
          << "Enter would press control " << GetDlgCtrlID(FocusOf(wizard));
      return;
    case Step::kFinish: {
      Screenshot(wizard, shot);
      PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
      const std::string text = AnswerBox(program, "OKAPI", IDNO);
      EXPECT_TRUE(text.starts_with("The package is ready in ")) << text;
      EXPECT_EQ(0u, program.WaitExit()) << "the program did not end after Finish";
      return;
    }
  }
}

std::string Contents(const std::string& path) {
  return platform::Os().files->ReadFile(path).value_or("<missing>\n");
}

// What /restore puts back: the edited files and the button's registry value.
std::map<std::string, std::string> Installed() {
  std::map<std::string, std::string> files;
  for (const char* name : kEditedFiles) files[name] = Contents(kInstall + std::string(name));
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                           platform::Access::Read);
  files["registry.txt"] =
      key ? "File=" + key->QueryString("File", 255).value_or("<none>") + "\n" : "<no key>\n";
  return files;
}

// What a run left, by name: the files a journey compares.
std::map<std::string, std::string> Outcome() {
  auto files = Installed();
  files["changes.txt"] = Contents(kCustomization + std::string("changes.txt"));
  const fs::path package = std::string(kCustomization) + "package";
  for (const auto& entry : fs::recursive_directory_iterator(package)) {
    if (!entry.is_regular_file()) continue;
    files["package/" + fs::relative(entry.path(), package).generic_string()] =
        Contents(entry.path().string());
  }
  return files;
}

std::map<std::string, std::string> Expected(const fs::path& dir) {
  std::map<std::string, std::string> files;
  if (!fs::exists(dir)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    files[fs::relative(entry.path(), dir).generic_string()] = text.str();
  }
  return files;
}

void Rewrite(const fs::path& dir, const std::map<std::string, std::string>& files) {
  fs::remove_all(dir);
  for (const auto& [name, text] : files) {
    const fs::path path = dir / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
}

// The applications the button page chooses from and an image to add.
void LayJourneyFiles() {
  for (const std::string path : {kCalc, kNotes}) {
    ASSERT_TRUE(demo::MakeDirectories(path.substr(0, path.rfind('\\'))));
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(path, "MZ " + path));
  }
  for (const char* size : {"small", "large"}) {
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(
        kInstall + std::string("images\\") + size + "\\sunset.jpg", "\xff\xd8\xff\xd9"));
  }
}

// The package's script carries the button's application to the other
// notebooks: imported into the 32-bit view, where the help application
// reads, on a machine without the key.
void ImportPackagedScript(const std::string& expected) {
  const std::string script = kCustomization + std::string("package\\reg\\lbbutton.reg");
  if (!platform::Os().files->Exists(script)) return;
  const LSTATUS deleted = RegDeleteKeyExA(HKEY_LOCAL_MACHINE, demo::kHotkeyKey, KEY_WOW64_32KEY, 0);
  ASSERT_EQ(ERROR_SUCCESS, deleted);
  ASSERT_EQ("<no key>\n", Installed()["registry.txt"]);
  Program reg("reg", " import " + script + " /reg:32");
  ASSERT_TRUE(reg.Started());
  EXPECT_EQ(0u, reg.WaitExit());
  EXPECT_EQ(expected, Installed()["registry.txt"]);
}

void Journeyed(const Journey& journey, const std::string& exe) {
  const auto first = Installed();
  for (size_t run = 0; run < journey.runs.size(); ++run) {
    SCOPED_TRACE("run " + std::to_string(run + 1));
    Program program(exe);
    HWND wizard = nullptr;
    ASSERT_TRUE(program.Started()) << exe;
    ASSERT_TRUE(WaitFor([&] { return (wizard = FindWizard()) != nullptr; }))
        << "no window titled Customization";
    int visit = 1;
    for (const Step& step : journey.runs[run]) {
      const unsigned page = ActiveTemplate(wizard);
      SCOPED_TRACE(PageName(page));
      char shot[160];
      std::snprintf(shot, sizeof shot, "journey-%s-%zu-%02d-%s", journey.name, run + 1, visit,
                    PageName(page));
      if (step.kind >= Step::kNext) ++visit;
      ASSERT_NO_FATAL_FAILURE(Perform(program, wizard, step, shot));
    }
  }

  const auto actual = Outcome();
  const fs::path dir = fs::path(kExpectedRoot) / journey.name;
  if (std::getenv("OKAPI_UPDATE_JOURNEYS")) {
    Rewrite(dir, actual);
    GTEST_SKIP() << "rewrote " << dir.string();
  }
  const auto expected = Expected(dir);
  for (const auto& [name, text] : expected) {
    // Texts of several lines fail with a line diff.
    EXPECT_EQ(text, actual.contains(name) ? actual.at(name) : "<not left>")
        << (dir / name).string();
  }
  for (const auto& [name, text] : actual) {
    if (!expected.contains(name)) ADD_FAILURE() << "the run left " << name << ", not expected";
  }
  ASSERT_NO_FATAL_FAILURE(ImportPackagedScript(actual.at("registry.txt")));

  Program restore(exe, " /restore");
  const std::string plan = AnswerBox(restore, "OKAPI", IDYES);
  EXPECT_NE(std::string::npos, plan.find("lumen-config.ini")) << plan;
  EXPECT_NE(std::string::npos, AnswerBox(restore, "OKAPI").find("Put back as they were"));
  EXPECT_EQ(0u, restore.WaitExit());
  const auto restored = Installed();
  for (const auto& [name, text] : first) EXPECT_EQ(text, restored.at(name)) << name;
  for (const char* name : kEditedFiles) {
    EXPECT_EQ(Contents(kCustomization + std::string("backup\\") + name), restored.at(name)) << name;
  }
}

class JourneyProgramTest : public ProgramTest, public ::testing::WithParamInterface<Journey> {
 protected:
  void SetUp() override {
    GetParam().fixture(installation);
    ProgramTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(LayJourneyFiles());
  }
};

TEST_P(JourneyProgramTest, EveryPageChangedThenFinishLeavesTheExpectedFiles) {
  Journeyed(GetParam(), kProgram);
}

INSTANTIATE_TEST_SUITE_P(Journeys, JourneyProgramTest, ::testing::ValuesIn(kJourneys),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace

namespace okapi_program {

void RunJourney(const char* name, const std::string& program) {
  const auto journey = std::find_if(std::begin(kJourneys), std::end(kJourneys),
                                    [&](const Journey& j) { return j.name == std::string(name); });
  ASSERT_NE(std::end(kJourneys), journey) << name;
  ASSERT_NO_FATAL_FAILURE(LayJourneyFiles());
  Journeyed(*journey, program);
}

}  // namespace okapi_program
