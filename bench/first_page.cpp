// Starts a program and returns once its first window is shown and the
// program waits for input, as a user sees it ready; then ends it. Prints the
// milliseconds from process start to that moment. Timed from outside by
// hyperfine in bench/run.sh, beside the same launch of a bare wizard.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
  DWORD process;
  bool shown;
};

BOOL CALLBACK FindShown(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && IsWindowVisible(window)) {
    search->shown = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: first_page program.exe [arguments]\n");
    return 2;
  }
  std::string command = std::string("\"") + argv[1] + "\"";
  for (int i = 2; i < argc; ++i) command += std::string(" ") + argv[i];
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "first_page: cannot start %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  // Idle can come before the first window (a message pumped during start-up):
  // wait until a window is shown, then for idle again, which then includes
  // its painting.
  Search search{process.dwProcessId, false};
  const DWORD deadline = GetTickCount() + 30000;
  for (;;) {
    WaitForInputIdle(process.hProcess, 30000);
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
    if (search.shown) break;
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0 || GetTickCount() > deadline) {
      std::fprintf(stderr, "first_page: %s showed no window\n", argv[1]);
      return 1;
    }
  }
  WaitForInputIdle(process.hProcess, 30000);
  QueryPerformanceCounter(&end);
  std::printf("%.1f ms\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart));
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
