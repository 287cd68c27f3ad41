// Finish: the machine table's quotes, the version stamp, the package's data
// files and background images, on laid installations, with file operations
// failed on purpose.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/discovery.h"
#include "demo/installation.h"
#include "package/finish.h"
#include "package/machine_table.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "tests/support/counting_files.h"
#include "tests/support/fixture_drive.h"
#include "tests/support/rows.h"

namespace {

using okapi_test::FileText;

// The rule itself is held by the fuzz target's model: here what the user is
// told of, and whether the table needs writing.
TEST(MachineTableFilter, CountsQuotesWithoutAPartnerAndNamesTheirFirstTenLines) {
  const package::FilteredTable result =
      package::FilterMachineTable(std::string_view("x,\"abc\r\nabc\"\n\"a\"b\""));
  EXPECT_EQ("x,abc\r\nabc\r\nab\r\n", result.text);
  EXPECT_EQ(3u, result.unmatchedQuotes);
  EXPECT_TRUE(result.changed);
  EXPECT_FALSE(package::FilterMachineTable(std::string_view("\"a,b\",c\r\n")).changed);
  std::string quotes;
  for (int i = 0; i < 12; ++i) quotes += i == 1 ? "fine\n" : "x,\"y\"z\"\n";
  EXPECT_EQ((std::vector<std::size_t>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
            package::FilterMachineTable(quotes).unmatchedLines);
}

constexpr char kInstall[] = "c:\\zantools\\zanhelp\\";
constexpr char kPackage[] = "c:\\zantools\\zanhelp\\customization\\package\\";
const std::string kTable = std::string(kInstall) + "machine-specifics.csv";
class FinishTest : public testing::Test {
 protected:
  void SetUp() override { Lay(); }
  // The demo installation laid again, with the start-up work's package tree.
  void Lay() {
    ASSERT_TRUE(demo::ResetMachine());
    auto laid = demo::LayInstallation(demo::Installation{});
    ASSERT_TRUE(laid) << laid.reason;
    DiscoverInstallation();
    package::PrepareTree();
  }
  // Finish as the packaging page starts it: whether the package is not whole
  // (the wizard then stays on the page).
  bool FinishStays() {
    return !package::Finish([this](const std::string& text, const std::string& caption) {
      told.push_back(caption + ": " + text);
    });
  }
  // The messages since the last call, each cut to the length of the
  // expected one where given.
  std::vector<std::string> Since(const std::vector<std::string>& expected = {}) {
    std::vector<std::string> since = std::exchange(told, {});
    for (std::size_t i = 0; i < since.size() && i < expected.size(); ++i)
      since[i] = since[i].substr(0, expected[i].size());
    return since;
  }

  std::vector<std::string> told;
  okapi_test::ScopedCountingFiles files;
};

using store::item::kConfigBackgrounds;
using store::item::kMenuBackgroundFiles;
using Names = std::vector<std::string>;

// Read-only images are no obstacle and keep their mark; a listed name that
// holds the sentinel is passed over.
TEST_F(FinishTest, WholePackageHoldsExactlyTheImagesInUse) {
  const std::string small = std::string(kPackage) + "images\\small\\";
  for (const char* old : {"stale.jpg", "sky.jpg"}) {
    ASSERT_TRUE(files->WriteFileAtomic(small + old, "old"));
    ASSERT_TRUE(files->SetReadOnly(small + old));
  }
  const std::string mine = std::string(kInstall) + "images\\small\\sky.jpg";
  ASSERT_TRUE(files->SetReadOnly(mine));
  ASSERT_TRUE(store::Write(kConfigBackgrounds.WithKey("Back2"), "MyError.jpg"));
  ASSERT_TRUE(store::Write(kMenuBackgroundFiles.WithKey("File2"), "sky.jpg"));
  EXPECT_FALSE(FinishStays());
  EXPECT_EQ(Names{}, Since());
  const Names images = files->Find(small + "*");
  EXPECT_EQ(
      (std::set<std::string>{"forest.jpg", "ocean.jpg", "On_the_Web.jpg", "sky.jpg", "spacer.gif"}),
      std::set<std::string>(images.begin(), images.end()));
  for (const char* temporary : {"*.tmp", "write.csv"})
    EXPECT_EQ(Names{}, files->Find(kInstall + std::string(temporary)));
  EXPECT_EQ(FileText(mine), FileText(small + "sky.jpg"));
  EXPECT_FALSE(files->Remove(mine)) << "the installation's image lost its read-only mark";
  EXPECT_TRUE(files->Remove(small + "sky.jpg")) << "the package copy stays read-only";
  ASSERT_TRUE(files->SetAttributesNormal(mine));
}

TEST_F(FinishTest, VersionStampRaisesTheCounterOnEveryFinish) {
  const struct {
    std::optional<std::string> version, counter, stamped;
    const char* raised;
  } rows[] = {
      {"LB3.50 build 9", "x12", "LB3.50  1", "1"},
      {std::nullopt, "4", std::nullopt, "4"},
      {"MyErrorBuild", "4", "MyErrorBuild", "4"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.version.value_or("no version"));
    ASSERT_TRUE(store::Write(store::item::kVersion, row.version));
    ASSERT_TRUE(store::Write(store::item::kVersionCM, row.counter));
    package::StampVersion();
    EXPECT_EQ(row.stamped, store::Read(store::item::kVersion));
    EXPECT_EQ(row.raised, store::Read(store::item::kVersionCM).value_or("none"));
  }
}

// Each row: a first package, then a fault arranged and Finish again.
TEST_F(FinishTest, FailuresAreToldAndWhatTheUserHadStays) {
  const std::string table = FileText(kTable);
  const std::string ocean = std::string(kPackage) + "images\\small\\ocean.jpg";
  const std::string old = std::string(kPackage) + "images\\small\\old.jpg";
  using store::Write;
  const std::map<std::string, std::function<void()>> arrange = {
      {"a menu's image missing",
       [&] { ASSERT_TRUE(Write(kMenuBackgroundFiles.WithKey("File1"), "missing.jpg")); }},
      {"an image outside the images folder",
       [&] { ASSERT_TRUE(Write(kConfigBackgrounds.WithKey("Back7"), "..\\okapi.ini")); }},
      {"table removed", [&] { ASSERT_TRUE(files->Remove(kTable)); }},
      {"table read-only",
       [&] { ASSERT_TRUE(files->WriteFileAtomic(kTable, table) && files->SetReadOnly(kTable)); }},
      {"text file not copied",
       [&] { files->failCopyTo.insert(std::string(kPackage) + "lumen-text.ini"); }},
      {"an earlier image not removed",
       [&] {
         files->failRemove.insert(old);
         ASSERT_TRUE(files->WriteFileAtomic(old, "o"));
       }},
      {"an image not copied", [&] { files->failCopyTo.insert(ocean); }},
      {"an image not copied, held open",
       [&] { files->failCopyTo.insert(ocean), files->held.insert(ocean); }},
      {"quotes without a partner",
       [&] { ASSERT_TRUE(files->WriteFileAtomic(kTable, "\"a\",b\nc\"\n\"d\n")); }},
  };
  for (const okapi_test::Row& row : okapi_test::Rows("finish_failures.rows")) {
    SCOPED_TRACE(row["arrange"]);
    files->failCopyTo = files->failRemove = files->held = {};
    Lay();
    EXPECT_FALSE(FinishStays());  // a first package, ocean.jpg in it
    Since();
    const std::string first = FileText(kTable), after = row["table after"];
    arrange.at(row["arrange"])();
    EXPECT_EQ(row.Get("stays").has_value(), FinishStays());
    EXPECT_EQ(row.All("told"), Since(row.All("told")));
    EXPECT_EQ(after.empty() ? first : after == "laid" ? table : after, FileText(kTable));
    EXPECT_EQ("<missing>", FileText(std::string(kPackage) + "images\\okapi.ini"));
  }
}

}  // namespace
