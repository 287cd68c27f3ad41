// A page whose handlers log themselves ("next 20") and answer as configured,
// so a test compares the order of events of a whole run with a list.
#pragma once

#include <string>
#include <vector>

#include "framework/framework.h"

namespace okapi_test {

using Log = std::vector<std::string>;

class LoggingPage : public CPropertyPage {
 public:
  LoggingPage(unsigned templateId, Log& log) : CPropertyPage(templateId), m_log(log) {}

  int next = kWizardInOrder;
  int back = kWizardInOrder;
  bool leave = true;
  bool finish = true;
  bool cancel = true;
  unsigned buttonsOnActivate = 0;

  bool OnInitDialog() override {
    Logged("init");
    return CPropertyPage::OnInitDialog();
  }
  bool OnSetActive() override {
    Logged("active");
    if (buttonsOnActivate) SetWizardButtons(buttonsOnActivate);
    return true;
  }
  bool OnKillActive() override { return Logged("kill", leave); }
  int OnWizardNext() override { return Logged("next", next); }
  int OnWizardBack() override { return Logged("back", back); }
  bool OnWizardFinish() override { return Logged("finish", finish); }
  bool OnQueryCancel() override { return Logged("querycancel", cancel); }
  void OnCancel() override { Logged("reset"); }

 private:
  template <typename Answer = bool>
  Answer Logged(const char* what, Answer answer = {}) {
    m_log.push_back(std::string(what) + " " + std::to_string(GetTemplateId()));
    return answer;
  }
  Log& m_log;
};

}  // namespace okapi_test
