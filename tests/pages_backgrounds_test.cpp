// The background list and the menus' backgrounds, on laid installations of
// both editions, driven through the headless backend. Each case lays a list,
// runs steps on the page and checks entries of the three files:
//   "T:key=value" text file, "C:" config file (both section "Backgrounds"),
//   "M:" map file's "OKAPI", "O:" config "Global Options", "D:" "OEM Defaults";
//   "<none>" stands for a missing entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/wizard_driver.h"

namespace {

using fw::headless::SheetDriver;

constexpr char kNone[] = "<none>";

struct Case {
  const char* name;
  bool version35;
  int used;  // slots 1 to `used` hold "E<n>" showing "e<n>.jpg"; -1 keeps the demo's list
  std::vector<std::string> before, steps, after;
  std::string told{};  // the last message, caption first
};

struct Entry {
  const std::string* file;
  const char* section;
  std::string key;
  std::optional<std::string> value;
};

Entry Parse(const std::string& spec) {
  static const std::map<char, std::pair<const std::string*, const char*>> kPlaces = {
      {'T', {&g_strTextFile, "Backgrounds"}},    {'C', {&g_strConfigFile, "Backgrounds"}},
      {'M', {&g_strMapFile, "OKAPI"}},           {'O', {&g_strConfigFile, "Global Options"}},
      {'D', {&g_strConfigFile, "OEM Defaults"}},
  };
  const auto& [file, section] = kPlaces.at(spec[0]);
  const auto eq = spec.find('=');
  const std::string value = spec.substr(eq + 1);
  return {file, section, spec.substr(2, eq - 2),
          value == kNone ? std::nullopt : std::optional(value)};
}

std::string Read(const Entry& e) {
  return store::ReadString(e.section, e.key, kNone, 256, *e.file);
}
std::string Files() {
  std::string all;
  for (const std::string* f : {&g_strTextFile, &g_strConfigFile, &g_strMapFile})
    all += platform::Os().files->ReadFile(*f).value_or(kNone);
  return all;
}

// clang-format off
const std::map<std::string, int> kControls = {
    {"add", IDC_BACKGROUNDS_ADD}, {"delete", IDC_BACKGROUNDS_DELETE},
    {"current", IDC_BACKGROUNDS_CURRENT}, {"default", IDC_BACKGROUNDS_DEFAULT},
    {"browse", IDC_BACKGROUNDS_BROWSE}, {"menu1", IDC_BACKGROUNDS_MENU1_BROWSE},
    {"menu2", IDC_BACKGROUNDS_MENU2_BROWSE}, {"menu3", IDC_BACKGROUNDS_MENU3_BROWSE}};
const std::map<std::string, int> kShown = {
    {"current", IDC_BACKGROUNDS_CURRENT_NAME}, {"default", IDC_BACKGROUNDS_DEFAULT_NAME},
    {"menu1", IDC_BACKGROUNDS_MENU1_JPEG}, {"menu2", IDC_BACKGROUNDS_MENU2_JPEG}};
const std::map<std::string, unsigned> kPages = {
    {"backgrounds", IDD_BACKGROUNDS}, {"vicons", IDD_VICONS}, {"tcolor", IDD_TCOLOR},
    {"packaging", IDD_PACKAGING}};
// clang-format on

class BackgroundsTest : public okapi_test::WizardTest {
 protected:
  void Run(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      ASSERT_NO_FATAL_FAILURE(LayCase(c));
      SheetDriver run = OpenAt(IDD_BACKGROUNDS);
      for (const std::string& step : c.steps) ASSERT_NO_FATAL_FAILURE(Do(run, step));
      for (const std::string& check : c.after) Check(run, check);
      EXPECT_EQ(c.told, Shown() == toldBefore ? "" : LastTold());
      run.PressCancel();
    }
  }

