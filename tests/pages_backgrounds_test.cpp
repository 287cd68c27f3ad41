// The background list and the menus' backgrounds, on laid installations of
// both editions, driven through the headless backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
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

constexpr char kNone[] = "<none>";
constexpr char kNoFreeSlot[] = "Information: You need to free up a Friendly List Name";

struct Entry {
  int slot;
  std::string text, image;
};
// Slots first to last, "E1".."En" showing "e1.jpg"...
std::vector<Entry> Entries(int first, int last) {
  std::vector<Entry> entries;
  for (int n = first; n <= last; ++n)
    entries.push_back({n, "E" + std::to_string(n), "e" + std::to_string(n) + ".jpg"});
  return entries;
}
// An entry to write before the run: file, section, key, value (nullopt deletes).
struct Edit {
  const std::string* file;
  std::string section, key;
  std::optional<std::string> value;
};

class BackgroundsTest : public okapi_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(okapi_test::LoadProgramTemplates(*headless));
  }
  void TearDown() override {
    for (const auto& fault : headless->Faults()) ADD_FAILURE() << fault;
  }
  // A fresh machine with one edition; `entries` replace the demo's list.
  void Lay(bool version35, std::optional<std::vector<Entry>> entries = {},
           const std::vector<Edit>& edits = {}) {
    ASSERT_TRUE(demo::ResetMachine());
    toldBefore = headless->Messages().size();
    installation.llb3 = version35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    ASSERT_TRUE(demo::LayInstallation(installation));
    DiscoverInstallation();
    if (entries) {
      for (int n = 1; n <= 4; ++n)
        Set(g_strTextFile, Text(n), {}), Set(g_strConfigFile, Image(n), {});
      for (const Entry& e : *entries)
        Set(g_strTextFile, Text(e.slot), e.text), Set(g_strConfigFile, Image(e.slot), e.image);
    }
    for (const Edit& edit : edits)
      ASSERT_TRUE(store::WriteString(edit.section, edit.key, edit.value, *edit.file));
  }
  static std::string Text(int n) { return "BACK" + std::to_string(n) + "TEXT"; }
  static std::string Image(int n) { return "BACK" + std::to_string(n); }
  static void Set(const std::string& file, const std::string& key, std::optional<std::string> v) {
    ASSERT_TRUE(store::WriteString("Backgrounds", key, v, file));
  }
  static std::string Get(const std::string& file, const std::string& section,
                         const std::string& key) {
    return store::ReadString(section, key, kNone, 256, file);
  }
  static std::string ListText(int n) { return Get(g_strTextFile, "Backgrounds", Text(n)); }
  static std::string ImageOf(int n) { return Get(g_strConfigFile, "Backgrounds", Image(n)); }
  static std::string Mark(int n) { return Get(g_strMapFile, "OKAPI", Text(n)); }
  static std::string Files() {
    std::string all;
    for (const std::string* f : {&g_strTextFile, &g_strConfigFile, &g_strMapFile})
      all += platform::Os().files->ReadFile(*f).value_or(kNone);
    return all;
  }
  SheetDriver Open() {
    wizard = std::make_unique<OkapiWizard>();
    SheetDriver run = headless->Open(wizard->sheet);
    while (run.IsOpen() && run.ActiveTemplateId() != IDD_BACKGROUNDS) {
      if (run.ActiveTemplateId() == IDD_MODIFIED) run.Page().Type(IDC_MODIFIED_COMPANY, "x");
      if (!run.PressNext()) break;
    }
    EXPECT_EQ(unsigned{IDD_BACKGROUNDS}, run.ActiveTemplateId());
    return run;
  }
  std::vector<std::string> Listed(const SheetDriver& run) const {
    return run.Page().Get(IDC_BACKGROUNDS_LIST).items;
  }
  void Select(SheetDriver& run, const std::string& text) {
    const auto items = Listed(run);
    const auto at = std::find(items.begin(), items.end(), text);
    ASSERT_NE(items.end(), at) << text;
    ASSERT_TRUE(run.Page().Select(IDC_BACKGROUNDS_LIST, static_cast<int>(at - items.begin())));
  }
  void Browse(SheetDriver& run, int button, const std::string& file) {
    headless->AnswerFileDialog("c:\\zantools\\zanhelp\\images\\small\\" + file);
    ASSERT_TRUE(run.Page().Click(button));
  }
  // Caption and text of the last message since Lay(), or nothing.
  std::string Told() const {
    const auto& all = headless->Messages();
    return all.size() == toldBefore ? "" : all.back().caption + ": " + all.back().text;
  }

  demo::Installation installation;
  ScopedHeadless headless;
  std::unique_ptr<OkapiWizard> wizard;
  std::size_t toldBefore = 0;
};

