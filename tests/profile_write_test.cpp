// Writing rules of the profile engine: the bytes a write leaves behind. Every
// byte the write does not need to touch must survive.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/profile.h"
#include "tests/support/bytes.h"
#include "tests/support/counting_files.h"

namespace {

using okapi_test::Bytes;
using okapi_test::Utf16;

constexpr const char* kFile = "c:\\data\\test.ini";
using Opt = std::optional<std::string_view>;

struct WriteCase {
  const char* behaviour;
  std::optional<std::string> before;  // nullopt: no such file
  const char* section;
  Opt key;
  Opt value;
  std::string after;
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
  ASSERT_TRUE(store::WriteProfileString(c.section, c.key, c.value, kFile).ok);
  EXPECT_EQ(c.after, files->Contents(kFile));
}

const std::string kMessy =
    "; header comment\n"
    "  [Lumen Text] ; trailing text\n"
    "TEXT1 =  __TITLE__,\"Lumen ZAN\"\n"
    "\n"
    "odd line\r"
    "TEXT2=x\n"
    "; section's last comment\n"
    "\n"
    "[Other]\r\n"
    "flag=TRUE";

INSTANTIATE_TEST_SUITE_P(
    Replace, ProfileWrite,
    testing::Values(WriteCase{"replaces the value on its line and keeps every other byte", kMessy,
                              "lumen text", "text2", "y",
                              "; header comment\n  [Lumen Text] ; trailing text\n"
                              "TEXT1 =  __TITLE__,\"Lumen ZAN\"\n\nodd line\rTEXT2=y\n"
                              "; section's last comment\n\n[Other]\r\nflag=TRUE"},
                    WriteCase{"keeps the stored spelling of the key", "[s]\r\n  Key = old \r\n",
                              "S", "KEY", "new", "[s]\r\nKey=new\r\n"},
                    WriteCase{"last line without a line end gains CR LF", kMessy, "other", "FLAG",
                              "FALSE", kMessy.substr(0, kMessy.size() - 9) + "flag=FALSE\r\n"},
                    WriteCase{"a same-named line without equals sign becomes the entry",
                              "[s]\r\n K \r\nj=1\r\n", "s", "k", "v", "[s]\r\nK=v\r\nj=1\r\n"},
                    WriteCase{"the value is written verbatim", "[s]\r\nk=1\r\n", "s", "k",
                              " \"a\";b ", "[s]\r\nk= \"a\";b \r\n"},
                    WriteCase{"only the first of duplicate keys changes", "[s]\nk=1\nk=2\n", "s",
                              "k", "3", "[s]\nk=3\nk=2\n"},
                    WriteCase{"duplicate section: the first one changes", "[s]\n[t]\n[s]\nk=1\n",
                              "s", "k", "2", "[s]\nk=2\r\n[t]\n[s]\nk=1\n"},
                    WriteCase{"NUL bytes before the first section survive",
                              Bytes("a\0b\n[s]\nk=1\n"), "s", "k", "2",
                              Bytes("a\0b\n[s]\nk=2\n")}));

INSTANTIATE_TEST_SUITE_P(
    Add, ProfileWrite,
    testing::Values(
        WriteCase{"new key goes after the section's last entry, before its trailing comments",
                  kMessy, "Lumen Text", "TEXT3", "z",
                  "; header comment\n  [Lumen Text] ; trailing text\n"
                  "TEXT1 =  __TITLE__,\"Lumen ZAN\"\n\nodd line\rTEXT2=x\nTEXT3=z\r\n"
                  "; section's last comment\n\n[Other]\r\nflag=TRUE"},
        WriteCase{"new key in an empty section goes right after the header", "[s]\n[t]\n", "s", "k",
                  "v", "[s]\nk=v\r\n[t]\n"},
        WriteCase{"keys appear in call order", "[s]\r\na=1\r\nb=2\r\n", "s", "c", "3",
                  "[s]\r\na=1\r\nb=2\r\nc=3\r\n"},
        WriteCase{"new section goes at the end", "[s]\r\nk=v\r\n", "t", "k", "w",
                  "[s]\r\nk=v\r\n[t]\r\nk=w\r\n"},
        WriteCase{"new section after a last line without a line end", "[s]\r\nk=v", "t", "k", "w",
                  "[s]\r\nk=v\r\n[t]\r\nk=w\r\n"},
        WriteCase{"missing file is created", std::nullopt, "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"empty file gets the section", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"names lose surrounding spaces only", "", "  s\t ", " \tk ", "v",
                  "[s\t]\r\n\tk=v\r\n"},
        WriteCase{"empty key name writes an equals sign line", "[s]\r\n", "s", "", "v",
                  "[s]\r\n=v\r\n"},
        WriteCase{"empty section name writes empty brackets", "", "", "k", "v", "[]\r\nk=v\r\n"},
        WriteCase{"a comment key adds a comment line each time, newest first",
                  "[s]\r\nk=v\r\n;c=old\r\n", "s", ";c", "new",
                  "[s]\r\nk=v\r\n;c=new\r\n;c=old\r\n"}));

INSTANTIATE_TEST_SUITE_P(
    Delete, ProfileWrite,
    testing::Values(WriteCase{"deletes the key's line", "[s]\r\na=1\r\nb=2\r\n", "S", "A",
                              std::nullopt, "[s]\r\nb=2\r\n"},
                    WriteCase{"deleting the last key leaves the section", "[s]\r\na=1\r\n", "s",
                              "a", std::nullopt, "[s]\r\n"},
                    WriteCase{"deleting a missing key changes nothing", "[s]\na=1", "s", "b",
                              std::nullopt, "[s]\na=1"},
                    WriteCase{"a comment cannot be deleted", "[s]\n;c=1\n", "s", ";c", std::nullopt,
                              "[s]\n;c=1\n"},
                    WriteCase{"deleting a section keeps its comments and the other sections",
                              "[a]\r\nx=1\r\n[s]\r\n;keep\r\nk=1\r\nbare\r\n\r\n[b]\r\ny=2\r\n",
                              "S", std::nullopt, std::nullopt,
                              "[a]\r\nx=1\r\n;keep\r\n\r\n[b]\r\ny=2\r\n"},
                    WriteCase{"deleting a missing section changes nothing", "[a]\nx=1\n", "s",
                              std::nullopt, std::nullopt, "[a]\nx=1\n"},
                    WriteCase{"a delete on a missing file leaves an empty file", std::nullopt, "s",
                              "k", std::nullopt, ""}));

INSTANTIATE_TEST_SUITE_P(
    Encodings, ProfileWrite,
    testing::Values(WriteCase{"UTF-16 LE stays UTF-16 LE", Utf16("[s]\r\nk=1\r\n"), "s", "j", "2",
                              Utf16("[s]\r\nk=1\r\nj=2\r\n")},
                    WriteCase{"code page characters become UTF-16", Utf16("[s]\r\n"), "s", "k",
                              "\x80", Utf16("[s]\r\nk=") + Bytes("\xAC\x20\r\0\n\0")},
                    WriteCase{"a file holding only the UTF-16 mark gets a line end first",
                              Utf16(""), "s", "k", "v", Utf16("\r\n[s]\r\nk=v\r\n")},
                    WriteCase{"a UTF-8 mark is kept as ANSI bytes", "\xEF\xBB\xBF[s]\r\n", "s", "k",
                              "v", "\xEF\xBB\xBF[s]\r\n[s]\r\nk=v\r\n"}));

TEST(ProfileWriteRoundTrip, WhatIsWrittenIsReadBack) {
  okapi_test::ScopedCountingFiles files;
  files->AddDirectory("c:\\data");
  const std::string longValue(65535, 'v');
  for (std::string_view value :
       {std::string_view("plain"), std::string_view(""), std::string_view("a=b"),
        std::string_view("x;y"), std::string_view("__TITLE__,\"Lumen ZAN\""),
        std::string_view(longValue)}) {
    SCOPED_TRACE(value.substr(0, 40));
    ASSERT_TRUE(store::WriteProfileString("s", "k", value, kFile).ok);
    EXPECT_EQ(value, store::GetProfileString("s", "k", "d", 70000, kFile));
  }
  // One pair of enclosing quotes is the price of keeping the inner pair.
  ASSERT_TRUE(store::WriteProfileString("s", "k", "\"\"quoted\"\"", kFile).ok);
  EXPECT_EQ("\"quoted\"", store::GetProfileString("s", "k", "d", 64, kFile));
}

TEST(ProfileWriteRefusals, LineBreaksInNamesOrValuesAreRefusedAndReported) {
  okapi_test::ScopedCountingFiles files;
  files->AddFile(kFile, "[s]\r\nk=v\r\n");
  std::vector<std::string> reported;
  store::SetWriteFailureReporter(
      [&](const std::string& file, const std::string&) { reported.push_back(file); });
  struct Row {
    const char* section;
    Opt key;
    Opt value;
  };
  for (const Row& row : {Row{"s\r\n[t]", "k", "v"}, Row{"s", "k\nx", "v"},
                         Row{"s", "k", "v\r\n[evil]\r\nk=1"}, Row{"s", "k", "v\r"}}) {
    EXPECT_FALSE(store::WriteProfileString(row.section, row.key, row.value, kFile).ok);
  }
  store::SetWriteFailureReporter(nullptr);
  EXPECT_EQ(4u, reported.size());
  EXPECT_EQ("[s]\r\nk=v\r\n", files->Contents(kFile));
}

}  // namespace
