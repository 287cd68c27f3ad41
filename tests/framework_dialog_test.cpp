// Dialogs, data exchange, controls, notifications and the common dialogs
// through the headless backend.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.h"
#include "framework/headless/headless.h"
#include "platform/platform.h"
#include "tests/support/memory_files.h"

namespace {

using fw::headless::DialogDriver;
using fw::headless::Kind;
using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

enum : int {
  kName = 1001,
  kCount = 1002,
  kRed = 1003,
  kGreen = 1004,
  kBlue = 1005,
  kShow = 1006,
  kLetter = 1007,
  kList = 1008,
  kHelp = 1009
};

class FormPage : public CPropertyPage {
 public:
  FormPage() : CPropertyPage(50) {}
  std::string name = "first";
  int count = 7;
  std::uint8_t red = 1, green = 2, blue = 3;
  bool show = true;
  std::string letter = "F";
  CListBox list;
  int clicks = 0;
  int changes = 0;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kList, list);
    DDX_Text(pDX, kName, name);
    DDX_Text(pDX, kCount, count);
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
    return DispatchCommand(*this, kCommands, id, code) || CPropertyPage::OnCommand(id, code);
  }
  void OnHelp() { ++clicks; }
  void OnNameChanged() { ++changes; }
};

fw::headless::DialogSpec FormSpec() {
  return {50,
          "Form",
          {{kName, Kind::Edit},
           {kCount, Kind::Edit},
           {kRed, Kind::Edit},
           {kGreen, Kind::Edit},
           {kBlue, Kind::Edit},
           {kShow, Kind::CheckBox},
           {kLetter, Kind::Edit},
           {kList, Kind::ListBox, "", true},
           {kHelp, Kind::PushButton, "&Help"}}};
}

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() : sheet("Wizard") {
    backend->Define(FormSpec());
    sheet.AddPage(&page);
  }
  DialogDriver Form() { return run->Page(); }

  ScopedHeadless backend;
  FormPage page;
  CPropertySheet sheet;
  std::optional<SheetDriver> run;
};

TEST_F(DialogTest, InitialisationPutsMembersIntoControls) {
  run = backend->Open(sheet);
  DialogDriver form = Form();
  EXPECT_EQ(form.Text(kName), "first");
  EXPECT_EQ(form.Text(kCount), "7");
  EXPECT_EQ(form.Text(kRed), "1");
  EXPECT_EQ(form.Check(kShow), 1);
  EXPECT_EQ(form.Get(kLetter).limit, 1) << "DDV_MaxChars limits the edit when loading";
  EXPECT_TRUE(page.list.IsBound());
  EXPECT_TRUE(backend->Faults().empty());
}

TEST_F(DialogTest, SavingTakesEveryControlOver) {
  run = backend->Open(sheet);
  DialogDriver form = Form();
  form.Type(kName, "second");
  form.Type(kCount, " -12 ");
  form.Type(kRed, "255");
  form.Type(kGreen, "0");
  form.Type(kBlue, "16");
  form.Click(kShow);
  form.Type(kLetter, "XY");
  ASSERT_TRUE(page.UpdateData(true));
  EXPECT_EQ(page.name, "second");
  EXPECT_EQ(page.count, -12);
  EXPECT_EQ(page.red, 255);
  EXPECT_EQ(page.green, 0);
  EXPECT_EQ(page.blue, 16);
  EXPECT_FALSE(page.show);
  EXPECT_EQ(page.letter, "X") << "typing is cut to the limit";
  EXPECT_TRUE(backend->Messages().empty());
}

struct ByteCase {
  const char* text;
  bool accepted;
  int value;
};

TEST_F(DialogTest, ByteBoxesAcceptOnlyWholeNumbersUpTo255) {
  const ByteCase cases[] = {{"0", true, 0},           {" 255 ", true, 255}, {"007", true, 7},
                            {"256", false, 0},        {"-1", false, 0},     {"+3", false, 0},
                            {"", false, 0},           {"12a", false, 0},    {"1 2", false, 0},
                            {"99999999999", false, 0}};
  run = backend->Open(sheet);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    page.red = 42;
    Form().Type(kRed, c.text);
    EXPECT_EQ(page.UpdateData(true), c.accepted);
    EXPECT_EQ(page.red, c.accepted ? c.value : 42);
  }
}

TEST_F(DialogTest, FailedValidationIsReportedAndStopsTheExchange) {
  run = backend->Open(sheet);
  DialogDriver form = Form();
  form.Type(kName, "changed");
  form.Type(kRed, "9");
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
  EXPECT_EQ(page.red, 9);
  EXPECT_EQ(page.green, 201) << "the value was converted before its range was checked";
  EXPECT_EQ(page.blue, 3) << "controls after the failing one are left alone";
  EXPECT_TRUE(form.Get(kGreen).focused);
}

