// A machine for one test: natively a fresh folder stands for the drives and
// the registry starts empty; under Wine the real c:\ and registry of the
// test prefix serve (ctest runs those tests one at a time).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "demo/installation.h"
#include "platform/platform.h"

namespace okapi_test {

class TestMachine {
 public:
  TestMachine();
  ~TestMachine();

 private:
  std::string driveRoot_;  // natively: the host folder standing for the drives
  std::unique_ptr<platform::Services> previous_;
};

// A file's bytes through the process's file service, or "<missing>".
inline std::string FileText(const std::string& path) {
  return platform::Os().files->ReadFile(path).value_or("<missing>");
}

// Base of tests that need the help application installed: a fresh machine
// with c:\zantools and the program's registry keys removed.
class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto reset = demo::ResetMachine();
    ASSERT_TRUE(reset) << reset.reason;
  }
  TestMachine machine;
};

}  // namespace okapi_test
