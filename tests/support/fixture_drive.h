// A machine for one test: natively a fresh folder stands for the drives and
// the registry starts empty; under Wine the real c:\ and registry of the
// test prefix serve (ctest runs those tests one at a time).
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace okapi_test {

class TestMachine {
 public:
  TestMachine();
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  // The host folder standing for the drives; empty under Wine.
  const std::string& DriveRoot() const { return driveRoot_; }

 private:
  std::string driveRoot_;
  std::unique_ptr<platform::Services> previous_;
};

// Removes a directory with everything below it (read-only files too)
// through the file service in use. True when nothing is left.
bool RemoveTree(const std::string& path);

}  // namespace okapi_test
