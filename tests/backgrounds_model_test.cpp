// The backgrounds page's rules without its window, on small laid files of
// both editions, the map file seeded from them. Each row acts on a model and
// gives what it told, every entry it changed and what the page would show.
// Entries are "F:key=value", F being the file and section: "T" text file and
// "C" config file, both "Backgrounds"; the map file's "M" "OKAPI" and "F"
// "BG_Files"; "O" config "Global Options", "D" "OEM Defaults". "<none>" stands
// for a missing entry.
#include "pages/backgrounds_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/globals.h"
#include "store/profile.h"
#include "store/seed.h"
#include "tests/support/counting_files.h"

namespace {

using Model = BackgroundsModel;
using Act = std::function<std::string(Model&)>;
constexpr char kNone[] = "<none>";
const std::string kDir = "c:\\zantools\\zanhelp\\", kMap = kDir + "okapi.ini",
                  kConfig = kDir + "lumen-config.ini", kText = kDir + "lumen-text.ini";
const std::map<char, std::pair<const std::string*, const char*>> kPlaces = {
    {'T', {&kText, "Backgrounds"}},
    {'C', {&kConfig, "Backgrounds"}},
    {'M', {&kMap, "OKAPI"}},
    {'F', {&kMap, "BG_Files"}},
    {'O', {&kConfig, "Global Options"}},
    {'D', {&kConfig, "OEM Defaults"}}};

// Every entry of those sections, keys spelled as in the files.
std::map<std::string, std::string> Entries() {
  std::map<std::string, std::string> all;
  for (const auto& [letter, at] : kPlaces) {
    for (const std::string& key : store::ReadKeyNames(at.second, *at.first))
      all[std::string{letter, ':'} + key] = store::ReadString(at.second, key, "", 256, *at.first);
  }
  return all;
}
// The entries changed, then those removed.
std::string Changes(const std::map<std::string, std::string>& before) {
  std::string changes;
  const auto note = [&](const std::string& entry) {
    changes += (changes.empty() ? "" : " ") + entry;
  };
  const auto after = Entries();
  for (const auto& [key, value] : after) {
    if (!before.contains(key) || before.at(key) != value) note(key + "=" + value);
  }
  for (const auto& [key, value] : before) {
    if (!after.contains(key)) note(key + "=" + kNone);
  }
  return changes;
}

std::string Told(const std::optional<Model::Refusal>& r) {
  return r ? r->caption + ": " + r->message : "";
}
// A button's refusal, the entry it listed, or "not done" when a write failed.
std::string Told(const Model::Outcome& o) {
  if (!o.done && !o.refusal) return "not done";
  return Told(o.refusal) + (o.listed ? "+" + *o.listed : "");
}

class BackgroundsModelTest : public testing::Test {
 protected:
  struct Case {
    const char* name;
    bool version35;
    int used;  // slots 1 to `used` hold "E<n>" showing "e<n>.jpg"
    std::vector<std::string> before;
    Act act;
    std::string told, changes;
    std::vector<std::string> shown{};  // "list=", "current=", "default=", "menu1=", "menu2="
  };

  BackgroundsModelTest() { g_strMapFile = kMap, g_strConfigFile = kConfig, g_strTextFile = kText; }
  ~BackgroundsModelTest() override {
    g_strMapFile = saved_[0], g_strConfigFile = saved_[1], g_strTextFile = saved_[2];
    g_bVersion35 = savedVersion_;
  }

  void Run(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      ASSERT_NO_FATAL_FAILURE(Lay(c));
      Model model;
      model.Load();
      model.MarkFreeSlots();
      const auto before = Entries();
      EXPECT_EQ(c.told, c.act(model));
      EXPECT_EQ(c.changes, Changes(before));
      std::string list;
      for (const std::string& text : model.Entries()) list += (list.empty() ? "" : ",") + text;
      const std::map<std::string, std::string> shown = {{"list", list},
                                                        {"current", model.CurrentLabel()},
                                                        {"default", model.DefaultLabel()},
                                                        {"menu1", model.MenuFile(0)},
                                                        {"menu2", model.MenuFile(1)}};
      for (const std::string& s : c.shown)
        EXPECT_EQ(s, s.substr(0, s.find('=')) + "=" + shown.at(s.substr(0, s.find('='))));
    }
  }

