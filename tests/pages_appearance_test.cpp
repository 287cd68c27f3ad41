// The Visual Map buttons page and the opening sound and animation pages in
// the wizard, on laid installations, driven through the headless backend.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "app/okapi_app.h"
#include "demo/installation.h"
#include "framework/headless/headless.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/program_templates.h"

namespace {

using fw::headless::ScopedHeadless;
using fw::headless::SheetDriver;

class AppearanceTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
  }
  void TearDown() override {
    for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
  }
  void Lay() {
    auto laid = demo::LayInstallation(installation);
    ASSERT_TRUE(laid) << laid.reason;
    DiscoverInstallation();
  }
  // A fresh wizard (one run of the program) shown up to `page`.
  SheetDriver OpenAt(unsigned page) {
    wizard = std::make_unique<OkapiWizard>();
    SheetDriver run = headless->Open(wizard->sheet);
    while (run.IsOpen() && run.ActiveTemplateId() != page) {
      if (run.ActiveTemplateId() == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "Contoso");
      if (!run.PressNext()) break;
    }
    EXPECT_EQ(page, run.ActiveTemplateId());
    return run;
  }
  static std::string Config(const std::string& section, const std::string& key) {
    return store::ReadString(section, key, "Error", 512, g_strConfigFile);
  }
  static std::string Text(const std::string& key) {
    return store::ReadString("Lumen Text", key, "Error", 512, g_strTextFile);
  }
  static void SetConfig(const std::string& section, const std::string& key,
                        std::optional<std::string> value) {
    ASSERT_TRUE(store::WriteString(section, key, value, g_strConfigFile));
  }
  static void SetText(const std::string& key, std::optional<std::string> value) {
    ASSERT_TRUE(store::WriteString("Lumen Text", key, value, g_strTextFile));
  }
  std::vector<std::string> Told() const {
    std::vector<std::string> told;
    for (const auto& m : headless->Messages()) told.push_back(m.caption + ": " + m.text);
    return told;
  }

  demo::Installation installation;
  ScopedHeadless headless;
  std::unique_ptr<OkapiWizard> wizard;
};

// --- Visual Map buttons -------------------------------------------------

struct ButtonRow {
  const char* name;
  int check;
  const char* imageKey;
  const char* flag;
  const char* textSlot;
  const char* textOrg;
  const char* shown;
  const char* hidden;
  const char* text;
  const char* hiddenText;
};

constexpr ButtonRow kButtons[] = {
    {"More Information", IDC_VICONS_MORE_INFO, "MORE_INFORMATION", "More_saved",
     demo::slots::kMoreInformationText, "TEXT20_org", "images\\LumenHelp.gif,120,32",
     "images\\spacer.gif,120,32", "__MORE_INFORMATION_TEXT__,\"More Information\"",
     "__MORE_INFORMATION_TEXT__,\"\""},
    {"Configure", IDC_VICONS_CONFIGURE, "Configure", "Config_saved", demo::slots::kConfigureText,
     "TEXT21_org", "images\\LBConfig.gif,120,32", "images\\spacer.gif,120,32",
     "__CONFIGURE_TEXT__,\"Configure\"", "__CONFIGURE_TEXT__,\"\""},
};

using VisualMapTest = AppearanceTest;

