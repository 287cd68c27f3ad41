// Reading rules of the profile engine: what GetPrivateProfileStringA returns
// on Windows for the same file and call, where the differential test has no
// row or Wine differs. They run natively too, so the sanitizers see the parser
// at its edges: cuts, NULs, encodings, ends of file.
#include <gtest/gtest.h>

#include <string>

#include "store/profile.h"
#include "tests/support/bytes.h"
#include "tests/support/counting_files.h"

namespace {

using okapi_test::Bytes;

constexpr const char* kFile = "c:\\data\\test.ini";

struct ReadCase {
  const char* behaviour;
  std::string file;
  std::string section;
  std::string key;
  std::string expected;
  std::size_t size = 64;
  const char* def = "d";
};

std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.behaviour; }

class ProfileRead : public testing::TestWithParam<ReadCase> {
 protected:
  okapi_test::ScopedCountingFiles files;
};

TEST_P(ProfileRead, ReturnsWhatWindowsReturns) {
  const ReadCase& c = GetParam();
  files->AddFile(kFile, c.file);
  EXPECT_EQ(c.expected, store::ReadString(c.section, c.key, c.def, c.size, kFile));
}

const std::vector<ReadCase> kRows = {
    {"missing closing bracket still opens a section", "[open \nk=v\n", "open", "k", "v"},
    {"indented comment is a comment", "[s]\n  ;k=v\n", "s", ";k", "d"},
    {"NUL bytes before the first section do not matter", Bytes("x\0y\n[s]\nk=v\n"), "s", "k", "v"},
    {"value stops at a NUL", Bytes("[s]\nk=a\0b\n"), "s", "k", "a"},
    {"quoted value that fits exactly", "[s]\nk=\"hello\"\n", "s", "k", "hello", 8},
    {"UTF-8 mark hides a header on line 1", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "d"},
    {"UTF-16 LE is read through the code page",
     Bytes("\xFF\xFE[\0s\0]\0\n\0k\0=\0\xAC\x20\xA0\0\xE9\0\n\0"), "S", "K", "\x80\xA0\xE9"},
    {"a character the code page lacks reads as a question mark",
     Bytes("\xFF\xFE[\0s\0]\0\n\0k\0=\0\x00\x4E\n\0"), "s", "k", "?"},
    {"longer values wrap at 65536 characters", "[s]\nk=" + std::string(70000, 'x') + "\n", "s", "k",
     std::string(70000 - 65536, 'x'), 100000},
    {"a value of exactly 65536 characters reads empty", "[s]\nk=" + std::string(65536, 'x') + "\n",
     "s", "k", "", 100000},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProfileRead, testing::ValuesIn(kRows));

TEST(ProfileLists, ListsKeepFileOrderAndDuplicatesButSkipComments) {
  okapi_test::ScopedCountingFiles files;
  EXPECT_TRUE(store::ReadSectionNames(kFile).empty());
  files->AddFile(kFile, "x=0\n[b]\nk=1\n;c=2\nbare\nK=3\n=4\n[a]\n[B]\nj=5\n");
  EXPECT_EQ((std::vector<std::string>{"b", "a", "B"}), store::ReadSectionNames(kFile));
  EXPECT_EQ((std::vector<std::string>{"k", "K", ""}), store::ReadKeyNames("B", kFile));
  EXPECT_TRUE(store::ReadKeyNames("c", kFile).empty());
}

}  // namespace
