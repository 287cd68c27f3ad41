// Whole runs of the built okapi.exe, from the first page to Finish, as users
// make them on different installations, each as journeys/<name>.steps says
// (a new journey: a .steps file, named in kJourneys). Each ends by comparing
// what the run left (the edited files, the button's registry value, the
// package) with the expected files in journeys/<name>/ (OKAPI_UPDATE_JOURNEYS=1
// rewrites those from the run instead: read them before committing them),
// then takes the way back with okapi.exe /restore.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "store/profile_text.h"
#include "tests/program/program_driver.h"

namespace {

using namespace okapi_program;
namespace fs = std::filesystem;

const std::string kExpectedRoot = FromHost(OKAPI_JOURNEYS_HOST_DIR);
constexpr char kInstall[] = "c:\\zantools\\zanhelp\\";
constexpr char kCustomization[] = "c:\\zantools\\zanhelp\\customization\\";
constexpr const char* kEditedFiles[] = {"lumen-config.ini", "lumen-text.ini",
                                        "machine-specifics.csv"};

// One user action on the page shown: a verb and the control it acts on, or
// the page that Next or Back leads to, and the text typed, the list entry
// selected or the file chosen; or the caption and text of a refusal's box.
struct Step {
  std::string verb, name;
  int id = 0;
  std::string text;
};

using Run = std::vector<Step>;

// Names a journey's steps use for controls and pages, from the program's own header.
std::map<std::string, int> ResourceIds() {
  std::map<std::string, int> ids;
  std::ifstream header(fs::path(kExpectedRoot) / "..\\..\\..\\res\\resource.h");
  EXPECT_TRUE(header) << "res/resource.h";
  for (std::string line; std::getline(header, line);) {
    std::istringstream words(line);
    std::string define, name;
    int id = 0;
    if (words >> define >> name >> id && define == "#define") ids[name] = id;
  }
  return ids;
}

// <name>.steps beside the expected files: one action a line, "run" starting
// the program again over what the run before left.
std::vector<Run> StepsOf(const std::string& journey) {
  static const std::map<std::string, int> ids = ResourceIds();
  static const std::set<std::string> verbs = {"type", "click", "select", "choose", "next", "back"};
  std::ifstream in(fs::path(kExpectedRoot) / (journey + ".steps"));
  EXPECT_TRUE(in) << journey << ".steps";
  std::vector<Run> runs(1);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line == "run") {
      runs.emplace_back();
      continue;
    }
    std::istringstream words(line);
    Step step;
    words >> step.verb >> step.name;
    // Finish names nothing, a refusal its box's caption; the rest a control or page.
    const auto id = ids.find(step.name);
    if (id != ids.end()) step.id = id->second;
    if (step.verb != "finish" && step.verb != "told" && (!verbs.contains(step.verb) || !step.id))
      ADD_FAILURE() << journey << ".steps: " << line;
    std::getline(words >> std::ws, step.text);
    // A typed line break is written "\r\n".
    for (std::size_t at; (at = step.text.find("\\r\\n")) != std::string::npos;)
      step.text.replace(at, 4, "\r\n");
    runs.back().push_back(step);
  }
  return runs;
}

const char* const kJourneys[] = {"v30-without-button", "v35-notebook-visual-map",
                                 "v35-fourth-menu-off", "v35-second-run"};

// The screenshots' names for the pages, which the help's pictures are made from.
const char* PageName(unsigned page) {
  // clang-format off
  static const std::map<unsigned, const char*> names = {
      {IDD_WELCOME, "welcome"}, {IDD_INTRO, "intro"}, {IDD_MODIFIED, "company"},
      {IDD_APPMENU, "menu"}, {IDD_WMENU, "welcome-page"}, {IDD_VICONS, "visual-map"},
      {IDD_BACKGROUNDS, "backgrounds"}, {IDD_TCOLOR, "colors"}, {IDD_SOUNDS, "sound"},
      {IDD_SPLASH, "animation"}, {IDD_LBBUTTON, "larkbook-button"}, {IDD_PACKAGING, "packaging"}};
  // clang-format on
  return names.contains(page) ? names.at(page) : "unknown";
}

// A message to a window of the program, handled before this returns; a
// message box it opens instead shows as a failure, not a hang.
bool Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result) != 0;
}

void ChooseInDialog(Program& program, const std::string& file) {
  HWND open = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (open = FindProgramWindow(program.Id(), "#32770", "Open")); }));
  HWND name = GetDlgItem(open, 0x47C);  // explorer style (cmb13), else the old edt1
  if (!name) name = GetDlgItem(open, 0x480);
  ASSERT_TRUE(name);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  PostMessageA(open, WM_COMMAND, IDOK, 0);
  // Gone means its modal loop has ended: what the page does with the file
  // runs before any message sent from here is handled.
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(open); })) << file;
}

// The window that Enter goes to when it is a push button.
HWND FocusOf(HWND wizard) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(wizard, nullptr), &info);
  return info.hwndFocus;
}

