// Lays the bundled demo installation of the help application on this
// machine (meant for a private Wine prefix): files under c:\zantools\zanhelp,
// the registry keys, an executable of version 3.5; with an argument, that
// compiled help file where the wizard's Help buttons open it.
#include <cstdio>

#include "demo/installation.h"

int main(int argc, char** argv) {
  demo::Installation demo;
  demo.registryInstallDir = demo::kFixedInstallDir;
  if (argc > 1) demo.helpFile = argv[1];
  platform::Status status = demo::ResetMachine();
  if (status) status = demo::LayInstallation(demo);
  if (!status) {
    std::fprintf(stderr, "lay-demo: %s\n", status.reason.c_str());
    return 1;
  }
  std::printf("Demo installation laid in %s\n", demo::kFixedInstallDir);
  return 0;
}
