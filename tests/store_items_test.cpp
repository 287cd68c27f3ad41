// Items reached through the map file: marker to slot, slot to entry.
#include <gtest/gtest.h>

#include "store/globals.h"
#include "store/item_table.h"
#include "store/items.h"
#include "store/profile.h"
#include "tests/support/counting_files.h"

namespace {

constexpr const char* kText = "c:\\lumen\\lumen-text.ini";
const std::string kTextBytes =
    "[Lumen Text]\r\nTEXT1=__TITLE__,\"Lumen ZAN\"\r\n"
    "TEXT7=__SYSTEM_INFORMATION__,\"System Details\"\r\nError=junk\r\n; keep me\r\n"
    "[Other]\r\nSysDetails_saved=TRUE\r\n";

class StoreItems : public testing::Test {
 protected:
  StoreItems() {
    g_strMapFile = "c:\\zantools\\zanhelp\\okapi.ini";
    g_strTextFile = kText;
    files->AddFile(g_strMapFile,
                   "[TEXT]\r\n__TITLE__=TEXT1\r\n__System_Information__=TEXT7\r\n"
                   "[OPTIONS]\r\n__PLAY_SOUND__=OPTION12\r\n");
    files->AddFile(kText, kTextBytes);
  }
  ~StoreItems() override {
    g_strMapFile = savedMap_;
    g_strTextFile = savedText_;
  }

