// The backgrounds page's rules without its window, on small laid files of
// both editions, the map file seeded from them. Each row takes steps on a
// model and gives what they told and showed, and every entry they changed:
// "F:key=value", F being the file and section: "T" text file and "C" config
// file, both "Backgrounds"; the map file's "M" "OKAPI" and "F" "BG_Files";
// "O" config "Global Options", "D" "OEM Defaults". "<none>": missing.
#include "pages/backgrounds_model.h"

#include <gtest/gtest.h>

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
constexpr char kNone[] = "<none>";
const std::string kDir = "c:\\zantools\\zanhelp\\", kMap = kDir + "okapi.ini",
                  kConfig = kDir + "lumen-config.ini", kText = kDir + "lumen-text.ini";
// clang-format off
const std::map<char, std::pair<const std::string*, const char*>> kPlaces = {
    {'T', {&kText, "Backgrounds"}}, {'C', {&kConfig, "Backgrounds"}}, {'M', {&kMap, "OKAPI"}},
    {'F', {&kMap, "BG_Files"}}, {'O', {&kConfig, "Global Options"}}, {'D', {&kConfig, "OEM Defaults"}}};
// clang-format on

// Every entry of those sections, keyed "F:key", keys spelled as in the files.
std::map<std::string, std::string> Entries() {
  std::map<std::string, std::string> all;
  for (const auto& [letter, at] : kPlaces)
    for (const std::string& key : store::ReadKeyNames(at.second, *at.first))
      all[std::string{letter, ':'} + key] = store::ReadString(at.second, key, "", 256, *at.first);
  return all;
}
// The entries added or changed, then those removed.
std::string Changes(const std::map<std::string, std::string>& before) {
  const auto after = Entries();
  std::string changes;
  for (const auto& [key, value] : after)
    if (!before.contains(key) || before.at(key) != value) changes += " " + key + "=" + value;
  for (const auto& [key, value] : before)
    if (!after.contains(key)) changes += " " + key + "=" + kNone;
  return changes.empty() ? changes : changes.substr(1);
}

std::string Told(const std::optional<Notice>& r) { return r ? r->caption + ": " + r->message : ""; }
// A button's refusal, the entry it listed, or "not done" when a write failed.
std::string Told(const Model::Outcome& o) {
  if (!o.done && !o.refusal) return "not done";
  return Told(o.refusal) + (o.listed ? "+" + *o.listed : "");
}

// Steps: "add=NAME|FILE"; "delete=", "current=", "default=" and the selected
// entry (none without it); "pick1=FILE" for a menu; "next"; "readonly=" and
// a file's letter; "unlisted"; "?list", "?labels", "?menu1"
// for what the page shows.
std::string Do(Model& m, const std::string& step) {
  const std::string word = step.substr(0, step.find('='));
  const std::string arg = word.size() < step.size() ? step.substr(word.size() + 1) : "";
  const auto selected = word.size() < step.size() ? std::optional(arg) : std::nullopt;
  if (word == "add")
    return Told(m.Add(arg.substr(0, arg.find('|')), arg.substr(arg.find('|') + 1)));
  if (word == "delete") return Told(m.Delete(selected));
  if (word == "current") return Told(m.SetCurrent(selected));
  if (word == "default") return Told(m.SetDefault(selected));
  if (word.starts_with("pick")) return Told(m.PickMenuFile(word[4] - '1', arg));
  if (word == "unlisted") return UnlistedOpeningImage().value_or("listed");
  if (word == "readonly")
    return platform::Os().files->SetReadOnly(*kPlaces.at(arg[0]).first) ? "" : "?";
  std::string list;
  for (const std::string& text : m.Entries()) list += (list.empty() ? "" : ",") + text;
  if (word == "?list") return " list=" + list;
  if (word == "?labels") return " current=" + m.CurrentLabel() + " default=" + m.DefaultLabel();
  if (word.starts_with("?menu")) return " " + word.substr(1) + "=" + m.MenuFile(word[5] - '1');
  EXPECT_EQ("next", step);
  if (const auto refusal = m.CheckMenus()) return Told(refusal);
  const SaveResult saved = m.SaveMenus();
  return Told(saved.notice) + (saved.saved ? "" : " [stays]");
}

