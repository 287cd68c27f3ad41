// Lays the bundled demo installation of the help application on this
// machine (meant for a private Wine prefix): files under c:\zantools\zanhelp,
// the registry keys, an executable of version 3.5.
#include <cstdio>

#include "tests/support/fixture.h"

int main() {
  okapi_test::Installation demo;
  demo.registryInstallDir = okapi_test::kFixedInstallDir;
  platform::Status status = okapi_test::ResetMachine();
  if (status) status = okapi_test::LayInstallation(demo);
  if (!status) {
    std::fprintf(stderr, "lay-demo: %s\n", status.reason.c_str());
    return 1;
  }
  std::printf("Demo installation laid in %s\n", okapi_test::kFixedInstallDir);
  return 0;
}
