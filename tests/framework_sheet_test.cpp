// The wizard sheet through the headless backend: order of events, routing by
// template id, posted wizard buttons, closing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/headless/headless.h"
#include "tests/support/logging_page.h"

namespace {

using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;
using okapi_test::Log;
using okapi_test::LoggingPage;

// Four pages with the template ids 10, 20, 30, 40.
class SheetTest : public ::testing::Test {
 protected:
  SheetTest() : sheet("Wizard") {
    for (unsigned id : {10u, 20u, 30u, 40u}) {
      pages.push_back(std::make_unique<LoggingPage>(id, log));
      sheet.AddPage(pages.back().get());
    }
  }
  LoggingPage& Page(unsigned templateId) { return *pages[templateId / 10 - 1]; }

  ScopedHeadless backend;
  Log log;
  std::vector<std::unique_ptr<LoggingPage>> pages;
  CPropertySheet sheet;
};

// As on the real sheet, posted buttons are delivered once the handler has
// returned, or earlier when a message box runs a message loop.
TEST_F(SheetTest, PostedButtonsChangeAfterTheHandlerOrAMessageBox) {
  class Poster : public CPropertyPage {
   public:
    using CPropertyPage::CPropertyPage;
    SheetDriver* run = nullptr;
    unsigned seenInHandler = 0, seenAfterBox = 0;
    int OnWizardNext() override {
      SetWizardButtons(PSWIZB_FINISH);
      seenInHandler = run->Buttons();
      SetWizardButtons(PSWIZB_BACK);
      MessageBox("Wait");
      seenAfterBox = run->Buttons();
      SetWizardButtons(PSWIZB_FINISH);
      return kWizardStay;
    }
  };
  Poster first(10);
  CPropertySheet one("Wizard");
  one.AddPage(&first);
  SheetDriver run = backend->Open(one);
  first.run = &run;
  run.PressNext();
  EXPECT_EQ(first.seenInHandler, PSWIZB_BACK | PSWIZB_NEXT) << "as a wizard starts";
  EXPECT_EQ(first.seenAfterBox, PSWIZB_BACK);
  EXPECT_EQ(run.Buttons(), PSWIZB_FINISH);
}

TEST_F(SheetTest, FinishNeedsItsButtonAndThePagesConsent) {
  Page(10).buttonsOnActivate = PSWIZB_NEXT;
  Page(20).buttonsOnActivate = PSWIZB_FINISH;
  Page(20).finish = false;
  SheetDriver run = backend->Open(sheet);
  log.clear();
  EXPECT_FALSE(run.PressBack());
  EXPECT_FALSE(run.PressFinish());
  EXPECT_TRUE(log.empty()) << "a disabled button does nothing";
  run.PressNext();
  ASSERT_TRUE(run.PressFinish());
  EXPECT_TRUE(run.IsOpen());
  Page(20).finish = true;
  log.clear();
  ASSERT_TRUE(run.PressFinish());
  EXPECT_FALSE(run.IsOpen());
  EXPECT_EQ(run.Result(), IDOK);
  EXPECT_EQ(log, (Log{"finish 20"})) << "Finish sends no kill-active";
  EXPECT_FALSE(Page(20).IsCreated()) << "pages are destroyed with the sheet";
}

// The scenario the GUI test runs on the real property sheet, step for step:
// both backends must log the same events.
TEST_F(SheetTest, SameEventsAsTheRealSheetInTheGuiScenario) {
  SheetDriver run = backend->Open(sheet);
  Page(10).next = 30;
  run.PressNext();
  Page(30).back = kWizardStay;
  run.PressBack();
  Page(30).back = kWizardInOrder;
  run.PressBack();
  Page(20).next = 999;
  run.PressNext();
  Page(20).next = kWizardInOrder;
  Page(20).leave = false;
  run.PressNext();
  Page(20).leave = true;
  run.PressNext();
  run.PressNext();
  Page(40).back = 10;
  run.PressBack();
  run.PressCancel();
  const Log expected = {"init 10",   "active 10", "next 10",  "kill 10",   "init 30",
                        "active 30", "back 30",   "back 30",  "kill 30",   "init 20",
                        "active 20", "next 20",   "next 20",  "kill 20",   "next 20",
                        "kill 20",   "active 30", "next 30",  "kill 30",   "init 40",
                        "active 40", "back 40",   "kill 40",  "active 10", "querycancel 10",
                        "reset 10",  "reset 20",  "reset 30", "reset 40"};
  EXPECT_EQ(log, expected);
}

}  // namespace
