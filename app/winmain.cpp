// okapi.exe's entry point: the real dialogs and system services.
#include "framework/win32/win32_api.h"
// After the system header above, whose renaming macros it undoes.
#include "app/okapi_app.h"
#include "app/restore.h"
#include "framework/backend.h"
#include "framework/win32/win32_backend.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  fw::ReplaceBackend(fw::win32::MakeWin32Backend());
  if (restore::IsRestoreCommand(commandLine ? commandLine : "")) return restore::RunRestore();
  COkapiApp app;
  (void)app.InitInstance();  // always false: nothing runs after the wizard
  return 0;
}