TEST_F(BackgroundsTest, AddTakesTheLowestFreeSlotAndNeverOneInUse) {
  const std::vector<Edit> staleMark = {{&g_strMapFile, "OKAPI", "Back2TEXT", "Freed"}};
  auto sentinelAt3 = Entries(1, 5);
  sentinelAt3[2].text = "Error screen";
  const struct {
    const char* name;
    bool version35;
    std::vector<Entry> entries;
    std::vector<Edit> edits;
    const char* deleteFirst;
    int slot;
    std::string listed;
  } rows[] = {
      {"empty list", false, {}, {}, nullptr, 1, "Sunset"},
      {"empty list, 3.5 lists the file", true, {}, {}, nullptr, 1, "sunset.jpg"},
      {"slots 1 to 5 in use", false, Entries(1, 5), {}, nullptr, 6, "Sunset"},
      {"slot freed by Delete", false, Entries(1, 5), {}, "E3", 3, "Sunset"},
      {"mark left on a slot in use", false, Entries(1, 5), staleMark, nullptr, 6, "Sunset"},
      {"text holding the sentinel", false, sentinelAt3, {}, nullptr, 6, "Sunset"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(row.version35, row.entries, row.edits);
    SheetDriver run = Open();
    if (row.deleteFirst) {
      Select(run, row.deleteFirst);
      ASSERT_TRUE(run.Page().Click(IDC_BACKGROUNDS_DELETE));
    }
    run.Page().Type(IDC_BACKGROUNDS_NAME, " Sunset ");
    Browse(run, IDC_BACKGROUNDS_BROWSE, "sunset.jpg");
    EXPECT_EQ("sunset.jpg", run.Page().Text(IDC_BACKGROUNDS_JPEG));
    ASSERT_TRUE(run.Page().Click(IDC_BACKGROUNDS_ADD));

    EXPECT_EQ(row.listed, ListText(row.slot));
    EXPECT_EQ("sunset.jpg", ImageOf(row.slot));
    EXPECT_EQ(kNone, Mark(row.slot));
    for (const Entry& e : row.entries) {
      if (row.deleteFirst && e.text == row.deleteFirst) continue;
      EXPECT_EQ(e.text, ListText(e.slot));
      if (e.slot != 2 || row.edits.empty()) {
        EXPECT_EQ(kNone, Mark(e.slot)) << e.slot;
      }
    }
    for (int n = row.slot + 1; n <= 99; ++n) {
      if (ListText(n) == kNone) {
        EXPECT_EQ("Freed", Mark(n)) << n;
      }
    }
    const auto listed = Listed(run);
    EXPECT_EQ(1, std::count(listed.begin(), listed.end(), row.listed));
    EXPECT_EQ("", Told());
    run.PressCancel();
  }
}

TEST_F(BackgroundsTest, RefusedAddsChangeNothing) {
  const struct {
    const char* name;
    int entries;
    std::string typed, file, told;
  } rows[] = {
      {"all 99 slots in use, fields empty", 99, "", "", kNoFreeSlot},
      {"no name", 4, " ", "x.jpg", "Information: You need to enter a Friendly Name"},
      {"duplicate by case", 4, "e2", "x.jpg",
       "Information: You entered a duplicate friendly name.\n Please enter a unique friendly name"},
      {"no file", 4, "E2 2", "", "Information: You need to enter a JPEG File Name"},
      {"sentinel in the name", 4, "Error screen", "x.jpg",
       "Information: \"Error screen\" cannot be listed: the help application takes a name "
       "containing \"Error\" for a missing one."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(false, Entries(1, row.entries));
    SheetDriver run = Open();
    const std::string before = Files();
    run.Page().Type(IDC_BACKGROUNDS_NAME, row.typed);
    if (!row.file.empty()) Browse(run, IDC_BACKGROUNDS_BROWSE, row.file);
    ASSERT_TRUE(run.Page().Click(IDC_BACKGROUNDS_ADD));
    EXPECT_EQ(row.told, Told());
    EXPECT_EQ(before, Files());
    EXPECT_EQ(std::size_t(row.entries), Listed(run).size());
    run.PressCancel();
  }
}

// "Sea" must never pick "Sea view", which comes first and contains it.
TEST_F(BackgroundsTest, ButtonsActOnTheSlotWhoseWholeTextIsSelected) {
  const std::vector<Entry> sea = {{2, "Sea view", "seaview.jpg"}, {4, "Sea", "sea.jpg"}};
  const struct {
    const char* name;
    bool version35;
    int button;
    const std::string* file;
    const char* section;
    const char* key;
    const char* written;
    int label;
  } rows[] = {
      {"current, 3.0", false, IDC_BACKGROUNDS_CURRENT, &g_strConfigFile, "Global Options",
       demo::slots::kDefaultBackgroundImage, "__DEFAULT_BACKGROUND_IMAGE__,sea.jpg",
       IDC_BACKGROUNDS_CURRENT_NAME},
      {"current, 3.5", true, IDC_BACKGROUNDS_CURRENT, &g_strConfigFile, "Global Options",
       demo::slots::kMenu4Background, "__MENU4_BACKGROUND__,sea.jpg", IDC_BACKGROUNDS_CURRENT_NAME},
      {"default, 3.0", false, IDC_BACKGROUNDS_DEFAULT, &g_strTextFile, "Backgrounds",
       "DEFAULTBACKGROUND", "Sea", IDC_BACKGROUNDS_DEFAULT_NAME},
      {"default, 3.5", true, IDC_BACKGROUNDS_DEFAULT, &g_strConfigFile, "OEM Defaults",
       "TAB1_DEFAULT", "Sea", IDC_BACKGROUNDS_DEFAULT_NAME},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(row.version35, sea);
    SheetDriver run = Open();
    Select(run, "Sea");
    ASSERT_TRUE(run.Page().Click(row.button));
    EXPECT_EQ(row.written, Get(*row.file, row.section, row.key));
    EXPECT_EQ("Sea", run.Page().Text(row.label));
    EXPECT_EQ("", Told());
    run.PressCancel();
  }

  Lay(false, sea);
  SheetDriver run = Open();
  Select(run, "Sea");
  ASSERT_TRUE(run.Page().Click(IDC_BACKGROUNDS_DELETE));
  EXPECT_EQ("Sea view", ListText(2));
  EXPECT_EQ("seaview.jpg", ImageOf(2));
  EXPECT_EQ(kNone, ListText(4));
  EXPECT_EQ(kNone, ImageOf(4));
  EXPECT_NE(std::string::npos, Files().find("Back4TEXT=Freed\r\n"));
  EXPECT_EQ(std::vector<std::string>{"Sea view"}, Listed(run));
}

TEST_F(BackgroundsTest, ButtonsWithoutATargetChangeNothing) {
  const std::vector<Entry> sea = {{4, "Sea", "sea.jpg"}};
  const std::vector<Entry> noImage = {{4, "Sea", ""}};
  const std::vector<Edit> noOption = {
      {&g_strConfigFile, "Global Options", demo::slots::kDefaultBackgroundImage, {}}};
  const struct {
    const char* name;
    std::vector<Entry> entries;
    std::vector<Edit> edits;
    bool select, goneSinceShown;
    int button;
    const char* told;
  } rows[] = {
      {"nothing selected",
       sea,
       {},
       false,
       false,
       IDC_BACKGROUNDS_DELETE,
       "Information: You need to make a selection"},
      {"entry gone, delete",
       sea,
       {},
       true,
       true,
       IDC_BACKGROUNDS_DELETE,
       "Information: \"Sea\" is no longer in the help application's background list. Nothing "
       "was changed."},
      {"entry gone, current",
       sea,
       {},
       true,
       true,
       IDC_BACKGROUNDS_CURRENT,
       "Information: \"Sea\" is no longer in the help application's background list. Nothing "
       "was changed."},
      {"image missing",
       noImage,
       {},
       true,
       false,
       IDC_BACKGROUNDS_CURRENT,
       "Information: The opening image was not changed: \"Sea\" names no JPEG file in the help "
       "application's configuration file."},
      {"option missing", sea, noOption, true, false, IDC_BACKGROUNDS_CURRENT,
       "Information: The opening image was not changed: the help application's configuration "
       "file has no entry marked __DEFAULT_BACKGROUND_IMAGE__."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(false, row.entries, row.edits);
    SheetDriver run = Open();
    if (row.goneSinceShown) Set(g_strTextFile, Text(4), {});
    const std::string before = Files();
    const std::string label = run.Page().Text(IDC_BACKGROUNDS_CURRENT_NAME);
    if (row.select) Select(run, "Sea");
    ASSERT_TRUE(run.Page().Click(row.button));
    EXPECT_EQ(row.told, Told());
    EXPECT_EQ(before, Files());
    EXPECT_EQ(label, run.Page().Text(IDC_BACKGROUNDS_CURRENT_NAME));
    EXPECT_EQ(std::vector<std::string>{"Sea"}, Listed(run));
    run.PressCancel();
  }
}

TEST_F(BackgroundsTest, FailedDeleteKeepsTheSlotFromTheNextAdd) {
  Lay(false, Entries(1, 5));
  SheetDriver run = Open();
  ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strConfigFile));
  Select(run, "E3");
  ASSERT_TRUE(run.Page().Click(IDC_BACKGROUNDS_DELETE));
  ASSERT_TRUE(platform::Os().files->SetAttributesNormal(g_strConfigFile));
  EXPECT_EQ(kNone, ListText(3));
  EXPECT_EQ("e3.jpg", ImageOf(3));
  EXPECT_EQ(kNone, Mark(3));
  run.Page().Type(IDC_BACKGROUNDS_NAME, "Sunset");
  Browse(run, IDC_BACKGROUNDS_BROWSE, "sunset.jpg");
  ASSERT_TRUE(run.Page().Click(IDC_BACKGROUNDS_ADD));
  EXPECT_EQ("Sunset", ListText(6));
  EXPECT_EQ("e3.jpg", ImageOf(3));
}

TEST_F(BackgroundsTest, LabelsShowTheDefaultAndTheCurrentImage) {
  const auto option = [](const char* file) {
    return Edit{&g_strConfigFile, "Global Options", demo::slots::kDefaultBackgroundImage,
                std::string("__DEFAULT_BACKGROUND_IMAGE__,") + file};
  };
  const std::vector<Entry> skies = {{1, "Blue sky", "bluesky.jpg"}, {3, "Sky", "Sky.JPG"}};
  const struct {
    const char* name;
    bool version35;
    std::optional<std::vector<Entry>> entries;
    std::vector<Edit> edits;
    const char *current, *defaultLabel;
  } rows[] = {
      {"3.0 demo", false, {}, {}, "Ocean", "Ocean"},
      {"3.0, the whole file name in any case", false, skies, {option("sky.jpg")}, "Sky", "Ocean"},
      {"3.0, no current file", false, skies, {option("")}, "Error", "Ocean"},
      {"3.0, no default",
       false,
       {},
       {{&g_strTextFile, "Backgrounds", "DEFAULTBACKGROUND", {}}},
       "Ocean",
       "Error"},
      {"3.5 demo", true, {}, {}, "ocean.jpg", "Ocean"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(row.version35, row.entries, row.edits);
    SheetDriver run = Open();
    EXPECT_EQ(row.current, run.Page().Text(IDC_BACKGROUNDS_CURRENT_NAME));
    EXPECT_EQ(row.defaultLabel, run.Page().Text(IDC_BACKGROUNDS_DEFAULT_NAME));
    run.PressCancel();
  }
}

TEST_F(BackgroundsTest, NextWritesTheThreeMenusNineTimesAndBackWritesNothing) {
  Lay(true);
  SheetDriver run = Open();
  EXPECT_EQ("sky.jpg", run.Page().Text(IDC_BACKGROUNDS_MENU1_JPEG));
  EXPECT_EQ("forest.jpg", run.Page().Text(IDC_BACKGROUNDS_MENU2_JPEG));
  EXPECT_EQ("ocean.jpg", run.Page().Text(IDC_BACKGROUNDS_MENU3_JPEG));
  const std::string before = Files();
  ASSERT_TRUE(run.PressBack());
  EXPECT_EQ(unsigned{IDD_VICONS}, run.ActiveTemplateId());
  EXPECT_EQ(before, Files());
  ASSERT_TRUE(run.PressNext());

  Browse(run, IDC_BACKGROUNDS_MENU1_BROWSE, "ON_THE_WEB.JPG");
  Browse(run, IDC_BACKGROUNDS_MENU2_BROWSE, "on_the_web2.jpg");
  ASSERT_TRUE(run.PressNext());
  EXPECT_EQ(unsigned{IDD_TCOLOR}, run.ActiveTemplateId());
  const struct {
    const char *option, *slot, *file, *tab;
  } menus[] = {
      {"__MENU1_BACKGROUND__,", demo::slots::kMenu1Background, "On_the_Web.jpg", "TAB2_DEFAULT"},
      {"__MENU2_BACKGROUND__,", demo::slots::kMenu2Background, "on_the_web2.jpg", "TAB3_DEFAULT"},
      {"__MENU3_BACKGROUND__,", demo::slots::kMenu3Background, "ocean.jpg", "TAB4_DEFAULT"}};
  for (const auto& m : menus) {
    SCOPED_TRACE(m.file);
    EXPECT_EQ(std::string(m.option) + m.file, Get(g_strConfigFile, "Global Options", m.slot));
    EXPECT_EQ(m.file, Get(g_strConfigFile, "OEM Defaults", m.tab));
  }
  EXPECT_NE(std::string::npos,
            Files().find("[BG_Files]\r\nFile1=On_the_Web.jpg\r\nFile2=on_the_web2.jpg\r\n"
                         "File3=ocean.jpg\r\n"));
}

TEST_F(BackgroundsTest, MenuFilesAreRefusedWhenMissingOrTooLong) {
  const std::string long43 = std::string(39, 'n') + ".jpg", long42 = long43.substr(1);
  const auto menu2 = [](const std::string& file) {
    return std::vector<Edit>{{&g_strConfigFile, "Global Options", demo::slots::kMenu2Background,
                              "__MENU2_BACKGROUND__," + file}};
  };
  const std::vector<Edit> noOption = {
      {&g_strConfigFile, "Global Options", demo::slots::kMenu2Background, {}}};
  const std::string tooLong = "Information: The file name \"" + long43 +
                              "\" is too long for a menu background: it can have at most 42 "
                              "characters.";
  const struct {
    const char* name;
    std::vector<Edit> edits;
    std::string browsed, shown, told;
    bool stays;
    std::string written;
  } rows[] = {
      {"empty in the file", menu2(""), "", "",
       "Information: You need to enter a JPEG File name for the menu", true, ""},
      {"43 characters in the file", menu2(long43), "", long43, tooLong, true, ""},
      {"43 characters browsed",
       {},
       long43,
       "forest.jpg",
       tooLong,
       false,
       "__MENU2_BACKGROUND__,forest.jpg"},
      {"42 characters browsed", {}, long42, long42, "", false, "__MENU2_BACKGROUND__," + long42},
      {"option missing, file browsed", noOption, "dawn.jpg", "dawn.jpg",
       "Information: The help application's configuration file has no entry marked "
       "__MENU2_BACKGROUND__, so that menu's background was not set there. The other entries "
       "were written.",
       false, kNone},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(true, {}, row.edits);
    SheetDriver run = Open();
    const std::string before = Files();
    if (!row.browsed.empty()) Browse(run, IDC_BACKGROUNDS_MENU2_BROWSE, row.browsed);
    EXPECT_EQ(row.shown, run.Page().Text(IDC_BACKGROUNDS_MENU2_JPEG));
    run.PressNext();
    EXPECT_EQ(row.told, Told());
    EXPECT_EQ(row.stays ? IDD_BACKGROUNDS : IDD_TCOLOR, run.ActiveTemplateId());
    if (row.stays) {
      EXPECT_EQ(before, Files());
    } else {
      EXPECT_EQ(row.written, Get(g_strConfigFile, "Global Options", demo::slots::kMenu2Background));
      EXPECT_EQ(row.shown, Get(g_strConfigFile, "OEM Defaults", "TAB3_DEFAULT"));
      EXPECT_EQ(kNone, Get(g_strConfigFile, "Global Options", "Error"));
    }
    run.PressCancel();
  }
}

TEST_F(BackgroundsTest, MenuFileTakesOneSlotInVersionThreeFiveOnly) {
  const struct {
    const char* name;
    bool version35;
    std::vector<std::string> browsed;
    int slot;  // 0: none taken
  } rows[] = {
      {"3.5", true, {"dawn.jpg"}, 8},
      {"3.5, the same file twice", true, {"dawn.jpg", "dawn.jpg"}, 8},
      {"3.5, a file listed already", true, {"E2.JPG"}, 0},
      {"3.0", false, {"dawn.jpg"}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(row.version35, Entries(1, 7));
    SheetDriver run = Open();
    for (const std::string& file : row.browsed) Browse(run, IDC_BACKGROUNDS_MENU1_BROWSE, file);
    EXPECT_EQ(row.browsed.back(), run.Page().Text(IDC_BACKGROUNDS_MENU1_JPEG));
    if (row.slot) {
      EXPECT_EQ("dawn.jpg", ListText(row.slot));
      EXPECT_EQ("dawn.jpg", ImageOf(row.slot));
      EXPECT_EQ(kNone, Mark(row.slot));
    }
    EXPECT_EQ(kNone, ListText(row.slot ? row.slot + 1 : 8));
    EXPECT_EQ("Freed", Mark(row.slot ? row.slot + 1 : 8));
    EXPECT_EQ(std::size_t(row.slot ? 8 : 7), Listed(run).size());
    EXPECT_EQ("", Told());
    run.PressCancel();
  }
}

TEST_F(BackgroundsTest, MenuFileWithAllSlotsInUseIsKeptAndTold) {
  Lay(true, Entries(1, 99));
  SheetDriver run = Open();
  Browse(run, IDC_BACKGROUNDS_MENU3_BROWSE, "dawn.jpg");
  EXPECT_EQ(kNoFreeSlot, Told());
  EXPECT_EQ("dawn.jpg", run.Page().Text(IDC_BACKGROUNDS_MENU3_JPEG));
  EXPECT_EQ(99u, Listed(run).size());
}

}  // namespace
