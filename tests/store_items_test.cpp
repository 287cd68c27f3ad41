// Items reached through the map file: marker to slot, slot to entry.
#include <gtest/gtest.h>

#include "store/globals.h"
#include "store/item_table.h"
#include "store/items.h"
#include "store/profile.h"
#include "tests/support/counting_files.h"
#include "tests/support/rows.h"

namespace {

namespace item = store::item;
using Kind = store::WriteResult::Kind;
constexpr const char* kText = "c:\\lumen\\lumen-text.ini";
const std::string kTextBytes =
    "[Lumen Text]\r\nTEXT1=__TITLE__,\"Lumen ZAN\"\r\n"
    "TEXT7=__SYSTEM_INFORMATION__,\"System Details\"\r\nError=junk\r\n; keep me\r\n"
    "[Other]\r\nSysDetails_saved=TRUE\r\n";

class StoreItems : public testing::Test {
 protected:
  StoreItems() {
    g_strMapFile = "c:\\zantools\\zanhelp\\okapi.ini", g_strTextFile = kText;
    files->AddFile(g_strMapFile,
                   "[TEXT]\r\n__TITLE__=TEXT1\r\n__System_Information__=TEXT7\r\n"
                   "[OPTIONS]\r\n__PLAY_SOUND__=OPTION12\r\n");
    Lay(kTextBytes);
    store::SetWriteFailureReporter([this](const std::string&, const std::string&) { ++told; });
  }
  ~StoreItems() override {
    store::SetWriteFailureReporter(nullptr);
    g_strMapFile = saved_[0], g_strTextFile = saved_[1];
  }
  // The text file laid anew, read-only if asked.
  void Lay(const std::string& bytes, bool readOnly = false) {
    (void)files->SetAttributesNormal(kText);
    files->AddFile(kText, bytes);
    ASSERT_TRUE(!readOnly || files->SetReadOnly(kText));
    told = 0;
  }

  int told = 0;  // write failures reported
  const std::string saved_[2] = {g_strMapFile, g_strTextFile};
  okapi_test::ScopedCountingFiles files;
};

TEST_F(StoreItems, SlotsResolveWithoutRegardToCaseAndAnUnresolvedOneIsNeverReadOrWritten) {
  EXPECT_EQ("TEXT7", ResolveItemKey("Text", "__SYSTEM_INFORMATION__"));
  EXPECT_EQ("Error", ResolveItemKey("Text", "__WELCOME_INTRO__"));
  EXPECT_EQ("__TITLE__,\"Lu", ReadItem(kText, "lumen text", "text1", 14));
  EXPECT_FALSE(WriteItem(kText, "Lumen Text", "Error", "__TITLE__,\"x\""));
  // The file does hold a junk key of that name; it must not pass for an item.
  EXPECT_EQ("Error", ReadItem(kText, "Lumen Text", "Error", 128));
  EXPECT_EQ(0, files->WriteCount());
  EXPECT_EQ(std::nullopt, store::Read(item::kTextBackgrounds.WithKey("Back1").CutTo(4)))
      << "missing, not a cut sentinel";
  ASSERT_TRUE(store::Write(item::kFirstTitle, "\"Lumen ZAN\""));
  EXPECT_EQ("Lumen ZAN", store::Read(item::kFirstTitle)) << "quotes around a whole value go";
  EXPECT_TRUE(store::HoldsSentinel("__PLAY_SOUND__,Error"));
  EXPECT_FALSE(store::HoldsSentinel("__PLAY_SOUND__,error"));
  ASSERT_TRUE(files->Remove(g_strMapFile));
  EXPECT_EQ("Error", ResolveItemKey("Text", "__TITLE__"));
}

TEST_F(StoreItems, WritesThatDoNotReadBackFromDiskAreTold) {
  std::vector<std::vector<store::ReadBackMismatch>> reported;
  store::SetReadBackReporter([&](const auto& batch) { reported.push_back(batch); });
  ASSERT_TRUE(store::Write(item::kTitle, "__TITLE__,\"Acme\""));
  files->DropNextWrite();  // the system says it wrote, and did not
  ASSERT_TRUE(store::Write(item::kSystemInformation, std::nullopt));
  ASSERT_EQ(1u, reported.size());
  EXPECT_EQ("__SYSTEM_INFORMATION__,\"System Details\"", reported[0].at(0).found);
  // A batch that does not read back is told once, naming each entry.
  files->DropNextWrite();
  ASSERT_TRUE(store::WriteAll({{item::kText20, "A"}, {item::kText21, "B"}}));
  EXPECT_TRUE(store::Describe(reported.back()).starts_with("OKAPI wrote these 2 entries"));
  EXPECT_EQ(std::string::npos, store::Describe(std::vector(8, reported[0][0])).find("more"));
  EXPECT_EQ(3u, store::CheckWrittenItems().size()) << "the dropped delete and batch";
  store::SetReadBackReporter(nullptr);
}

// Written, no slot and failed told apart; a failure told once, the file as it was.
TEST_F(StoreItems, WritesTellWrittenNoSlotAndFailedApartAndAFailureIsToldOnce) {
  const std::vector<std::pair<store::Item, std::string>> batch = {
      {item::kWelcomeIntro, "__WELCOME_INTRO__,x"},
      {item::kTitle, "__TITLE__,\"Acme\""},
      {item::kFirstTitle, "Acme"}};
  Lay(kTextBytes, true);
  EXPECT_TRUE(store::Write(item::kWelcomeIntro, "__X__,\"new\"") == Kind::NoSlot);
  EXPECT_TRUE(store::Write(item::kTitle, "__X__,\"new\"") == Kind::Failed);
  EXPECT_EQ(1, told) << "no slot: nothing to tell";
  EXPECT_FALSE(store::WriteAll(batch));
  EXPECT_EQ(2, told);
  EXPECT_EQ(kTextBytes, files->Contents(kText));
  // A batch is one write; it writes what has a slot and says what had none.
  Lay(kTextBytes);
  const int writes = files->WriteCount();
  EXPECT_TRUE(store::WriteAll(batch) == Kind::NoSlot);
  EXPECT_EQ(writes + 1, files->WriteCount());
  EXPECT_EQ("__TITLE__,\"Acme\"", store::Read(item::kTitle));
  EXPECT_TRUE(store::CheckWrittenItems().empty());
}

// The text file's two entries and their first values, flagged in [Other].
TEST_F(StoreItems, FirstValuesAreKeptOnceAndNeverOverwritten) {
  for (const okapi_test::Row& row : okapi_test::Rows("first_values.rows")) {
    SCOPED_TRACE(row["lines"]);
    const bool readOnly = row.Get("read-only").has_value();
    const std::string bytes = "[Lumen Text]\r\n" + row["lines"];
    Lay(bytes, readOnly);
    EXPECT_EQ(!readOnly,
              store::KeepFirstValues(
                  item::kSysDetailsSaved,
                  {{item::kText20, item::kText20Org}, {item::kText21, item::kText21Org}},
                  row.Get("any text") ? store::FirstValue::AnyText : store::FirstValue::NonEmpty));
    EXPECT_EQ(readOnly, told > 0);
    EXPECT_EQ(row.Get("org20"), store::Read(item::kText20Org));
    EXPECT_EQ(row.Get("org21"), store::Read(item::kText21Org));
    EXPECT_EQ(row.Get("flag"), store::Read(item::kSysDetailsSaved));
    EXPECT_EQ(bytes, readOnly ? files->Contents(kText) : bytes) << "refused: left as it was";
  }
}

}  // namespace
