// Native tests open no window: message boxes are answered from a queue the
// test fills, and every box is recorded. The
// pages' rules are tested in their models and their dialogs under Wine, so a
// sheet or dialog opened here is a test failure.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "framework/backend.h"

namespace okapi_test {

struct Told {
  std::string caption, text;
};

class AnsweringBackend final : public fw::Backend {
 public:
  // Used in the order queued; with none queued a box gets Yes or OK.
  std::deque<int> boxAnswers;
  std::vector<Told> told;

  int RunSheet(CPropertySheet&) override { return Opened("the wizard"), IDCANCEL; }
  int RunDialog(CDialog&) override { return Opened("a dialog"), IDCANCEL; }
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  std::optional<std::string> OpenFile(const CFileDialog::Options&) override {
    return Opened("a file dialog"), std::nullopt;
  }
  std::optional<COLORREF> PickColor(const CColorDialog::Options&, COLORREF*) override {
    return Opened("the colour dialog"), std::nullopt;
  }
  LogFont MessageFont() override { return {}; }
  int LogPixelsY() override { return 96; }
  std::uintptr_t MakeFont(const LogFont&) override { return 0; }
  void ReleaseFont(std::uintptr_t) override {}
  std::string LoadResourceString(unsigned) override { return {}; }

 private:
  static void Opened(const char* what);  // a test failure
};

// Installs the tests' backend, emptied as each test starts.
void InstallAnsweringBackend();
AnsweringBackend& Answering();

}  // namespace okapi_test