 private:
  void LayCase(const Case& c) {
    toldBefore = Shown();
    installation.llb3 = c.version35 ? demo::Exe::V3_5_0_0 : demo::Exe::V3_0_1_0;
    ASSERT_NO_FATAL_FAILURE(Lay());
    std::vector<std::string> entries;
    for (int n = 1; c.used >= 0 && n <= 4; ++n)
      entries.insert(entries.end(), {Slot('T', n, kNone), Slot('C', n, kNone)});
    for (int n = 1; n <= c.used; ++n) {
      const std::string name = std::to_string(n);
      entries.insert(entries.end(), {Slot('T', n, "E" + name), Slot('C', n, "e" + name + ".jpg")});
    }
    entries.insert(entries.end(), c.before.begin(), c.before.end());
    for (const std::string& spec : entries) {
      const Entry e = Parse(spec);
      ASSERT_TRUE(store::WriteString(e.section, e.key, e.value, *e.file)) << spec;
    }
  }
  static std::string Slot(char file, int n, const std::string& value) {
    return std::string{file, ':'} + "BACK" + std::to_string(n) + (file == 'C' ? "" : "TEXT") + "=" +
           value;
  }

  void Do(SheetDriver& run, const std::string& step) {
    const auto eq = step.find('=');
    const std::string word = step.substr(0, eq);
    const std::string arg = eq == std::string::npos ? "" : step.substr(eq + 1);
    if (word == "name") {
      ASSERT_TRUE(run.Page().Type(IDC_BACKGROUNDS_NAME, arg));
    } else if (word == "select") {
      const auto items = run.Page().Get(IDC_BACKGROUNDS_LIST).items;
      const auto at = std::find(items.begin(), items.end(), arg);
      ASSERT_NE(items.end(), at) << arg;
      ASSERT_TRUE(run.Page().Select(IDC_BACKGROUNDS_LIST, static_cast<int>(at - items.begin())));
    } else if (word == "click") {
      ASSERT_TRUE(run.Page().Click(kControls.at(arg)));
    } else if (kControls.count(word)) {  // a Browse button, the file chosen
      headless->AnswerFileDialog("c:\\zantools\\zanhelp\\images\\small\\" + arg);
      ASSERT_TRUE(run.Page().Click(kControls.at(word)));
    } else if (word == "next") {
      (void)run.PressNext();  // where it leads is checked
    } else if (word == "back") {
      (void)run.PressBack();
    } else if (word == "finish") {  // from the packaging page; a question takes its default
      ASSERT_TRUE(run.Sheet().SetActivePage(&wizard->packaging));
      headless->DeliverPosted();  // the Finish button
      (void)run.PressFinish();
    } else if (word == "edit") {
      const Entry e = Parse(arg);
      ASSERT_TRUE(store::WriteString(e.section, e.key, e.value, *e.file));
    } else if (word == "readonly") {
      ASSERT_TRUE(platform::Os().files->SetReadOnly(g_strConfigFile));
    } else if (word == "writable") {
      ASSERT_TRUE(platform::Os().files->SetAttributesNormal(g_strConfigFile));
    } else if (word == "snapshot") {
      snapshot = Files();
    } else {
      FAIL() << "unknown step " << step;
    }
  }

  void Check(const SheetDriver& run, const std::string& check) {
    SCOPED_TRACE(check);
    const auto eq = check.find('=');
    const std::string word = check.substr(0, eq), arg = check.substr(eq + 1);
    if (check[1] == ':') {
      const Entry e = Parse(check);
      EXPECT_EQ(e.value.value_or(kNone), Read(e));
    } else if (word == "unchanged") {
      EXPECT_EQ(snapshot, Files());
    } else if (word == "marks") {  // free exactly where no list text is
      for (int n = 1; n <= 99; ++n) {
        const bool free = Read(Parse(Slot('T', n, ""))) == kNone;
        EXPECT_EQ(free ? "Freed" : kNone, Read(Parse(Slot('M', n, "")))) << n;
      }
    } else if (word == "list") {
      std::string shown;
      for (const auto& item : run.Page(IDD_BACKGROUNDS).Get(IDC_BACKGROUNDS_LIST).items)
        shown += (shown.empty() ? "" : ",") + item;
      EXPECT_EQ(arg, shown);
    } else if (word == "raw") {
      EXPECT_NE(std::string::npos, Files().find(arg));
    } else if (word == "page") {
      EXPECT_EQ(kPages.at(arg), run.ActiveTemplateId());
    } else {
      EXPECT_EQ(arg, run.Page(IDD_BACKGROUNDS).Text(kShown.at(word)));
    }
  }

