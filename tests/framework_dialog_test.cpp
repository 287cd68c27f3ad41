// Dialogs, data exchange, controls and notifications through the headless
// backend.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.h"
#include "framework/headless/headless.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::Kind;
using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

enum : int { kName = 1001, kRed = 1003, kGreen, kBlue, kShow, kLetter };
enum : int { kList = 1008, kHelp, kPath, kLink, kLabel };

class FormPage : public CPropertyPage {
 public:
  FormPage() : CPropertyPage(50) {}
  std::string name = "first";
  std::uint8_t red = 1, green = 2, blue = 3;
  bool show = true;
  std::string letter = "F";
  CListBox list;
  int clicks = 0, changes = 0, otherCommands = 0;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kList, list);
    DDX_Text(pDX, kName, name);
    DDX_Text(pDX, kRed, red);
    DDV_MinMaxByte(pDX, red, 0, 255);
    DDX_Text(pDX, kGreen, green);
    DDV_MinMaxByte(pDX, green, 0, 200);
    DDX_Text(pDX, kBlue, blue);
    DDX_Check(pDX, kShow, show);
    DDX_Text(pDX, kLetter, letter);
    DDV_MaxChars(pDX, letter, 1);
  }
  bool OnCommand(int id, unsigned code) override {
    static const CommandEntry<FormPage> kCommands[] = {
        {kHelp, BN_CLICKED, &FormPage::OnHelp},
        {kName, EN_CHANGE, &FormPage::OnNameChanged},
    };
    if (DispatchCommand(*this, kCommands, id, code)) return true;
    ++otherCommands;
    return CPropertyPage::OnCommand(id, code);
  }
  void OnHelp() { ++clicks; }
  void OnNameChanged() { ++changes; }
};

fw::headless::DialogSpec FormSpec() {
  return {50,
          "Form",
          {{kName, Kind::Edit},
           {kRed, Kind::Edit},
           {kGreen, Kind::Edit},
           {kBlue, Kind::Edit},
           {kShow, Kind::CheckBox},
           {kLetter, Kind::Edit},
           {kList, Kind::ListBox, "", true},
           {kHelp, Kind::PushButton, "&Help"},
           {kPath, Kind::Edit, "", false, true, true, {}, /*readOnly=*/true},
           {kLink, Kind::Static, "Link", false, true, true, {}, false, /*notify=*/true},
           {kLabel, Kind::Static, "Label"}}};
}

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() : sheet("Wizard") {
    backend->Define(FormSpec());
    sheet.AddPage(&page);
    run.emplace(backend->Open(sheet));
  }
  DialogDriver Form() { return run->Page(); }

  ScopedHeadless backend;
  FormPage page;
  CPropertySheet sheet;
  std::optional<SheetDriver> run;
};

TEST_F(DialogTest, ExchangeFillsTheControlsAndTakesThemBack) {
  DialogDriver form = Form();
  EXPECT_EQ(form.Text(kName), "first");
  EXPECT_EQ(form.Text(kRed), "1");
  EXPECT_EQ(form.Check(kShow), 1);
  EXPECT_EQ(form.Get(kLetter).limit, 1) << "DDV_MaxChars limits the edit when loading";
  EXPECT_TRUE(page.list.IsBound());
  form.Type(kName, "second");
  form.Type(kBlue, "16");
  form.Click(kShow);
  form.Type(kLetter, "XY");
  ASSERT_TRUE(page.UpdateData(true));
  EXPECT_EQ(page.name, "second");
  EXPECT_EQ(page.blue, 16);
  EXPECT_FALSE(page.show);
  EXPECT_EQ(page.letter, "X") << "typing is cut to the limit";
  EXPECT_TRUE(backend->Messages().empty());
  EXPECT_TRUE(backend->Faults().empty());
}

struct EntryCase {
  int control;
  const char* text;
  const char* refusal;  // null: accepted
  const char* saved;    // as the box shows it when loaded again
};

