// Driving the built okapi.exe from outside as a user would: the process, its
// wizard and dialogs found by title, buttons pressed, screenshots taken.
#pragma once

#include "framework/win32/win32_api.h"
// After <windows.h>, which they need.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "demo/installation.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/screenshot.h"
#include "wizard/wizard_sheet.h"

namespace okapi_program {

using okapi_test::CurrentPage;
using okapi_test::FromHost;
using okapi_test::SaveScreenshot;
using okapi_test::TextOf;

inline const std::string kProgram = FromHost(OKAPI_EXE_HOST_PATH);
// The 32-bit build runs emulated (qemu-user under Wine), tens of times
// slower: every wait allows for it.
inline constexpr int kSlowdown = sizeof(void*) == 4 ? 20 : 1;

inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 15000) {
  for (const ULONGLONG end = GetTickCount64() + milliseconds * kSlowdown; !done(); Sleep(30))
    if (GetTickCount64() > end) return false;
  return true;
}

// One okapi.exe process; ended at the end of the test if still running.
class Program {
 public:
  explicit Program(const std::string& program = kProgram, const std::string& arguments = "") {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"" + arguments;
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
    WaitForSingleObject(info_.hProcess, static_cast<DWORD>(milliseconds) * kSlowdown);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  DWORD Id() const { return info_.dwProcessId; }

 private:
  bool started_ = false;
  PROCESS_INFORMATION info_{};
};

// Runs a program to its end: its exit code, or STILL_ACTIVE after a minute.
inline DWORD RunToEnd(const std::string& program, const std::string& arguments) {
  Program run(program, arguments);
  EXPECT_TRUE(run.Started()) << program;
  return run.WaitExit(60000);
}

inline HWND FindWizard() { return FindWindowA(nullptr, kWizardTitle); }

// The shown page's dialog template id.
inline unsigned ActiveTemplate(HWND sheet) {
  const LRESULT index =
      SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(sheet)), 0);
  return static_cast<unsigned>(SendMessageA(sheet, PSM_INDEXTOID, index, 0));
}

// A visible top-level window of the program by its class ("#32770": a dialog)
// and, when given, its title.
inline HWND FindProgramWindow(DWORD processId, const char* className, const char* title = nullptr) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Waits for the program's next box with this caption, gives its text and
// answers it with `button`.
inline std::string AnswerBox(Program& program, const char* caption, int button = IDOK) {
  HWND box = nullptr;
  if (!WaitFor(
          [&] { return (box = FindProgramWindow(program.Id(), "#32770", caption)) != nullptr; }))
    return "<no box>";
  const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
  PostMessageA(box, WM_COMMAND, button, 0);
  WaitFor([&] { return !IsWindow(box); }, 5000);
  return text;
}

// A journey of journey_program_test.cpp run by `program` (an installed copy)
// in the test that calls it, on the default demo installation.
void RunJourney(const char* name, const std::string& program);
// Every file under a folder, by its path there ('/' between names), and its bytes.
std::map<std::string, std::string> FilesUnder(const std::string& dir);

class ProgramTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
  }

  // Starts okapi.exe, ending one started before; given a page, goes on to it.
  void Start(unsigned page = 0) {
    program.emplace();
    ASSERT_TRUE(program->Started()) << kProgram;
    if (page) NextTo(page);
  }
  // Waits for the wizard, then Next up to `page`, with a company name on the way.
  void NextTo(unsigned page) {
    ASSERT_TRUE(WaitFor([&] { return (wizard = FindWizard()) != nullptr; }))
        << "no window titled Customization";
    for (unsigned at; (at = ActiveTemplate(wizard)) != page;) {
      if (at == IDD_MODIFIED) SetDlgItemTextA(CurrentPage(wizard), IDC_MODIFIED_COMPANY, "Contoso");
      PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
      ASSERT_TRUE(WaitFor([&] { return ActiveTemplate(wizard) != at; }, 5000)) << "stuck on " << at;
    }
  }
  void Cancel() {
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(0u, program->WaitExit()) << "the program did not end after Cancel";
  }

  std::optional<Program> program;
  HWND wizard = nullptr;
  demo::Installation installation;
};

}  // namespace okapi_program
