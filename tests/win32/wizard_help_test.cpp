// The help launcher on the system's own HTML Help control under Wine.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "wizard/help_launcher.h"

namespace {

TEST(HelpLauncherOnTheSystem, LoadsTheHtmlHelpControl) {
  help_launcher::Reset();
  std::uintptr_t cookie = 0;
  // Initialising shows nothing; a topic would open a window.
  HtmlHelpLauncher(0, nullptr, HH_INITIALIZE, reinterpret_cast<std::uintptr_t>(&cookie));
  EXPECT_FALSE(help_launcher::LoadFailed());
  help_launcher::Reset();
}

}  // namespace
