// okapi.exe's entry point: the real dialogs and system services.
#include "framework/win32/win32_api.h"
// After the system header above, whose renaming macros it undoes.
#include "app/answers_command.h"
#include "app/answers_run.h"
#include "app/okapi_app.h"
#include "app/restore.h"
#include "framework/backend.h"
#include "framework/win32/win32_backend.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  fw::ReplaceBackend(fw::win32::MakeWin32Backend());
  const std::string line = commandLine ? commandLine : "";
  if (restore::IsRestoreCommand(line)) return restore::RunRestore();
  if (const auto parsed = answers::ParseCommandLine(line); parsed.command) {
    return static_cast<int>(answers::Run(*parsed.command));
  } else if (!parsed.refusal.empty()) {
    if (!parsed.quiet) AfxMessageBox(parsed.refusal + "\n\nNothing was changed.");
    return static_cast<int>(answers::Exit::Refused);
  }
  COkapiApp app;
  (void)app.InitInstance();  // always false: nothing runs after the wizard
  return 0;
}