struct Case {
  const char* name;
  bool version35;
  int used;  // slots 1 to `used` hold "E<n>" showing "e<n>.jpg"
  std::vector<std::string> before, steps;
  std::string told, changes;
};

class BackgroundsModelTest : public testing::Test {
 protected:
  ~BackgroundsModelTest() override {
    g_strMapFile = saved_[0], g_strConfigFile = saved_[1], g_strTextFile = saved_[2];
    g_bVersion35 = savedVersion_;
    store::SetWriteFailureReporter(nullptr);
  }

  void Run(const std::vector<Case>& cases) {
    g_strMapFile = kMap, g_strConfigFile = kConfig, g_strTextFile = kText;
    std::string told;  // a failed write is told as "[file]"
    store::SetWriteFailureReporter([&](const std::string& f, auto&) { told += "[" + f + "]"; });
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      g_bVersion35 = c.version35;
      std::string config =
          "[Global Options]\r\nOPTION9=__DEFAULT_BACKGROUND_IMAGE__,ocean.jpg\r\n"
          "OPTION11=__MENU1_BACKGROUND__,sky.jpg\r\nOPTION12=__MENU2_BACKGROUND__,forest.jpg\r\n"
          "OPTION13=__MENU3_BACKGROUND__,ocean.jpg\r\nOPTION14=__MENU4_BACKGROUND__,ocean.jpg\r\n"
          "[Backgrounds]\r\n";
      std::string text = "[Backgrounds]\r\n";
      for (int n = 1; n <= c.used; ++n) {
        const std::string i = std::to_string(n);
        config += "BACK" + i + "=e" + i + ".jpg\r\n", text += "BACK" + i + "TEXT=E" + i + "\r\n";
      }
      for (const std::string* file : {&kMap, &kConfig, &kText}) files->SetAttributesNormal(*file);
      files->AddFile(kMap, ""), files->AddFile(kConfig, config), files->AddFile(kText, text);
      store::ForgetCachedFiles();
      for (const std::string& entry : c.before) {
        const auto& [file, section] = kPlaces.at(entry[0]);
        const auto eq = entry.find('=');
        const std::string value = entry.substr(eq + 1);
        ASSERT_TRUE(store::WriteString(section, entry.substr(2, eq - 2),
                                       value == kNone ? std::nullopt : std::optional(value),
                                       *file));
      }
      SeedMapFile();
      Model model;
      model.Load();
      model.MarkFreeSlots();
      const auto before = Entries();
      told.clear();
      for (const std::string& step : c.steps) told += Do(model, step);
      EXPECT_EQ(c.told, told);
      EXPECT_EQ(c.changes, Changes(before));
    }
  }

  okapi_test::ScopedCountingFiles files;
  const std::string saved_[3] = {g_strMapFile, g_strConfigFile, g_strTextFile};
  const bool savedVersion_ = g_bVersion35;
};

const char kAddSunset[] = "add= Sunset |sunset.jpg";
const std::string kInfo = "Information: ";

// Rows are laid out by hand, one case to a line or two.
// clang-format off
TEST_F(BackgroundsModelTest, ListKeepsItsThreeFilesInStep) {
  const std::vector<std::string> sea = {"T:BACK2TEXT=Sea view", "C:BACK2=seaview.jpg",
                                        "T:BACK4TEXT=Sea", "C:BACK4=sea.jpg"};
  const std::vector<std::string> set = {"current=Sea", "default=Sea", "?labels"};
  Run({
    {"3.5 lists the file", true, 0, {}, {kAddSunset, "?list"}, "+sunset.jpg list=sunset.jpg",
     "C:BACK1=sunset.jpg T:BACK1TEXT=sunset.jpg M:BACK1TEXT=<none>"},
    {"slot freed by Delete", false, 5, {}, {"delete=E3", kAddSunset, "?list"},
     "+Sunset list=E1,E2,E4,E5,Sunset", "C:BACK3=sunset.jpg T:BACK3TEXT=Sunset"},
    // A slot whose text exists is in use, whatever the text or a mark says.
    {"mark left on a slot in use, text holding the sentinel", false, 5,
     {"M:Back2TEXT=Freed", "T:BACK3TEXT=Error screen"}, {kAddSunset, "?list"},
     "+Sunset list=E1,E2,E4,E5,Sunset", "C:BACK6=sunset.jpg T:BACK6TEXT=Sunset M:Back6TEXT=<none>"},
    {"delete, neither opening setting", false, 0, {sea[0], sea[1], sea[2], sea[3],
     "T:DEFAULTBACKGROUND=Sea view", "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,seaview.jpg"},
     {"delete=Sea", "?list"}, " list=Sea view", "M:Back4TEXT=Freed C:BACK4=<none> T:BACK4TEXT=<none>"},
    // "Sea" must never pick "Sea view", which comes first and contains it.
    {"current and default, 3.0", false, 0, sea, set, " current=Sea default=Sea",
     "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,sea.jpg T:DEFAULTBACKGROUND=Sea"},
    {"current and default, 3.5", true, 0, sea, set, " current=Sea default=Sea",
     "D:TAB1_DEFAULT=Sea O:OPTION14=__MENU4_BACKGROUND__,sea.jpg"},
  });
}