TEST_F(DialogTest, TooLongTextIsRefused) {
  run = backend->Open(sheet);
  page.GetDlgItem(kLetter)->SetWindowText("AB");  // a program can exceed the limit
  EXPECT_FALSE(page.UpdateData(true));
  ASSERT_EQ(backend->Messages().size(), 1u);
  EXPECT_EQ(backend->Messages()[0].text, "Please enter no more than 1 characters.");
}

TEST_F(DialogTest, IntegerBoxRejectsText) {
  run = backend->Open(sheet);
  Form().Type(kCount, "seven");
  EXPECT_FALSE(page.UpdateData(true));
  EXPECT_EQ(page.count, 7);
  EXPECT_EQ(backend->Messages().at(0).text, "Please enter an integer.");
}

TEST_F(DialogTest, NotificationTableDispatchesByIdAndCode) {
  run = backend->Open(sheet);
  const int changesAfterInit = page.changes;
  EXPECT_GT(changesAfterInit, 0) << "loading an edit reports a change, as Windows does";
  EXPECT_TRUE(Form().Click(kHelp));
  EXPECT_EQ(page.clicks, 1);
  EXPECT_TRUE(Form().Type(kName, "x"));
  EXPECT_EQ(page.changes, changesAfterInit + 1);
  page.GetDlgItem(kHelp)->EnableWindow(false);
  EXPECT_FALSE(Form().Click(kHelp));
  page.GetDlgItem(kHelp)->EnableWindow(true);
  page.GetDlgItem(kHelp)->ShowWindow(SW_HIDE);
  EXPECT_FALSE(Form().Click(kHelp));
  EXPECT_EQ(page.clicks, 1);
}

TEST_F(DialogTest, DefinedTemplateKnowsItsControls) {
  run = backend->Open(sheet);
  EXPECT_EQ(page.GetDlgItem(4242), nullptr);
  EXPECT_NE(page.GetDlgItem(kName), nullptr);
  page.SetDlgItemText(4242, "lost");
  ASSERT_EQ(backend->Faults().size(), 1u);
  EXPECT_EQ(backend->Faults()[0], "dialog 50 has no control 4242");
}

TEST_F(DialogTest, SortedListKeepsOrderAndSelectionFollowsItsItem) {
  run = backend->Open(sheet);
  CListBox& list = page.list;
  for (const char* item : {"delta.jpg", "Alpha.jpg", "charlie.jpg", "bravo.jpg"})
    list.AddString(item);
  EXPECT_EQ(Form().Get(kList).items,
            (std::vector<std::string>{"Alpha.jpg", "bravo.jpg", "charlie.jpg", "delta.jpg"}));
  ASSERT_TRUE(Form().Select(kList, 2));
  EXPECT_EQ(list.GetCurSel(), 2);
  list.DeleteString(0);
  EXPECT_EQ(list.GetCurSel(), 1) << "the selected item moved up";
  std::string text;
  EXPECT_EQ(list.GetText(list.GetCurSel(), text), 11);
  EXPECT_EQ(text, "charlie.jpg");
  list.DeleteString(1);
  EXPECT_EQ(list.GetCurSel(), LB_ERR) << "deleting the selected item leaves no selection";
  EXPECT_EQ(list.FindStringExact(-1, "DELTA.JPG"), 1);
  EXPECT_EQ(list.FindStringExact(-1, "delta"), LB_ERR);
  EXPECT_EQ(list.FindString(1, "b"), 0) << "the search wraps around";
  EXPECT_EQ(list.SetCurSel(5), LB_ERR);
  EXPECT_EQ(list.GetText(5, text), LB_ERR);
}

TEST(HeadlessMessages, AnswersAreUsedInOrderThenTheFirstButton) {
  ScopedHeadless backend;
  backend->AnswerMessageBox(IDNO);
  EXPECT_EQ(AfxMessageBox("Replace?", MB_YESNO), IDNO);
  EXPECT_EQ(AfxMessageBox("Again?", MB_YESNO), IDYES);
  EXPECT_EQ(AfxMessageBox("Done"), IDOK);
  backend->AnswerMessageBox(IDCANCEL);
  EXPECT_EQ(backend->UnusedAnswers(), 1);
  ASSERT_EQ(backend->Messages().size(), 3u);
  EXPECT_EQ(backend->Messages()[0].caption, "OKAPI");
  EXPECT_EQ(backend->Messages()[2].text, "Done");
  EXPECT_EQ(backend->Messages()[2].ownerTemplateId, 0u);
}

