// Opens topics of the program's compiled help file through the HTML Help
// control, loaded at the first request.
#pragma once

#include <cstdint>
#include <string>

#ifndef HH_DISPLAY_TOPIC
#define HH_DISPLAY_TOPIC 0x0u
#endif
#ifndef HH_INITIALIZE
#define HH_INITIALIZE 0x1Cu
#endif

// HtmlHelpA's signature and result (the help window, 0 when the control
// cannot be loaded). Once loading the control has failed it is not tried again.
std::uintptr_t HtmlHelpLauncher(std::uintptr_t hwndCaller, const char* file, unsigned command,
                                std::uintptr_t data);

// topic: "::/W02.htm", appended to the program's help file.
void OpenHelpTopic(const std::string& topic);

namespace help_launcher {
// For tests: whether loading failed, and forgetting the loaded control.
bool LoadFailed();
void Reset();
}  // namespace help_launcher
