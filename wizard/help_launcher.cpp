#include "wizard/help_launcher.h"

#include "store/globals.h"
#include "platform/platform.h"

namespace {

using HtmlHelpEntry = std::uintptr_t (*)(std::uintptr_t, const char*, unsigned, std::uintptr_t);

// The control's registration names the file to load.
constexpr const char* kControlServerKey =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr unsigned kHtmlHelpAOrdinal = 14;

struct LauncherState {
  platform::Modules::Handle module = nullptr;
  platform::Modules::Proc entry = nullptr;
  bool failed = false;
};

LauncherState& State() {
  static LauncherState state;
  return state;
}

platform::Modules::Handle LoadControl(platform::Services& os) {
  platform::Modules::Handle module = nullptr;
  if (os.registry) {
    if (auto key = os.registry->Open(platform::Hive::ClassesRoot, kControlServerKey,
                                     platform::Access::Read)) {
      if (auto path = key->QueryString("", 260)) module = os.modules->Load(*path);
    }
  }
  if (!module) module = os.modules->Load("hhctrl.ocx");
  return module;
}

}  // namespace

std::uintptr_t HtmlHelpLauncher(std::uintptr_t hwndCaller, const char* file, unsigned command,
                                std::uintptr_t data) {
  auto& os = platform::Os();
  LauncherState& state = State();
  if (!state.module && !state.failed) {
    if (os.modules) state.module = LoadControl(os);
    if (!state.module) {
      state.failed = true;
      return 0;
    }
  }
  if (!state.module) return 0;
  if (!state.entry) {
    state.entry = os.modules ? os.modules->ProcByOrdinal(state.module, kHtmlHelpAOrdinal) : nullptr;
    if (!state.entry) {
      state.failed = true;
      return 0;
    }
  }
  return reinterpret_cast<HtmlHelpEntry>(state.entry)(hwndCaller, file, command, data);
}

void OpenHelpTopic(const std::string& topic) {
  // Wide enough for the cookie whichever width the control writes.
  std::uintptr_t cookie = 0;
  HtmlHelpLauncher(0, nullptr, HH_INITIALIZE, reinterpret_cast<std::uintptr_t>(&cookie));
  const std::string target = g_strHelpFile + topic;
  HtmlHelpLauncher(0, target.c_str(), HH_DISPLAY_TOPIC, 0);
}

namespace help_launcher {
bool LoadFailed() { return State().failed; }
void Reset() { State() = LauncherState{}; }
}  // namespace help_launcher