// Enter means Finish on the last page, elsewhere Next: no button of the page
// (Help above all).
bool EnterMeansNextOrFinish(HWND wizard, unsigned page) {
  const HWND focus = FocusOf(wizard);
  if (page == IDD_PACKAGING) return GetDlgCtrlID(focus) == kSheetFinishButtonId;
  return GetParent(focus) != CurrentPage(wizard) ||
         !(SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

void Perform(Program& program, HWND wizard, const Step& step, const std::string& shot) {
  const HWND page = CurrentPage(wizard);
  const HWND control = GetDlgItem(page, step.id);
  const std::wstring wide(step.text.begin(), step.text.end());
  if (step.verb == "type") {
    ASSERT_TRUE(control) << step.id;
    ASSERT_TRUE(Deliver(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str())));
  } else if (step.verb == "click") {
    ASSERT_TRUE(control && IsWindowVisible(control)) << step.id;
    ASSERT_TRUE(Deliver(control, BM_CLICK, 0, 0)) << "a box opened at control " << step.id;
  } else if (step.verb == "select") {
    const LRESULT at =
        SendMessageW(control, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(wide.c_str()));
    ASSERT_NE(LB_ERR, at) << step.text;
    ASSERT_EQ(at, SendMessageW(control, LB_SETCURSEL, at, 0));
  } else if (step.verb == "choose") {
    ASSERT_TRUE(control && IsWindowVisible(control)) << step.id;
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(step.id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    ASSERT_NO_FATAL_FAILURE(ChooseInDialog(program, step.text));
    ASSERT_TRUE(Deliver(wizard, WM_NULL, 0, 0)) << "a box opened after choosing " << step.text;
  } else if (step.verb == "told") {
    EXPECT_EQ(step.text, AnswerBox(program, step.name.c_str()));
    // A refusal: once the wizard has done with the press, the page stays.
    ASSERT_TRUE(Deliver(wizard, WM_NULL, 0, 0));
    EXPECT_EQ(page, CurrentPage(wizard)) << "the page that refused was left";
  } else if (step.verb == "finish") {
    SaveScreenshot(wizard, shot);
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
    const std::string text = AnswerBox(program, "OKAPI", IDNO);
    EXPECT_TRUE(text.starts_with("The package is ready in ")) << text;
    EXPECT_EQ(0u, program.WaitExit()) << "the program did not end after Finish";
  } else {
    SaveScreenshot(wizard, shot);
    const unsigned to = static_cast<unsigned>(step.id);
    PostMessageA(wizard, PSM_PRESSBUTTON, step.verb == "next" ? PSBTN_NEXT : PSBTN_BACK, 0);
    ASSERT_TRUE(WaitFor([&] { return ActiveTemplate(wizard) == to; }, 5000))
        << "expected " << PageName(to) << ", shown " << PageName(ActiveTemplate(wizard));
    EXPECT_EQ(wizard, FindWizard()) << "the title must stay on the wizard";
    // A page may hand the focus over after its activation.
    EXPECT_TRUE(WaitFor([&] { return EnterMeansNextOrFinish(wizard, to); }, 2000))
        << "Enter would press control " << GetDlgCtrlID(FocusOf(wizard));
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
  for (const auto& [name, text] : FilesUnder(kCustomization + std::string("package")))
    files["package/" + name] = text;
  // The answers say when Finish wrote them.
  std::string& answers = files["package/answers.ini"];
  if (const auto at = answers.find("Finish on "); at != std::string::npos)
    answers.replace(at + 10, 19, "YYYY-MM-DD hh:mm:ss");
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
  for (const std::string path : {"c:\\tabula\\calc\\calcw.exe", "c:\\tabula\\notes\\notesw.exe"}) {
    ASSERT_TRUE(demo::MakeDirectories(path.substr(0, path.rfind('\\'))));
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(path, "MZ " + path));
  }
  for (const char* size : {"small", "large"})
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(
        kInstall + std::string("images\\") + size + "\\sunset.jpg", "\xff\xd8\xff\xd9"));
}

// The package's script carries the button's application to the other
// notebooks: imported into the 32-bit view, where the help application
// reads, on a machine without the key.
void ImportPackagedScript(const std::string& expected) {
  const std::string script = kCustomization + std::string("package\\reg\\lbbutton.reg");
  if (!platform::Os().files->Exists(script)) return;
  ASSERT_EQ(ERROR_SUCCESS,
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, demo::kHotkeyKey, KEY_WOW64_32KEY, 0));
  ASSERT_EQ("<no key>\n", Installed()["registry.txt"]);
  EXPECT_EQ(0u, RunToEnd("reg", " import " + script + " /reg:32"));
  EXPECT_EQ(expected, Installed()["registry.txt"]);
}

// An INI file's entries, whatever their order: keys a run appends as it goes
// may come in another order on another way to the same customization.
std::map<std::string, std::string> Entries(const std::string& bytes) {
  const store::ProfileText text(bytes);
  std::map<std::string, std::string> entries;
  for (const std::string& section : text.SectionNames())
    for (const std::string& key : text.KeyNames(section))
      entries["[" + section + "] " + key] = text.RawValue(section, key).value_or("");
  return entries;
}

