// The tests' entry point: dialogs run on the in-memory backend unless a test
// chooses another, since okapi.exe's framework has no default.
#include <gtest/gtest.h>

#include "framework/headless/headless.h"

int main(int argc, char** argv) {
  fw::ReplaceBackend(std::make_unique<fw::headless::HeadlessBackend>());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