// Hidden in one run, shown in the next: the first values are taken once, so
// the second run restores what the first found, not what it left.
TEST_F(VisualMapTest, ButtonHiddenThenShownInALaterRunIsAsTheFirstRunFoundIt) {
  const struct {
    const char* name;
    std::optional<demo::Exe> llb3, lzan;
    unsigned back;
  } editions[] = {
      {"3.5 Larkbook, fourth menu", demo::Exe::V3_5_0_0, std::nullopt, IDD_WMENU},
      {"3.0 ZAN", std::nullopt, demo::Exe::V3_0_1_0, IDD_APPMENU},
  };
  for (const auto& edition : editions) {
    for (const ButtonRow& row : kButtons) {
      SCOPED_TRACE(std::string(edition.name) + ", " + row.name);
      installation.llb3 = edition.llb3;
      installation.lzan = edition.lzan;
      ASSERT_TRUE(demo::ResetMachine());
      Lay();
      // Only 3.5 has the welcome page the fourth menu leads to.
      ASSERT_TRUE(store::WriteString("Install", "Menu4", "True", g_strMapFile));
      const ButtonRow& other = &row == &kButtons[0] ? kButtons[1] : kButtons[0];
      {
        SheetDriver run = OpenAt(IDD_VICONS);
        EXPECT_EQ(1, run.Page().Check(row.check));
        EXPECT_EQ("TRUE", Config("Other", row.flag));
        EXPECT_EQ(row.shown, Config("Menu Parts", std::string(row.imageKey) + "_org"));
        EXPECT_EQ(row.text, Text(row.textOrg));
        ASSERT_TRUE(run.Page().Click(row.check));
        EXPECT_EQ(row.hidden, Config("Menu Parts", row.imageKey));
        EXPECT_EQ(row.hiddenText, Text(row.textSlot));
        ASSERT_TRUE(run.PressBack());
        EXPECT_EQ(edition.back, run.ActiveTemplateId());
        run.PressCancel();
      }
      {
        SheetDriver run = OpenAt(IDD_VICONS);
        EXPECT_EQ(0, run.Page().Check(row.check));
        EXPECT_EQ(1, run.Page().Check(other.check));
        EXPECT_EQ(row.shown, Config("Menu Parts", std::string(row.imageKey) + "_org"));
        EXPECT_EQ(row.text, Text(row.textOrg));
        ASSERT_TRUE(run.Page().Click(row.check));
        EXPECT_FALSE(run.Page().Visible(IDC_VICONS_MORE_INFO_COMBO));
        EXPECT_FALSE(run.Page().Visible(IDC_VICONS_CONFIGURE_COMBO));
        run.PressCancel();
      }
      EXPECT_EQ(row.shown, Config("Menu Parts", row.imageKey));
      EXPECT_EQ(row.text, Text(row.textSlot));
      EXPECT_EQ(other.shown, Config("Menu Parts", other.imageKey));
      EXPECT_EQ(other.text, Text(other.textSlot));
      EXPECT_TRUE(headless->Messages().empty()) << ::testing::PrintToString(Told());
    }
  }
}

// Only the exact image name is replaced; what is not replaced stays shown.
TEST_F(VisualMapTest, HidingReplacesTheImageNameInItsExactCaseOnly) {
  const struct {
    const char* before;
    const char* after;
    int checkedNextRun;
  } rows[] = {
      {"images\\LBConfig.gif,120,32", "images\\spacer.gif,120,32", 0},
      {"LBConfig.gif|LBConfig.gif", "spacer.gif|spacer.gif", 0},
      {"images\\lbconfig.gif,120,32", "images\\lbconfig.gif,120,32", 1},
  };
  Lay();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.before);
    SetConfig("Menu Parts", "Configure", row.before);
    {
      SheetDriver run = OpenAt(IDD_VICONS);
      ASSERT_EQ(1, run.Page().Check(IDC_VICONS_CONFIGURE));
      ASSERT_TRUE(run.Page().Click(IDC_VICONS_CONFIGURE));
      EXPECT_EQ(row.after, Config("Menu Parts", "Configure"));
      run.PressCancel();
    }
    SheetDriver run = OpenAt(IDD_VICONS);
    EXPECT_EQ(row.checkedNextRun, run.Page().Check(IDC_VICONS_CONFIGURE));
    run.PressCancel();
  }
}

// The copies come from the slots the page later writes, wherever the map file
// finds them; the stored key names stay.
TEST_F(VisualMapTest, TextCopyIsTakenFromTheSlotTheMapFileNames) {
  Lay();
  SetText("TEXT21", "Visual Map");
  SetText("TEXT22", "__CONFIGURE_TEXT__,\"Configure\"");
  {
    SheetDriver run = OpenAt(IDD_VICONS);
    EXPECT_EQ("__CONFIGURE_TEXT__,\"Configure\"", Text("TEXT21_org"));
    ASSERT_TRUE(run.Page().Click(IDC_VICONS_CONFIGURE));
    EXPECT_EQ("__CONFIGURE_TEXT__,\"\"", Text("TEXT22"));
    ASSERT_TRUE(run.Page().Click(IDC_VICONS_CONFIGURE));
  }
  EXPECT_EQ("__CONFIGURE_TEXT__,\"Configure\"", Text("TEXT22"));
  EXPECT_EQ("Visual Map", Text("TEXT21"));
}

