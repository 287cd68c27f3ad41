#include "tests/support/answering_backend.h"

#include <gtest/gtest.h>

namespace okapi_test {

namespace {

AnsweringBackend* g_backend = nullptr;

class EmptiedAtEachTest : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { *g_backend = AnsweringBackend(); }
};

}  // namespace

void AnsweringBackend::Opened(const char* what) {
  ADD_FAILURE() << "a native test opened " << what;
}

int AnsweringBackend::ShowMessageBox(const std::string& text, const std::string& caption,
                                     unsigned flags) {
  told.push_back({caption, text});
  const unsigned buttons = flags & 0xFu;
  if (boxAnswers.empty()) return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
  const int answer = boxAnswers.front();
  boxAnswers.pop_front();
  return answer;
}

void InstallAnsweringBackend() {
  auto backend = std::make_unique<AnsweringBackend>();
  g_backend = backend.get();
  fw::ReplaceBackend(std::move(backend));
  testing::UnitTest::GetInstance()->listeners().Append(new EmptiedAtEachTest);
}

AnsweringBackend& Answering() { return *g_backend; }

}  // namespace okapi_test
