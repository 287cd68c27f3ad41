// The profile engine's reading rules (what GetPrivateProfileStringA returns on
// Windows for the same file and call) and writing rules (the bytes a write
// leaves: every byte it need not touch survives). They run natively too, so
// the sanitizers see the parser at its edges: cuts, NULs, encodings, ends of
// file.
#include <gtest/gtest.h>

#include <string>

#include "store/profile.h"
#include "store/profile_text.h"
#include "tests/support/counting_files.h"
#include "tests/support/rows.h"

namespace {

constexpr const char* kFile = "c:\\data\\test.ini";

TEST(ProfileRead, ReturnsWhatWindowsReturns) {
  for (const okapi_test::Row& row : okapi_test::Rows("profile_read.rows")) {
    SCOPED_TRACE(row["name"]);
    okapi_test::ScopedCountingFiles files;
    if (row.Get("file")) files->AddFile(kFile, row["file"]);
    EXPECT_EQ(row["read"],
              store::ReadString(row["section"], row["key"], row.Get("default").value_or("d"),
                                std::stoul(row.Get("size").value_or("64")), kFile));
  }
  // Longer values wrap at 65536 characters; one of exactly 65536 reads empty.
  okapi_test::ScopedCountingFiles files;
  for (const std::size_t length : {70000, 65536, 65535}) {
    files->AddFile(kFile, "[s]\nk=" + std::string(length, 'x') + "\n");
    EXPECT_EQ(std::string(length % 65536, 'x'), store::ReadString("s", "k", "d", 100000, kFile));
  }
}

TEST(ProfileLists, ListsKeepFileOrderAndDuplicatesButSkipComments) {
  okapi_test::ScopedCountingFiles files;
  EXPECT_TRUE(store::ReadSectionNames(kFile).empty());
  files->AddFile(kFile, "x=0\n[b]\nk=1\n;c=2\nbare\nK=3\n=4\n[a]\n[B]\nj=5\n");
  EXPECT_EQ((std::vector<std::string>{"b", "a", "B"}), store::ReadSectionNames(kFile));
  EXPECT_EQ((std::vector<std::string>{"k", "K", ""}), store::ReadKeyNames("B", kFile));
  EXPECT_TRUE(store::ReadKeyNames("c", kFile).empty());
}

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
