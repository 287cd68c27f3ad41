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
  bool acceptActivation = true;
  bool leave = true;
  bool finish = true;
  bool cancel = true;
  unsigned buttonsOnActivate = 0;

  bool OnInitDialog() override {
    Add("init");
    return CPropertyPage::OnInitDialog();
  }
  bool OnSetActive() override {
    Add("active");
    if (buttonsOnActivate) SetWizardButtons(buttonsOnActivate);
    return acceptActivation;
  }
  bool OnKillActive() override {
    Add("kill");
    return leave;
  }
  int OnWizardNext() override {
    Add("next");
    return next;
  }
  int OnWizardBack() override {
    Add("back");
    return back;
  }
  bool OnWizardFinish() override {
    Add("finish");
    return finish;
  }
  bool OnQueryCancel() override {
    Add("querycancel");
    return cancel;
  }
  void OnCancel() override { Add("reset"); }

 private:
  void Add(const char* what) {
    m_log.push_back(std::string(what) + " " + std::to_string(GetTemplateId()));
  }
  Log& m_log;
};

}  // namespace okapi_test
