// The tests' entry point: okapi.exe's framework has no default backend.
#include <gtest/gtest.h>

#include "tests/support/answering_backend.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  okapi_test::InstallAnsweringBackend();
  return RUN_ALL_TESTS();
}
