// Writing rules of the profile engine: the bytes a write leaves behind. Every
// byte the write does not need to touch must survive.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "store/profile.h"
#include "store/profile_text.h"
#include "tests/support/bytes.h"
#include "tests/support/counting_files.h"

namespace {

using okapi_test::Bytes;
using okapi_test::Utf16;
using namespace std::string_literals;
using std::nullopt;

constexpr const char* kFile = "c:\\data\\test.ini";
using Opt = std::optional<std::string_view>;

struct WriteCase {
  const char* behaviour;
  std::optional<std::string> before;  // nullopt: no such file
  const char* section;
  Opt key;
  Opt value;
  std::string after;
  bool refused = false;  // the write fails, is reported, and leaves the file alone
};

std::ostream& operator<<(std::ostream& os, const WriteCase& c) { return os << c.behaviour; }

class ProfileWrite : public testing::TestWithParam<WriteCase> {
 protected:
  okapi_test::ScopedCountingFiles files;
};

TEST_P(ProfileWrite, LeavesTheExpectedBytes) {
  const WriteCase& c = GetParam();
  files->AddDirectory("c:\\data");
  if (c.before) files->AddFile(kFile, *c.before);
  int reported = 0;
  store::SetWriteFailureReporter([&](const std::string&, const std::string&) { ++reported; });
  EXPECT_EQ(!c.refused, store::WriteString(c.section, c.key, c.value, kFile).ok);
  store::SetWriteFailureReporter(nullptr);
  EXPECT_EQ(c.refused ? 1 : 0, reported);
  EXPECT_EQ(c.after, files->Contents(kFile));
}

const std::string kMessy =
    "; header comment\n  [Lumen Text] ; trailing text\nTEXT1 =  __TITLE__,\"Lumen ZAN\"\n\n"
    "odd line\rTEXT2=x\n; section's last comment\n\n[Other]\r\nflag=TRUE";

// kMessy with one piece changed: every byte the write does not need must survive.
std::string Messy(std::string_view from, std::string_view to) {
  std::string out = kMessy;
  return out.replace(out.find(from), from.size(), to);
}

const std::string kKV = "[s]\r\nk=v\r\n";

const std::vector<WriteCase> kRows = {
    {"replaces in place", kMessy, "lumen text", "text2", "y", Messy("TEXT2=x", "TEXT2=y")},
    {"the key keeps its stored spelling", "[s]\r\n  Key = old \r\n", "S", "KEY", "new",
     "[s]\r\nKey=new\r\n"},
    {"last line without a line end gains CR LF", kMessy, "other", "FLAG", "FALSE",
     Messy("flag=TRUE", "flag=FALSE\r\n")},
    {"values are written verbatim", "[s]\r\nk=1\r\n", "s", "k", " \"a\";b ",
     "[s]\r\nk= \"a\";b \r\n"},
    {"the first duplicate key changes", "[s]\nk=1\nk=2\n", "s", "k", "3", "[s]\nk=3\nk=2\n"},
    {"the first duplicate section changes", "[s]\n[t]\n[s]\nk=1\n", "s", "k", "2",
     "[s]\nk=2\r\n[t]\n[s]\nk=1\n"},
    {"new key goes after the section's last entry, before its trailing comments", kMessy,
     "Lumen Text", "TEXT3", "z", Messy("TEXT2=x\n", "TEXT2=x\nTEXT3=z\r\n")},
    {"new key in an empty section: right after the header", "[s]\n[t]\n", "s", "k", "v",
     "[s]\nk=v\r\n[t]\n"},
    {"new section goes last", "[s]\r\nk=v\r\n", "t", "k", "w", "[s]\r\nk=v\r\n[t]\r\nk=w\r\n"},
    {"missing file is created", nullopt, "s", "k", "v", "[s]\r\nk=v\r\n"},
    {"deletes the key's line", "[s]\r\na=1\r\nb=2\r\n", "S", "A", nullopt, "[s]\r\nb=2\r\n"},
    {"deleting the last key keeps the section", "[s]\r\na=1\r\n", "s", "a", nullopt, "[s]\r\n"},
    {"deleting a missing key changes nothing", "[s]\na=1", "s", "b", nullopt, "[s]\na=1"},
    {"deleting a section keeps its comments and the other sections",
     "[a]\r\nx=1\r\n[s]\r\n;keep\r\nk=1\r\nbare\r\n\r\n[b]\r\ny=2\r\n", "S", nullopt, nullopt,
     "[a]\r\nx=1\r\n;keep\r\n\r\n[b]\r\ny=2\r\n"},
    {"UTF-16 LE stays UTF-16 LE", Utf16("[s]\r\nk=1\r\n"), "s", "j", "2",
     Utf16("[s]\r\nk=1\r\nj=2\r\n")},
    {"code page characters become UTF-16", Utf16("[s]\r\n"), "s", "k", "\x80",
     Utf16("[s]\r\nk=") + Bytes("\xAC\x20\r\0\n\0")},
    {"a UTF-8 mark is kept as ANSI bytes", "\xEF\xBB\xBF[s]\r\n", "s", "k", "v",
     "\xEF\xBB\xBF[s]\r\n[s]\r\nk=v\r\n"},
    {"a line break in a key is refused", kKV, "s", "k\nx", "v", kKV, true},
    {"a line break in a value is refused", kKV, "s", "k", "v\r\n[evil]\r\nk=1", kKV, true},
    {"a CR at the end of a value is refused", kKV, "s", "k", "v\r", kKV, true},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProfileWrite, testing::ValuesIn(kRows));

// Batches skip the writes that would give the text back; a wrong skip loses a write.
TEST(ProfileWriteKeeps, OnlyWritesThatChangeNoByte) {
  const struct {
    std::string before;
    const char* key;
    bool keeps;
  } rows[] = {
      {"[s]\r\nk=v\r\n", "k", true},       {"[s]\r\nK=v\r\n", "k", true},
      {"[s]\r\nk=v", "k", false},          {"[s]\r\nk = v\r\n", "k", false},
      {"[s]\r\nk\r\nk=v\r\n", "k", false}, {"[s]\r\n;k=v\r\n", ";k", false},
      {"[s]\r\nk=vv\r\n", "k", false},     {Utf16("[s]\r\nk=v\r\n"), "k", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.before);
    const store::ProfileText text(row.before);
    EXPECT_EQ(row.keeps, text.Keeps("s", row.key, "v"));
    if (row.keeps) {
      EXPECT_EQ(row.before, text.Edited("s", row.key, "v"));
    }
  }
}

TEST(ProfileWriteRoundTrip, WhatIsWrittenIsReadBack) {
  okapi_test::ScopedCountingFiles files;
  files->AddDirectory("c:\\data");
  for (const std::string& value :
       {"plain"s, ""s, "a=b"s, "x;y"s, "__TITLE__,\"Lumen ZAN\""s, std::string(65535, 'v')}) {
    SCOPED_TRACE(value.substr(0, 40));
    ASSERT_TRUE(store::WriteString("s", "k", value, kFile).ok);
    EXPECT_EQ(value, store::ReadString("s", "k", "d", 70000, kFile));
  }
  // One pair of enclosing quotes is the price of keeping the inner pair.
  ASSERT_TRUE(store::WriteString("s", "k", "\"\"quoted\"\"", kFile).ok);
  EXPECT_EQ("\"quoted\"", store::ReadString("s", "k", "d", 64, kFile));
}

}  // namespace
