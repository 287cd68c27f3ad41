// Finish as the last page runs it: what it asks, what it tells, and when the
// wizard stays on the page.
#include "pages/packaging_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/discovery.h"
#include "demo/installation.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/seed.h"
#include "tests/support/fixture_drive.h"

namespace {

using Finish = okapi_test::MachineTest;
namespace item = store::item;

TEST_F(Finish, AnUnlistedOpeningImageIsAskedAboutAndFinishErrorsKeepThePage) {
  const struct {
    const char* name;
    const char* opening;     // the opening image named, else as laid
    const char* background;  // a menu's background, else as laid
    int answer;              // to the opening image's question
    bool whole;
    std::vector<std::string> told;  // the start of each box
  } rows[] = {
      // clang-format off
      {"unlisted, No", "gone.jpg", nullptr, IDNO, false, {"The opening image is gone.jpg, "}},
      {"unlisted, Yes", "gone.jpg", nullptr, IDYES, true,
       {"The opening image is gone.jpg, ", "The package is ready in "}},
      {"a menu's image missing", nullptr, "missing.jpg", IDYES, false,
       {"Could not find the small version of the file missing.jpg.",
        "Could not find the large version of the file missing.jpg."}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(demo::ResetMachine());
    ASSERT_TRUE(demo::LayInstallation(demo::Installation{}));
    DiscoverInstallation();
    SeedMapFile();
    package::PrepareTree();
    if (row.opening) {
      const auto& option = g_bVersion35 ? item::kMenu4Background : item::kDefaultBackgroundImage;
      ASSERT_EQ(store::WriteResult::Written, store::WriteValue(option, row.opening).kind);
    }
    if (row.background) {
      ASSERT_TRUE(store::Write(item::kMenuBackgroundFiles.WithKey("File1"), row.background));
    }
    std::vector<std::string> told;
    const bool whole =
        packaging::Finish([&](const std::string& text, const std::string&, unsigned type) {
          const std::size_t cut =
              told.size() < row.told.size() ? row.told[told.size()].size() : text.size();
          told.push_back(text.substr(0, cut));
          return type & MB_YESNO ? (told.size() == 1 ? row.answer : IDNO) : IDOK;
        });
    EXPECT_EQ(row.whole, whole);
    EXPECT_EQ(row.told, told);
    // No at the question packages nothing.
    EXPECT_EQ(row.answer == IDYES,
              platform::Os().files->Exists(package::Root() + "\\lumen-config.ini"));
  }
}

}  // namespace