// A copy that could not be taken leaves its flag unset, so a later run takes
// it; a copy already taken is not taken again from what OKAPI changed.
TEST_F(VisualMapTest, FlagIsSetOnlyOnceBothCopiesAreTaken) {
  Lay();
  SetConfig("Menu Parts", "Configure", std::nullopt);
  {
    SheetDriver run = OpenAt(IDD_VICONS);
    EXPECT_EQ("Error", Config("Other", "Config_saved"));
    EXPECT_EQ("Error", Config("Menu Parts", "Configure_org"));
    EXPECT_EQ("__CONFIGURE_TEXT__,\"Configure\"", Text("TEXT21_org"));
    EXPECT_EQ("TRUE", Config("Other", "More_saved"));
    ASSERT_TRUE(run.Page().Click(IDC_VICONS_CONFIGURE));  // hides the text
    EXPECT_EQ("Error", Config("Menu Parts", "Configure"));
  }
  ASSERT_EQ(1u, headless->Messages().size());
  EXPECT_EQ(
      "Information: The Configure button's image was left as it is: there is no Configure in "
      "lumen-config.ini.",
      Told()[0]);
  SetConfig("Menu Parts", "Configure", "images\\LBConfig.gif,120,32");
  {
    SheetDriver run = OpenAt(IDD_VICONS);
    EXPECT_EQ("TRUE", Config("Other", "Config_saved"));
    EXPECT_EQ("images\\LBConfig.gif,120,32", Config("Menu Parts", "Configure_org"));
    EXPECT_EQ("__CONFIGURE_TEXT__,\"Configure\"", Text("TEXT21_org"));
  }
}

