// The company name's, the colours', the Visual Map buttons', the opening
// effects' and the backgrounds' rules without a window, on small files laid
// as the help application ships them.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "pages/backgrounds_model.h"
#include "pages/color_model.h"
#include "pages/company_model.h"
#include "pages/opening_effect_model.h"
#include "pages/visual_map_model.h"
#include "platform/ascii.h"
#include "store/globals.h"
#include "store/profile.h"
#include "store/seed.h"
#include "tests/support/counting_files.h"
#include "tests/support/rows.h"

namespace {

using Entry = std::optional<std::string>;

// What a model told, as "caption: text"; empty when it told nothing.
template <class Told>
std::string Said(const std::optional<Told>& told) {
  return told ? told->caption + ": " + told->message : "";
}

const std::string kDir = "c:\\zantools\\zanhelp\\", kMap = kDir + "okapi.ini",
                  kConfig = kDir + "lumen-config.ini", kText = kDir + "lumen-text.ini";
const okapi_test::Row& Laid() {
  static const okapi_test::Row laid = okapi_test::Rows("small_lumen.rows").at(0);
  return laid;
}

class ModelTest : public testing::Test {
 protected:
  ModelTest() {
    std::tie(g_strMapFile, g_strConfigFile, g_strTextFile, g_strHelpRoot, g_strInstallDir) =
        std::tuple(kMap, kConfig, kText, "c:\\zantools\\zanhelp", "c:\\Lumen\\");
    store::SetWriteFailureReporter(
        [this](const std::string& file, auto&) { failed.push_back(file); });
  }
  ~ModelTest() override {
    store::SetWriteFailureReporter(nullptr);
    std::tie(g_strMapFile, g_strConfigFile, g_strTextFile, g_strHelpRoot, g_strInstallDir) = saved_;
    g_bVersion35 = savedVersion_;
  }
  // The map file names `slots`.
  void Lay(const std::string& slots = Laid()["map"]) {
    for (const std::string& file : {kConfig, kText}) (void)files->SetAttributesNormal(file);
    files->AddFile(g_strMapFile, slots);
    files->AddFile(kConfig, Laid()["config"]);
    files->AddFile(kText, Laid()["text"]);
    files->AddDirectory("c:\\zantools\\zanhelp\\customization");
    files->AddDirectory("c:\\lumen\\images\\small");
    failed.clear();
  }
  // "Menu Parts:Configure" in the config file, "TEXT21" in the text file.
  static Entry Get(const std::string& where) {
    const auto [section, key, file] = Locate(where);
    const std::string value = store::ReadString(section, key, "Error", 1024, file);
    return value == "Error" ? std::nullopt : Entry(value);
  }
  static void Set(const std::string& where, const Entry& value) {
    const auto [section, key, file] = Locate(where);
    ASSERT_TRUE(store::WriteString(section, key, value, file));
  }
  static std::tuple<std::string, std::string, std::string> Locate(const std::string& where) {
    const auto colon = where.find(':');
    if (colon == std::string::npos) return {"Lumen Text", where, kText};
    return {where.substr(0, colon), where.substr(colon + 1), kConfig};
  }

