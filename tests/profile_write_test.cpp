// Writing rules of the profile engine: the bytes a write leaves behind. Every
// byte the write does not need to touch must survive.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/profile.h"
#include "store/profile_text.h"
#include "tests/support/counting_files.h"
#include "tests/support/rows.h"

namespace {

constexpr const char* kFile = "c:\\data\\test.ini";

TEST(ProfileWrite, LeavesTheExpectedBytes) {
  for (const okapi_test::Row& row : okapi_test::Rows("profile_write.rows")) {
    SCOPED_TRACE(row["name"]);
    okapi_test::ScopedCountingFiles files;
    files->AddDirectory("c:\\data");
    if (row.Get("before")) files->AddFile(kFile, row["before"]);
    int reported = 0;
    store::SetWriteFailureReporter([&](const std::string&, const std::string&) { ++reported; });
    EXPECT_EQ(!row.Get("refused"),
              store::WriteString(row["section"], row.Get("key"), row.Get("value"), kFile).ok);
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(row.Get("refused") ? 1 : 0, reported);
    EXPECT_EQ(row["after"], files->Contents(kFile));
    // Batches skip the writes that keep the text; a wrong skip loses a write.
    if (row.Get("before") && row.Get("key") && row.Get("value") && !row.Get("refused")) {
      EXPECT_EQ(row.Get("keeps").has_value(),
                store::ProfileText(row["before"]).Keeps(row["section"], row["key"], row["value"]));
    }
  }
}

}  // namespace
