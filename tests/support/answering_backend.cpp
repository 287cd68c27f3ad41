#include "tests/support/answering_backend.h"

#include <gtest/gtest.h>

namespace okapi_test {

namespace {

AnsweringBackend* g_backend = nullptr;

template <class T>
T Take(std::deque<T>& queue, T otherwise) {
  if (queue.empty()) return otherwise;
  T answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

class EmptiedAtEachTest : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { *g_backend = AnsweringBackend(); }
};

}  // namespace

int AnsweringBackend::RunSheet(CPropertySheet&) {
  ADD_FAILURE() << "a native test opened the wizard";
  return IDCANCEL;
}

int AnsweringBackend::RunDialog(CDialog&) {
  ADD_FAILURE() << "a native test opened a dialog";
  return IDCANCEL;
}

int AnsweringBackend::ShowMessageBox(const std::string& text, const std::string& caption,
                                     unsigned flags) {
  told.push_back({caption, text});
  const unsigned buttons = flags & 0xFu;
  return Take(boxAnswers, buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK);
}

std::optional<std::string> AnsweringBackend::OpenFile(const CFileDialog::Options&) {
  return Take(fileAnswers, std::optional<std::string>());
}

std::optional<COLORREF> AnsweringBackend::PickColor(const CColorDialog::Options&, COLORREF*) {
  return Take(colorAnswers, std::optional<COLORREF>());
}

void InstallAnsweringBackend() {
  auto backend = std::make_unique<AnsweringBackend>();
  g_backend = backend.get();
  fw::ReplaceBackend(std::move(backend));
  testing::UnitTest::GetInstance()->listeners().Append(new EmptiedAtEachTest);
}

AnsweringBackend& Answering() { return *g_backend; }

}  // namespace okapi_test