// Copies taken by an earlier version that stored the sentinel, or lost since:
// showing leaves the entries and tells the user.
TEST_F(VisualMapTest, MissingFirstValuesAreNeverRestored) {
  const struct {
    const char* name;
    std::optional<std::string> imageOrg, textOrg;
    std::vector<std::string> told;
  } rows[] = {
      {"both missing",
       std::nullopt,
       std::nullopt,
       {"Information: The Configure button's image was left as it is: its first value "
        "(Configure_org in lumen-config.ini) is missing.\n\nThe Configure button's text was "
        "left as it is: its first value (TEXT21_org in lumen-text.ini) is missing."}},
      {"stored as the sentinel",
       "Error",
       "__CONFIGURE_TEXT__,\"Configure\"",
       {"Information: The Configure button's image was left as it is: its first value "
        "(Configure_org in lumen-config.ini) is missing."}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    Lay();
    SetConfig("Other", "Config_saved", "TRUE");
    SetConfig("Menu Parts", "Configure", "images\\spacer.gif,120,32");
    SetConfig("Menu Parts", "Configure_org", row.imageOrg);
    SetText("TEXT21", "__CONFIGURE_TEXT__,\"\"");
    SetText("TEXT21_org", row.textOrg);
    const std::size_t shown = headless->Messages().size();
    SheetDriver run = OpenAt(IDD_VICONS);
    ASSERT_EQ(0, run.Page().Check(IDC_VICONS_CONFIGURE));
    ASSERT_TRUE(run.Page().Click(IDC_VICONS_CONFIGURE));
    EXPECT_EQ("images\\spacer.gif,120,32", Config("Menu Parts", "Configure"));
    EXPECT_EQ(row.textOrg ? *row.textOrg : "__CONFIGURE_TEXT__,\"\"", Text("TEXT21"));
    const auto told = Told();
    EXPECT_EQ(row.told, std::vector<std::string>(told.begin() + shown, told.end()));
    run.PressCancel();
  }
}

// --- Opening sound and animation ---------------------------------------

struct EffectRow {
  const char* name;
  unsigned page;
  int current;
  int currentCombo;
  int def;
  int defCombo;
  const char* currentSlot;
  const char* marker;
  const char* defKey;
  const char* otherDefKey;
  const char* fileSlot;
  const char* fileMarker;
  CFileDialog::Options dialog;
  const char* chosen;
  const char* toolCopy;
  const char* installCopy;
};

const EffectRow kEffects[] = {
    {"sound",
     IDD_SOUNDS,
     IDC_SOUNDS_PLAY,
     IDC_SOUNDS_PLAY_COMBO,
     IDC_SOUNDS_DEFAULT,
     IDC_SOUNDS_DEFAULT_COMBO,
     demo::slots::kPlaySound,
     "__PLAY_SOUND__",
     "Sound",
     "Splash",
     demo::slots::kSoundFile,
     "__SOUND_FILE__",
     {.open = true,
      .defExt = "wav",
      .fileName = "*.wav",
      .flags = 0x1004,
      .filter = "Media files (*.wav)|*.wav|",
      .initialDir = "",
      .title = ""},
     "chime.wav",
     "c:\\zantools\\zanhelp\\customization\\chime.wav",
     "c:\\zantools\\zanhelp\\chime.wav"},
    {"animation",
     IDD_SPLASH,
     IDC_SPLASH_SHOW,
     IDC_SPLASH_SHOW_COMBO,
     IDC_SPLASH_DEFAULT,
     IDC_SPLASH_DEFAULT_COMBO,
     demo::slots::kShowSplash,
     "__SHOW_SPLASH__",
     "Splash",
     "Sound",
     demo::slots::kSplashAnimation,
     "__SPLASH_ANIMATION__",
     {.open = true,
      .defExt = "swf",
      .fileName = "*.swf",
      .flags = 0x1004,
      .filter = "Shockwave files (*.swf)|*.swf|",
      .initialDir = "",
      .title = ""},
     "intro.swf",
     "c:\\zantools\\zanhelp\\customization\\images\\small\\intro.swf",
     "c:\\zantools\\zanhelp\\images\\small\\intro.swf"},
};

using OpeningEffectTest = AppearanceTest;

TEST_F(OpeningEffectTest, BoxesStartFromTheOptionAndTheDefaultsAsStored) {
  const struct {
    std::optional<std::string> value;
    int checked;
  } values[] = {{"true", 1}, {"TRUE", 1}, {"True", 0}, {"false", 0}, {std::nullopt, 0}};
  Lay();
  for (const EffectRow& row : kEffects) {
    for (const auto& value : values) {
      SCOPED_TRACE(std::string(row.name) + ", " + value.value.value_or("<missing>"));
      SetConfig("Global Options", row.currentSlot,
                value.value ? std::optional(row.marker + ("," + *value.value)) : std::nullopt);
      SetConfig("OEM Defaults", row.defKey, value.value);
      SheetDriver run = OpenAt(row.page);
      EXPECT_EQ(value.checked, run.Page().Check(row.current));
      EXPECT_EQ(value.checked, run.Page().Check(row.def));
      for (int combo : {row.currentCombo, row.defCombo}) {
        EXPECT_EQ((std::vector<std::string>{"FALSE", "TRUE"}), run.Page().Get(combo).items);
        EXPECT_FALSE(run.Page().Visible(combo));
      }
      run.PressCancel();
    }
  }
}

TEST_F(OpeningEffectTest, EachClickWritesItsOwnEntryAtOnce) {
  Lay();
  for (const EffectRow& row : kEffects) {
    SCOPED_TRACE(row.name);
    SheetDriver run = OpenAt(row.page);
    const std::string m = row.marker;
    const std::string otherDefault = Config("OEM Defaults", row.otherDefKey);
    ASSERT_EQ(1, run.Page().Check(row.current));
    ASSERT_TRUE(run.Page().Click(row.current));
    EXPECT_EQ(m + ",false", Config("Global Options", row.currentSlot));
    EXPECT_EQ("true", Config("OEM Defaults", row.defKey));
    ASSERT_TRUE(run.Page().Click(row.current));
    EXPECT_EQ(m + ",true", Config("Global Options", row.currentSlot));
    ASSERT_TRUE(run.Page().Click(row.def));
    EXPECT_EQ("false", Config("OEM Defaults", row.defKey));
    EXPECT_EQ(otherDefault, Config("OEM Defaults", row.otherDefKey));
    EXPECT_EQ(m + ",true", Config("Global Options", row.currentSlot));
    run.PressCancel();
  }
  EXPECT_TRUE(headless->Messages().empty());
}

TEST_F(OpeningEffectTest, ChosenFileIsCopiedIntoBothTreesAndNamed) {
  Lay();
  const std::string chosenDir = "c:\\media";
  ASSERT_TRUE(demo::MakeDirectories(chosenDir));
  for (const EffectRow& row : kEffects) {
    SCOPED_TRACE(row.name);
    const std::string chosen = chosenDir + "\\" + row.chosen;
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(chosen, row.name));
    SheetDriver run = OpenAt(row.page);
    const std::string before = Config("Global Options", row.fileSlot);

    headless->AnswerFileDialog(std::nullopt);
    run.Page().Dialog().OnOK();
    EXPECT_EQ(before, Config("Global Options", row.fileSlot));

    headless->AnswerFileDialog(chosen);
    run.Page().Dialog().OnOK();
    EXPECT_EQ(row.dialog, headless->FileDialogs().back());
    EXPECT_EQ(row.name, platform::Os().files->ReadFile(row.toolCopy).value_or("<missing>"));
    EXPECT_EQ(row.name, platform::Os().files->ReadFile(row.installCopy).value_or("<missing>"));
    EXPECT_EQ(std::string(row.fileMarker) + "," + row.chosen,
              Config("Global Options", row.fileSlot));
    EXPECT_EQ(row.page, run.ActiveTemplateId());
    EXPECT_TRUE(headless->Messages().empty()) << ::testing::PrintToString(Told());

    // Chosen where it goes: in place already, and not emptied.
    headless->AnswerFileDialog(row.installCopy);
    run.Page().Dialog().OnOK();
    EXPECT_EQ(row.name, platform::Os().files->ReadFile(row.installCopy).value_or("<missing>"));
    EXPECT_TRUE(headless->Messages().empty()) << ::testing::PrintToString(Told());
    run.PressCancel();
  }
}