 private:
  void Lay(const Case& c) {
    g_bVersion35 = c.version35;
    std::string config =
        "[Global Options]\r\nOPTION9=__DEFAULT_BACKGROUND_IMAGE__,ocean.jpg\r\n"
        "OPTION11=__MENU1_BACKGROUND__,sky.jpg\r\nOPTION12=__MENU2_BACKGROUND__,forest.jpg\r\n"
        "OPTION13=__MENU3_BACKGROUND__,ocean.jpg\r\nOPTION14=__MENU4_BACKGROUND__,ocean.jpg\r\n"
        "[Backgrounds]\r\n";
    std::string text = "[Backgrounds]\r\n";
    for (int n = 1; n <= c.used; ++n) {
      config += "BACK" + std::to_string(n) + "=e" + std::to_string(n) + ".jpg\r\n";
      text += "BACK" + std::to_string(n) + "TEXT=E" + std::to_string(n) + "\r\n";
    }
    files->AddFile(kMap, ""), files->AddFile(kConfig, config), files->AddFile(kText, text);
    store::ForgetCachedFiles();
    for (const std::string& spec : c.before) {
      const auto& [file, section] = kPlaces.at(spec[0]);
      const auto eq = spec.find('=');
      const std::string value = spec.substr(eq + 1);
      ASSERT_TRUE(store::WriteString(section, spec.substr(2, eq - 2),
                                     value == kNone ? std::nullopt : std::optional(value), *file));
    }
    SeedMapFile();
  }

  okapi_test::ScopedCountingFiles files;
  const std::string saved_[3] = {g_strMapFile, g_strConfigFile, g_strTextFile};
  const bool savedVersion_ = g_bVersion35;
};

Act Add(std::string name, std::string file) {
  return [=](Model& m) { return Told(m.Add(name, file)); };
}
Act On(Model::Outcome (Model::*button)(const std::optional<std::string>&),
       std::optional<std::string> selected) {
  return [=](Model& m) { return Told((m.*button)(selected)); };
}
Act Pick(std::size_t menu, std::string file) {
  return [=](Model& m) { return Told(m.PickMenuFile(menu, file)); };
}
Act Then(Act first, Act second) {
  return [=](Model& m) {
    std::string told = first(m);
    return told + second(m);
  };
}
// The first refusal, or what the writes told and whether the page stays.
std::string Next(Model& m) {
  if (const auto refusal = m.CheckMenus()) return Told(refusal);
  const Model::Saved saved = m.SaveMenus();
  return Told(saved.info) + (saved.written ? "" : " [stays]");
}
// `act` with the file read-only: what it did, then each failed write told.
Act ReadOnly(const std::string& file, Act act) {
  return [=](Model& model) {
    EXPECT_TRUE(platform::Os().files->SetReadOnly(file));
    std::string told;
    store::SetWriteFailureReporter([&](const std::string& f, auto&) { told += " | " + f; });
    told = act(model) + told;
    store::SetWriteFailureReporter(nullptr);
    EXPECT_TRUE(platform::Os().files->SetAttributesNormal(file));
    return told;
  };
}
std::vector<std::string> With(std::vector<std::string> first, std::vector<std::string> more) {
  first.insert(first.end(), more.begin(), more.end());
  return first;
}

const auto kDelete = &Model::Delete, kCurrent = &Model::SetCurrent, kDefault = &Model::SetDefault;
const Act kAddSunset = Add(" Sunset ", "sunset.jpg");

// Rows are laid out by hand, one case to a line or two.
// clang-format off
TEST_F(BackgroundsModelTest, ListKeepsItsThreeFilesInStep) {
  const std::vector<std::string> sea = {"T:BACK2TEXT=Sea view", "C:BACK2=seaview.jpg",
                                        "T:BACK4TEXT=Sea", "C:BACK4=sea.jpg"};
  Run({
    {"3.5 lists the file", true, 0, {}, kAddSunset, "+sunset.jpg",
     "C:BACK1=sunset.jpg T:BACK1TEXT=sunset.jpg M:BACK1TEXT=<none>", {"list=sunset.jpg"}},
    {"slot freed by Delete", false, 5, {}, Then(On(kDelete, "E3"), kAddSunset), "+Sunset",
     "C:BACK3=sunset.jpg T:BACK3TEXT=Sunset", {"list=E1,E2,E4,E5,Sunset"}},
    // A slot whose text exists is in use, whatever the text or a mark says.
    {"mark left on a slot in use, text holding the sentinel", false, 5,
     {"M:Back2TEXT=Freed", "T:BACK3TEXT=Error screen"}, kAddSunset, "+Sunset",
     "C:BACK6=sunset.jpg T:BACK6TEXT=Sunset M:Back6TEXT=<none>", {"list=E1,E2,E4,E5,Sunset"}},
    {"delete, neither opening setting", false, 0, With(sea, {"T:DEFAULTBACKGROUND=Sea view",
     "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,seaview.jpg"}), On(kDelete, "Sea"), "",
     "M:Back4TEXT=Freed C:BACK4=<none> T:BACK4TEXT=<none>", {"list=Sea view"}},
    // "Sea" must never pick "Sea view", which comes first and contains it.
    {"current, 3.0", false, 0, sea, On(kCurrent, "Sea"), "",
     "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,sea.jpg", {"current=Sea"}},
    {"current, 3.5", true, 0, sea, On(kCurrent, "Sea"), "", "O:OPTION14=__MENU4_BACKGROUND__,sea.jpg",
     {"current=Sea"}},
    {"default, 3.0", false, 2, {}, On(kDefault, "E2"), "", "T:DEFAULTBACKGROUND=E2", {"default=E2"}},
    {"default, 3.5", true, 2, {}, On(kDefault, "E2"), "", "D:TAB1_DEFAULT=E2", {"default=E2"}},
  });
}