TEST_F(DialogTest, BoxesTakeOnlyWhatTheirExchangeAllows) {
  const char* const kByte = "Please enter an integer between 0 and 255.";
  const EntryCase cases[] = {{kRed, "0", nullptr, "0"},
                             {kRed, " 255 ", nullptr, "255"},
                             {kRed, "007", nullptr, "7"},
                             {kRed, "256", kByte, "42"},
                             {kRed, "-1", kByte, "42"},
                             {kRed, "+3", kByte, "42"},
                             {kRed, "", kByte, "42"},
                             {kRed, "12a", kByte, "42"},
                             {kRed, "99999999999", kByte, "42"},
                             // A program can exceed the limit that typing keeps.
                             {kLetter, "AB", "Please enter no more than 1 characters.", "AB"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("control ") + std::to_string(c.control) + " text \"" + c.text + "\"");
    page.red = 42;
    page.letter = "F";
    ASSERT_TRUE(page.UpdateData(false));
    page.GetDlgItem(c.control)->SetWindowText(c.text);
    const std::size_t shown = backend->Messages().size();
    EXPECT_EQ(page.UpdateData(true), c.refusal == nullptr);
    ASSERT_TRUE(page.UpdateData(false));
    EXPECT_EQ(Form().Text(c.control), c.saved);
    if (c.refusal) {
      ASSERT_EQ(backend->Messages().size(), shown + 1);
      EXPECT_EQ(backend->Messages().back().text, c.refusal);
    }
  }
}

TEST_F(DialogTest, FailedValidationIsReportedAndStopsTheExchange) {
  DialogDriver form = Form();
  form.Type(kName, "changed");
  form.Type(kGreen, "201");  // within a byte, above the limit of 200
  form.Type(kBlue, "99");
  EXPECT_FALSE(page.UpdateData(true));
  ASSERT_EQ(backend->Messages().size(), 1u);
  const auto& shown = backend->Messages()[0];
  EXPECT_EQ(shown.text, "Please enter an integer between 0 and 200.");
  EXPECT_EQ(shown.caption, "OKAPI");
  EXPECT_EQ(shown.flags, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(shown.ownerTemplateId, 50u);
  EXPECT_EQ(page.name, "changed") << "controls before the failing one are taken over";
  EXPECT_EQ(page.green, 201) << "the value was converted before its range was checked";
  EXPECT_EQ(page.blue, 3) << "controls after the failing one are left alone";
  EXPECT_TRUE(form.Get(kGreen).focused);
}

// The notification table and what the driver refuses, as the real controls do.
TEST_F(DialogTest, CommandsReachTheirHandlersOnlyFromUsableControls) {
  const int changesAfterInit = page.changes;
  EXPECT_GT(changesAfterInit, 0) << "loading an edit reports a change, as Windows does";
  EXPECT_TRUE(Form().Click(kHelp));
  EXPECT_EQ(page.clicks, 1);
  EXPECT_TRUE(Form().Type(kName, "x"));
  EXPECT_EQ(page.changes, changesAfterInit + 1);
  page.SetDlgItemText(kPath, "c:\\zan\\sunset.jpg");
  const int others = page.otherCommands;
  EXPECT_TRUE(Form().Click(kLink)) << "a static with SS_NOTIFY";
  EXPECT_EQ(page.otherCommands, others + 1) << "ids the table lacks reach the fallback";
  EXPECT_FALSE(Form().Type(kPath, "typed")) << "ES_READONLY";
  EXPECT_EQ(Form().Text(kPath), "c:\\zan\\sunset.jpg");
  EXPECT_FALSE(Form().Click(kLabel)) << "a static without SS_NOTIFY";
  page.GetDlgItem(kHelp)->EnableWindow(false);
  EXPECT_FALSE(Form().Click(kHelp));
  page.GetDlgItem(kHelp)->EnableWindow(true);
  page.GetDlgItem(kHelp)->ShowWindow(SW_HIDE);
  EXPECT_FALSE(Form().Click(kHelp));
  EXPECT_EQ(page.clicks, 1);
  EXPECT_EQ(page.otherCommands, others + 1);
  EXPECT_EQ(page.GetDlgItem(4242), nullptr);
  page.SetDlgItemText(4242, "lost");
  ASSERT_EQ(backend->Faults().size(), 1u);
  EXPECT_EQ(backend->Faults()[0], "dialog 50 has no control 4242");
}

}  // namespace