  std::size_t toldBefore = 0;
  std::string snapshot;
};

const std::vector<std::string> kAddSunset = {"name= Sunset ", "browse=sunset.jpg", "click=add"};
std::vector<std::string> Then(std::vector<std::string> first,
                              const std::vector<std::string>& more) {
  first.insert(first.end(), more.begin(), more.end());
  return first;
}
const std::vector<std::string> kSea = {"T:BACK2TEXT=Sea view", "C:BACK2=seaview.jpg",
                                       "T:BACK4TEXT=Sea", "C:BACK4=sea.jpg"};

// Rows are laid out by hand, one case to a line or two.
// clang-format off
TEST_F(BackgroundsTest, ListKeepsItsThreeFilesInStep) {
  Run({
    {"empty list", false, 0, {}, kAddSunset,
     {"T:BACK1TEXT=Sunset", "C:BACK1=sunset.jpg", "marks", "list=Sunset"}},
    {"empty list, 3.5 lists the file", true, 0, {}, kAddSunset,
     {"T:BACK1TEXT=sunset.jpg", "C:BACK1=sunset.jpg", "marks", "list=sunset.jpg"}},
    {"slots 1 to 5 in use", false, 5, {}, kAddSunset,
     {"T:BACK6TEXT=Sunset", "C:BACK6=sunset.jpg", "marks", "list=E1,E2,E3,E4,E5,Sunset"}},
    {"slot freed by Delete", false, 5, {}, Then({"select=E3", "click=delete"}, kAddSunset),
     {"T:BACK3TEXT=Sunset", "C:BACK3=sunset.jpg", "marks", "list=E1,E2,E4,E5,Sunset"}},
    {"mark left on a slot in use", false, 5, {"M:Back2TEXT=Freed"}, kAddSunset,
     {"T:BACK2TEXT=E2", "T:BACK6TEXT=Sunset", "M:BACK6TEXT=<none>"}},
    {"text holding the sentinel", false, 5, {"T:BACK3TEXT=Error screen"}, kAddSunset,
     {"T:BACK3TEXT=Error screen", "T:BACK6TEXT=Sunset", "marks", "list=E1,E2,E4,E5,Sunset"}},
    {"failed delete", false, 5, {}, Then({"readonly", "select=E3", "click=delete", "writable"},
                                         kAddSunset),
     {"T:BACK3TEXT=<none>", "C:BACK3=e3.jpg", "M:BACK3TEXT=<none>", "T:BACK6TEXT=Sunset"}},
    // "Sea" must never pick "Sea view", which comes first and contains it.
    {"current, 3.0", false, 0, kSea, {"select=Sea", "click=current"},
     {"O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,sea.jpg", "current=Sea"}},
    {"current, 3.5", true, 0, kSea, {"select=Sea", "click=current"},
     {"O:OPTION14=__MENU4_BACKGROUND__,sea.jpg", "current=Sea"}},
    {"delete, neither opening setting", false, 0,
     Then(kSea, {"O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,seaview.jpg",
                 "T:DEFAULTBACKGROUND=Sea view"}), {"select=Sea", "click=delete"},
     {"T:BACK2TEXT=Sea view", "C:BACK2=seaview.jpg", "T:BACK4TEXT=<none>", "C:BACK4=<none>",
      "raw=Back4TEXT=Freed\r\n", "list=Sea view"}},
  });
}