  const std::string savedMap_ = g_strMapFile;
  const std::string savedText_ = g_strTextFile;
  okapi_test::ScopedCountingFiles files;
};

TEST_F(StoreItems, SlotsResolveWithoutRegardToCaseAndAnUnresolvedOneIsNeverReadOrWritten) {
  EXPECT_EQ("TEXT7", ResolveItemKey("Text", "__SYSTEM_INFORMATION__"));
  EXPECT_EQ("OPTION12", ResolveItemKey("Options", "__play_sound__"));
  EXPECT_EQ("OPT", ResolveItemKey("Options", "__PLAY_SOUND__", 4));
  EXPECT_EQ("Error", ResolveItemKey("Text", "__WELCOME_INTRO__"));
  EXPECT_EQ("__TITLE__,\"Lu", ReadItem(kText, "lumen text", "text1", 14));
  EXPECT_EQ("Error", ReadItem(kText, "Lumen Text", "TEXT2", 128));
  for (const char* slot : {"Error", "ERROR", ""}) {
    SCOPED_TRACE(slot);
    EXPECT_FALSE(WriteItem(kText, "Lumen Text", slot, "__TITLE__,\"x\""));
    EXPECT_FALSE(WriteItem(kText, "Lumen Text", slot, std::nullopt));
    // The file does hold a junk key of that name; it must not pass for an item.
    EXPECT_EQ("Error", ReadItem(kText, "Lumen Text", slot, 128));
  }
  EXPECT_EQ(0, files->WriteCount());
  ASSERT_TRUE(files->SetReadOnly(kText));
  EXPECT_FALSE(WriteItem(kText, "Lumen Text", "TEXT1", "__TITLE__,\"x\""));
  EXPECT_EQ(kTextBytes, files->Contents(kText));
  for (const char* map : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(map ? "empty map file" : "missing map file");
    if (map) {
      files->AddFile(g_strMapFile, map);
    } else {
      ASSERT_TRUE(files->Remove(g_strMapFile));
    }
    EXPECT_EQ("Error", ResolveItemKey("Text", "__TITLE__"));
  }
}

TEST_F(StoreItems, ItemsByNameTellMissingFromPresent) {
  namespace item = store::item;
  EXPECT_EQ("__TITLE__,\"Lumen ZAN\"", store::Read(item::kTitle));
  EXPECT_EQ("TEXT7", store::SlotOf(item::kSystemInformation));
  EXPECT_EQ(std::nullopt, store::Read(item::kWelcomeIntro)) << "marker not in the map file";
  EXPECT_EQ(std::nullopt, store::Read(item::kFirstTitle)) << "key not in the file";
  EXPECT_EQ("TRUE", store::Read(item::kSysDetailsSaved));
  EXPECT_EQ(std::nullopt, store::Read(item::kTextBackgrounds.WithKey("Back1").CutTo(4)))
      << "missing, not a cut sentinel";
  EXPECT_EQ("__T", store::Read(item::kTitle.CutTo(4)));

  // Nothing is written for an item the map file does not name.
  EXPECT_FALSE(store::Write(item::kWelcomeIntro, "__WELCOME_INTRO__,\"Hi\""));
  EXPECT_EQ(kTextBytes, files->Contents(kText));
  ASSERT_TRUE(store::Write(item::kFirstTitle, "\"Lumen ZAN\""));
  EXPECT_EQ("Lumen ZAN", store::Read(item::kFirstTitle)) << "quotes around a whole value go";

  EXPECT_TRUE(store::HoldsSentinel("__PLAY_SOUND__,Error"));
  EXPECT_FALSE(store::HoldsSentinel("__PLAY_SOUND__,error"));
}

TEST_F(StoreItems, WritesThatDoNotReadBackFromDiskAreTold) {
  namespace item = store::item;
  std::vector<std::vector<store::ReadBackMismatch>> told;
  store::SetReadBackReporter([&](const auto& batch) { told.push_back(batch); });
  ASSERT_TRUE(store::Write(item::kTitle, "__TITLE__,\"Acme\""));
  files->DropNextWrite();  // the system says it wrote, and did not
  ASSERT_TRUE(store::Write(item::kSystemInformation, std::nullopt));
  ASSERT_EQ(1u, told.size());
  ASSERT_EQ(1u, told[0].size());
  EXPECT_EQ("__System_Information__", told[0][0].name);
  EXPECT_EQ(std::nullopt, told[0][0].written);
  EXPECT_EQ("__SYSTEM_INFORMATION__,\"System Details\"", told[0][0].found);
  // A batch that does not read back is told once, naming each entry.
  files->DropNextWrite();
  ASSERT_TRUE(store::WriteAll({{item::kText20, "A"}, {item::kText21, "B"}}));
  ASSERT_EQ(2u, told.size());
  const std::string text = store::Describe(told[1]);
  EXPECT_TRUE(text.starts_with("OKAPI wrote these 2 entries")) << text;
  for (const auto& m : told[1]) EXPECT_NE(std::string::npos, text.find(store::DescribeEntry(m)));
  told[1].resize(20, told[1][0]);
  EXPECT_NE(std::string::npos,
            store::Describe(told[1]).find("and 12 more, all listed in the changes report"));

  // Another program changes the title behind the engine, which still holds
  // the file it wrote: only a read from disk sees it.
  std::string bytes = files->Contents(kText);
  bytes.replace(bytes.find("Acme"), 4, "Evil");
  ASSERT_TRUE(platform::Os().files->WriteFileAtomic(kText, bytes));
  const auto mismatches = store::CheckWrittenItems();
  ASSERT_EQ(4u, mismatches.size()) << "the dropped delete and batch, and the changed title";
  EXPECT_EQ("__TITLE__", mismatches[0].name);
  EXPECT_EQ("__TITLE__,\"Evil\"", mismatches[0].found);
  store::SetReadBackReporter(nullptr);
}

TEST_F(StoreItems, ABatchIsOneWriteAndAFailureIsToldOnce) {
  namespace item = store::item;
  const std::string keys[] = {"Back2TEXT", "Back3TEXT", "Back4TEXT"};
  std::vector<std::pair<store::Item, std::string>> marks;
  for (const std::string& key : keys) marks.emplace_back(item::kFreeSlots.WithKey(key), "Freed");
  const int writes = files->WriteCount();
  ASSERT_TRUE(store::WriteAll(marks));
  EXPECT_EQ(writes + 1, files->WriteCount());
  EXPECT_EQ("Freed", store::Read(item::kFreeSlots.WithKey("Back3TEXT")));
  EXPECT_TRUE(store::CheckWrittenItems().empty());

  int told = 0;
  store::SetWriteFailureReporter([&](const std::string&, const std::string&) { ++told; });
  const std::string before = files->Contents(g_strMapFile);
  ASSERT_TRUE(files->SetReadOnly(g_strMapFile));
  for (auto& mark : marks) mark.second = "Taken";
  EXPECT_FALSE(store::WriteAll(marks));
  EXPECT_EQ(1, told);
  EXPECT_EQ(before, files->Contents(g_strMapFile));
  store::SetWriteFailureReporter(nullptr);
}

TEST_F(StoreItems, WritesTellWrittenNoSlotAndFailedApart) {
  namespace item = store::item;
  using Kind = store::WriteResult::Kind;
  const struct {
    const char* name;
    store::Item item;
    bool readOnly;
    Kind expected;
  } rows[] = {
      {"slot named", item::kTitle, false, Kind::Written},
      {"fixed key", item::kFirstTitle, false, Kind::Written},
      {"no slot in the map file", item::kWelcomeIntro, false, Kind::NoSlot},
      {"no slot, read-only file: nothing to tell", item::kWelcomeIntro, true, Kind::NoSlot},
      {"read-only file", item::kTitle, true, Kind::Failed},
      {"fixed key, read-only file", item::kFirstTitle, true, Kind::Failed},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    files->AddFile(kText, kTextBytes);
    if (row.readOnly) {
      ASSERT_TRUE(files->SetReadOnly(kText));
    }
    int told = 0;
    store::SetWriteFailureReporter([&](const std::string&, const std::string&) { ++told; });
    const store::WriteResult result = store::Write(row.item, "__X__,\"new\"");
    store::SetWriteFailureReporter(nullptr);
    EXPECT_TRUE(result == row.expected);
    EXPECT_EQ(row.expected == Kind::Written, static_cast<bool>(result));
    EXPECT_EQ(row.expected == Kind::Failed ? 1 : 0, told);
    EXPECT_EQ(row.expected == Kind::Written, files->Contents(kText) != kTextBytes);
    ASSERT_TRUE(files->SetAttributesNormal(kText));
  }
  // A batch writes what has a slot and says what had none.
  files->AddFile(kText, kTextBytes);
  const auto batch = store::WriteAll(
      {{item::kWelcomeIntro, "__WELCOME_INTRO__,x"}, {item::kTitle, "__TITLE__,\"Acme\""}});
  EXPECT_TRUE(batch == Kind::NoSlot);
  EXPECT_EQ("__TITLE__,\"Acme\"", store::Read(item::kTitle));
}

// The text file's two entries and their first values, flagged in [Other].
TEST_F(StoreItems, FirstValuesAreKeptOnceAndNeverOverwritten) {
  namespace item = store::item;
  const std::vector<std::pair<store::Item, store::Item>> copies = {
      {item::kText20, item::kText20Org}, {item::kText21, item::kText21Org}};
  using Opt = std::optional<std::string>;
  const struct {
    const char* name;
    std::string lines;  // of [Lumen Text], then the flag's section
    bool readOnly;
    store::FirstValue kind;
    bool returned;
    Opt org20, org21, flag;
  } rows[] = {
      // clang-format off
    {"first run", "TEXT20=A\r\nTEXT21=B\r\n[Other]\r\n", false, store::FirstValue::NonEmpty,
     true, "A", "B", "TRUE"},
    {"a copy kept by an earlier run is the older one",
     "TEXT20=A2\r\nTEXT20_org=A\r\nTEXT21=B\r\n", false, store::FirstValue::NonEmpty,
     true, "A", "B", "TRUE"},
    {"a missing first value leaves the flag unset", "TEXT20=A\r\n", false,
     store::FirstValue::NonEmpty, true, "A", {}, {}},
    {"an empty value is none", "TEXT20=A\r\nTEXT21=\r\n", false, store::FirstValue::NonEmpty,
     true, "A", {}, {}},
    {"... unless any text counts", "TEXT20=A\r\nTEXT21=\r\n", false, store::FirstValue::AnyText,
     true, "A", "", "TRUE"},
    {"flag set: nothing is taken", "TEXT20=A\r\n[Other]\r\nSysDetails_saved=TRUE\r\n", false,
     store::FirstValue::NonEmpty, true, {}, {}, "TRUE"},
    {"a flag holding the sentinel is unset",
     "TEXT20=A\r\nTEXT21=B\r\n[Other]\r\nSysDetails_saved=Error\r\n", false,
     store::FirstValue::NonEmpty, true, "A", "B", "TRUE"},
    {"a refused copy is said", "TEXT20=A\r\nTEXT21=B\r\n", true, store::FirstValue::NonEmpty,
     false, {}, {}, {}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string bytes = "[Lumen Text]\r\n" + row.lines;
    files->AddFile(kText, bytes);
    if (row.readOnly) {
      ASSERT_TRUE(files->SetReadOnly(kText));
    }
    int told = 0;
    store::SetWriteFailureReporter([&](const std::string&, const std::string&) { ++told; });
    EXPECT_EQ(row.returned, store::KeepFirstValues(item::kSysDetailsSaved, copies, row.kind));
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(!row.returned, told > 0);
    EXPECT_EQ(row.org20, store::Read(item::kText20Org));
    EXPECT_EQ(row.org21, store::Read(item::kText21Org));
    EXPECT_EQ(row.flag, store::Read(item::kSysDetailsSaved));
    if (row.readOnly) {
      EXPECT_EQ(bytes, files->Contents(kText));
    }
    ASSERT_TRUE(files->SetAttributesNormal(kText));
  }
}

// The changes report's grouping: by the entry's marker, else by its section
// and key, in either file.
TEST(ItemVocabulary, EntriesAreFiledUnderThePageThatWritesThem) {
  using store::Page;
  const struct {
    const char *section, *key, *marker;
    Page expected;
  } rows[] = {
      {"Lumen Text", "TEXT27", "__WELCOME_INTRO__", Page::WelcomePage},
      {"Lumen Text", "TEXT3", "__menu1_title__", Page::Menu},
      {"Lumen Text", "TEXT12", "__MENUX_TITLE__", Page::Menu},
      {"Lumen Text", "TEXT7", "__System_Information__", Page::Menu},
      {"Lumen Text", "TEXT17", "__SYS_INFO__", Page::Other},
      {"Lumen Text", "TEXT9", "__TAB4_DESCRIPTION__", Page::WelcomePage},
      {"Lumen Text", "TEXT1", "__TITLE__", Page::ModifiedBy},
      {"Lumen Text", "TEXT20", "__CONFIGURE_TEXT__", Page::VisualMapButtons},
      {"Lumen Text", "TEXT20", "", Page::Other},
      {"lumen text", "TEXT1_ORG", "__FOO__", Page::ModifiedBy},
      {"Lumen Text", "TEXT30_org", "", Page::Menu},
      {"Global Options", "OPTION3", "__WELCOME_IMAGE__", Page::WelcomePage},
      {"Global Options", "OPTION2", "__PLAY_SOUND__", Page::Sounds},
      {"Global Options", "OPTION4", "__SHOW_SPLASH__", Page::AnimationScreen},
      {"Global Options", "OPTION5", "__BACKGROUND_COLOR__", Page::Color},
      {"Global Options", "OPTION6", "__MENU2_BACKGROUND__", Page::Backgrounds},
      {"Global Options", "WELCOME_IMAGE_org", "", Page::WelcomePage},
      {"Other", "sysdetails_saved", "", Page::Menu},
      {"Other", "VersionCM", "", Page::Packaging},
      {"Other", "More_saved", "", Page::VisualMapButtons},
      {"Other", "REGULAR_TEXT_COLOR", "", Page::Color},
      {"Other", "Unknown", "", Page::Other},
      {"OEM Defaults", "Sound", "", Page::Sounds},
      {"OEM Defaults", "splash", "", Page::AnimationScreen},
      {"OEM Defaults", "Anything", "", Page::Backgrounds},
      {"Small Styles", "STYLE7", "", Page::Menu},
      {"Large Styles", "sysInfo_org", "", Page::Menu},
      {"Menu Parts", "Anything", "", Page::VisualMapButtons},
      {"Backgrounds", "Back7", "", Page::Backgrounds},
      {"New Section", "Version", "", Page::Other},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.section) + " " + row.key + " " + row.marker);
    EXPECT_EQ(row.expected, store::PageOfEntry(row.section, row.key, row.marker));
  }
}

}  // namespace
