// The Visual Map buttons page and the opening sound and animation pages in
// the wizard, on laid installations, driven through the headless backend.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"

namespace {

using fw::headless::SheetDriver;
using Entry = std::optional<std::string>;

class AppearanceTest : public okapi_test::WizardTest {
 protected:
  // "Menu Parts:Configure" in the config file, "TEXT21" in the text file.
  static Entry Get(const std::string& where) {
    const auto [section, key, file] = Locate(where);
    const std::string value = store::ReadString(section, key, "Error", 512, file);
    return value == "Error" ? std::nullopt : Entry(value);
  }
  static void Set(const std::string& where, const Entry& value) {
    const auto [section, key, file] = Locate(where);
    ASSERT_TRUE(store::WriteString(section, key, value, file));
  }
  static std::tuple<std::string, std::string, std::string> Locate(const std::string& where) {
    const auto colon = where.find(':');
    if (colon == std::string::npos) return {"Lumen Text", where, g_strTextFile};
    return {where.substr(0, colon), where.substr(colon + 1), g_strConfigFile};
  }
  std::string Said(std::size_t from = 0) const {
    std::string told;
    for (const std::string& m : Told(from)) told += m + "|";
    return told;
  }
};

using VisualMapTest = AppearanceTest;

// Hidden in one run and shown in the next, each button comes back as the
// first run found it, whichever edition, and the other is left alone.
TEST_F(VisualMapTest, ButtonHiddenThenShownInALaterRunIsAsTheFirstRunFoundIt) {
  const struct {
    int check;
    std::string image, flag, text, textOrg, shown, caption;
  } buttons[] = {
      {IDC_VICONS_MORE_INFO, "Menu Parts:MORE_INFORMATION", "Other:More_saved", "TEXT20",
       "TEXT20_org", "images\\LumenHelp.gif,120,32",
       "__MORE_INFORMATION_TEXT__,\"More Information\""},
      {IDC_VICONS_CONFIGURE, "Menu Parts:Configure", "Other:Config_saved", "TEXT21", "TEXT21_org",
       "images\\LBConfig.gif,120,32", "__CONFIGURE_TEXT__,\"Configure\""},
  };
  const struct {
    std::optional<demo::Exe> llb3, lzan;
    unsigned back;  // the fourth menu is enabled: only 3.5 has its page
  } editions[] = {{demo::Exe::V3_5_0_0, std::nullopt, IDD_WMENU},
                  {std::nullopt, demo::Exe::V3_0_1_0, IDD_APPMENU}};
  for (const auto& edition : editions) {
    for (const auto& b : buttons) {
      SCOPED_TRACE(b.image + (edition.llb3 ? " 3.5" : " 3.0"));
      installation.llb3 = edition.llb3;
      installation.lzan = edition.lzan;
      Lay();
      ASSERT_TRUE(store::WriteString("Install", "Menu4", "True", g_strMapFile));
      const auto& other = &b == &buttons[0] ? buttons[1] : buttons[0];
      for (int run = 0; run < 2; ++run) {
        SheetDriver wizardRun = OpenAt(IDD_VICONS);
        EXPECT_EQ(run == 0, wizardRun.Page().Check(b.check));
        EXPECT_EQ("TRUE", Get(b.flag));
        EXPECT_EQ(b.shown, Get(b.image + "_org"));
        EXPECT_EQ(b.caption, Get(b.textOrg));
        ASSERT_TRUE(wizardRun.Page().Click(b.check));
        EXPECT_EQ(run == 0 ? "images\\spacer.gif,120,32" : b.shown, Get(b.image));
        EXPECT_EQ(run == 0 ? b.caption.substr(0, b.caption.find(',') + 1) + "\"\"" : b.caption,
                  Get(b.text));
        EXPECT_FALSE(wizardRun.Page().Visible(IDC_VICONS_CONFIGURE_COMBO));
        ASSERT_TRUE(wizardRun.PressBack());
        EXPECT_EQ(edition.back, wizardRun.ActiveTemplateId());
      }
      EXPECT_EQ(other.shown, Get(other.image));
      EXPECT_EQ(other.caption, Get(other.text));
      EXPECT_EQ("", Said());
    }
  }
}

// One click on the Configure box in files that are not as the help
// application ships them; then the box as the next run shows it.
TEST_F(VisualMapTest, FirstValuesComeFromTheMappedSlotsAndAMissingOneIsNeverRestored) {
  const std::string hiddenText = "__CONFIGURE_TEXT__,\"\"";
  const std::string spacer = "images\\spacer.gif,120,32";
  const struct {
    const char* name;
    std::vector<std::pair<std::string, Entry>> before, after;
    const char* told;
    bool checkedNextRun;
  } rows[] = {
      {"image named in other case",
       {{"Menu Parts:Configure", "lbconfig.gif,1"}},
       {{"Menu Parts:Configure", "lbconfig.gif,1"}, {"TEXT21", hiddenText}},
       "",
       true},
      {"caption in another slot",
       {{"TEXT21", "Visual Map"}, {"TEXT22", "__CONFIGURE_TEXT__,\"Configure\""}},
       {{"TEXT21_org", "__CONFIGURE_TEXT__,\"Configure\""},
        {"TEXT22", hiddenText},
        {"TEXT21", "Visual Map"}},
       "",
       false},
      {"image missing: no flag, so a later run copies it",
       {{"Menu Parts:Configure", std::nullopt}},
       {{"Other:Config_saved", std::nullopt},
        {"Menu Parts:Configure", std::nullopt},
        {"TEXT21_org", "__CONFIGURE_TEXT__,\"Configure\""},
        {"TEXT21", hiddenText}},
       "Information: The Configure button's image was left as it is: there is no Configure in "
       "lumen-config.ini.|",
       true},
      {"first values missing, button hidden",
       {{"Other:Config_saved", "TRUE"},
        {"Menu Parts:Configure", spacer},
        {"TEXT21", hiddenText},
        {"Menu Parts:Configure_org", "Error"}},
       {{"Menu Parts:Configure", spacer}, {"TEXT21", hiddenText}},
       "Information: The Configure button's image was left as it is: its first value "
       "(Configure_org in lumen-config.ini) is missing.\n\nThe Configure button's text was left "
       "as it is: its first value (TEXT21_org in lumen-text.ini) is missing.|",
       false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay();
    for (const auto& [where, value] : row.before) Set(where, value);
    const std::size_t shown = Shown();
    ASSERT_TRUE(OpenAt(IDD_VICONS).Page().Click(IDC_VICONS_CONFIGURE));
    for (const auto& [where, value] : row.after) EXPECT_EQ(value, Get(where)) << where;
    EXPECT_EQ(row.told, Said(shown));
    EXPECT_EQ(row.checkedNextRun, OpenAt(IDD_VICONS).Page().Check(IDC_VICONS_CONFIGURE));
  }
}

// The two opening effects: one make, these differences.
struct EffectRow {
  unsigned page;
  int current, def, combo;
  std::string option, marker, defKey, otherDefKey, fileOption, fileMarker;
  std::string chosen, toolCopy, installCopy;
};

const EffectRow kEffects[] = {
    {IDD_SOUNDS, IDC_SOUNDS_PLAY, IDC_SOUNDS_DEFAULT, IDC_SOUNDS_PLAY_COMBO,
     "Global Options:OPTION7", "__PLAY_SOUND__", "OEM Defaults:Sound", "OEM Defaults:Splash",
     "Global Options:OPTION17", "__SOUND_FILE__", "chime.wav",
     "c:\\zantools\\zanhelp\\customization\\chime.wav", "c:\\zantools\\zanhelp\\chime.wav"},
    {IDD_SPLASH, IDC_SPLASH_SHOW, IDC_SPLASH_DEFAULT, IDC_SPLASH_SHOW_COMBO,
     "Global Options:OPTION3", "__SHOW_SPLASH__", "OEM Defaults:Splash", "OEM Defaults:Sound",
     "Global Options:OPTION16", "__SPLASH_ANIMATION__", "intro.swf",
     "c:\\zantools\\zanhelp\\customization\\images\\small\\intro.swf",
     "c:\\zantools\\zanhelp\\images\\small\\intro.swf"},
};

using OpeningEffectTest = AppearanceTest;

TEST_F(OpeningEffectTest, BoxesStartAsStoredAndEachClickWritesOnlyItsEntry) {
  const struct {
    Entry value;
    bool checked;
  } stored[] = {{"TRUE", true}, {"True", false}, {std::nullopt, false}};
  for (const EffectRow& e : kEffects) {
    for (const auto& s : stored) {
      SCOPED_TRACE(e.marker + " " + s.value.value_or("<missing>"));
      Lay();
      Set(e.option, e.marker + (s.value ? "," + *s.value : ""));  // the slot stays known
      Set(e.defKey, s.value);
      SheetDriver run = OpenAt(e.page);
      EXPECT_EQ(s.checked, run.Page().Check(e.current));
      EXPECT_EQ(s.checked, run.Page().Check(e.def));
      EXPECT_FALSE(run.Page().Visible(e.combo));
      ASSERT_TRUE(run.Page().Click(e.current));
      EXPECT_EQ(e.marker + (s.checked ? ",false" : ",true"), Get(e.option));
      EXPECT_EQ(s.value, Get(e.defKey));
      ASSERT_TRUE(run.Page().Click(e.def));
      EXPECT_EQ(s.checked ? "false" : "true", Get(e.defKey));
      EXPECT_EQ("true", Get(e.otherDefKey));
    }
  }
}

// The file operation (the hidden OK button), its dialog answered as a row says.
TEST_F(OpeningEffectTest, ChosenFileIsNamedOnlyOnceTheInstallationHasIt) {
  const struct {
    const char* name;
    bool cancel, inPlace, toolRefuses, installRefuses, named;
    const char* told;  // the end of the message; empty: none
  } rows[] = {
      {"chosen elsewhere", false, false, false, false, true, ""},
      {"cancelled", true, false, false, false, false, ""},
      {"chosen in the installation", false, true, false, false, true, ""},
      {"installation refuses", false, false, false, true, false, " was not changed.|"},
      {"tool folder refuses", false, false, true, false, true, " all the same.|"},
  };
  for (const EffectRow& e : kEffects) {
    for (const auto& row : rows) {
      SCOPED_TRACE(e.marker + " " + row.name);
      Lay();
      auto& files = *platform::Os().files;
      const std::string chosen = row.inPlace ? e.installCopy : "c:\\zantools\\" + e.chosen;
      ASSERT_TRUE(files.WriteFileAtomic(chosen, "new"));
      for (auto [target, refuses] :
           {std::pair{e.toolCopy, row.toolRefuses}, std::pair{e.installCopy, row.installRefuses}}) {
        if (!refuses) continue;
        ASSERT_TRUE(demo::MakeDirectories(target.substr(0, target.rfind('\\'))));
        ASSERT_TRUE(files.WriteFileAtomic(target, "old") && files.SetReadOnly(target));
      }
      SheetDriver run = OpenAt(e.page);
      const Entry before = Get(e.fileOption);
      const std::size_t shown = Shown();
      headless->AnswerFileDialog(row.cancel ? std::nullopt : Entry(chosen));
      run.Page().Dialog().OnOK();
      EXPECT_EQ(row.named ? e.fileMarker + "," + e.chosen : before, Get(e.fileOption));
      if (!row.cancel) {
        EXPECT_EQ(row.toolRefuses ? "old" : "new", files.ReadFile(e.toolCopy));
        EXPECT_EQ(row.installRefuses ? "old" : "new", files.ReadFile(e.installCopy));
      }
      const std::string told = Said(shown);
      EXPECT_EQ(*row.told == 0, told.empty()) << told;
      EXPECT_TRUE(told.ends_with(row.told)) << told;
      for (const std::string& target : {e.toolCopy, e.installCopy})
        (void)files.SetAttributesNormal(target);  // for the next reset
    }
  }
}

}  // namespace