TEST_F(BackgroundsTest, RefusedButtonsChangeNothing) {
  const std::vector<std::string> same = {"unchanged", "list=E1,E2,E3,E4",
                                         "current=Not listed: ocean.jpg"};
  const auto inUse = [](const char* settings, const char* name) {
    return "Information: \"" + std::string(name) + "\" cannot be deleted: it is the opening "
           "image's " + settings + ".\n\nSelect another entry and click " + settings +
           " first, then delete \"" + name + "\".";
  };
  const std::string gone = "Information: \"E4\" is no longer in the help application's "
                           "background list. Nothing was changed.";
  Run({
    {"Add, all 99 in use, fields empty", false, 99, {}, {"snapshot", "click=add"}, {"unchanged"},
     "Information: You need to free up a Friendly List Name"},
    {"Add, blank name", false, 4, {}, {"snapshot", "name= ", "browse=x.jpg", "click=add"}, same,
     "Information: You need to enter a Friendly Name"},
    {"Add, duplicate by case", false, 4, {}, {"snapshot", "name=e2", "browse=x.jpg", "click=add"},
     same, "Information: You entered a duplicate friendly name.\n Please enter a unique friendly "
           "name"},
    {"Add, no file", false, 4, {}, {"snapshot", "name=E2 2", "click=add"}, same,
     "Information: You need to enter a JPEG File Name"},
    {"Add, sentinel in the name", false, 4, {},
     {"snapshot", "name=Error screen", "browse=x.jpg", "click=add"}, same,
     "Information: \"Error screen\" cannot be listed: the help application takes a name "
     "containing \"Error\" for a missing one."},
    {"Delete, nothing selected", false, 4, {}, {"snapshot", "click=delete"}, same,
     "Information: You need to make a selection"},
    {"Delete, the current image", false, 4, {"O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,E2.JPG"},
     {"snapshot", "select=E2", "click=delete"}, {"unchanged", "list=E1,E2,E3,E4", "current=E2"},
     inUse("Current Setting", "E2")},
    {"Delete, the default image", false, 4, {"T:DEFAULTBACKGROUND=e3"},
     {"snapshot", "select=E3", "click=delete"}, same, inUse("Default Setting", "E3")},
    {"Delete, both, 3.5", true, 4, {"O:OPTION14=__MENU4_BACKGROUND__,e1.jpg", "D:TAB1_DEFAULT=E1"},
     {"snapshot", "select=E1", "click=delete"}, {"unchanged", "list=E1,E2,E3,E4", "current=e1.jpg"},
     inUse("Current Setting and Default Setting", "E1")},
    {"Delete, entry gone", false, 4, {},
     {"edit=T:BACK4TEXT=<none>", "snapshot", "select=E4", "click=delete"}, same, gone},
    {"Current, entry gone", false, 4, {},
     {"edit=T:BACK4TEXT=<none>", "snapshot", "select=E4", "click=current"}, same, gone},
    {"Current, no image file", false, 4, {"C:BACK4="}, {"snapshot", "select=E4", "click=current"},
     same, "Information: The opening image was not changed: \"E4\" names no JPEG file in the "
           "help application's configuration file."},
    {"Current, no option", false, 4, {"O:OPTION9=<none>"},
     {"snapshot", "select=E4", "click=current"},
     {"unchanged", "list=E1,E2,E3,E4", "current=Not set"},
     "Information: The opening image was not changed: the help application's configuration "
     "file has no entry marked __DEFAULT_BACKGROUND_IMAGE__."},
  });
}

TEST_F(BackgroundsTest, OpeningImageLabelsNameListedEntriesOrSaySoInWords) {
  const std::vector<std::string> skies = {"T:BACK1TEXT=Blue sky", "C:BACK1=bluesky.jpg",
                                          "T:BACK3TEXT=Sky", "C:BACK3=Sky.JPG"};
  Run({
    {"3.0, file name in another case", false, 0,
     Then(skies, {"O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,sky.jpg", "T:DEFAULTBACKGROUND=sky"}),
     {}, {"current=Sky", "default=sky"}},
    {"3.0, none set", false, 0,
     Then(skies, {"O:OPTION9=__DEFAULT_BACKGROUND_IMAGE__,", "T:DEFAULTBACKGROUND=<none>"}), {},
     {"current=Not set", "default=Not set"}},
    {"3.5 shows the file", true, 0, Then(skies, {"O:OPTION14=__MENU4_BACKGROUND__,Sky.jpg"}), {},
     {"current=Sky.jpg"}},
    // An earlier run deleted the demo's "Ocean"; Finish then asks first.
    {"damaged, Finish asks first", false, 0, skies, {"finish"},
     {"current=Not listed: ocean.jpg", "default=Not listed: Ocean", "page=packaging"},
     "OKAPI: The opening image is ocean.jpg, which is not in the background list, so the "
     "package may not contain it: computers that get the package would then open on an image "
     "they do not have.\n\nClick No, go Back to the Backgrounds page, select an image and "
     "click Current Setting, then click Finish again. Click Yes to make the package as it is."},
  });
}

