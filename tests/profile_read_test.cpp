// Reading rules of the profile engine: what GetPrivateProfileStringA returns
// on Windows for the same file and call.
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
  const char* section;
  const char* key;
  const char* def;
  std::size_t size;
  const char* expected;
};

std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.behaviour; }

class ProfileRead : public testing::TestWithParam<ReadCase> {
 protected:
  okapi_test::ScopedCountingFiles files;
};

TEST_P(ProfileRead, ReturnsWhatWindowsReturns) {
  const ReadCase& c = GetParam();
  files->AddFile(kFile, c.file);
  EXPECT_EQ(c.expected, store::GetProfileString(c.section, c.key, c.def, c.size, kFile));
}

const std::string kPlain = "[Lumen Text]\r\nTEXT1=__TITLE__,\"Lumen ZAN\"\r\nTEXT2=b\r\n";

INSTANTIATE_TEST_SUITE_P(
    Names, ProfileRead,
    testing::Values(
        ReadCase{"section and key ignore case", kPlain, "LUMEN text", "text1", "Error", 256,
                 "__TITLE__,\"Lumen ZAN\""},
        ReadCase{"only ASCII letters ignore case", "[\xC9T\xC9]\nk=v\n", "\xC9t\xC9", "k", "d", 64,
                 "v"},
        ReadCase{"code page letters keep their case", "[\xC9T\xC9]\nk=v\n", "\xE9T\xE9", "k", "d",
                 64, "d"},
        ReadCase{"parameters lose surrounding spaces", kPlain, "  Lumen Text ", " TEXT2  ", "d", 64,
                 "b"},
        ReadCase{"a tab in a parameter stays and misses", kPlain, "Lumen Text", "\tTEXT2", "d", 64,
                 "d"},
        ReadCase{"blanks around stored names are ignored", "  [ \t s \v]\n \t k \t= v\n", "s", "k",
                 "d", 64, "v"},
        ReadCase{"empty key name is a key", "[s]\n=empty name\n", "s", "", "d", 64, "empty name"},
        ReadCase{"section name ends at the first bracket", "[a]b]\nk=v\n", "a", "k", "d", 64, "v"},
        ReadCase{"text after the bracket is not part of the name", "[a]b]\nk=v\n", "a]b", "k", "d",
                 64, "d"},
        ReadCase{"missing closing bracket still opens a section", "[open \nk=v\n", "open", "k", "d",
                 64, "v"},
        ReadCase{"an opening bracket inside a name is literal", "[a[b]\nk=v\n", "a[b", "k", "d", 64,
                 "v"},
        ReadCase{"quotes in names are literal", "[\"q\"]\nk=v\n", "\"q\"", "k", "d", 64, "v"},
        ReadCase{"brackets without a name make section \"\"", "k=top\n[]\nk=inside\n", "", "k", "d",
                 64, "inside"},
        ReadCase{"lines before the first section belong to none", "k=top\n[s]\n", "", "k", "d", 64,
                 "d"}));

INSTANTIATE_TEST_SUITE_P(
    Lines, ProfileRead,
    testing::Values(
        ReadCase{"CR alone ends a line", "[s]\rk=v\rj=w", "s", "j", "d", 64, "w"},
        ReadCase{"no final line end", "[s]\r\nk=last", "s", "k", "d", 64, "last"},
        ReadCase{"comment line is never found", "[s]\n;k=v\n", "s", ";k", "d", 64, "d"},
        ReadCase{"indented comment is a comment", "[s]\n  ;k=v\n", "s", ";k", "d", 64, "d"},
        ReadCase{"semicolon inside a value is text", "[s]\nk=a;b\n", "s", "k", "d", 64, "a;b"},
        ReadCase{"semicolon inside a key is text", "[s]\nk;x=v\n", "s", "k;x", "d", 64, "v"},
        ReadCase{"hash is never special", "[s]\n#k=v\n", "s", "#k", "d", 64, "v"},
        ReadCase{"line without equals sign is not a key", "[s]\nk\n", "s", "k", "d", 64, "d"},
        ReadCase{"first of duplicate keys wins", "[s]\nk=1\nK=2\n", "s", "k", "d", 64, "1"},
        ReadCase{"later duplicate section is not searched", "[s]\na=1\n[t]\n[S]\nb=2\n", "s", "b",
                 "d", 64, "d"},
        ReadCase{"split at the first equals sign", "[s]\nk=a=b\n", "s", "k", "d", 64, "a=b"},
        ReadCase{"blanks around the value are trimmed", "[s]\nk = \t v w \v\n", "s", "k", "d", 64,
                 "v w"},
        ReadCase{"form feed is not a blank", "[s]\nk=\fv\n", "s", "k", "d", 64, "\fv"},
        ReadCase{"empty value is not the default", "[s]\nk=\n", "s", "k", "d", 64, ""},
        ReadCase{"NUL bytes before the first section do not matter", Bytes("x\0y\n[s]\nk=v\n"), "s",
                 "k", "d", 64, "v"}));

