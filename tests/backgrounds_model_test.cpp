// The backgrounds page's rules without its window, on small laid files of
// both editions, the map file seeded from them: each row of
// data/backgrounds.rows takes steps on a model and gives what they told and
// showed, and every entry they changed.
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
#include "tests/support/rows.h"

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
std::vector<std::string> Changes(const std::map<std::string, std::string>& before) {
  const auto after = Entries();
  std::vector<std::string> changes;
  for (const auto& [key, value] : after)
    if (!before.contains(key) || before.at(key) != value) changes.push_back(key + "=" + value);
  for (const auto& [key, value] : before)
    if (!after.contains(key)) changes.push_back(key + "=" + kNone);
  return changes;
}

std::string Told(const std::optional<Notice>& r) { return r ? r->caption + ": " + r->message : ""; }
// A button's refusal, the entry it listed, or "not done" when a write failed.
std::string Told(const Model::Outcome& o) {
  if (!o.done && !o.refusal) return "not done";
  return Told(o.refusal) + (o.listed ? "+" + *o.listed : "");
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
  if (const auto refusal = m.CheckMenus()) return Told(refusal);
  const SaveResult saved = m.SaveMenus();
  return Told(saved.notice) + (saved.saved ? "" : " [stays]");
}

class BackgroundsModelTest : public testing::Test {
 protected:
  ~BackgroundsModelTest() override {
    g_strMapFile = saved_[0], g_strConfigFile = saved_[1], g_strTextFile = saved_[2];
    g_bVersion35 = savedVersion_;
    store::SetWriteFailureReporter(nullptr);
  }

  okapi_test::ScopedCountingFiles files;
  const std::string saved_[3] = {g_strMapFile, g_strConfigFile, g_strTextFile};
  const bool savedVersion_ = g_bVersion35;
};

TEST_F(BackgroundsModelTest, EachStepTellsWhatItDidAndChangesOnlyItsEntries) {
  g_strMapFile = kMap, g_strConfigFile = kConfig, g_strTextFile = kText;
  std::string told;  // a failed write is told as "[file]"
  store::SetWriteFailureReporter([&](const std::string& f, auto&) { told += "[" + f + "]"; });
  for (const okapi_test::Row& c : okapi_test::Rows("backgrounds.rows")) {
    SCOPED_TRACE(c["name"]);
    g_bVersion35 = c["edition"] == "3.5";
    std::string config =
        "[Global Options]\r\nOPTION9=__DEFAULT_BACKGROUND_IMAGE__,ocean.jpg\r\n"
        "OPTION11=__MENU1_BACKGROUND__,sky.jpg\r\nOPTION12=__MENU2_BACKGROUND__,forest.jpg\r\n"
        "OPTION13=__MENU3_BACKGROUND__,ocean.jpg\r\nOPTION14=__MENU4_BACKGROUND__,ocean.jpg\r\n"
        "[Backgrounds]\r\n";
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