TEST_F(BackgroundsModelTest, RefusedWritesAreToldAndLeaveNoHalfEntry) {
  Run({
    // The text is gone, so the entry is; the image stays and the slot unmarked.
    {"delete, config read-only", false, 5, {}, Then(ReadOnly(kConfig, On(kDelete, "E3")), kAddSunset),
     " | " + kConfig + "+Sunset",
     "C:BACK6=sunset.jpg T:BACK6TEXT=Sunset M:Back6TEXT=<none> T:BACK3TEXT=<none>"},
    {"delete, text read-only", false, 5, {}, ReadOnly(kText, On(kDelete, "E3")), "not done | " + kText,
     "", {"list=E1,E2,E3,E4,E5"}},
    {"add, config read-only", false, 0, {}, ReadOnly(kConfig, kAddSunset), "not done | " + kConfig,
     "", {"list="}},
    // The image alone does not take the slot: its mark stays for the next Add.
    {"add, text read-only", false, 0, {}, ReadOnly(kText, kAddSunset), "not done | " + kText,
     "C:BACK1=sunset.jpg", {"list="}},
    {"current, config read-only", false, 2, {}, ReadOnly(kConfig, On(kCurrent, "E2")),
     "not done | " + kConfig, "", {"current=Not listed: ocean.jpg"}},
  });
}

TEST_F(BackgroundsModelTest, RefusedButtonsChangeNothing) {
  const auto inUse = [](const char* settings, const char* name) {
    return "Information: \"" + std::string(name) + "\" cannot be deleted: it is the opening "
           "image's " + settings + ".\n\nSelect another entry and click " + settings +
           " first, then delete \"" + name + "\".";
  };
  const std::string info = "Information: ", notChanged = info + "The opening image was not changed: ";
  Run({
    {"Add, all 99 in use, fields empty", false, 99, {}, Add("", ""),
     info + "You need to free up a Friendly List Name", ""},
    {"Add, blank name", false, 4, {}, Add(" ", "x.jpg"), info + "You need to enter a Friendly Name", ""},
    {"Add, duplicate by case", false, 4, {}, Add("e2", "x.jpg"),
     info + "You entered a duplicate friendly name.\n Please enter a unique friendly name", ""},
    {"Add, no file", false, 4, {}, Add("E2 2", ""), info + "You need to enter a JPEG File Name", ""},
    {"Add, sentinel in the name", false, 4, {}, Add("Error screen", "x.jpg"), info + "\"Error "
     "screen\" cannot be listed: the help application takes a name containing \"Error\" for a "
     "missing one.", "", {"list=E1,E2,E3,E4"}},
    {"Delete, nothing selected", false, 4, {}, On(kDelete, {}), info + "You need to make a selection", ""},
    {"Delete, the current image", false, 4, {"O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,E2.JPG"},
     On(kDelete, "E2"), inUse("Current Setting", "E2"), "", {"list=E1,E2,E3,E4", "current=E2"}},
    {"Delete, the default image", false, 4, {"T:DEFAULTBACKGROUND=e3"}, On(kDelete, "E3"),
     inUse("Default Setting", "E3"), ""},
    {"Delete, both, 3.5", true, 4, {"O:OPTION14=__MENU4_BACKGROUND__,e1.jpg", "D:TAB1_DEFAULT=E1"},
     On(kDelete, "E1"), inUse("Current Setting and Default Setting", "E1"), ""},
    {"Current, entry gone", false, 4, {}, On(kCurrent, "E9"), info + "\"E9\" is no longer in the "
     "help application's background list. Nothing was changed.", ""},
    {"Current, no image file", false, 4, {"C:BACK4="}, On(kCurrent, "E4"), notChanged +
     "\"E4\" names no JPEG file in the help application's configuration file.", ""},
    {"Current, no option", false, 4, {"O:OPTION9=<none>"}, On(kCurrent, "E4"), notChanged +
     "the help application's configuration file has no entry marked __DEFAULT_BACKGROUND_IMAGE__.",
     "", {"current=Not set"}},
  });
}

