// Lays the bundled demo installation of the help application on this
// machine (meant for a private Wine prefix): files under c:\zantools\zanhelp,
// the registry keys, an executable of version 3.5.
#include <cstdio>

#include "demo/installation.h"

int main() {
  demo::Installation demo;
  demo.registryInstallDir = demo::kFixedInstallDir;
  platform::Status status = demo::ResetMachine();
  if (status) status = demo::LayInstallation(demo);
  if (!status) {
    std::fprintf(stderr, "lay-demo: %s\n", status.reason.c_str());
    return 1;
  }
  std::printf("Demo installation laid in %s\n", demo::kFixedInstallDir);
  return 0;
}
