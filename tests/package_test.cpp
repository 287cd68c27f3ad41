// Finish: the machine table's quotes, the version stamp, the package's data
// files and background images, on laid installations through the headless
// wizard, with file operations failed on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "demo/installation.h"
#include "package/images.h"
#include "package/machine_table.h"
#include "package/package_tree.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "tests/support/bytes.h"
#include "tests/support/wizard_driver.h"

namespace {

using fw::headless::SheetDriver;
using okapi_test::Bytes;

// Every line comes back once with CR LF; a quote pair enclosing a comma stays
// and any other goes.
TEST(MachineTableFilter, QuotesWithoutACommaGoAndEveryLineEndsWithCrLf) {
  const struct {
    std::string in, out;
    std::size_t unmatched = 0;
  } rows[] = {
      {"\"abc\",def\r\n\"a,b\",c\r\nabc,\"\",x\r\n", "abc,def\r\n\"a,b\",c\r\nabc,,x\r\n"},
      {"x,\"abc\r\nabc\"\r\n\"a\"b\"\r\n", "x,abc\r\nabc\r\nab\r\n", 3},
      {"x\"y,z\r\n", "x\"y,z\r\n"},      // no closing quote, but a comma after it
      {"\"a\"\"b\",c\r\n", "ab,c\r\n"},  // a doubled quote closes a pair and opens one
      {"\"say \"\"hi, you\"\"\",x\r\n", "say \"hi, you\",x\r\n"},
      {"", ""},
      {"a\n\n\"b\"", "a\r\n\r\nb\r\n"},
      {"a\r", "a\r\n"},
      {"a\rb\r\r\n", "a\rb\r\r\n"},  // a CR inside a line is data
      {Bytes("\"x\"\x1A\0y\r\n"), Bytes("x\x1A\0y\r\n")},
      {"\"" + std::string(100000, 'a') + "\",\"" + std::string(700, 'v') + ",\"\n",
       std::string(100000, 'a') + ",\"" + std::string(700, 'v') + ",\"\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.in.substr(0, 40));
    const package::FilteredTable result = package::FilterMachineTable(row.in);
    EXPECT_EQ(row.out, result.text);
    EXPECT_EQ(row.unmatched, result.unmatchedQuotes);
    EXPECT_EQ(result.text, package::FilterMachineTable(result.text).text) << "second pass";
    EXPECT_EQ(row.in != row.out, result.changed);
  }
  std::string quotes;
  for (int i = 0; i < 12; ++i) quotes += i == 1 ? "fine\n" : "x,\"y\"z\"\n";
  EXPECT_EQ((std::vector<std::size_t>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
            package::FilterMachineTable(quotes).unmatchedLines);
}

// Forwards to the real files; chosen paths fail to be removed or copied to.
class FaultyFiles final : public platform::FileSystem {
 public:
  explicit FaultyFiles(std::unique_ptr<platform::FileSystem> real) : real_(std::move(real)) {}
  std::unique_ptr<platform::FileSystem> real_;
  std::set<std::string> failRemove, failCopyTo;  // lower case
  std::set<std::string> held;  // open in another program: neither read nor copied, lower case
  void FailRemove(const std::string& p) { failRemove.insert(platform::ToLowerAscii(p)); }
  void FailCopyTo(const std::string& p) { failCopyTo.insert(platform::ToLowerAscii(p)); }
  using S = const std::string&;
  bool Copy(S from, S to, bool failIfExists) override {
    return !failCopyTo.count(platform::ToLowerAscii(to)) && real_->Copy(from, to, failIfExists);
  }
  bool Remove(S p) override {
    return !failRemove.count(platform::ToLowerAscii(p)) && real_->Remove(p);
  }
  bool MakeDirectory(S p) override { return real_->MakeDirectory(p); }
  bool RemoveEmptyDirectory(S p) override { return real_->RemoveEmptyDirectory(p); }
  bool SetAttributesNormal(S p) override { return real_->SetAttributesNormal(p); }
  bool HasMarks(S p) override { return real_->HasMarks(p); }
  bool SetReadOnly(S p) override { return real_->SetReadOnly(p); }
  std::vector<std::string> Find(S p) override { return real_->Find(p); }
  bool Exists(S p) override { return real_->Exists(p); }
  bool IsDirectory(S p) override { return real_->IsDirectory(p); }
  std::optional<std::string> ReadFile(S p) override {
    if (held.count(platform::ToLowerAscii(p))) return std::nullopt;
    return real_->ReadFile(p);
  }
  std::optional<platform::FileStamp> Stamp(S p) override { return real_->Stamp(p); }
  platform::Status WriteFileAtomic(S p, std::string_view b) override {
    return real_->WriteFileAtomic(p, b);
  }
};

constexpr char kInstall[] = "c:\\zantools\\zanhelp\\";
constexpr char kPackage[] = "c:\\zantools\\zanhelp\\customization\\package\\";
const std::string kTable = std::string(kInstall) + "machine-specifics.csv";
class FinishTest : public okapi_test::WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    package::PrepareTree();  // as the start-up work does
    auto faulty = std::make_unique<FaultyFiles>(std::move(platform::Os().files));
    files = faulty.get();
    platform::Os().files = std::move(faulty);
  }
  void TearDown() override {
    platform::Os().files = std::move(files->real_);
    WizardTest::TearDown();
  }
  static bool Ready(const std::string& told) {
    return told.find(": The package is ready in ") != std::string::npos;
  }
  // A fresh wizard shown on the packaging page, Finish pressed: whether the
  // wizard stayed open (it is cancelled then).
  bool FinishStays() {
    wizard = std::make_unique<OkapiWizard>();
    SheetDriver run = headless->Open(wizard->sheet);
    EXPECT_TRUE(run.Sheet().SetActivePage(&wizard->packaging));
    headless->DeliverPosted();  // the Finish button
    EXPECT_TRUE(run.PressFinish());
    const bool stays = run.IsOpen();
    // A whole package ends with one word of where it and its report are.
    EXPECT_EQ(!stays, Ready(LastTold()));
    if (stays) {
      EXPECT_EQ(unsigned{IDD_PACKAGING}, run.ActiveTemplateId());
      run.PressCancel();
    }
    return stays;
  }
  // The messages since the last call but that last word, each cut to the
  // length of the expected one where given.
  std::vector<std::string> Since(const std::vector<std::string>& expected = {}) {
    std::vector<std::string> told;
    for (std::string m : Told(std::exchange(seen, Shown()))) {
      if (Ready(m)) continue;
      const std::size_t n = told.size();
      told.push_back(n < expected.size() ? m.substr(0, expected[n].size()) : m);
    }
    return told;
  }
  static void Set(const store::Item& family, const char* key, std::optional<std::string> value) {
    ASSERT_TRUE(store::Write(family.WithKey(key), value));
  }
  std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names = files->Find(dir + "\\*");
    std::sort(names.begin(), names.end(), platform::LessNoCaseAscii);
    return names;
  }

