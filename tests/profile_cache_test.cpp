// The engine parses a file once, notices changes on disk, and keeps its
// memory consistent with the disk when a write fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/profile.h"
#include "tests/support/counting_files.h"

namespace {

constexpr const char* kFile = "c:\\data\\test.ini";

class ProfileCache : public testing::Test {
 protected:
  std::string Read(const char* key) { return store::ReadString("s", key, "Error", 64, kFile); }

  okapi_test::ScopedCountingFiles files;
};

TEST_F(ProfileCache, FileIsParsedOnceOnlyWritesThatChangeAByteGoToDiskAndChangesOnDiskAreSeen) {
  files->AddFile(kFile, "[s]\r\na=1\r\nb=2\r\n");
  for (int i = 0; i < 50; ++i) ASSERT_EQ("Error", Read("c"));
  ASSERT_TRUE(store::WriteString("s", "A", "1", kFile).ok);
  ASSERT_TRUE(store::WriteString("s", "gone", std::nullopt, kFile).ok);
  EXPECT_EQ(0, files->WriteCount());
  ASSERT_TRUE(store::WriteString("s", "a", "3", kFile).ok);
  EXPECT_EQ("[s]\r\na=3\r\nb=2\r\n", files->Contents(kFile));
  EXPECT_EQ("3", Read("a"));
  EXPECT_EQ(1, files->ReadCount());
  // Changes on disk are seen by reads and kept by writes.
  files->AddFile(kFile, "[s]\r\na=2\r\nb=2\r\n");  // same size, new file
  EXPECT_EQ("2", Read("a"));
  files->AddFile(kFile, "[s]\r\na=2\r\nb=outside\r\n");
  ASSERT_TRUE(store::WriteString("s", "a", "3", kFile).ok);
  EXPECT_EQ("[s]\r\na=3\r\nb=outside\r\n", files->Contents(kFile));
  ASSERT_TRUE(files->Remove(kFile));
  EXPECT_EQ("Error", Read("a"));
}

TEST_F(ProfileCache, InAnUnchangedFilesScopeEachFileIsCheckedOnce) {
  files->AddFile(kFile, "[s]\r\na=1\r\n");
  {
    store::UnchangedFilesScope scope;
    for (int i = 0; i < 20; ++i) ASSERT_EQ("1", Read("a"));
    EXPECT_EQ(1, files->StampCount());
    // The scope's promise is broken here on purpose: the change goes unseen...
    files->AddFile(kFile, "[s]\r\na=2\r\n");
    EXPECT_EQ("1", Read("a"));
    // ...but the engine's own writes are always seen, and start from the disk.
    ASSERT_TRUE(store::WriteString("s", "b", "3", kFile).ok);
    EXPECT_EQ("[s]\r\na=2\r\nb=3\r\n", files->Contents(kFile));
    EXPECT_EQ("3", Read("b"));
    EXPECT_EQ("2", Read("a"));
    // A write through another spelling of the path is seen as well.
    ASSERT_TRUE(store::WriteString("s", "a", "6", "C:\\DATA\\TEST.INI").ok);
    EXPECT_EQ("6", Read("a"));
  }
  files->AddFile(kFile, "[s]\r\na=4\r\n");
  EXPECT_EQ("4", Read("a"));
  {
    store::UnchangedFilesScope again;  // a new scope checks again
    files->AddFile(kFile, "[s]\r\na=5\r\n");
    EXPECT_EQ("5", Read("a"));
  }
}

// A failed write changes nothing, on disk or in memory. The engine tells of an
// entry's; Finish replaces the machine table whole and tells of its own.
TEST_F(ProfileCache, FailedWritesChangeNothingAndOnlyAnEntrysIsToldByTheEngine) {
  files->AddFile(kFile, "[s]\r\na=1\r\n");
  ASSERT_EQ("1", Read("a"));
  std::vector<std::string> reported;
  store::SetWriteFailureReporter([&](const std::string& file, const std::string& reason) {
    reported.push_back(file + ": " + reason);
  });
  files->FailNextWrite("disk full");
  EXPECT_EQ("disk full", store::WriteString("s", "a", "2", kFile).reason);
  files->FailNextWrite("disk full");
  EXPECT_EQ("disk full", store::WriteWholeFile(kFile, "[s]\r\na=2\r\n").reason);
  EXPECT_EQ(std::vector<std::string>{std::string(kFile) + ": disk full"}, reported);
  EXPECT_EQ("[s]\r\na=1\r\n", files->Contents(kFile));
  EXPECT_EQ("1", Read("a"));
  // A whole file written is read back from memory, not from disk.
  EXPECT_TRUE(store::WriteWholeFile(kFile, "[s]\r\na=3\r\n").ok);
  store::SetWriteFailureReporter(nullptr);
  EXPECT_EQ("[s]\r\na=3\r\n", files->Contents(kFile));
  const int reads = files->ReadCount();
  EXPECT_EQ("3", Read("a"));
  EXPECT_EQ(reads, files->ReadCount());
}

}  // namespace