TEST_F(OpeningEffectTest, FailedCopyIsToldAndOnlyTheInstalledFileIsNamed) {
  const struct {
    const char* name;
    bool toolFails, installFails;
    bool named;
    const char* closing;
  } rows[] = {
      {"installation", false, true, false, " was not changed."},
      {"tool folder", true, false, true, " all the same."},
  };
  Lay();
  for (const EffectRow& effect : kEffects) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(effect.name) + ", " + row.name);
      const std::string chosen = std::string("c:\\zantools\\") + effect.chosen;
      ASSERT_TRUE(platform::Os().files->WriteFileAtomic(chosen, "new"));
      for (const char* target : {effect.toolCopy, effect.installCopy}) {
        (void)platform::Os().files->SetAttributesNormal(target);
        ASSERT_TRUE(demo::RemoveTree(target));
      }
      const std::string toolCopy = effect.toolCopy;
      ASSERT_TRUE(demo::MakeDirectories(toolCopy.substr(0, toolCopy.rfind('\\'))));
      if (row.toolFails) {
        ASSERT_TRUE(platform::Os().files->WriteFileAtomic(effect.toolCopy, "old"));
        ASSERT_TRUE(platform::Os().files->SetReadOnly(effect.toolCopy));
      }
      if (row.installFails) {
        ASSERT_TRUE(platform::Os().files->WriteFileAtomic(effect.installCopy, "old"));
        ASSERT_TRUE(platform::Os().files->SetReadOnly(effect.installCopy));
      }
      SheetDriver run = OpenAt(effect.page);
      const std::string before = Config("Global Options", effect.fileSlot);
      const std::size_t shown = headless->Messages().size();
      headless->AnswerFileDialog(chosen);
      run.Page().Dialog().OnOK();
      EXPECT_EQ(row.named ? std::string(effect.fileMarker) + "," + effect.chosen : before,
                Config("Global Options", effect.fileSlot));
      ASSERT_EQ(shown + 1, headless->Messages().size());
      const std::string told = Told().back();
      const std::string target = row.toolFails ? effect.toolCopy : effect.installCopy;
      EXPECT_NE(std::string::npos, told.find(chosen + " could not be copied to " + target)) << told;
      EXPECT_NE(std::string::npos, told.find(row.closing)) << told;
      run.PressCancel();
      for (const char* target : {effect.toolCopy, effect.installCopy})
        (void)platform::Os().files->SetAttributesNormal(target);
    }
  }
}

}  // namespace