  std::size_t seen = 0;
  FaultyFiles* files = nullptr;
};

using store::item::kConfigBackgrounds;
using store::item::kMenuBackgroundFiles;
using Names = std::vector<std::string>;

TEST_F(FinishTest, WholePackageClosesTheWizardWithExactlyTheImagesInUse) {
  const std::string small = std::string(kPackage) + "images\\small";
  for (const char* old : {"\\stale.jpg", "\\sky.jpg"}) {
    ASSERT_TRUE(files->WriteFileAtomic(small + old, "old"));
    ASSERT_TRUE(files->SetReadOnly(small + old));
  }
  const std::string mine = std::string(kInstall) + "images\\small\\sky.jpg";
  ASSERT_TRUE(files->SetReadOnly(mine));
  Set(kMenuBackgroundFiles, "File2", "sky.jpg");
  Set(kConfigBackgrounds, "Back3", std::nullopt);  // forest.jpg no longer listed
  Set(kConfigBackgrounds, "Back99", "forest.jpg");
  Set(kConfigBackgrounds, "Back2", "MyError.jpg");  // the sentinel rule passes it over

  EXPECT_FALSE(FinishStays());
  EXPECT_EQ(Names{}, Since());
  for (const char* name : {"machine-specifics.csv", "lumen-text.ini", "lumen-config.ini"})
    EXPECT_EQ(File(kInstall + std::string(name)), File(kPackage + std::string(name))) << name;
  const Names images{"forest.jpg", "ocean.jpg", "On_the_Web.jpg", "sky.jpg", "spacer.gif"};
  EXPECT_EQ(images, Listing(small));
  EXPECT_EQ(images, Listing(std::string(kPackage) + "images\\large"));
  for (const char* temporary : {"*.tmp", "write.csv"})
    EXPECT_EQ(Names{}, files->Find(kInstall + std::string(temporary)));
  EXPECT_EQ(File(mine), File(small + "\\sky.jpg"));
  EXPECT_FALSE(files->Remove(mine)) << "the installation's image lost its read-only mark";
  EXPECT_TRUE(files->Remove(small + "\\sky.jpg")) << "the package copy stays read-only";
  ASSERT_TRUE(files->SetAttributesNormal(mine));
}