  std::vector<std::string> failed;  // the files whose writes the store told of
  const std::tuple<std::string, std::string, std::string, std::string, std::string> saved_{
      g_strMapFile, g_strConfigFile, g_strTextFile, g_strHelpRoot, g_strInstallDir};
  const bool savedVersion_ = g_bVersion35;
  okapi_test::ScopedCountingFiles files;
};

using CompanyModelTest = ModelTest;

TEST_F(CompanyModelTest, NextRefusesLeavesOrAppendsTheNameToTheFirstTitle) {
  using Kind = CompanyModel::Outcome::Kind;
  const std::map<std::string, Kind> kinds = {{"refused", Kind::Refused},
                                             {"left alone", Kind::LeftAlone},
                                             {"written", Kind::Written},
                                             {"failed", Kind::Failed}};
  for (const okapi_test::Row& row : okapi_test::Rows("company_next.rows")) {
    SCOPED_TRACE(row["name"]);
    const Kind kind = kinds.at(row["outcome"]);
    const bool readOnly = row.Get("read-only").has_value(), written = kind == Kind::Written;
    Lay(row.Get("slots").value_or(Laid()["map"]));
    Set("TEXT1", row.Get("title"));
    Set("Text1_org", row.Get("first"));
    ASSERT_TRUE(!readOnly || files->SetReadOnly(kText));
    CompanyModel model;
    model.Load();
    const std::string before = files->Contents(kText);
    model.Name() = row["typed"];
    const CompanyModel::Outcome outcome = model.Next();
    EXPECT_EQ(kind, outcome.kind);
    EXPECT_EQ(row.Get("told") ? "Information: " + row["told"] : "", Said(outcome.told));
    EXPECT_EQ(written, before != files->Contents(kText)) << "written or untouched";
    EXPECT_EQ(row.Get(written ? "title after" : "title"), Get("TEXT1"));
    EXPECT_EQ(row.Get(written ? "first after" : "first"), Get("Text1_org"));
    EXPECT_EQ(readOnly ? std::vector<std::string>{kText} : std::vector<std::string>{}, failed);
    if (!written) continue;
    // The next run finds the name and writes the same title.
    CompanyModel next;
    next.Load();
    EXPECT_EQ(row["typed"], next.Name());
    EXPECT_EQ(Kind::Written, next.Next().kind);
    EXPECT_EQ(row.Get("title after"), Get("TEXT1"));
  }
}

using ColorModelTest = ModelTest;
using ColorRow = ColorModel::Row;
using Rgb = ColorModel::Rgb;

// Where a row's colour is stored: "Section:key" in the config file.
std::string ColorAt(ColorRow row) {
  if (row == ColorRow::Background) return "Global Options:OPTION5";
  return "Other:" + std::string(ColorModel::ItemOf(row).key);
}

// Picks go to the last row chosen, and once; a read-only file: the write is
// told once, nothing changes.
TEST_F(ColorModelTest, StoredColoursShowAndOnlyRealOnesAreWrittenBackInLowerCase) {
  const std::map<std::string, ColorRow> names = {{"mouse over", ColorRow::MouseOver},
                                                 {"menu", ColorRow::Menu},
                                                 {"tool bar", ColorRow::ToolBar},
                                                 {"background", ColorRow::Background}};
  const auto rgb = [](const std::string& text) {
    unsigned r = 0, g = 0, b = 0;
    EXPECT_EQ(3, std::sscanf(text.c_str(), "%u,%u,%u", &r, &g, &b)) << text;
    return Rgb{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
  };
  for (const okapi_test::Row& row : okapi_test::Rows("colors.rows")) {
    SCOPED_TRACE(row["name"]);
    const ColorRow at = names.at(row["row"]);
    const bool readOnly = row.Get("read-only").has_value();
    Lay(row.Get("no slot") ? "" : "[OPTIONS]\r\n__BACKGROUND_COLOR__=OPTION5\r\n");
    for (const auto& [name, r] : names) Set(ColorAt(r), r == at ? row.Get("stored") : std::nullopt);
    ColorModel model;
    model.Load();
    EXPECT_EQ(rgb(row["shown"]), model.Color(at));
    if (row.Get("picked")) {
      model.Target(ColorRow::Background), model.Target(at);
      EXPECT_EQ(at, model.Pick(rgb(row["picked"])));
      EXPECT_EQ(std::nullopt, model.Pick({1, 1, 1})) << "a second pick goes nowhere";
    }
    ASSERT_TRUE(!readOnly || files->SetReadOnly(kConfig));
    EXPECT_EQ(!readOnly, model.Save());
    EXPECT_EQ(readOnly ? std::vector<std::string>{kConfig} : std::vector<std::string>{}, failed);
    for (const auto& [name, r] : names)
      EXPECT_EQ(r == at ? row.Get("written") : std::nullopt, Get(ColorAt(r))) << name;
  }
}

TEST(ColorSwatches, PickInsideTheirBoundsAtTheScreensDpi) {
  using Hit = std::tuple<int, int, int, std::optional<Rgb>>;  // dpi, x, y, colour
  const Rgb white = {255, 255, 255};
  for (const auto& [dpi, x, y, picked] :
       {Hit{96, 44, 115, {}}, Hit{96, 45, 115, white}, Hit{96, 60, 123, white},
        Hit{96, 61, 115, {}}, Hit{96, 237, 146, Rgb{64, 128, 128}}, Hit{120, 55, 140, {}},
        Hit{120, 56, 170, Rgb{}}})
    EXPECT_EQ(picked, SwatchAt(x, y, dpi)) << dpi << " dpi " << x << "," << y;
}

using VisualMapModelTest = ModelTest;
using Button = VisualMapModel::Button;

// Configure switched once in files that are not as the help application
// ships them; then the button as the next run finds it.
TEST_F(VisualMapModelTest, FirstValuesComeFromTheMappedSlotsAndAMissingOneIsNeverRestored) {
  const auto entries = [](const std::vector<std::string>& all) {
    std::vector<std::pair<std::string, Entry>> out;
    for (const std::string& e : all) {
      const std::string value = e.substr(e.find('=') + 1);
      out.emplace_back(e.substr(0, e.find('=')), value == "<missing>" ? Entry() : value);
    }
    return out;
  };
  for (const okapi_test::Row& row : okapi_test::Rows("visual_map.rows")) {
    SCOPED_TRACE(row["name"]);
    const bool readOnly = row.Get("read-only").has_value();
    Lay(row.Get("slots").value_or(Laid()["map"]));
    for (const auto& [where, value] : entries(row.All("before"))) Set(where, value);
    ASSERT_TRUE(!readOnly || files->SetReadOnly(kConfig));
    VisualMapModel model;
    model.Load();
    const bool shown = model.Shown(Button::Configure);
    const VisualMapModel::Outcome outcome = model.Set(Button::Configure, !shown);
    EXPECT_EQ(!readOnly, outcome.applied);
    EXPECT_EQ(readOnly ? shown : !shown, model.Shown(Button::Configure));
    for (const auto& [where, value] : entries(row.All("after")))
      EXPECT_EQ(value, Get(where)) << where;
    EXPECT_EQ(row.Get("told") ? "Information: " + row["told"] : "", Said(outcome.told));
    // Told by the store: once a button at start, once more for the switch.
    EXPECT_EQ(readOnly ? std::vector<std::string>(3, kConfig) : std::vector<std::string>{}, failed);
    VisualMapModel nextRun;
    nextRun.Load();
    EXPECT_EQ(row["next run"] == "shown", nextRun.Shown(Button::Configure));
  }
}

// The two opening effects, as data/opening_effects.rows spells them.
const std::vector<okapi_test::Row>& Effects() {
  static const auto effects = okapi_test::Rows("opening_effects.rows");
  return effects;
}
OpeningEffectModel ModelOf(const okapi_test::Row& e) {
  return OpeningEffectModel(e["effect"] == "sound" ? OpeningEffectModel::Sound()
                                                   : OpeningEffectModel::Animation());
}
std::string ToolCopy(const okapi_test::Row& e) {
  return "c:\\zantools\\zanhelp\\customization\\" + e["folder"] + e["chosen"];
}
std::string InstallCopy(const okapi_test::Row& e) {
  return "c:\\Lumen\\" + e["folder"] + e["chosen"];
}

using OpeningEffectModelTest = ModelTest;

TEST_F(OpeningEffectModelTest, StatesStartAsStoredAndEachSwitchWritesOnlyItsEntry) {
  const struct {
    Entry value;
    bool on;
  } stored[] = {{"TRUE", true}, {"True", false}, {std::nullopt, false}};
  for (const okapi_test::Row& e : Effects()) {
    for (const auto& s : stored) {
      SCOPED_TRACE(e["marker"] + " " + s.value.value_or("<missing>"));
      Lay();
      Set(e["option"], e["marker"] + (s.value ? "," + *s.value : ""));  // the slot stays known
      Set(e["after revert"], s.value);
      OpeningEffectModel model = ModelOf(e);
      model.Load();
      EXPECT_EQ(s.on, model.Now());
      EXPECT_EQ(s.on, model.AfterRevert());
      EXPECT_TRUE(model.SetNow(!s.on).applied);
      EXPECT_EQ(e["marker"] + (s.on ? ",false" : ",true"), Get(e["option"]));
      EXPECT_EQ(s.value, Get(e["after revert"]));
      EXPECT_TRUE(model.SetAfterRevert(!s.on).applied);
      EXPECT_EQ(s.on ? "false" : "true", Get(e["after revert"]));
      EXPECT_EQ("true", Get(e["other after revert"]));
      EXPECT_EQ(!s.on, model.Now() && model.AfterRevert());
    }
  }
}

// Without its slot the switch is told; a file refusing the write was told
// by the store, and the switch keeps its state.
TEST_F(OpeningEffectModelTest, ASwitchThatCannotBeWrittenIsToldAndKeepsItsState) {
  for (const okapi_test::Row& e : Effects()) {
    for (const bool slot : {false, true}) {
      SCOPED_TRACE(e["marker"] + (slot ? "" : " without its slot"));
      Lay(slot ? Laid()["map"] : "[OPTIONS]\r\n");
      const std::string before = files->Contents(kConfig);
      OpeningEffectModel model = ModelOf(e);
      model.Load();
      const OpeningEffectModel::Outcome noSlot = model.SetNow(slot);
      EXPECT_EQ(slot, noSlot.applied);
      EXPECT_EQ(slot ? ""
                     : "Information: lumen-config.ini has no entry marked " + e["marker"] +
                           ", so the help application's " + e["noun"] + " setting was not changed.",
                Said(noSlot.told));
      ASSERT_TRUE(files->SetReadOnly(kConfig));
      const OpeningEffectModel::Outcome refused =
          slot ? model.SetNow(false) : model.SetAfterRevert(false);
      EXPECT_FALSE(refused.applied || refused.told);
      EXPECT_TRUE(slot ? model.Now() : model.AfterRevert());
      EXPECT_EQ(std::vector<std::string>{kConfig}, failed);
      EXPECT_EQ(before, files->Contents(kConfig));
    }
  }
}

TEST_F(OpeningEffectModelTest, ChosenFileIsNamedOnlyOnceTheInstallationHasIt) {
  for (const okapi_test::Row& row : okapi_test::Rows("chosen_effect_file.rows")) {
    const okapi_test::Row& e = Effects()[row["effect"] == "animation"];
    SCOPED_TRACE(row["effect"] + " " + row["name"]);
    const bool slot = !row.Get("no slot");
    Lay(slot ? Laid()["map"] : "[OPTIONS]\r\n");
    const std::string chosen = row.Get("in place") ? platform::ToUpperAscii(InstallCopy(e))
                                                   : "c:\\zantools\\" + e["chosen"];
    files->AddFile(chosen, "new");
    const std::string refused = row["refuses"] == "tool"           ? ToolCopy(e)
                                : row["refuses"] == "installation" ? InstallCopy(e)
                                                                   : "";
    if (!refused.empty()) files->AddFile(refused, "old");
    ASSERT_TRUE(refused.empty() || files->SetReadOnly(refused));
    const Entry before = Get(e["file option"]);
    const auto told = ModelOf(e).UseFile(chosen, e["chosen"]);
    EXPECT_EQ(slot && refused != InstallCopy(e) ? e["file marker"] + "," + e["chosen"] : before,
              Get(e["file option"]));
    for (const std::string& target : {ToolCopy(e), InstallCopy(e)}) {
      EXPECT_EQ(target == refused ? "old" : "new", files->Contents(target));
      (void)files->SetAttributesNormal(target);  // no copy left for the next row
      (void)files->Remove(target);
    }
    EXPECT_EQ(row["told"], Said(told));
  }
}

// Each row of data/backgrounds.rows takes steps on a model of either
// edition, the map file seeded, and gives what they told and showed, and
// every entry they changed.
using Model = BackgroundsModel;
constexpr char kNone[] = "<none>";
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
std::vector<std::string> Changes(const std::map<std::string, std::string>& before) {
  const auto after = Entries();
  std::vector<std::string> changes;
  for (const auto& [key, value] : after)
    if (!before.contains(key) || before.at(key) != value) changes.push_back(key + "=" + value);
  for (const auto& [key, value] : before)
    if (!after.contains(key)) changes.push_back(key + "=" + kNone);
  return changes;
}

// A button's refusal, the entry it listed, or "not done" when a write failed.
std::string Told(const Model::Outcome& o) {
  if (!o.done && !o.refusal) return "not done";
  return Said(o.refusal) + (o.listed ? "+" + *o.listed : "");
}

// One step as the rows spell it.
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
  if (const auto refusal = m.CheckMenus()) return Said(refusal);
  const SaveResult saved = m.SaveMenus();
  return Said(saved.notice) + (saved.saved ? "" : " [stays]");
}

using BackgroundsModelTest = ModelTest;

TEST_F(BackgroundsModelTest, EachStepTellsWhatItDidAndChangesOnlyItsEntries) {
  std::string told;  // a failed write is told as "[file]"
  store::SetWriteFailureReporter([&](const std::string& f, auto&) { told += "[" + f + "]"; });
  for (const okapi_test::Row& c : okapi_test::Rows("backgrounds.rows")) {
    SCOPED_TRACE(c["name"]);
    g_bVersion35 = c["edition"] == "3.5";
    std::string config = Laid()["backgrounds config"];
    std::string text = "[Backgrounds]\r\n";
    for (int n = 1; n <= std::stoi(c.Get("used").value_or("0")); ++n) {
      const std::string i = std::to_string(n);
      config += "BACK" + i + "=e" + i + ".jpg\r\n", text += "BACK" + i + "TEXT=E" + i + "\r\n";
    }
    for (const std::string* file : {&kMap, &kConfig, &kText}) files->SetAttributesNormal(*file);
    files->AddFile(kMap, ""), files->AddFile(kConfig, config), files->AddFile(kText, text);
    store::ForgetCachedFiles();
    for (const std::string& entry : c.All("before")) {
      const auto& [file, section] = kPlaces.at(entry[0]);
      const auto eq = entry.find('=');
      const std::string value = entry.substr(eq + 1);
      ASSERT_TRUE(store::WriteString(section, entry.substr(2, eq - 2),
                                     value == kNone ? std::nullopt : std::optional(value), *file));
    }
    SeedMapFile();
    Model model;
    model.Load();
    model.MarkFreeSlots();
    const auto before = Entries();
    told.clear();
    for (const std::string& step : c.All("step")) told += Do(model, step);
    EXPECT_EQ(c["told"], told.starts_with(' ') ? told.substr(1) : told);
    EXPECT_EQ(c.All("change"), Changes(before));
  }
}

}  // namespace
