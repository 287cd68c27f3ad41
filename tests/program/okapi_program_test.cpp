// The built okapi.exe on a laid installation, driven from this process as a
// user would drive it: real windows under Wine, a screenshot of what is shown.
#include <windows.h>
// After <windows.h>, which they need.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "demo/installation.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/screenshot.h"

namespace {

// Wine shows the host's root as drive Z:.
std::string FromHost(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

const std::string kProgram = FromHost(OKAPI_EXE_HOST_PATH);
const std::string kShotDir = FromHost(OKAPI_SCREENSHOT_HOST_DIR);
constexpr char kTextFile[] = "c:\\zantools\\zanhelp\\lumen-text.ini";
constexpr char kScript[] = "c:\\zantools\\zanhelp\\lbbutton.reg";

// The sheet's pages, by index.
constexpr unsigned kPages[] = {IDD_WELCOME, IDD_INTRO,  IDD_MODIFIED,    IDD_APPMENU,
                               IDD_WMENU,   IDD_VICONS, IDD_BACKGROUNDS, IDD_TCOLOR,
                               IDD_SOUNDS,  IDD_SPLASH, IDD_LBBUTTON,    IDD_PACKAGING};

bool WaitFor(const std::function<bool()>& done, int milliseconds = 15000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  return true;
}

// One okapi.exe process; ended at the end of the test if still running.
class Program {
 public:
  Program() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + kProgram + "\"";
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return started_; }
  // The exit code, or STILL_ACTIVE when it did not end in time.
  DWORD WaitExit(int milliseconds = 15000) {
    WaitForSingleObject(info_.hProcess, milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  DWORD Id() const { return info_.dwProcessId; }

 private:
  bool started_ = false;
  PROCESS_INFORMATION info_{};
};

std::string TextOf(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

HWND FindWizard() { return FindWindowA(nullptr, "Customization"); }

HWND CurrentPage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

unsigned ActiveTemplate(HWND sheet) {
  const LRESULT index =
      SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(sheet)), 0);
  return index >= 0 && index < 12 ? kPages[index] : 0;
}

// The window that Enter goes to when it is a push button: the focused one.
HWND FocusOf(HWND wizard) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(wizard, nullptr), &info);
  return info.hwndFocus;
}

bool IsPushButton(HWND window) {
  return SendMessageA(window, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
}

// A top-level dialog of the program other than the wizard, by its title.
HWND FindProgramDialog(DWORD processId, const std::string& title) {
  struct Search {
    DWORD process;
    std::string title;
    HWND found = nullptr;
  } search{processId, title};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char cls[64] = {}, text[256] = {};
        GetClassNameA(window, cls, sizeof cls);
        GetWindowTextA(window, text, sizeof text);
        if (owner == s->process && std::string(cls) == "#32770" && s->title == text &&
            IsWindowVisible(window)) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// What the screen shows of a window, as a .bmp under the build tree.
void Screenshot(HWND window, const std::string& name) {
  std::this_thread::sleep_for(std::chrono::milliseconds(400));  // let it paint
  CreateDirectoryA(kShotDir.c_str(), nullptr);
  okapi_test::SaveScreenshot(window, kShotDir + "\\" + name + ".bmp");
}

class ProgramTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
  }

  // Starts the program and waits for its wizard.
  HWND Start(Program& program) {
    EXPECT_TRUE(program.Started()) << kProgram;
    HWND wizard = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (wizard = FindWizard()) != nullptr; }))
        << "no window titled Customization";
    return wizard;
  }
  // Presses a wizard button and waits for the page to change to `expected`.
  static bool Press(HWND wizard, int button, unsigned expected) {
    PostMessageA(wizard, PSM_PRESSBUTTON, button, 0);
    return WaitFor([&] { return ActiveTemplate(wizard) == expected; }, 5000);
  }
  // Next from the welcome page up to `page`, with a company name on the way.
  static void NextTo(HWND wizard, unsigned page) {
    for (int i = 1; kPages[i - 1] != page; ++i) {
      if (kPages[i - 1] == IDD_MODIFIED) Type(wizard, IDC_MODIFIED_COMPANY, "Contoso");
      ASSERT_TRUE(Press(wizard, PSBTN_NEXT, kPages[i])) << "to page " << kPages[i];
    }
  }
  static void Type(HWND wizard, int control, const std::string& text) {
    SendMessageA(GetDlgItem(CurrentPage(wizard), control), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
  }
  static void Cancel(HWND wizard, Program& program) {
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(0u, program.WaitExit()) << "the program did not end after Cancel";
  }
  static std::string Text(const char* key) {
    return store::GetProfileString("Lumen Text", key, "Error", 256, kTextFile);
  }

  demo::Installation installation;
};

TEST_F(ProgramTest, EveryPageShowsInOrderAndTheWizardKeepsItsTitle) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  EXPECT_EQ(wizard, GetAncestor(wizard, GA_ROOT));
  ASSERT_EQ(unsigned{IDD_WELCOME}, ActiveTemplate(wizard));
  Screenshot(wizard, "page-01-welcome");
  for (int i = 1; i < 12; ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1));
    if (kPages[i - 1] == IDD_MODIFIED) Type(wizard, IDC_MODIFIED_COMPANY, "Contoso");
    ASSERT_TRUE(Press(wizard, PSBTN_NEXT, kPages[i]));
    EXPECT_EQ(wizard, FindWizard()) << "the title must stay on the wizard";
    Screenshot(wizard, "page-" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1));
    // Enter means Next or Finish, not a button of the page (Help above all).
    const HWND focus = FocusOf(wizard);
    ASSERT_TRUE(focus);
    EXPECT_FALSE(GetParent(focus) == CurrentPage(wizard) && IsPushButton(focus))
        << "Enter would press control " << GetDlgCtrlID(focus);
    if (kPages[i] == IDD_PACKAGING) {
      EXPECT_EQ(0x3025, GetDlgCtrlID(focus)) << "Finish";
    }
  }
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_LBBUTTON));
  Cancel(wizard, program);
}