TEST_F(FinishTest, MissingImagesKeepTheWizardUntilTheyAreInPlace) {
  Set(kMenuBackgroundFiles, "File1", "missing.jpg");
  const std::string large = std::string(kInstall) + "images\\large\\On_the_Web.jpg";
  ASSERT_TRUE(files->Remove(large));
  const std::string missingSmall =
      "Error: Could not find the small version of the file missing.jpg. \n You need to copy "
      "this file into c:\\zantools\\zanhelp\\images\\small first.";
  const std::string missingLarge =
      "Error: Could not find the large version of the file missing.jpg. \n You need to copy "
      "this file into c:\\zantools\\zanhelp\\images\\large first.";
  EXPECT_TRUE(FinishStays());
  EXPECT_EQ((Names{missingSmall, missingLarge}), Since());
  EXPECT_EQ(Names{"spacer.gif"}, Listing(std::string(kPackage) + "images\\small"))
      << "the background list is not walked after a missing background file";

  for (const char* size : {"small", "large"})
    ASSERT_TRUE(files->WriteFileAtomic(std::string(kInstall) + "images\\" + size + "\\missing.jpg",
                                       "jpeg"));
  EXPECT_TRUE(FinishStays());
  const Names onTheWeb{"Error: Could not find the large version of the file On_the_Web.jpg."};
  EXPECT_EQ(onTheWeb, Since(onTheWeb));

  ASSERT_TRUE(files->WriteFileAtomic(large, "jpeg"));
  EXPECT_FALSE(FinishStays());
  EXPECT_EQ(Names{}, Since());
  EXPECT_EQ("3", store::Read(store::item::kVersionCM).value_or("?"));
}

TEST_F(FinishTest, VersionStampRaisesTheCounterOnEveryFinish) {
  const struct {
    std::optional<std::string> version, counter;
    const char* stamped;
    const char* raised;
  } rows[] = {
      {"3.50.1", std::nullopt, "3.50.1  1", "1"},
      {"LB3", "7", "LB3  8", "8"},
      {"LB3.50 build 9", "x12", "LB3.50  1", "1"},
      {"v1", "-3", "v1  -2", "-2"},
      {"3.5", "99999999999", "3.5  2147483648", "2147483648"},
      {std::nullopt, "4", nullptr, "4"},
      {"MyErrorBuild", "4", "MyErrorBuild", "4"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.version.value_or("no version"));
    ASSERT_TRUE(store::Write(store::item::kVersion, row.version));
    ASSERT_TRUE(store::Write(store::item::kVersionCM, row.counter));
    package::StampVersion();
    EXPECT_EQ(row.stamped ? std::optional<std::string>(row.stamped) : std::nullopt,
              store::Read(store::item::kVersion));
    EXPECT_EQ(row.raised, store::Read(store::item::kVersionCM).value_or("none"));
  }
}

TEST_F(FinishTest, ListsCopyWhatTheyNameAndRefuseNamesOutsideTheImageFolders) {
  ASSERT_TRUE(files->Remove(std::string(kInstall) + "images\\large\\sky.jpg"));
  const std::string longName = std::string(100, 'n') + ".jpg";
  for (const char* size : {"small", "large"})
    ASSERT_TRUE(
        files->WriteFileAtomic(std::string(kInstall) + "images\\" + size + "\\" + longName, "j"));
  const struct {
    const char* name;
    package::ImageList list;
    const char* key;
    std::string value;
    const char* told;  // caption and the start of the message, if any
    const char* copied;
  } rows[] = {
      {"only File2", package::kBackgroundFiles, "File2", "ocean.jpg", nullptr, "ocean.jpg"},
      {"slot 99", package::kBackgroundList, "Back99", longName, nullptr, longName.c_str()},
      {"empty entry", package::kBackgroundList, "Back3", "", nullptr, nullptr},
      {"no large size", package::kBackgroundFiles, "File3", "sky.jpg",
       "Error: Could not find the large version of the file sky.jpg.", "sky.jpg"},
      {"parent folder", package::kBackgroundList, "Back7", "..\\okapi.ini",
       "Error: The background image Back7 of section Backgrounds in lumen-config.ini is", nullptr},
      {"drive", package::kBackgroundFiles, "File1", "c:ocean.jpg",
       "Error: The background image File1 of section BG_Files in okapi.ini is", nullptr},
      {"slash", package::kBackgroundList, "Back1", "small/ocean.jpg",
       "Error: The background image Back1", nullptr},
      {"dots", package::kBackgroundList, "Back1", "..", "Error: The background image Back1",
       nullptr},
  };
  const package::Tell tell = [&](const std::string& text, const std::string& caption) {
    headless->ShowMessageBox(text, caption, MB_OK);
  };
  const auto clear = [](const package::ImageList& list) {
    ASSERT_TRUE(store::WriteString(list.family.section, std::nullopt, std::nullopt,
                                   store::PathOf(list.family.file)));
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    clear(row.list);
    Set(row.list.family, row.key, row.value);
    for (auto size : {package::ImageSize::Small, package::ImageSize::Large})
      ASSERT_TRUE(package::PurgeJpgFiles(size, tell));
    EXPECT_EQ(row.told == nullptr, package::CopyListedImages(row.list, tell));
    const Names told = row.told ? Names{row.told} : Names{};
    EXPECT_EQ(told, Since(told));
    const Names expected = row.copied ? Names{row.copied, "spacer.gif"} : Names{"spacer.gif"};
    EXPECT_EQ(expected, Listing(std::string(kPackage) + "images\\small"));
  }
  EXPECT_EQ("<missing>", File(std::string(kPackage) + "images\\okapi.ini"));
  clear(package::kBackgroundList);
  EXPECT_TRUE(package::CopyListedImages(package::kBackgroundList, tell));
  EXPECT_EQ(Names{}, Since());
}