TEST_F(BackgroundsTest, MenuBackgroundsAreWrittenOnNext) {
  const std::string long43 = std::string(39, 'n') + ".jpg", long42 = long43.substr(1);
  const std::string tooLong = "Information: The file name \"" + long43 + "\" is too long for a "
                              "menu background: it can have at most 42 characters.";
  Run({
    {"Back writes nothing", true, -1, {}, {"snapshot", "back"},
     {"page=vicons", "unchanged", "menu1=sky.jpg", "menu2=forest.jpg"}},
    {"nine writes", true, -1, {}, {"menu1=ON_THE_WEB.JPG", "menu2=on_the_web2.jpg", "next"},
     {"page=tcolor", "O:OPTION11=__MENU1_BACKGROUND__,On_the_Web.jpg",
      "D:TAB2_DEFAULT=On_the_Web.jpg", "O:OPTION12=__MENU2_BACKGROUND__,on_the_web2.jpg",
      "D:TAB3_DEFAULT=on_the_web2.jpg", "O:OPTION13=__MENU3_BACKGROUND__,ocean.jpg",
      "D:TAB4_DEFAULT=ocean.jpg",
      "raw=[BG_Files]\r\nFile1=On_the_Web.jpg\r\nFile2=on_the_web2.jpg\r\nFile3=ocean.jpg\r\n"}},
    {"empty in the file", true, -1, {"O:OPTION12=__MENU2_BACKGROUND__,"}, {"snapshot", "next"},
     {"page=backgrounds", "unchanged", "menu2="},
     "Information: You need to enter a JPEG File name for the menu"},
    {"43 characters in the file", true, -1, {"O:OPTION12=__MENU2_BACKGROUND__," + long43},
     {"snapshot", "next"}, {"page=backgrounds", "unchanged", "menu2=" + long43}, tooLong},
    {"43 characters browsed", true, -1, {}, {"menu2=" + long43, "next"},
     {"page=tcolor", "O:OPTION12=__MENU2_BACKGROUND__,forest.jpg"}, tooLong},
    {"42 characters browsed", true, -1, {}, {"menu2=" + long42, "next"},
     {"page=tcolor", "O:OPTION12=__MENU2_BACKGROUND__," + long42, "D:TAB3_DEFAULT=" + long42}},
    {"option missing, file browsed", true, -1, {"O:OPTION12=<none>"}, {"menu2=dawn.jpg", "next"},
     {"page=tcolor", "O:OPTION12=<none>", "O:Error=<none>", "D:TAB3_DEFAULT=dawn.jpg"},
     "Information: The help application's configuration file has no entry marked "
     "__MENU2_BACKGROUND__, so that menu's background was not set there. The other entries "
     "were written."},
  });
}

TEST_F(BackgroundsTest, MenuFileTakesOneSlotInVersionThreeFiveOnly) {
  const std::vector<std::string> taken = {"T:BACK8TEXT=dawn.jpg", "C:BACK8=dawn.jpg", "marks",
                                          "list=dawn.jpg,E1,E2,E3,E4,E5,E6,E7"};
  const std::vector<std::string> none = {"T:BACK8TEXT=<none>", "marks",
                                         "list=E1,E2,E3,E4,E5,E6,E7"};
  Run({
    {"3.5", true, 7, {}, {"menu1=dawn.jpg"}, taken},
    {"3.5, the same file twice", true, 7, {}, {"menu1=dawn.jpg", "menu2=dawn.jpg"}, taken},
    {"3.5, a file listed already", true, 7, {}, {"menu1=E2.JPG"}, Then(none, {"menu1=E2.JPG"})},
    {"3.0", false, 7, {}, {"menu1=dawn.jpg"}, Then(none, {"menu1=dawn.jpg"})},
    {"3.5, every slot in use", true, 99, {}, {"menu1=dawn.jpg"}, {"menu1=dawn.jpg"},
     "Information: You need to free up a Friendly List Name"},
  });
}
// clang-format on

}  // namespace