TEST_F(BackgroundsModelTest, RefusedButtonsChangeNothingAndRefusedWritesAreToldLeavingNoHalfEntry) {
  const std::string config = "[" + kConfig + "]", text = "[" + kText + "]";
  const auto inUse = [](const char* settings, const char* name) {
    return kInfo + "\"" + name + "\" cannot be deleted: it is the opening image's " + settings +
           ".\n\nSelect another entry and click " + settings + " first, then delete \"" + name + "\".";
  };
  const std::string notChanged = kInfo + "The opening image was not changed: ";
  Run({
    {"Add, list full, fields empty", false, 99, {}, {"add=|"},
     kInfo + "You need to free up a Friendly List Name", ""},
    {"Add, the last slot", false, 98, {}, {kAddSunset}, "+Sunset",
     "C:BACK99=sunset.jpg T:BACK99TEXT=Sunset M:Back99TEXT=<none>"},
    {"Add, duplicate by case", false, 4, {}, {"add=e2|x.jpg"},
     kInfo + "You entered a duplicate friendly name.\n Please enter a unique friendly name", ""},
    {"Add, sentinel in the name", false, 4, {}, {"add=Error screen|x.jpg", "?list"}, kInfo +
     "\"Error screen\" cannot be listed: the help application takes a name containing \"Error\" "
     "for a missing one. list=E1,E2,E3,E4", ""},
    {"Delete, the current image", false, 4, {"O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,E2.JPG"},
     {"delete=E2", "?labels"}, inUse("Current Setting", "E2") + " current=E2 default=Not set", ""},
    {"Delete, both, 3.5", true, 4, {"O:OPTION14=__MENU4_BACKGROUND__,e1.jpg", "D:TAB1_DEFAULT=E1"},
     {"delete=E1"}, inUse("Current Setting and Default Setting", "E1"), ""},
    {"Current, no option", false, 4, {"O:OPTION9=<none>"}, {"current=E4", "?labels"}, notChanged +
     "the help application's configuration file has no entry marked __DEFAULT_BACKGROUND_IMAGE__. "
     "current=Not set default=Not set", ""},
    // The text is gone, so the entry is; the image stays and the slot unmarked.
    {"delete, config read-only", false, 5, {}, {"readonly=C", "delete=E3", "?list"},
     config + " list=E1,E2,E4,E5", "T:BACK3TEXT=<none>"},
    // The image alone does not take the slot: its mark stays for the next Add.
    {"add, text read-only", false, 0, {}, {"readonly=T", kAddSunset}, text + "not done",
     "C:BACK1=sunset.jpg"},
    {"current, config read-only", false, 2, {}, {"readonly=C", "current=E2", "?labels"},
     config + "not done current=Not listed: ocean.jpg default=Not set", ""},
    // Only the option differs from the file: its refusal alone keeps the page.
    {"next, config read-only", false, 0, {"D:TAB2_DEFAULT=dawn.jpg", "D:TAB3_DEFAULT=forest.jpg",
     "D:TAB4_DEFAULT=ocean.jpg"}, {"readonly=C", "pick1=dawn.jpg", "next"}, config + " [stays]",
     "F:File1=dawn.jpg F:File2=forest.jpg F:File3=ocean.jpg"},
  });
}