TEST_F(ProgramTest, SecondCopyMinimisesAForegroundWizardAndRestoresAMinimisedOne) {
  Program first;
  HWND wizard = Start(first);
  ASSERT_TRUE(wizard);
  SetForegroundWindow(wizard);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == wizard; }));

  {
    Program second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0u, second.WaitExit());
  }
  EXPECT_TRUE(WaitFor([&] { return IsIconic(wizard) != FALSE; })) << "not minimised";

  {
    Program third;
    ASSERT_TRUE(third.Started());
    EXPECT_EQ(0u, third.WaitExit());
  }
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(wizard) && GetForegroundWindow() == wizard; }))
      << "not restored and raised";
  EXPECT_EQ(wizard, FindWizard());
  Cancel(wizard, first);
}

TEST_F(ProgramTest, CompanyNameIsRefusedWhenEmptyThenWrittenOnNext) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_MODIFIED));

  PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindProgramDialog(program.Id(), "Information")); }));
  EXPECT_EQ("You need to enter a company name", TextOf(GetDlgItem(box, 0xFFFF)));
  Screenshot(box, "company-empty-message");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(unsigned{IDD_MODIFIED}, ActiveTemplate(wizard));

  Type(wizard, IDC_MODIFIED_COMPANY, "Contoso Ltd");
  Screenshot(wizard, "company-typed");
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_APPMENU));
  EXPECT_EQ("__TITLE__,\"Lumen Larkbook Help and Information - Modified by Contoso Ltd\"",
            Text(demo::slots::kTitle));
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_MODIFIED));
  EXPECT_EQ("Contoso Ltd", TextOf(GetDlgItem(CurrentPage(wizard), IDC_MODIFIED_COMPANY)));
  Cancel(wizard, program);
}

TEST_F(ProgramTest, LarkbookButtonTakesTheChosenApplication) {
  const std::string calc = "c:\\tabula\\calc\\calcw.exe";
  ASSERT_TRUE(demo::MakeDirectories("c:\\tabula\\calc"));
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(calc, "MZ"));
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_LBBUTTON));
  HWND page = CurrentPage(wizard);
  EXPECT_EQ(demo::kDemoHotkeyFile, TextOf(GetDlgItem(page, IDC_LBBUTTON_PATH)));

  PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_LBBUTTON_SELECT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_LBBUTTON_SELECT)));
  HWND open = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (open = FindProgramDialog(program.Id(), "Open")); }));
  Screenshot(open, "larkbook-file-dialog");
  // The file name box of the explorer-style dialog (cmb13), or of the old one (edt1).
  HWND name = GetDlgItem(open, 0x47C);
  if (!name) name = GetDlgItem(open, 0x480);
  ASSERT_TRUE(name);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(calc.c_str()));
  PostMessageA(open, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(open); }));
  ASSERT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(page, IDC_LBBUTTON_PATH)) == calc; }));
  Screenshot(wizard, "larkbook-changed");

  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, demo::kHotkeyKey,
                                           platform::Access::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ(calc, key->QueryString("File", 255).value_or(""));
  const std::string script =
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZAN\\LBHOTKEY\\8001]\r\n"
      "\"File\"=\"c:\\\\tabula\\\\calc\\\\calcw.exe\"\r\n";
  EXPECT_EQ(script, platform::Os().files->ReadFile(kScript).value_or(""));
  EXPECT_EQ(script,
            platform::Os()
                .files->ReadFile("c:\\zantools\\zanhelp\\customization\\package\\reg\\lbbutton.reg")
                .value_or(""));
  Cancel(wizard, program);
}

class ProgramWithoutButtonTest : public ProgramTest {
 protected:
  void SetUp() override {
    installation.hotkeyFile.reset();
    ProgramTest::SetUp();
  }
};

TEST_F(ProgramWithoutButtonTest, LarkbookPageIsSkippedBothWays) {
  Program program;
  HWND wizard = Start(program);
  ASSERT_TRUE(wizard);
  ASSERT_NO_FATAL_FAILURE(NextTo(wizard, IDD_SPLASH));
  ASSERT_TRUE(Press(wizard, PSBTN_NEXT, IDD_PACKAGING));
  ASSERT_TRUE(Press(wizard, PSBTN_BACK, IDD_SPLASH));
  Cancel(wizard, program);
}

class ProgramWithoutInstallationTest : public ProgramTest {
 protected:
  void SetUp() override {
    installation.llb3.reset();
    ProgramTest::SetUp();
  }
};

TEST_F(ProgramWithoutInstallationTest, ProgramTellsAndEndsWithoutCreatingAnything) {
  Program program;
  ASSERT_TRUE(program.Started());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindProgramDialog(program.Id(), "OKAPI")); }));
  EXPECT_EQ("Can't find an installation of Lumen ZAN or lumen Larkbook. This application will exit",
            TextOf(GetDlgItem(box, 0xFFFF)));
  Screenshot(box, "no-installation");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(0u, program.WaitExit());
  EXPECT_FALSE(platform::Os().files->Exists("c:\\zantools\\zanhelp\\customization\\backup"));
  EXPECT_FALSE(platform::Os().files->Exists("c:\\zantools\\zanhelp\\customization\\package"));
}

}  // namespace