TEST_F(FinishTest, FailuresAreToldAndWhatTheUserHadStays) {
  const std::string table = File(kTable);
  const std::string smallOcean = std::string(kPackage) + "images\\small\\ocean.jpg";
  const std::string smallOld = std::string(kPackage) + "images\\small\\old.jpg";
  const struct {
    const char* name;
    std::function<void()> arrange;
    Names told;  // caption and the start of each message
    bool stays;
    std::string tableAfter;  // empty: as the first Finish left it
  } rows[] = {
      // clang-format off
      {"no table", [&] { ASSERT_TRUE(files->Remove(kTable)); },
       {"OKAPI: Couldn't open machine-specifics.csv file to read it",
        "Error: Couldn't copy c:\\zantools\\zanhelp\\machine-specifics.csv to"}, true, "<missing>"},
      {"read-only table",
       [&] { ASSERT_TRUE(files->WriteFileAtomic(kTable, table) && files->SetReadOnly(kTable)); },
       {"OKAPI: Couldn't open machine-specifics.csv file to write it"}, false, table},
      {"text file not copied", [&] { files->FailCopyTo(std::string(kPackage) + "lumen-text.ini"); },
       {"Error: Couldn't copy c:\\zantools\\zanhelp\\lumen-text.ini to"}, true, ""},
      {"image not removed",
       [&] { ASSERT_TRUE(files->WriteFileAtomic(smallOld, "old")); files->FailRemove(smallOld); },
       {"Error: These images of an earlier Finish could not be removed from the package:\n\n" +
        smallOld}, true, ""},
      {"image not copied", [&] { files->FailCopyTo(smallOcean); },
       {"Error: Could not copy the small version of the file ocean.jpg into c:\\zantools\\zanhelp\\"
        "customization\\package\\images\\small.\n\nMake sure the package folder exists"}, true, ""},
      {"image open in another program",
       [&] { files->FailCopyTo(smallOcean); files->held.insert(platform::ToLowerAscii(smallOcean)); },
       {"Error: Could not copy the small version of the file ocean.jpg into c:\\zantools\\zanhelp\\"
        "customization\\package\\images\\small.\n\nAnother program has " + smallOcean +
        " open: close it, then click Finish again."}, true, ""},
      {"quotes without a partner",
       [&] { ASSERT_TRUE(files->WriteFileAtomic(kTable, "\"a\",b\nc\"\n\"d\n")); },
       {"Information: Neither DoubleQuote or Comma found\n\n2 double quotes in "
        "machine-specifics.csv had neither a comma nor another double quote after them on "
        "their line and were removed. Lines 2, 3."}, false, "a,b\r\nc\r\nd\r\n"},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::LayInstallation(demo::Installation{}));
    files->failCopyTo.clear();
    files->failRemove.clear();
    files->held.clear();
    EXPECT_FALSE(FinishStays());  // a first package, ocean.jpg in it
    Since();
    const std::string first = File(kTable);
    row.arrange();
    EXPECT_EQ(row.stays, FinishStays());
    EXPECT_EQ(row.told, Since(row.told));
    EXPECT_EQ(row.tableAfter.empty() ? first : row.tableAfter, File(kTable));
    (void)files->SetAttributesNormal(kTable);
  }
}

}  // namespace
