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
#include "tests/support/rows.h"

namespace {

using Finish = okapi_test::MachineTest;
namespace item = store::item;

TEST_F(Finish, AnUnlistedOpeningImageIsAskedAboutAndFinishErrorsKeepThePage) {
  for (const okapi_test::Row& row : okapi_test::Rows("finish_page.rows")) {
    SCOPED_TRACE(row["name"]);
    const int answer = row["answer"] == "yes" ? IDYES : IDNO;
    const std::vector<std::string> expected = row.All("told");
    ASSERT_TRUE(demo::ResetMachine());
    ASSERT_TRUE(demo::LayInstallation(demo::Installation{}));
    DiscoverInstallation();
    SeedMapFile();
    package::PrepareTree();
    if (row.Get("opening")) {
      const auto& option = g_bVersion35 ? item::kMenu4Background : item::kDefaultBackgroundImage;
      ASSERT_EQ(store::WriteResult::Written, store::WriteValue(option, row["opening"]).kind);
    }
    if (row.Get("background")) {
      ASSERT_TRUE(store::Write(item::kMenuBackgroundFiles.WithKey("File1"), row["background"]));
    }
    std::vector<std::string> told;
    const bool whole =
        packaging::Finish([&](const std::string& text, const std::string&, unsigned type) {
          const std::size_t cut =
              told.size() < expected.size() ? expected[told.size()].size() : text.size();
          told.push_back(text.substr(0, cut));
          return type & MB_YESNO ? (told.size() == 1 ? answer : IDNO) : IDOK;
        });
    EXPECT_EQ(row.Get("whole").has_value(), whole);
    EXPECT_EQ(expected, told);
    EXPECT_EQ(answer == IDYES,
              platform::Os().files->Exists(package::Root() + "\\lumen-config.ini"));
  }
}

}  // namespace