// The journey's customization made again from its package's answers, on the
// installation as it was before the journey: what each page wrote is alike,
// save what records when or how often (the version stamp, the answers' date)
// and the report, which the Packaging page writes.
void AppliedAgain(const std::string& exe, const std::map<std::string, std::string>& journeyed) {
  const std::string answers = "c:\\answers.ini";
  ASSERT_TRUE(platform::Os().files->Copy(kCustomization + std::string("package\\answers.ini"),
                                         answers, false));
  const std::string log = kCustomization + std::string("okapi.log");
  EXPECT_EQ(1u, RunToEnd(exe, " /verify " + answers + " /quiet")) << "before /apply";
  EXPECT_EQ(0u, RunToEnd(exe, " /apply " + answers + " /package /quiet")) << Contents(log);
  EXPECT_EQ(0u, RunToEnd(exe, " /verify " + answers + " /quiet")) << Contents(log);
  const auto again = Outcome();
  const auto stamped = [](std::map<std::string, std::string> entries) {
    entries.erase("[Other] Version");
    entries.erase("[Other] VersionCM");
    return entries;
  };
  for (const auto& [name, text] : journeyed) {
    if (name == "changes.txt") continue;
    const std::string now = again.contains(name) ? again.at(name) : "<not left>";
    if (name.ends_with(".ini") && name != "package/answers.ini") {
      EXPECT_EQ(stamped(Entries(text)), stamped(Entries(now))) << "after /apply: " << name;
    } else {
      EXPECT_EQ(text, now) << "after /apply: " << name;
    }
  }
}

void Journeyed(const std::string& journey, const std::string& exe) {
  ASSERT_NO_FATAL_FAILURE(LayJourneyFiles());
  const std::vector<Run> runs = StepsOf(journey);
  const auto first = Installed();
  for (size_t run = 0; run < runs.size(); ++run) {
    SCOPED_TRACE("run " + std::to_string(run + 1));
    Program program(exe);
    HWND wizard = nullptr;
    ASSERT_TRUE(program.Started()) << exe;
    ASSERT_TRUE(WaitFor([&] { return (wizard = FindWizard()) != nullptr; }))
        << "no window titled Customization";
    int visit = 1;
    for (const Step& step : runs[run]) {
      const unsigned page = ActiveTemplate(wizard);
      SCOPED_TRACE(PageName(page));
      char shot[160];
      std::snprintf(shot, sizeof shot, "journey-%s-%zu-%02d-%s", journey.c_str(), run + 1, visit,
                    PageName(page));
      if (step.verb == "next" || step.verb == "back") ++visit;
      ASSERT_NO_FATAL_FAILURE(Perform(program, wizard, step, shot));
    }
  }

  const auto actual = Outcome();
  const fs::path dir = fs::path(kExpectedRoot) / journey;
  if (std::getenv("OKAPI_UPDATE_JOURNEYS")) {
    Rewrite(dir, actual);
    GTEST_SKIP() << "rewrote " << dir.string();
  }
  const auto expected = FilesUnder(dir.string());
  // Texts of several lines fail with a line diff.
  for (const auto& [name, text] : expected)
    EXPECT_EQ(text, actual.contains(name) ? actual.at(name) : "<not left>")
        << (dir / name).string();
  for (const auto& [name, text] : actual)
    if (!expected.contains(name)) ADD_FAILURE() << "the run left " << name << ", not expected";
  ASSERT_NO_FATAL_FAILURE(ImportPackagedScript(actual.at("registry.txt")));

  Program restore(exe, " /restore");
  const std::string plan = AnswerBox(restore, "OKAPI", IDYES);
  EXPECT_NE(std::string::npos, plan.find("lumen-config.ini")) << plan;
  EXPECT_NE(std::string::npos, AnswerBox(restore, "OKAPI").find("Put back as they were"));
  EXPECT_EQ(0u, restore.WaitExit());
  const auto restored = Installed();
  for (const auto& [name, text] : first) EXPECT_EQ(text, restored.at(name)) << name;
  for (const char* name : kEditedFiles)
    EXPECT_EQ(Contents(kCustomization + std::string("backup\\") + name), restored.at(name)) << name;
  AppliedAgain(exe, actual);
}

class JourneyProgramTest : public ProgramTest, public ::testing::WithParamInterface<const char*> {
 protected:
  // The installations the journeys are made on: the demo one unless named here.
  JourneyProgramTest() {
    if (GetParam() == std::string("v30-without-button")) {
      installation.llb3 = demo::Exe::V3_0_1_0;
      installation.usesVisualMap = false;
      installation.hotkeyFile.reset();
    }
  }
};

TEST_P(JourneyProgramTest, EveryPageChangedThenFinishLeavesTheExpectedFiles) {
  Journeyed(GetParam(), kProgram);
}

INSTANTIATE_TEST_SUITE_P(Journeys, JourneyProgramTest, ::testing::ValuesIn(kJourneys),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace

namespace okapi_program {

void RunJourney(const char* name, const std::string& program) { Journeyed(name, program); }

std::map<std::string, std::string> FilesUnder(const std::string& dir) {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(dir, error))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), dir).generic_string()] = Contents(entry.path().string());
  return files;
}

}  // namespace okapi_program