TEST(HeadlessFileDialog, RecordsTheRequestAndGivesTheChosenPath) {
  ScopedHeadless backend;
  backend->AnswerFileDialog("c:\\zan\\images\\small\\sunset.large.jpg");
  backend->AnswerFileDialog(std::nullopt);
  CFileDialog dialog(true, "jpg", "*.jpg", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "JPEG Image (*.jpg)|*.jpg|");
  dialog.m_ofn.initialDir = "c:\\zan\\IMAGES\\SMALL";
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetPathName(), "c:\\zan\\images\\small\\sunset.large.jpg");
  EXPECT_EQ(dialog.GetFileName(), "sunset.large.jpg");
  EXPECT_EQ(dialog.GetFileExt(), "jpg");
  EXPECT_EQ(dialog.GetFileTitle(), "sunset.large");
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.GetPathName(), "c:\\zan\\images\\small\\sunset.large.jpg");
  ASSERT_EQ(backend->FileDialogs().size(), 2u);
  const auto& asked = backend->FileDialogs()[0];
  EXPECT_EQ(asked.filter, "JPEG Image (*.jpg)|*.jpg|");
  EXPECT_EQ(asked.defExt, "jpg");
  EXPECT_EQ(asked.fileName, "*.jpg");
  EXPECT_EQ(asked.flags, 0x1004u);
  EXPECT_EQ(asked.initialDir, "c:\\zan\\IMAGES\\SMALL");
}

TEST(HeadlessColorDialog, GivesTheChosenColourOrCancels) {
  ScopedHeadless backend;
  backend->AnswerColorDialog(RGB(255, 0, 16));
  CColorDialog dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(GetRValue(dialog.GetColor()), 255);
  EXPECT_EQ(GetGValue(dialog.GetColor()), 0);
  EXPECT_EQ(GetBValue(dialog.GetColor()), 16);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "no answer queued";
  ASSERT_EQ(backend->ColorDialogs().size(), 2u);
  EXPECT_EQ(backend->ColorDialogs()[0].initial, 0u);
}

// A page that puts an About item into the system menu and shows a dialog for it.
class MenuPage : public CPropertyPage {
 public:
  MenuPage() : CPropertyPage(60) {}
  int aboutResult = 0;
  bool OnInitDialog() override {
    CPropertyPage::OnInitDialog();
    if (CMenu* menu = GetSystemMenu(false)) {
      menu->AppendMenu(MF_SEPARATOR);
      menu->AppendMenu(MF_STRING, 0x10, LoadString(101));
    }
    return true;
  }
  bool OnSysCommand(unsigned id) override {
    if ((id & 0xFFF0) != 0x10) return false;
    CDialog about(100);
    aboutResult = about.DoModal();
    return true;
  }
};

TEST(HeadlessSystemMenu, ItemAddedByAPageRunsItsHandlerFromAnyPage) {
  ScopedHeadless backend;
  backend->SetString(101, "&About OKAPI...");
  MenuPage first;
  CPropertyPage second(61);
  CPropertySheet sheet("Wizard");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  SheetDriver run = backend->Open(sheet);
  EXPECT_EQ(run.SystemMenuItems(),
            (std::vector<std::pair<unsigned, std::string>>{{0, ""}, {0x10, "&About OKAPI..."}}));
  run.PressNext();
  bool scriptRan = false;
  backend->OnDialog(100, [&](DialogDriver& about) {
    scriptRan = true;
    about.Click(IDOK);
  });
  EXPECT_TRUE(run.ChooseSystemCommand(0x10));
  EXPECT_TRUE(scriptRan);
  EXPECT_EQ(first.aboutResult, IDOK);
  EXPECT_EQ(backend->DialogsShown(), (std::vector<unsigned>{100}));
  EXPECT_FALSE(run.ChooseSystemCommand(0x20));
}

TEST(HeadlessModalDialog, ScriptCanCancel) {
  ScopedHeadless backend;
  backend->OnDialog(100, [&](DialogDriver& about) { backend->EndDialog(about, IDCANCEL); });
  CDialog about(100);
  EXPECT_EQ(about.DoModal(), IDCANCEL);
  EXPECT_FALSE(about.IsCreated());
}

}  // namespace

namespace {

TEST_F(DialogTest, StaticShowsABitmapFileOnlyWhenItLoads) {
  auto files = std::make_unique<okapi_test::MemoryFiles>();
  files->AddFile("c:\\zantools\\zanhelp\\customization\\white.bmp", "BM");
  auto services = std::make_unique<platform::Services>();
  services->files = std::move(files);
  auto previous = platform::ReplaceOs(std::move(services));
  run = backend->Open(sheet);
  CStatic palette;
  palette.BindTo(page, kHelp);
  EXPECT_TRUE(palette.SetBitmapFromFile("C:\\ZANTOOLS\\zanhelp\\customization\\white.bmp"));
  EXPECT_EQ(Form().Get(kHelp).image, "C:\\ZANTOOLS\\zanhelp\\customization\\white.bmp");
  EXPECT_FALSE(palette.SetBitmapFromFile("c:\\zantools\\zanhelp\\customization\\gone.bmp"));
  EXPECT_EQ(Form().Get(kHelp).image, "C:\\ZANTOOLS\\zanhelp\\customization\\white.bmp")
      << "a file that does not load leaves the image shown";
  platform::ReplaceOs(std::move(previous));
}

}  // namespace