TEST_F(BackgroundsModelTest, OpeningImageLabelsNameListedEntriesOrSaySoInWords) {
  const auto skies = [](std::vector<std::string> more) {
    more.insert(more.end(), {"T:BACK1TEXT=Blue sky", "C:BACK1=bluesky.jpg", "T:BACK3TEXT=Sky",
                             "C:BACK3=Sky.JPG"});
    return more;
  };
  // "unlisted": what Finish asks about, the opening image when no entry shows it.
  const std::vector<std::string> shown = {"unlisted", "?labels"};
  Run({
    {"3.0, file name in another case", false, 0, skies({"T:DEFAULTBACKGROUND=sky",
     "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,sky.jpg"}), shown, "listed current=Sky default=sky", ""},
    {"3.5 shows the file", true, 0, skies({"D:TAB1_DEFAULT=Sky",
     "O:OPTION14=__MENU4_BACKGROUND__,Sky.jpg"}), shown, "listed current=Sky.jpg default=Sky", ""},
    {"none set, the default the sentinel", false, 0, skies({"T:DEFAULTBACKGROUND=Error",
     "O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,"}), shown, "listed current=Not set default=Not set", ""},
    {"damaged: both deleted from the list", false, 0, skies({"T:DEFAULTBACKGROUND=Ocean"}), shown,
     "ocean.jpg current=Not listed: ocean.jpg default=Not listed: Ocean", ""},
  });
}

TEST_F(BackgroundsModelTest, MenuBackgroundsAreWrittenOnNextAndTakeOneSlotInVersionThreeFive) {
  const std::string list = " list=E1,E2,E3,E4,E5,E6,E7";
  const std::string long43 = std::string(39, 'n') + ".jpg", long42 = long43.substr(1);
  const auto written = [](const std::string& menu2) {
    return "D:TAB2_DEFAULT=sky.jpg D:TAB3_DEFAULT=" + menu2 + " D:TAB4_DEFAULT=ocean.jpg "
           "F:File1=sky.jpg F:File2=" + menu2 + " F:File3=ocean.jpg";
  };
  const std::string tooLong = kInfo + "The file name \"" + long43 + "\" is too long for a menu "
                              "background: it can have at most 42 characters.";
  const std::string unmarked = kInfo + "The help application's configuration file has no entry "
      "marked __MENU2_BACKGROUND__, so that menu's background was not set there. The other entries ";
  Run({
    {"the help application's spelling", false, 0, {}, {"pick2=ON_THE_WEB.JPG", "next", "?menu2"},
     " menu2=On_the_Web.jpg", written("On_the_Web.jpg") + " O:OPTION12=__MENU2_BACKGROUND__,On_the_Web.jpg"},
    {"43 characters picked, then 42", false, 0, {}, {"pick2=" + long43, "pick2=" + long42, "next"},
     tooLong, written(long42) + " O:OPTION12=__MENU2_BACKGROUND__," + long42},
    {"option missing", false, 0, {"O:OPTION12=<none>"}, {"pick2=dawn.jpg", "next"},
     unmarked + "were written.", written("dawn.jpg")},
    // Told after the refused writes, it must not say that they were written;
    // the options already holding their files are not written again.
    {"option missing, config read-only", false, 0, {"O:OPTION12=<none>"},
     {"readonly=C", "pick2=dawn.jpg", "next"}, "[" + kConfig + "][" + kConfig + "][" + kConfig + "]" +
     unmarked + "could not be saved either, as told before this. [stays]",
     "F:File1=sky.jpg F:File2=dawn.jpg F:File3=ocean.jpg"},
    // A menu file takes one slot in 3.5 only.
    {"3.5, the same file twice", true, 7, {}, {"pick1=dawn.jpg", "pick2=DAWN.jpg", "?list", "?menu2"},
     "+dawn.jpg" + list + ",dawn.jpg menu2=DAWN.jpg",
     "C:BACK8=dawn.jpg T:BACK8TEXT=dawn.jpg M:Back8TEXT=<none>"},
    {"3.0", false, 7, {}, {"pick1=dawn.jpg", "?list", "?menu1"}, list + " menu1=dawn.jpg", ""},
  });
}
// clang-format on

}  // namespace