TEST_F(BackgroundsModelTest, OpeningImageLabelsNameListedEntriesOrSaySoInWords) {
  const std::vector<std::string> skies = {"T:BACK1TEXT=Blue sky", "C:BACK1=bluesky.jpg",
                                          "T:BACK3TEXT=Sky", "C:BACK3=Sky.JPG"};
  // What Finish asks about: the opening image when no entry shows it.
  const Act unlisted = [](Model&) { return UnlistedOpeningImage().value_or("listed"); };
  Run({
    {"3.0, file name in another case", false, 0, With(skies, {"T:DEFAULTBACKGROUND=sky",
     "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,sky.jpg"}), unlisted, "listed", "",
     {"current=Sky", "default=sky"}},
    {"3.5 shows the file", true, 0, With(skies, {"O:OPTION14=__MENU4_BACKGROUND__,Sky.jpg"}),
     unlisted, "listed", "", {"current=Sky.jpg"}},
    {"none set, the default the sentinel", false, 0, With(skies, {"T:DEFAULTBACKGROUND=Error",
     "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,"}), unlisted, "listed", "",
     {"current=Not set", "default=Not set"}},
    {"damaged: both deleted from the list", false, 0, With(skies, {"T:DEFAULTBACKGROUND=Ocean"}),
     unlisted, "ocean.jpg", "", {"current=Not listed: ocean.jpg", "default=Not listed: Ocean"}},
  });
}

TEST_F(BackgroundsModelTest, MenuBackgroundsAreWrittenOnNext) {
  const std::string long43 = std::string(39, 'n') + ".jpg", long42 = long43.substr(1);
  const auto written = [](const std::string& menu2) {
    return "D:TAB2_DEFAULT=sky.jpg D:TAB3_DEFAULT=" + menu2 + " D:TAB4_DEFAULT=ocean.jpg "
           "F:File1=sky.jpg F:File2=" + menu2 + " F:File3=ocean.jpg";
  };
  const std::string tooLong = "Information: The file name \"" + long43 + "\" is too long for a "
                              "menu background: it can have at most 42 characters.";
  const std::string unmarked = "Information: The help application's configuration file has no "
      "entry marked __MENU2_BACKGROUND__, so that menu's background was not set there. The other "
      "entries ";
  const Act dawn = Then(Pick(1, "dawn.jpg"), Next);
  Run({
    {"the help application's spelling", false, 0, {}, Then(Pick(1, "ON_THE_WEB.JPG"), Next), "",
     written("On_the_Web.jpg") + " O:OPTION12=__MENU2_BACKGROUND__,On_the_Web.jpg",
     {"menu2=On_the_Web.jpg"}},
    {"empty in the file", false, 0, {"O:OPTION12=__MENU2_BACKGROUND__,"}, Next,
     "Information: You need to enter a JPEG File name for the menu", "", {"menu2="}},
    {"43 characters in the file", false, 0, {"O:OPTION12=__MENU2_BACKGROUND__," + long43}, Next,
     tooLong, ""},
    {"43 characters picked, then 42", false, 0, {}, Then(Then(Pick(1, long43), Pick(1, long42)), Next),
     tooLong, written(long42) + " O:OPTION12=__MENU2_BACKGROUND__," + long42},
    {"option missing", false, 0, {"O:OPTION12=<none>"}, dawn, unmarked + "were written.",
     written("dawn.jpg")},
    // Told after the refused writes, it must not say that they were written;
    // the options already holding their files are not written again.
    {"option missing, config read-only", false, 0, {"O:OPTION12=<none>"}, ReadOnly(kConfig, dawn),
     unmarked + "could not be saved either, as told before this. [stays] | " + kConfig + " | " +
     kConfig + " | " + kConfig, "F:File1=sky.jpg F:File2=dawn.jpg F:File3=ocean.jpg"},
  });
}

TEST_F(BackgroundsModelTest, MenuFileTakesOneSlotInVersionThreeFiveOnly) {
  const std::string list = "list=E1,E2,E3,E4,E5,E6,E7";
  Run({
    {"3.5, the same file twice", true, 7, {}, Then(Pick(0, "dawn.jpg"), Pick(1, "DAWN.jpg")),
     "+dawn.jpg", "C:BACK8=dawn.jpg T:BACK8TEXT=dawn.jpg M:Back8TEXT=<none>",
     {list + ",dawn.jpg", "menu1=dawn.jpg", "menu2=DAWN.jpg"}},
    {"3.5, a file listed already", true, 7, {}, Pick(0, "E2.JPG"), "", "", {list, "menu1=E2.JPG"}},
    {"3.0", false, 7, {}, Pick(0, "dawn.jpg"), "", "", {list, "menu1=dawn.jpg"}},
    {"3.5, every slot in use", true, 99, {}, Pick(0, "dawn.jpg"),
     "Information: You need to free up a Friendly List Name", "", {"menu1=dawn.jpg"}},
  });
}
// clang-format on

}  // namespace