INSTANTIATE_TEST_SUITE_P(
    ValuesAndDefaults, ProfileRead,
    testing::Values(
        ReadCase{"enclosing double quotes go", "[s]\nk=\" a b \"\n", "s", "k", "d", 64, " a b "},
        ReadCase{"enclosing single quotes go", "[s]\nk='v'\n", "s", "k", "d", 64, "v"},
        ReadCase{"only one pair goes", "[s]\nk=\"\"v\"\"\n", "s", "k", "d", 64, "\"v\""},
        ReadCase{"mixed quotes stay", "[s]\nk=\"v'\n", "s", "k", "d", 64, "\"v'"},
        ReadCase{"a lone quote stays", "[s]\nk=\"\n", "s", "k", "d", 64, "\""},
        ReadCase{"outer quotes of separate words go", "[s]\nk=\"a\" \"b\"\n", "s", "k", "d", 64,
                 "a\" \"b"},
        ReadCase{"value cut to size minus one", "[s]\nk=abcdef\n", "s", "k", "d", 4, "abc"},
        ReadCase{"quoted value cut loses its opening quote", "[s]\nk=\"hello\"\n", "s", "k", "d", 6,
                 "hell"},
        ReadCase{"quoted value that fits exactly", "[s]\nk=\"hello\"\n", "s", "k", "d", 8, "hello"},
        ReadCase{"size one gives nothing", "[s]\nk=v\n", "s", "k", "d", 1, ""},
        ReadCase{"size zero gives nothing", "[s]\nk=v\n", "s", "k", "d", 0, ""},
        ReadCase{"missing section gives the default", "[s]\n", "t", "k", "Error", 64, "Error"},
        ReadCase{"default loses trailing spaces only", "", "s", "k", " \td\t  ", 64, " \td\t"},
        ReadCase{"default is cut like a value", "", "s", "k", "Error", 3, "Er"},
        ReadCase{"value stops at a NUL", Bytes("[s]\nk=a\0b\n"), "s", "k", "d", 64, "a"}));

INSTANTIATE_TEST_SUITE_P(
    Encodings, ProfileRead,
    testing::Values(ReadCase{"UTF-8 mark hides a header on line 1", "\xEF\xBB\xBF[s]\nk=v\n", "s",
                             "k", "d", 64, "d"},
                    ReadCase{"UTF-8 mark leaves line 2 alone", "\xEF\xBB\xBF\n[s]\nk=v\n", "s", "k",
                             "d", 64, "v"},
                    ReadCase{"UTF-16 LE is read through the code page",
                             Bytes("\xFF\xFE[\0s\0]\0\n\0k\0=\0\xAC\x20\xE9\0\n\0"), "S", "K", "d",
                             64, "\x80\xE9"},
                    ReadCase{"UTF-16 BE is not understood",
                             Bytes("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v\0\n"), "s", "k", "d", 64, "d"}));

TEST(ProfileReadLimits, LongValuesWrapAt65536Characters) {
  okapi_test::ScopedCountingFiles files;
  struct Row {
    std::size_t length;
    std::size_t expected;
  };
  for (const Row& row : {Row{65535, 65535}, Row{65536, 0}, Row{65537, 1}, Row{70000, 4464}}) {
    SCOPED_TRACE(row.length);
    files->AddFile(kFile, "[s]\r\nk=" + std::string(row.length, 'x') + "\r\n");
    EXPECT_EQ(row.expected, store::GetProfileString("s", "k", "d", 100000, kFile).size());
  }
}

TEST(ProfileReadLimits, LongKeysHaveNoLimit) {
  okapi_test::ScopedCountingFiles files;
  const std::string key(70000, 'k');
  files->AddFile(kFile, "[s]\r\n" + key + "=v\r\n");
  EXPECT_EQ("v", store::GetProfileString("s", key, "d", 64, kFile));
}

TEST(ProfileReadMissing, MissingFileGivesTheDefault) {
  okapi_test::ScopedCountingFiles files;
  EXPECT_EQ("Error", store::GetProfileString("s", "k", "Error", 64, kFile));
  EXPECT_TRUE(store::GetProfileSectionNames(kFile).empty());
}

TEST(ProfileLists, ListsKeepFileOrderAndDuplicatesButSkipComments) {
  okapi_test::ScopedCountingFiles files;
  files->AddFile(kFile, "x=0\n[b]\nk=1\n;c=2\nbare\nK=3\n=4\n[a]\n[B]\nj=5\n");
  EXPECT_EQ((std::vector<std::string>{"b", "a", "B"}), store::GetProfileSectionNames(kFile));
  EXPECT_EQ((std::vector<std::string>{"k", "K", ""}), store::GetProfileKeyNames("B", kFile));
  EXPECT_TRUE(store::GetProfileKeyNames("c", kFile).empty());
}

}  // namespace
